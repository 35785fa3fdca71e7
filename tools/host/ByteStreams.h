// The two ends of the host's connection.  The program reads and writes its
// standard streams; the tests, the fuzzer and the benchmark hold the bytes in
// memory.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class ByteReader {
public:
  // Up to `size` bytes; fewer only where the input ends (a read error ends
  // it too: the host has no way to go on after one).
  virtual std::size_t Read(char* data, std::size_t size) = 0;

protected:
  ~ByteReader() = default;
};

class ByteWriter {
public:
  // False when the bytes could not all be written.
  virtual bool Write(const char* data, std::size_t size) = 0;
  // Hands what was written on to the reader; false when that failed.
  virtual bool Flush() = 0;

protected:
  ~ByteWriter() = default;
};

class FileReader final : public ByteReader {
public:
  explicit FileReader(std::FILE* file) : file_(file) {}
  std::size_t Read(char* data, std::size_t size) override { return std::fread(data, 1, size, file_); }

private:
  std::FILE* file_;
};

class FileWriter final : public ByteWriter {
public:
  explicit FileWriter(std::FILE* file) : file_(file) {}
  bool Write(const char* data, std::size_t size) override { return std::fwrite(data, 1, size, file_) == size; }
  bool Flush() override { return std::fflush(file_) == 0; }

private:
  std::FILE* file_;
};

class StringReader final : public ByteReader {
public:
  // The bytes stay the caller's and must outlive the reader.
  StringReader(const char* data, std::size_t size) : data_(data), size_(size) {}
  explicit StringReader(const std::string& bytes) : StringReader(bytes.data(), bytes.size()) {}
  std::size_t Read(char* data, std::size_t size) override;

private:
  const char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

class StringWriter final : public ByteWriter {
public:
  bool Write(const char* data, std::size_t size) override {
    bytes.append(data, size);
    return true;
  }
  bool Flush() override { return true; }

  std::string bytes;
};
