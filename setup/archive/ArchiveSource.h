// The byte stream an archive is read from: a memory buffer (setup reads its
// own image into one) or a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class IArchiveSource {
public:
  virtual ~IArchiveSource() = default;
  virtual std::uint64_t Length() const = 0;
  // Reads up to size bytes at offset; returns the count read.
  virtual std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) = 0;
  // The whole stream when it is held in memory, else null.
  virtual const unsigned char* Data() const { return nullptr; }
};

// A view of memory owned by the caller, which must outlive the reader.
class MemoryArchiveSource : public IArchiveSource {
public:
  MemoryArchiveSource(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
  std::uint64_t Length() const override { return size_; }
  std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override;
  const unsigned char* Data() const override { return data_; }

private:
  const unsigned char* data_;
  std::size_t size_;
};

class FileArchiveSource : public IArchiveSource {
public:
  FileArchiveSource() = default;
  ~FileArchiveSource() override;
  FileArchiveSource(const FileArchiveSource&) = delete;
  FileArchiveSource& operator=(const FileArchiveSource&) = delete;

  bool Open(const std::string& path);
  std::uint64_t Length() const override { return length_; }
  std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override;

private:
  std::FILE* file_ = nullptr;
  std::uint64_t length_ = 0;
  std::uint64_t position_ = 0;
};
