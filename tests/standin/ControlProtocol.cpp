#include "ControlProtocol.h"

#include <algorithm>
#include <cstdint>

namespace standin {

const char kPipeName[] = "\\\\.\\pipe\\kelvane-standin";

namespace {
void PutU32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}
bool GetU32(HANDLE pipe, uint32_t& value) {
  std::string bytes;
  if (!ReadExactly(pipe, bytes, 4)) return false;
  value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[static_cast<size_t>(i)]);
  return true;
}
// Far above any body a test sends; keeps a stray connection from allocating much.
const uint32_t kMaxLength = 16u << 20;
}  // namespace

bool WriteAll(HANDLE pipe, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 16));
    if (!WriteFile(pipe, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

bool ReadExactly(HANDLE pipe, std::string& bytes, size_t length) {
  bytes.assign(length, '\0');
  size_t done = 0;
  while (done < length) {
    DWORD got = 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(length - done, 1u << 16));
    if (!ReadFile(pipe, &bytes[done], chunk, &got, nullptr) || got == 0) return false;
    done += got;
  }
  return true;
}

std::string EncodeRequest(const std::vector<std::string>& args) {
  std::string out;
  PutU32(out, static_cast<uint32_t>(args.size()));
  for (const std::string& arg : args) {
    PutU32(out, static_cast<uint32_t>(arg.size()));
    out += arg;
  }
  return out;
}

bool ReadRequest(HANDLE pipe, std::vector<std::string>& args) {
  uint32_t count = 0;
  if (!GetU32(pipe, count) || count > 1000) return false;
  args.clear();
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t length = 0;
    std::string arg;
    if (!GetU32(pipe, length) || length > kMaxLength || !ReadExactly(pipe, arg, length)) return false;
    args.push_back(arg);
  }
  return true;
}

std::string EncodeAnswer(unsigned status, const std::string& payload) {
  std::string out;
  PutU32(out, status);
  PutU32(out, static_cast<uint32_t>(payload.size()));
  return out + payload;
}

bool ReadAnswer(HANDLE pipe, unsigned& status, std::string& payload) {
  uint32_t s = 0, length = 0;
  if (!GetU32(pipe, s) || !GetU32(pipe, length) || length > kMaxLength) return false;
  status = s;
  return ReadExactly(pipe, payload, length);
}

}  // namespace standin
