// Reader of the ZIP subset setup's payload uses: one volume, stored and
// deflated entries, data descriptors, no ZIP64.  Damage raises a
// CZipException; conditions a caller meets normally give false.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "setup/archive/ArchivePlatform.h"
#include "setup/archive/ArchiveSource.h"
#include "setup/archive/ZipException.h"

struct ArchiveEntryInfo {
  std::uint16_t versionMadeBy = 0;
  std::uint16_t versionNeeded = 0;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint16_t modTime = 0;
  std::uint16_t modDate = 0;
  std::uint32_t crc32 = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t uncompressedSize = 0;
  std::uint16_t diskStart = 0;
  std::uint16_t internalAttributes = 0;
  std::uint32_t externalAttributes = 0;
  std::uint32_t localHeaderOffset = 0;
  std::string name;  // converted (IArchivePlatform::ConvertName), '\' as separator
  std::string extra;
  std::string comment;

  static constexpr std::uint16_t kEncrypted = 0x0001;
  static constexpr std::uint16_t kDataDescriptor = 0x0008;
  static constexpr std::uint16_t kUtf8Name = 0x0800;
  static constexpr std::uint32_t kDirectoryAttribute = 0x10;

  // Tools on Unix write directory entries without the attribute bit but
  // always with the trailing separator.
  bool IsDirectory() const {
    return (externalAttributes & kDirectoryAttribute) != 0 || (!name.empty() && name.back() == '\\');
  }
};

class ArchiveReader {
public:
  static constexpr std::size_t kInputBufferSize = 16384;

  explicit ArchiveReader(IArchivePlatform& platform = DefaultArchivePlatform());
  ~ArchiveReader();
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // Reads the central directory of an archive held in memory; the memory
  // must outlive the reader.
  void Open(const unsigned char* data, std::size_t size);
  // Reads the central directory of an archive file.  A file that cannot be
  // opened raises cause 4.
  void Open(const std::string& path);
  void Close();

  int GetEntryCount() const { return static_cast<int>(entries_.size()); }
  bool GetEntryInfo(int index, ArchiveEntryInfo& info) const;
  // False for an entry that extraction is sure to refuse, judged from the
  // central directory alone: encrypted, a method other than stored or
  // deflated, or sizes no data can have (stored sizes that differ, more
  // than deflate's 1032:1, data running past the end of the archive).
  bool IsEntryReadable(int index) const;

  // Writes an entry below directory.  True when it was written completely
  // with a matching CRC and its time and attributes were set; false when
  // the entry cannot be opened (index out of range, another entry open,
  // encrypted) or cannot be created on disk.
  bool ExtractEntry(int index, const std::string& directory, bool keepPath = true, std::size_t bufferSize = 65535);

  // After a raised failure the entry counts as open until this is called.
  void CloseEntry();

  // Offset of the archive's first byte in the stream: the length of any
  // data in front of it.
  std::uint64_t OffsetCorrection() const { return correction_; }
  const std::string& Comment() const { return comment_; }

private:
  struct EntryState;
  // Where the central directory starts and how many records it holds.
  struct CentralDirectoryPlace {
    std::uint64_t start;
    std::uint16_t entries;
  };

  void ReadCentralDirectory();
  std::uint64_t FindEndRecord() const;  // its offset in the stream
  // Reads the comment and the offset correction too.
  CentralDirectoryPlace ReadEndRecord(std::uint64_t endPos);
  // Adds the record at pos to the entries; returns the offset after it.
  std::uint64_t ReadCentralRecord(std::uint64_t pos);
  [[noreturn]] void Fail(int code) const;
  void ReadExact(std::uint64_t offset, void* buffer, std::size_t size) const;
  // Relative target path below the directory, refused when it could
  // leave it.
  std::string SafeRelativePath(const ArchiveEntryInfo& info, bool keepPath) const;
  std::uint64_t OpenEntry(const ArchiveEntryInfo& info);
  void CheckDataDescriptor(const ArchiveEntryInfo& info, std::uint64_t dataStart) const;
  std::size_t ReadEntryData(unsigned char* buffer, std::size_t size);

  IArchivePlatform& platform_;
  std::unique_ptr<IArchiveSource> ownedSource_;
  IArchiveSource* source_ = nullptr;
  std::string path_;
  std::vector<ArchiveEntryInfo> entries_;
  std::vector<std::uint16_t> rawNameLengths_;  // the local header must repeat them
  std::uint64_t correction_ = 0;
  std::string comment_;
  std::unique_ptr<EntryState> entry_;
  std::vector<unsigned char> input_;
};
