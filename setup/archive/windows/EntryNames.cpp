// Kept apart from the platform so that only the tools that print names link it.
#include "setup/archive/ArchivePlatform.h"

std::string EntryNameToUtf8(const std::string& name) {
  return AnsiToUtf8(name);
}
