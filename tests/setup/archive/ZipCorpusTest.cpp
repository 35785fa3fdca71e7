// Every archive of the shared corpus of ZIP files written by other programs
// must give the outcome its expected.tsv states: the listed entries with
// their sizes and CRCs, extracted or refused, and never a file outside the
// target folder.
#include "setup/archive/ArchiveReader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/support/TestPaths.h"

namespace {

struct Row {
  std::string archive, entry, name, size, crc, method, expected, cause;
};

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

// The corpus shows control bytes as \xNN.
std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "\\x") == 0 && i + 4 <= text.size()) {
      out += static_cast<char>(std::strtoul(text.substr(i + 2, 2).c_str(), nullptr, 16));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool IsAscii(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::map<std::string, std::vector<Row>> LoadExpectations(const std::string& corpus) {
  std::map<std::string, std::vector<Row>> byArchive;
  std::istringstream lines(ReadFile(corpus + "/expected.tsv"));
  std::string line;
  std::getline(lines, line);  // header
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> f = SplitTabs(line);
    if (f.size() < 8) continue;
    byArchive[f[0]].push_back(Row{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
  }
  return byArchive;
}

std::string NativeName(std::string name) {
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

void CheckArchive(const std::string& corpus, const std::vector<Row>& rows) {
  const Row& open = rows.front();
  ASSERT_EQ(open.entry, "open");
  ArchiveReader reader;
  const std::string path = corpus + "/" + open.archive;
  if (open.expected.rfind("refuse", 0) == 0) {
    try {
      reader.Open(path);
      ADD_FAILURE() << "opened, expected: " << open.expected;
    } catch (const CZipException& e) {
      if (!open.cause.empty()) {
        EXPECT_EQ(std::to_string(e.Cause()), open.cause);
      }
    }
    return;
  }
  ASSERT_NO_THROW(reader.Open(path));
  const int count = std::atoi(open.expected.substr(open.expected.find(':') + 1).c_str());
  ASSERT_EQ(reader.GetEntryCount(), count);

  TempFolder folder;
  for (std::size_t r = 1; r < rows.size(); ++r) {
    const Row& row = rows[r];
    SCOPED_TRACE("entry " + row.entry + " " + row.name);
    const int index = std::atoi(row.entry.c_str());
    ArchiveEntryInfo info;
    ASSERT_TRUE(reader.GetEntryInfo(index, info));
    EXPECT_EQ(std::to_string(info.uncompressedSize), row.size);
    EXPECT_EQ(std::strtoul(row.crc.c_str(), nullptr, 16), info.crc32);
    EXPECT_EQ(std::to_string(info.method), row.method);
    const std::string name = Unescape(row.name);
    if (IsAscii(name)) {
      EXPECT_EQ(info.name, name);
    }

    bool result = false;
    int cause = 0;
    try {
      result = reader.ExtractEntry(index, folder.TargetText(), true, 65535);
    } catch (const CZipException& e) {
      cause = e.Cause();
      reader.CloseEntry();
    }
    if (row.expected == "ok") {
      EXPECT_TRUE(result);
      EXPECT_EQ(cause, 0);
      std::string relative = NativeName(info.name);
      if (!relative.empty() && relative[0] == '/') relative.erase(0, 1);
      const std::string data = ReadFile((folder.Target() / relative).string());
      EXPECT_EQ(std::to_string(data.size()), row.size);
      EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())), info.crc32);
    } else if (row.expected == "ok: directory") {
      EXPECT_TRUE(result);
      EXPECT_EQ(cause, 0);
      EXPECT_TRUE(std::filesystem::is_directory(folder.Target() / NativeName(info.name)));
    } else if (row.expected.rfind("refuse", 0) == 0) {
      EXPECT_FALSE(result);
      if (row.cause == "false") {
        EXPECT_EQ(cause, 0);
      } else if (!row.cause.empty()) {
        EXPECT_EQ(std::to_string(cause), row.cause);
      }
    }
    for (const std::string& item : folder.Contents())
      EXPECT_EQ(item.rfind("target", 0), 0u) << "written outside the target: " << item;
  }
}

}  // namespace

TEST(ZipCorpus, EveryArchiveGivesItsExpectedOutcome) {
  const std::string corpus = KELVANE_ZIP_CORPUS;
  ASSERT_FALSE(ReadFile(corpus + "/expected.tsv").empty()) << "no expected.tsv in " << corpus;
  const auto expectations = LoadExpectations(corpus);
  ASSERT_GT(expectations.size(), 40u);
  for (const auto& [archive, rows] : expectations) {
    SCOPED_TRACE(archive);
    CheckArchive(corpus, rows);
  }
}
