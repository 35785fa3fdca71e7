#include "setup/archive/ArchiveReader.h"

#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/LittleEndian.h"

namespace {

constexpr std::uint32_t kEndRecordSignature = 0x06054b50;
constexpr std::uint32_t kCentralRecordSignature = 0x02014b50;
constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t kDataDescriptorSignature = 0x08074b50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCentralRecordSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
// The end record plus the longest comment it can carry.
constexpr std::uint64_t kEndRecordSearchSpan = kEndRecordSize + 65535;

// ".." names the parent, and Windows trims trailing dots and blanks from a
// component, so any other run of dots and blanks could turn into one; only
// "." (this folder, as tar-made archives write "./name") is harmless.
bool IsUnsafeComponent(const std::string& component) {
  if (component.empty() || component == ".") return false;
  bool hasDot = false;
  for (char c : component) {
    if (c == '.')
      hasDot = true;
    else if (c != ' ')
      return false;
  }
  return hasDot;
}

// Writes into a file that is removed again unless the extraction completes.
class PendingFile {
public:
  PendingFile(IArchivePlatform& platform, std::string path, std::unique_ptr<IArchiveOutput> output)
      : platform_(platform), path_(std::move(path)), output_(std::move(output)) {}
  ~PendingFile() {
    if (output_) output_->Close();
    if (!kept_) platform_.RemoveFile(path_);
  }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  bool Write(const unsigned char* data, std::size_t size) { return output_->Write(data, size); }
  bool Close() {
    const bool ok = output_->Close();
    output_.reset();
    return ok;
  }
  void Keep() { kept_ = true; }

private:
  IArchivePlatform& platform_;
  std::string path_;
  std::unique_ptr<IArchiveOutput> output_;
  bool kept_ = false;
};

}  // namespace

struct ArchiveReader::EntryState {
  const ArchiveEntryInfo* info = nullptr;
  z_stream stream{};
  bool inflating = false;
  bool streamEnded = false;
  std::uint64_t nextInput = 0;  // stream offset of the next compressed byte
  std::uint32_t remainingCompressed = 0;
  std::uint32_t remainingUncompressed = 0;
  std::uint32_t crc = 0;

  ~EntryState() {
    if (inflating) inflateEnd(&stream);
  }
};

ArchiveReader::ArchiveReader(IArchivePlatform& platform) : platform_(platform) {}

ArchiveReader::~ArchiveReader() = default;

void ArchiveReader::Fail(int code) const {
  CZipException::Throw(code, path_);
}

void ArchiveReader::ReadExact(std::uint64_t offset, void* buffer, std::size_t size) const {
  if (size == 0) return;
  if (source_->ReadAt(offset, buffer, size) != size) Fail(CZipException::kBadZipFile);
}

void ArchiveReader::Open(const unsigned char* data, std::size_t size) {
  Close();
  ownedSource_.reset(new MemoryArchiveSource(data, size));
  source_ = ownedSource_.get();
  ReadCentralDirectory();
}

void ArchiveReader::Open(const std::string& path) {
  Close();
  std::unique_ptr<FileArchiveSource> file(new FileArchiveSource);
  path_ = path;
  if (!file->Open(path)) Fail(Z_ERRNO);
  ownedSource_ = std::move(file);
  source_ = ownedSource_.get();
  ReadCentralDirectory();
}

void ArchiveReader::Close() {
  entry_.reset();
  entries_.clear();
  rawNameLengths_.clear();
  comment_.clear();
  correction_ = 0;
  source_ = nullptr;
  ownedSource_.reset();
  path_.clear();
}

void ArchiveReader::ReadCentralDirectory() {
  const CentralDirectoryPlace directory = ReadEndRecord(FindEndRecord());
  std::uint64_t pos = directory.start;
  // Every record takes at least its fixed part: a count the stream cannot
  // hold is refused before anything is allocated for it.
  if (std::uint64_t{directory.entries} * kCentralRecordSize > source_->Length() - pos) Fail(CZipException::kBadZipFile);
  entries_.reserve(directory.entries);
  rawNameLengths_.reserve(directory.entries);
  for (unsigned i = 0; i < directory.entries; ++i) pos = ReadCentralRecord(pos);
}

std::uint64_t ArchiveReader::FindEndRecord() const {
  const std::uint64_t length = source_->Length();
  const std::uint64_t span = std::min(length, kEndRecordSearchSpan);
  const std::uint64_t spanStart = length - span;

  std::vector<unsigned char> tail;
  const unsigned char* window = source_->Data() ? source_->Data() + spanStart : nullptr;
  if (!window) {
    tail.resize(static_cast<std::size_t>(span));
    ReadExact(spanStart, tail.data(), tail.size());
    window = tail.data();
  }
  // The match nearest the end is the end record.
  for (std::size_t i = span >= 4 ? static_cast<std::size_t>(span - 4) + 1 : 0; i-- > 0;)
    if (ReadLe32(window + i) == kEndRecordSignature) return spanStart + i;
  Fail(CZipException::kCentralDirNotFound);
}

ArchiveReader::CentralDirectoryPlace ArchiveReader::ReadEndRecord(std::uint64_t endPos) {
  unsigned char end[kEndRecordSize];
  ReadExact(endPos, end, sizeof end);
  const std::uint16_t totalEntries = ReadLe16(end + 10);
  const std::uint32_t directorySize = ReadLe32(end + 12);
  const std::uint32_t directoryOffset = ReadLe32(end + 16);
  const std::uint16_t commentLength = ReadLe16(end + 20);
  comment_.resize(commentLength);
  ReadExact(endPos + kEndRecordSize, &comment_[0], commentLength);

  // ZIP64 archives keep their real values elsewhere and mark these fields.
  if (totalEntries == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF)
    Fail(CZipException::kBadZipFile);
  if (endPos < std::uint64_t{directoryOffset} + directorySize) Fail(CZipException::kBadZipFile);
  if ((directorySize == 0) != (totalEntries == 0)) Fail(CZipException::kBadZipFile);
  correction_ = endPos - directorySize - directoryOffset;
  return {correction_ + directoryOffset, totalEntries};
}

std::uint64_t ArchiveReader::ReadCentralRecord(std::uint64_t pos) {
  unsigned char record[kCentralRecordSize];
  ReadExact(pos, record, sizeof record);
  if (ReadLe32(record) != kCentralRecordSignature) Fail(CZipException::kBadZipFile);
  ArchiveEntryInfo info;
  info.versionMadeBy = ReadLe16(record + 4);
  info.versionNeeded = ReadLe16(record + 6);
  info.flags = ReadLe16(record + 8);
  info.method = ReadLe16(record + 10);
  info.modTime = ReadLe16(record + 12);
  info.modDate = ReadLe16(record + 14);
  info.crc32 = ReadLe32(record + 16);
  info.compressedSize = ReadLe32(record + 20);
  info.uncompressedSize = ReadLe32(record + 24);
  const std::uint16_t nameLength = ReadLe16(record + 28);
  const std::uint16_t extraLength = ReadLe16(record + 30);
  const std::uint16_t commentLength = ReadLe16(record + 32);
  info.diskStart = ReadLe16(record + 34);
  info.internalAttributes = ReadLe16(record + 36);
  info.externalAttributes = ReadLe32(record + 38);
  info.localHeaderOffset = ReadLe32(record + 42);
  pos += kCentralRecordSize;

  std::string raw(nameLength, '\0');
  ReadExact(pos, &raw[0], nameLength);
  pos += nameLength;
  info.extra.resize(extraLength);
  ReadExact(pos, &info.extra[0], extraLength);
  pos += extraLength;
  info.comment.resize(commentLength);
  ReadExact(pos, &info.comment[0], commentLength);
  pos += commentLength;

  info.name = platform_.ConvertName(raw, (info.flags & ArchiveEntryInfo::kUtf8Name) != 0);
  std::replace(info.name.begin(), info.name.end(), '/', '\\');
  entries_.push_back(std::move(info));
  rawNameLengths_.push_back(nameLength);
  return pos;
}

bool ArchiveReader::GetEntryInfo(int index, ArchiveEntryInfo& info) const {
  if (index < 0 || index >= GetEntryCount()) return false;
  info = entries_[static_cast<std::size_t>(index)];
  return true;
}

bool ArchiveReader::IsEntryReadable(int index) const {
  if (!source_ || index < 0 || index >= GetEntryCount()) return false;
  const std::size_t at = static_cast<std::size_t>(index);
  const ArchiveEntryInfo& info = entries_[at];
  if (info.IsDirectory()) return true;  // its data is never read
  if (info.flags & ArchiveEntryInfo::kEncrypted) return false;
  // Deflate cannot expand one byte into more than 1032.
  constexpr std::uint64_t kDeflateMaxRatio = 1032;
  if (info.method == 0 && info.compressedSize != info.uncompressedSize) return false;
  if (info.method == 8 && std::uint64_t{info.compressedSize} * kDeflateMaxRatio < info.uncompressedSize) return false;
  if (info.method != 0 && info.method != 8) return false;
  const std::uint64_t dataEnd = correction_ + info.localHeaderOffset + kLocalHeaderSize + rawNameLengths_[at] +
                                std::uint64_t{info.compressedSize};
  return dataEnd <= source_->Length();
}

std::string ArchiveReader::SafeRelativePath(const ArchiveEntryInfo& info, bool keepPath) const {
  const std::string& name = info.name;
  const std::size_t slash = name.rfind('\\');
  const std::string fileName = slash == std::string::npos ? name : name.substr(slash + 1);
  std::string relative;
  if (keepPath && slash != std::string::npos) {
    std::string directory = name.substr(0, slash + 1);
    if (!directory.empty() && directory[0] == '\\') directory.erase(0, 1);
    relative = directory + fileName;
  } else {
    relative = fileName;
  }

  // A name that is nothing but a separator names no file; only an entry
  // marked as a directory may stand for the target directory itself.
  if (relative.empty() && !(info.externalAttributes & ArchiveEntryInfo::kDirectoryAttribute) && fileName.empty() &&
      !name.empty())
    Fail(CZipException::kBadZipFile);
  // Rooted and UNC names, drive letters and stream names, and control
  // characters (a zero byte would cut the path short) are refused.
  if (!relative.empty() && relative[0] == '\\') Fail(CZipException::kBadZipFile);
  std::size_t start = 0;
  for (std::size_t i = 0; i <= relative.size(); ++i) {
    if (i < relative.size()) {
      const unsigned char c = static_cast<unsigned char>(relative[i]);
      if (c < 0x20 || c == ':') Fail(CZipException::kBadZipFile);
      if (c != '\\') continue;
    }
    if (IsUnsafeComponent(relative.substr(start, i - start))) Fail(CZipException::kBadZipFile);
    start = i + 1;
  }
  return relative;
}

std::uint64_t ArchiveReader::OpenEntry(const ArchiveEntryInfo& info) {
  const std::uint64_t length = source_->Length();
  const std::uint64_t headerPos = correction_ + info.localHeaderOffset;
  unsigned char header[kLocalHeaderSize];
  ReadExact(headerPos, header, sizeof header);
  const std::uint16_t flags = ReadLe16(header + 6);
  const std::uint16_t method = ReadLe16(header + 8);
  if (ReadLe32(header) != kLocalHeaderSignature || flags != info.flags || method != info.method ||
      (method != 0 && method != 8))
    Fail(CZipException::kBadZipFile);
  const std::size_t index = static_cast<std::size_t>(&info - entries_.data());
  if (ReadLe16(header + 26) != rawNameLengths_[index]) Fail(CZipException::kBadZipFile);
  if (!(flags & ArchiveEntryInfo::kDataDescriptor) &&
      (ReadLe32(header + 14) != info.crc32 || ReadLe32(header + 18) != info.compressedSize ||
       ReadLe32(header + 22) != info.uncompressedSize))
    Fail(CZipException::kBadZipFile);
  const std::uint64_t dataStart = headerPos + kLocalHeaderSize + ReadLe16(header + 26) + ReadLe16(header + 28);
  if (dataStart > length) Fail(CZipException::kBadZipFile);
  if (flags & ArchiveEntryInfo::kEncrypted) return std::numeric_limits<std::uint64_t>::max();

  if (dataStart + info.compressedSize > length) Fail(CZipException::kBadZipFile);
  if (method == 0 && info.compressedSize != info.uncompressedSize) Fail(CZipException::kBadZipFile);
  if (flags & ArchiveEntryInfo::kDataDescriptor) CheckDataDescriptor(info, dataStart + info.compressedSize);

  entry_.reset(new EntryState);
  entry_->info = &info;
  entry_->nextInput = dataStart;
  entry_->remainingCompressed = info.compressedSize;
  entry_->remainingUncompressed = info.uncompressedSize;
  entry_->crc = static_cast<std::uint32_t>(crc32(0, nullptr, 0));
  if (method == 8) {
    const int rc = inflateInit2(&entry_->stream, -MAX_WBITS);
    if (rc != Z_OK) Fail(rc);
    entry_->inflating = true;
  }
  return dataStart;
}

void ArchiveReader::CheckDataDescriptor(const ArchiveEntryInfo& info, std::uint64_t position) const {
  unsigned char descriptor[16];
  const std::size_t got = source_->ReadAt(position, descriptor, sizeof descriptor);
  const unsigned char* fields = descriptor;
  if (got >= 4 && ReadLe32(descriptor) == kDataDescriptorSignature) {
    if (got < 16) Fail(CZipException::kBadZipFile);
    fields += 4;
  } else if (got < 12) {
    Fail(CZipException::kBadZipFile);
  }
  if (ReadLe32(fields) != info.crc32 || ReadLe32(fields + 4) != info.compressedSize ||
      ReadLe32(fields + 8) != info.uncompressedSize)
    Fail(CZipException::kBadZipFile);
}

std::size_t ArchiveReader::ReadEntryData(unsigned char* buffer, std::size_t size) {
  EntryState& e = *entry_;
  const unsigned char* memory = source_->Data();
  std::size_t produced = 0;
  if (!e.inflating) {
    produced = std::min<std::size_t>(size, e.remainingUncompressed);
    if (memory)
      std::memcpy(buffer, memory + e.nextInput, produced);
    else
      ReadExact(e.nextInput, buffer, produced);
    e.nextInput += produced;
    e.remainingCompressed -= static_cast<std::uint32_t>(produced);
  } else {
    z_stream& s = e.stream;
    const std::size_t wanted = std::min<std::size_t>(size, e.remainingUncompressed);
    s.next_out = buffer;
    s.avail_out = static_cast<uInt>(wanted);
    while (s.avail_out > 0 && !e.streamEnded) {
      if (s.avail_in == 0 && e.remainingCompressed > 0) {
        const std::size_t piece = std::min<std::size_t>(kInputBufferSize, e.remainingCompressed);
        if (memory) {
          s.next_in = memory + e.nextInput;
        } else {
          input_.resize(kInputBufferSize);
          ReadExact(e.nextInput, input_.data(), piece);
          s.next_in = input_.data();
        }
        s.avail_in = static_cast<uInt>(piece);
        e.nextInput += piece;
        e.remainingCompressed -= static_cast<std::uint32_t>(piece);
      }
      const int rc = inflate(&s, Z_SYNC_FLUSH);
      if (rc == Z_STREAM_END)
        e.streamEnded = true;
      else if (rc == Z_BUF_ERROR)
        break;  // the compressed data ran out early
      else if (rc != Z_OK)
        Fail(rc);
    }
    produced = wanted - s.avail_out;
  }
  e.crc = static_cast<std::uint32_t>(crc32(e.crc, buffer, static_cast<uInt>(produced)));
  e.remainingUncompressed -= static_cast<std::uint32_t>(produced);
  return produced;
}

bool ArchiveReader::ExtractEntry(int index, const std::string& directory, bool keepPath, std::size_t bufferSize) {
  if (!source_ || index < 0 || index >= GetEntryCount() || entry_ || bufferSize == 0) return false;
  const ArchiveEntryInfo& info = entries_[static_cast<std::size_t>(index)];
  const std::string relative = SafeRelativePath(info, keepPath);

  std::string target = directory;
  while (!target.empty() && (target.back() == '\\' || target.back() == '/')) target.pop_back();
  if (!relative.empty()) {
    // An empty directory means the current one; a root stays a root.
    if (!target.empty() || !directory.empty()) target += '\\';
    target += relative;
  }
  while (target.size() > 1 && target.back() == '\\') target.pop_back();
  const std::uint8_t attributes = static_cast<std::uint8_t>(info.externalAttributes & 0xFF);

  if (info.IsDirectory()) {
    if (!platform_.CreateDirectories(target)) return false;
    return platform_.SetFileInfo(target, true, info.modDate, info.modTime, attributes);
  }

  if (OpenEntry(info) == std::numeric_limits<std::uint64_t>::max()) return false;
  const std::size_t cut = target.rfind('\\');
  if (cut != std::string::npos && cut > 0 && !platform_.CreateDirectories(target.substr(0, cut))) {
    CloseEntry();
    return false;
  }
  std::unique_ptr<IArchiveOutput> output = platform_.CreateOutputFile(target);
  if (!output) {
    CloseEntry();
    return false;
  }
  PendingFile file(platform_, target, std::move(output));
  std::vector<unsigned char> buffer(bufferSize);
  bool written = true;
  for (;;) {
    const std::size_t got = ReadEntryData(buffer.data(), buffer.size());
    if (got > 0 && !file.Write(buffer.data(), got)) {
      written = false;
      break;
    }
    if (got < buffer.size()) break;
  }
  EntryState& e = *entry_;
  if (written && e.inflating && e.remainingUncompressed == 0 && !e.streamEnded) {
    // More data than the entry declares would be a decompression bomb.
    const std::uint32_t crc = e.crc;
    e.remainingUncompressed = 1;
    unsigned char extra[1];
    // A checksum that does not match either tells more than the size does.
    if (ReadEntryData(extra, sizeof extra) > 0)
      Fail(crc != info.crc32 ? CZipException::kBadCrc : CZipException::kBadZipFile);
    e.remainingUncompressed = 0;
    e.crc = crc;
  }
  const bool complete = e.remainingUncompressed == 0;
  const std::uint32_t crc = e.crc;
  written = file.Close() && written;
  if (written && complete && crc != info.crc32) Fail(CZipException::kBadCrc);
  CloseEntry();
  if (!written || !complete) return false;
  file.Keep();
  return platform_.SetFileInfo(target, false, info.modDate, info.modTime, attributes);
}

void ArchiveReader::CloseEntry() {
  entry_.reset();
}
