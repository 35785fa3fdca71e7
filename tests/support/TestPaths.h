// Locations of the shipped data files and the shared test corpus, and a few
// file helpers the format tests share.
#pragma once

#include <cstdio>
#include <string>

#ifndef KELVANE_SOURCE_DIR
#error "KELVANE_SOURCE_DIR must name the source tree"
#endif

inline std::string SourcePath(const std::string& relative) {
  return std::string(KELVANE_SOURCE_DIR) + "/" + relative;
}
inline std::string DataFile(const std::string& name) {
  return SourcePath("data/" + name);
}

inline std::string ReadFile(const std::string& path) {
  std::string data;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char chunk[8192];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.append(chunk, got);
    std::fclose(f);
  }
  return data;
}

inline bool WriteFile(const std::string& path, const std::string& data) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}
