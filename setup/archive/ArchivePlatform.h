// What the archive reader needs from the platform: name conversion and the
// few file-system operations of extraction.  Paths use '\' as separator; the
// POSIX implementation turns them into '/'.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class IArchiveOutput {
public:
  virtual ~IArchiveOutput() = default;
  virtual bool Write(const unsigned char* data, std::size_t size) = 0;
  // Flushes and closes; false when data could not be written.
  virtual bool Close() = 0;
};

class IArchivePlatform {
public:
  virtual ~IArchivePlatform() = default;

  // A stored entry name in the platform's form, from UTF-8 when the entry
  // says so and otherwise from the OEM code page: on Windows the ANSI code
  // page, which setup's file names use; elsewhere UTF-8, so that no
  // character is lost.
  virtual std::string ConvertName(const std::string& raw, bool utf8) const = 0;

  // Creates the directory and every missing parent; false when a part of
  // the path exists as a file or cannot be created.
  virtual bool CreateDirectories(const std::string& path) = 0;

  // Creates or replaces a file for writing; a read-only file in the way is
  // made writable first.  Null on failure.
  virtual std::unique_ptr<IArchiveOutput> CreateOutputFile(const std::string& path) = 0;

  virtual void RemoveFile(const std::string& path) = 0;

  // Applies the MS-DOS modification time (left alone when it is no valid
  // date) and the MS-DOS attribute byte.
  virtual bool SetFileInfo(const std::string& path, bool isDirectory, std::uint16_t dosDate, std::uint16_t dosTime,
                           std::uint8_t dosAttributes) = 0;
};

// The implementation for the platform the program was built for.
IArchivePlatform& DefaultArchivePlatform();

// An entry name as DefaultArchivePlatform() converts it, in UTF-8, for tools
// that print names.
std::string EntryNameToUtf8(const std::string& name);

// Portable code page conversions, used by the POSIX implementation and the
// tools.  Characters without a Windows-1252 form become '_'.
std::string OemToAnsi(const std::string& oem);
// False when text is not valid UTF-8.
bool Utf8ToAnsi(const std::string& text, std::string& ansi);
std::string AnsiToUtf8(const std::string& ansi);
