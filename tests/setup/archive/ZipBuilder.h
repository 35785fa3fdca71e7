// Writes small ZIP archives in memory, with the variations the reader must
// handle: stored or deflated data, data descriptors, attributes, prefixes,
// comments, and deliberately damaged fields.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

struct ZipBuilderEntry {
  std::string name;
  std::string data;
  std::uint16_t method = 8;
  std::uint16_t flags = 0;
  bool descriptor = false;  // sizes and CRC behind the data (flag bit 3)
  bool descriptorSignature = true;
  std::uint32_t attributes = 0x20;
  std::uint16_t dosTime = 0x6000;  // 12:00:00
  std::uint16_t dosDate = 0x5A21;  // 2025-01-01
  // Values written into the central record instead of the real ones.
  bool overrideCrc = false;
  std::uint32_t crc = 0;
  bool overrideSize = false;
  std::uint32_t uncompressedSize = 0;
  std::string rawCompressed;  // used instead of compressing data when set
};

class ZipBuilder {
public:
  ZipBuilder& Add(const ZipBuilderEntry& entry) {
    entries_.push_back(entry);
    return *this;
  }
  ZipBuilder& Add(const std::string& name, const std::string& data, std::uint16_t method = 8) {
    ZipBuilderEntry entry;
    entry.name = name;
    entry.data = data;
    entry.method = method;
    return Add(entry);
  }
  ZipBuilder& Prefix(const std::string& prefix) {
    prefix_ = prefix;
    return *this;
  }
  ZipBuilder& Comment(const std::string& comment) {
    comment_ = comment;
    return *this;
  }

  static std::string Deflate(const std::string& data) {
    z_stream s{};
    deflateInit2(&s, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&s, static_cast<uLong>(data.size())) + 16, '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    s.avail_in = static_cast<uInt>(data.size());
    s.next_out = reinterpret_cast<Bytef*>(&out[0]);
    s.avail_out = static_cast<uInt>(out.size());
    deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
  }

  static std::uint32_t Crc(const std::string& data) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
  }

  std::string Build() const {
    std::string body, central;
    for (const ZipBuilderEntry& e : entries_) {
      const std::string packed =
          !e.rawCompressed.empty() ? e.rawCompressed : (e.method == 8 ? Deflate(e.data) : e.data);
      const std::uint32_t crc = e.overrideCrc ? e.crc : Crc(e.data);
      const std::uint32_t size = e.overrideSize ? e.uncompressedSize : static_cast<std::uint32_t>(e.data.size());
      const std::uint16_t flags = static_cast<std::uint16_t>(e.flags | (e.descriptor ? 8 : 0));
      const std::uint32_t offset = static_cast<std::uint32_t>(body.size());
      Put32(body, 0x04034b50);
      Put16(body, 20);
      Put16(body, flags);
      Put16(body, e.method);
      Put16(body, e.dosTime);
      Put16(body, e.dosDate);
      Put32(body, e.descriptor ? 0 : crc);
      Put32(body, e.descriptor ? 0 : static_cast<std::uint32_t>(packed.size()));
      Put32(body, e.descriptor ? 0 : size);
      Put16(body, static_cast<std::uint16_t>(e.name.size()));
      Put16(body, 0);
      body += e.name;
      body += packed;
      if (e.descriptor) {
        if (e.descriptorSignature) Put32(body, 0x08074b50);
        Put32(body, crc);
        Put32(body, static_cast<std::uint32_t>(packed.size()));
        Put32(body, size);
      }
      Put32(central, 0x02014b50);
      Put16(central, 20);
      Put16(central, 20);
      Put16(central, flags);
      Put16(central, e.method);
      Put16(central, e.dosTime);
      Put16(central, e.dosDate);
      Put32(central, crc);
      Put32(central, static_cast<std::uint32_t>(packed.size()));
      Put32(central, size);
      Put16(central, static_cast<std::uint16_t>(e.name.size()));
      Put16(central, 0);
      Put16(central, 0);
      Put16(central, 0);
      Put16(central, 0);
      Put32(central, e.attributes);
      Put32(central, offset);
      central += e.name;
    }
    std::string zip = body + central;
    Put32(zip, 0x06054b50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, static_cast<std::uint16_t>(entries_.size()));
    Put16(zip, static_cast<std::uint16_t>(entries_.size()));
    Put32(zip, static_cast<std::uint32_t>(central.size()));
    Put32(zip, static_cast<std::uint32_t>(body.size()));
    Put16(zip, static_cast<std::uint16_t>(comment_.size()));
    zip += comment_;
    return prefix_ + zip;
  }

  static void Put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
  }
  static void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
  }

private:
  std::vector<ZipBuilderEntry> entries_;
  std::string prefix_;
  std::string comment_;
};
