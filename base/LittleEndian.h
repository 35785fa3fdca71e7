// Reading and writing little-endian integers in byte buffers, whatever the
// byte order of the machine: the options file, the uninstall record and ZIP
// archives all store their numbers this way.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

inline std::uint16_t ReadLe16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t ReadLe32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A signed field: the bits of ReadLe32 as two's complement.
inline std::int32_t ReadLeInt32(const unsigned char* p) {
  const std::uint32_t u = ReadLe32(p);
  std::int32_t value;
  std::memcpy(&value, &u, sizeof value);  // two's complement without implementation-defined casts
  return value;
}

inline void WriteLe32(unsigned char* p, std::uint32_t value) {
  p[0] = static_cast<unsigned char>(value & 0xFFu);
  p[1] = static_cast<unsigned char>((value >> 8) & 0xFFu);
  p[2] = static_cast<unsigned char>((value >> 16) & 0xFFu);
  p[3] = static_cast<unsigned char>((value >> 24) & 0xFFu);
}

inline void WriteLeInt32(unsigned char* p, std::int32_t value) {
  WriteLe32(p, static_cast<std::uint32_t>(value));
}

inline void AppendLeInt32(std::string& out, std::int32_t value) {
  unsigned char bytes[4];
  WriteLeInt32(bytes, value);
  out.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
}
