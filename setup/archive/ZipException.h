// The one exception type of the project: damage found by the archive reader.
#pragma once

#include <string>

class CZipException {
public:
  // The reader's own failure codes; zlib's result codes are passed on as is.
  enum Code {
    kBadZipFile = -101,  // missing signature, inconsistent header, short read, unsafe name
    kBadCrc = -102,
    kNoCallback = -103,
    kAborted = -104,
    kAbortedAction = -105,
    kAbortedSafely = -106,
    kNotSupported = -107,
    kBadPassword = -108,
    kCentralDirNotFound = -109,
  };

  // Cause numbers as reported to users.
  enum Cause {
    kGeneric = 1,
    kStreamEnd = 2,
    kNeedDict = 3,
    kErrNo = 4,
    kStreamError = 5,
    kDataError = 6,
    kMemError = 7,
    kBufError = 8,
    kVersionError = 9,
    kBadArchive = 10,
    kBadCrcCause = 11,
    kWrongPassword = 17,
    kNoEndRecord = 18,
  };

  CZipException(int cause, std::string path) : cause_(cause), path_(std::move(path)) {}

  // Raises the exception for a reader or zlib code.
  [[noreturn]] static void Throw(int code, const std::string& path);
  static int CauseFromCode(int code);
  // A short English description of a cause number.
  static const char* Meaning(int cause);

  int Cause() const { return cause_; }
  // The archive's file path; empty for an archive held in memory.
  const std::string& Path() const { return path_; }

private:
  int cause_;
  std::string path_;
};
