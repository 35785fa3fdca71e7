#include "setup/archive/ZipException.h"

#include <zlib.h>

void CZipException::Throw(int code, const std::string& path) {
  throw CZipException(CauseFromCode(code), path);
}

int CZipException::CauseFromCode(int code) {
  switch (code) {
    case Z_STREAM_END:
      return kStreamEnd;
    case Z_NEED_DICT:
      return kNeedDict;
    case Z_ERRNO:
      return kErrNo;
    case Z_STREAM_ERROR:
      return kStreamError;
    case Z_DATA_ERROR:
      return kDataError;
    case Z_MEM_ERROR:
      return kMemError;
    case Z_BUF_ERROR:
      return kBufError;
    case Z_VERSION_ERROR:
      return kVersionError;
    case kBadZipFile:
      return kBadArchive;
    case kBadCrc:
      return kBadCrcCause;
    case kNoCallback:
      return 12;
    case kAborted:
      return 13;
    case kAbortedAction:
      return 14;
    case kAbortedSafely:
      return 15;
    case kNotSupported:
      return 16;
    case kBadPassword:
      return kWrongPassword;
    case kCentralDirNotFound:
      return kNoEndRecord;
    default:
      return kGeneric;
  }
}

const char* CZipException::Meaning(int cause) {
  switch (cause) {
    case kStreamEnd:
      return "unexpected end of compressed stream";
    case kNeedDict:
      return "compressed stream needs a dictionary";
    case kErrNo:
      return "file error";
    case kStreamError:
      return "compressed stream error";
    case kDataError:
      return "damaged compressed data";
    case kMemError:
      return "insufficient memory";
    case kBufError:
      return "compression buffer error";
    case kVersionError:
      return "incompatible compression library version";
    case kBadArchive:
      return "damaged archive";
    case kBadCrcCause:
      return "CRC-32 mismatch";
    case 12:
      return "no callback";
    case 13:
      return "aborted";
    case 14:
      return "action aborted";
    case 15:
      return "aborted safely";
    case 16:
      return "not supported";
    case kWrongPassword:
      return "wrong password";
    case kNoEndRecord:
      return "end of central directory not found";
    default:
      return "general failure";
  }
}
