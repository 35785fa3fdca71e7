// The uninstall record reader over arbitrary bytes, at both depths.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "setup/record/UninstallRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (RecordDepth depth : {RecordDepth::kSetup, RecordDepth::kUninstaller}) {
    UninstallRecord record;
    if (ParseUninstallRecord(data, size, record, depth) == 0) {
      // Every text read must end inside its field.
      if (std::strlen(record.appName) >= sizeof record.appName) __builtin_trap();
      if (record.files.size() != static_cast<std::size_t>(record.fileCount)) __builtin_trap();
      for (const auto& slot : record.files)
        if (std::memchr(slot.data(), 0, slot.size()) == nullptr) __builtin_trap();
    }
  }
  return 0;
}
