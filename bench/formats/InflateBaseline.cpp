// The floor for extraction speed: every entry of an archive already in
// memory inflated with zlib into memory and checksummed, nothing written.
// Prints the wall-clock and processor seconds this took and the byte count.
#include <chrono>
#include <ctime>
#include <cstdio>
#include <string>
#include <vector>

#define ZLIB_CONST
#include <zlib.h>

#include "base/LittleEndian.h"
#include "setup/archive/ArchiveReader.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: inflate_baseline ARCHIVE\n", stderr);
    return 2;
  }
  std::vector<unsigned char> zip;
  if (std::FILE* f = std::fopen(argv[1], "rb")) {
    unsigned char chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) zip.insert(zip.end(), chunk, chunk + got);
    std::fclose(f);
  }
  ArchiveReader reader;
  try {
    reader.Open(zip.data(), zip.size());
  } catch (const CZipException& e) {
    std::fprintf(stderr, "error: cause %d\n", e.Cause());
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  std::vector<unsigned char> out;
  unsigned long long total = 0;
  ArchiveEntryInfo info;
  for (int i = 0; i < reader.GetEntryCount(); ++i) {
    reader.GetEntryInfo(i, info);
    if (info.IsDirectory()) continue;
    const unsigned char* local = zip.data() + reader.OffsetCorrection() + info.localHeaderOffset;
    const unsigned char* data = local + 30 + ReadLe16(local + 26) + ReadLe16(local + 28);
    out.resize(info.uncompressedSize);
    if (info.method == 8) {
      z_stream s{};
      inflateInit2(&s, -MAX_WBITS);
      s.next_in = data;
      s.avail_in = info.compressedSize;
      s.next_out = out.data();
      s.avail_out = static_cast<uInt>(out.size());
      const int rc = inflate(&s, Z_FINISH);
      inflateEnd(&s);
      if (rc != Z_STREAM_END) {
        std::fprintf(stderr, "error: inflate %d on entry %d\n", rc, i);
        return 1;
      }
    } else {
      out.assign(data, data + info.uncompressedSize);
    }
    if (crc32(0, out.data(), static_cast<uInt>(out.size())) != info.crc32) {
      std::fprintf(stderr, "error: CRC of entry %d\n", i);
      return 1;
    }
    total += out.size();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  std::printf("%.3f %.3f %llu\n", seconds, cpu, total);
  return 0;
}
