// The setup package loader, the script parser, setup's listing of the
// archive and its command line over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "setup/ArchiveListing.h"
#include "setup/common/CommandLine.h"
#include "setup/package/SetupPackage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ParseSetupScript(std::string_view(reinterpret_cast<const char*>(data), size));
  ParseSetupCommandLine(std::string(reinterpret_cast<const char*>(data), size));

  // Half of the inputs get the markers around their first part, so that
  // the script and the archive behind them are reached too.
  std::size_t split = size > 0 ? data[0] : 0;
  if (split > size) split = size;
  const std::string marker1 = PackageMarker(1), marker2 = PackageMarker(2);
  const bool wrap = size > 1 && (data[1] & 1);
  const std::size_t total = wrap ? size + 20 : size;
  std::unique_ptr<unsigned char[]> buffer(new unsigned char[total ? total : 1]);
  if (wrap) {
    std::memcpy(buffer.get(), marker1.data(), 10);
    std::memcpy(buffer.get() + 10, data, split);
    std::memcpy(buffer.get() + 10 + split, marker2.data(), 10);
    std::memcpy(buffer.get() + 20 + split, data + split, size - split);
  } else if (size) {
    std::memcpy(buffer.get(), data, size);
  }
  SetupPackage package;
  if (package.LoadFromBuffer(std::move(buffer), total) == PackageResult::kLoaded) {
    ArchiveListing listing;
    ListArchive(package.Archive(), listing);
  }
  return 0;
}
