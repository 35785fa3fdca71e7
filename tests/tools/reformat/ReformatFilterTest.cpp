// kelvane-reformat's options, modes and exit codes, run in-process.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "ReformatFilter.h"
#include "SettingAssignment.h"
#include "tests/engine/TestText.h"

namespace {

struct FilterRun {
  int status;
  std::string out;
  std::string err;
};

// Runs the filter with `args` and `input` as its standard input.
FilterRun Filter(std::vector<std::string> args, const std::string& input = std::string()) {
  args.insert(args.begin(), "kelvane-reformat");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  EXPECT_NE(in, nullptr);
  EXPECT_NE(out, nullptr);
  if (in == nullptr || out == nullptr) return FilterRun{-1, "", ""};
  std::fwrite(input.data(), 1, input.size(), in);
  std::rewind(in);
  FilterRun r{0, "", ""};
  r.status = RunReformatFilter(static_cast<int>(argv.size()), argv.data(), in, out, r.err);
  std::rewind(out);
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, out)) > 0) r.out.append(chunk, n);
  std::fclose(in);
  std::fclose(out);
  return r;
}

class ScratchFile {
public:
  ScratchFile(const char* name, const std::string& bytes) : path_(name) {
    std::FILE* f = std::fopen(name, "wb");
    EXPECT_NE(f, nullptr);
    if (f == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  ~ScratchFile() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

private:
  std::string path_;
};

const std::string kSample = CrLfBody(SampleReplyLines());

TEST(ReformatFilter, DefaultsReformatTheSampleFromStdinOrFile) {
  const FilterRun fromStdin = Filter({"--report"}, kSample);
  EXPECT_EQ(fromStdin.status, kFilterOk);
  EXPECT_EQ(fromStdin.out, Reformat(DefaultSettings(), kSample).body);
  EXPECT_EQ(fromStdin.err, "result 0 cursor 0\n");
  ScratchFile file("kelvane_filter_sample.txt", kSample);
  EXPECT_EQ(Filter({file.path()}).out, fromStdin.out);
  EXPECT_EQ(Filter({"-"}, kSample).out, fromStdin.out);
}

TEST(ReformatFilter, SetOverridesTheConfigurationFile) {
  Settings cfg = DefaultSettings();
  cfg.cursorAtTop = 0;
  cfg.headerStyle = kHeaderStyleShortMail;
  ASSERT_FALSE(SaveSettings(cfg, "kelvane_filter.cfg"));
  const FilterRun r = Filter(
      {"--set", "headerStyle=4", "--report", "--cfg", "kelvane_filter.cfg", "--set=customHeader=%n said:"}, kSample);
  std::remove("kelvane_filter.cfg");
  EXPECT_EQ(r.status, kFilterOk);
  EXPECT_EQ(r.err, "result 0 cursor 3\n");
  EXPECT_EQ(OutputLines(r.out)[0], "Ann Lee said:");
}

TEST(ReformatFilter, EveryRecordFieldCanBeSetByName) {
  Settings s = DefaultSettings();
  std::string error;
  const char* intFields[] = {"wrapColumn",
                             "compressedIndentation",
                             "dependOnOE",
                             "headerStyle",
                             "cursorAtTop",
                             "moveSignatureToBottom",
                             "ignoreHtmlMessages",
                             "oeReactionDelay",
                             "clipboardOpenTimeout",
                             "checkInterval",
                             "displayWarningsOnErrors",
                             "coloring",
                             "compositionInitDelay",
                             "compatibilityMode",
                             "useClipboard",
                             "stripQuotedSignature",
                             "isoSignatureFix",
                             "fixExistingQuotes",
                             "colorComposition",
                             "reformatHtml"};
  int32_t value = 1000;
  for (const char* field : intFields) {
    EXPECT_TRUE(SetSettingsField(s, field, std::to_string(value), error)) << field << ": " << error;
    ++value;
  }
  EXPECT_EQ(s.wrapColumn, 1000);
  EXPECT_EQ(s.reformatHtml, 1019);
  EXPECT_TRUE(SetSettingsField(s, "quoteChar", "|", error));
  EXPECT_EQ(s.quoteChar, '|');
  EXPECT_TRUE(SetSettingsField(s, "wrapColumn", "-2147483648", error));
  EXPECT_EQ(s.wrapColumn, -2147483647 - 1);
  EXPECT_TRUE(SetSettingsField(s, "customHeader", "%n:\\n", error));
  EXPECT_EQ(std::string(s.customHeader), "%n:\\n");  // backslash and n stay two characters
  EXPECT_EQ(s.customHeader[5], 0);
  EXPECT_TRUE(SetSettingsField(s, "customHeader", std::string(80, 'x'), error));
  EXPECT_EQ(CustomHeaderLength(s), 80u);
}

TEST(ReformatFilter, BadOptionsFieldsAndValuesExitWithTwo) {
  const std::vector<std::vector<std::string>> bad = {
      {"--bogus"},
      {"--set", "wrapcolumn=70"},
      {"--set", "filler=1"},
      {"--set", "wrapColumn"},
      {"--set", "wrapColumn=7x"},
      {"--set", "wrapColumn="},
      {"--set", "wrapColumn=2147483648"},
      {"--set", "quoteChar=>>"},
      {"--set", "quoteChar="},
      {"--set", "customHeader=" + std::string(81, 'x')},
      {"--set"},
      {"--cfg"},
      {"--requote", "--signature"},
      {"a.txt", "b.txt"},
  };
  for (const auto& args : bad) {
    const FilterRun r = Filter(args, kSample);
    EXPECT_EQ(r.status, kFilterUsageError) << args[0];
    EXPECT_EQ(r.out, "") << args[0];
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_NE(Filter({"--set", "wrapcolumn=70"}).err.find("wrapcolumn"), std::string::npos);
  EXPECT_NE(Filter({"--frobnicate"}).err.find("--frobnicate"), std::string::npos);
}

TEST(ReformatFilter, UnreadableFilesExitWithOne) {
  const FilterRun missing = Filter({"no-such-dir/reply.txt"});
  EXPECT_EQ(missing.status, kFilterFileError);
  EXPECT_NE(missing.err.find("no-such-dir/reply.txt: "), std::string::npos);
  const FilterRun cfg = Filter({"--cfg", "no-such-dir/Kelvane.cfg"}, kSample);
  EXPECT_EQ(cfg.status, kFilterFileError);
  EXPECT_NE(cfg.err.find("no-such-dir/Kelvane.cfg"), std::string::npos);
}

TEST(ReformatFilter, UnchangedBodyIsCopiedByteForByte) {
  const std::string body = std::string("no header\r\nat all\r\n\x81\xFF\0tail", 26);
  const FilterRun r = Filter({"--report"}, body);
  EXPECT_EQ(r.status, kFilterOk);
  EXPECT_EQ(r.out, body);
  EXPECT_EQ(r.err, "result 1 cursor 0\n");
}

TEST(ReformatFilter, RequoteTreatsEverythingAsQuotedText) {
  const FilterRun r = Filter({"--requote", "--set", "wrapColumn=20", "--set", "quoteChar=|"},
                             "Someone wrote:\r\n> aaaa bbbb cccc dddd eeee\r\n> > x\r\n:-)");
  EXPECT_EQ(r.status, kFilterOk);
  EXPECT_EQ(r.out, "Someone wrote:\n| aaaa bbbb cccc\n| dddd eeee \n|| x\n:-)");
}

TEST(ReformatFilter, SignatureModeOnlyFixesSeparators) {
  const FilterRun r = Filter({"--signature", "--report"}, "Hi\r\n-- \r\nAnn\r\n");
  EXPECT_EQ(r.status, kFilterOk);
  EXPECT_EQ(r.out, "Hi\r\n--\x81\r\nAnn\r\n");
  EXPECT_EQ(r.err, "result 0 cursor 0\n");
}

TEST(ReformatFilter, HelpGoesToStandardOutput) {
  const FilterRun r = Filter({"--help"});
  EXPECT_EQ(r.status, kFilterOk);
  EXPECT_NE(r.out.find("usage: kelvane-reformat"), std::string::npos);
  EXPECT_EQ(r.err, "");
}

}  // namespace

namespace {

std::string ReadFile(const std::string& path) {
  std::string data;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return "<missing>";
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.append(chunk, n);
  std::fclose(f);
  return data;
}

const std::string kDraftHeader =
    "From: Bob <bob@example.com>\r\nTo: Ann Lee <ann@example.com>\r\nSubject: Re: =?UTF-8?Q?Gr=C3=BC=C3=9Fe?=\r\n"
    " folded\r\nX-Odd:   spaces kept  \r\n\r\n";

TEST(MailMode, HeaderBlockStaysByteForByteAndOnlyTheBodyChanges) {
  const std::string body = "On Mon, 3 Mar 2003, Ann Lee wrote:\r\n\r\n> a\r\n>> b\r\n\r\n-- \r\nBob\r\n";
  const FilterRun r = Filter({"--mail"}, kDraftHeader + body);
  EXPECT_EQ(r.status, kFilterOk);
  EXPECT_EQ(r.out, kDraftHeader + "Ann Lee wrote:\r\n> a\r\n>> b\r\n\r\n-- \r\nBob\r\n");

  // Content-Type names format=flowed: soft breaks are read and written.
  const std::string flowedHeader = "Subject: x\nContent-Type: text/plain; charset=us-ascii; format=\"Flowed\"\n\n";
  const FilterRun flowed = Filter({"--mail", "--set", "wrapColumn=20"},
                                  flowedHeader + "Ann Lee wrote:\n> one two three four five \n> six seven\n");
  EXPECT_EQ(flowed.out, flowedHeader + "Ann Lee wrote:\n> one two three \n> four five six \n> seven\n");

  // A message that is not a reply, and text without a header block, come back
  // untouched.
  const std::string notReply = kDraftHeader + "Hello Ann,\r\nthis is new.\r\n";
  EXPECT_EQ(Filter({"--mail"}, notReply).out, notReply);
  const std::string noHeaders = "just text\nOn Mon, Ann Lee wrote:\n> q\n";
  EXPECT_EQ(Filter({"--mail"}, noHeaders).out, "Ann Lee wrote:\n> q\n\njust text\n");
}

TEST(MailMode, TodaysAttributionsBecomeTheChosenHeader) {
  // Whole drafts: the attribution, however its client wrote or wrapped it,
  // gives way to "short+m" and nothing of it is left as own text.
  struct Case {
    const char* body;
    const char* out;
  };
  const Case cases[] = {
      {"On Mon, Dec 7, 2026 at 10:15 AM Ann Lee <\nann.lee@example.com> wrote:\n\n> Does it happen\n> every time?\n"
       "\n-- \nBob\n",
       "Ann Lee <ann.lee@example.com> wrote:\n> Does it happen\n> every time?\n\n-- \nBob\n"},
      {"On 12/2/26 9:17 AM, Ortiz, Mark wrote:\r\n> Hi\r\n", "Ortiz, Mark wrote:\r\n> Hi\r\n"},
      {"\r\n-------- Original-Nachricht --------\r\nBetreff: Test\r\nDatum: Mon, 7 Dec 2026 10:15:00 +0100\r\n"
       "Von: Ann Lee <ann.lee@example.com>\r\nAn: Bob <bob@example.com>\r\n\r\n> Hallo\r\n",
       "Ann Lee <ann.lee@example.com> wrote:\r\n> Hallo\r\n"},
      {"Le 07/12/2026 \xC3\xA0 10:15, Ann Lee a \xC3\xA9"
       "crit\xC2\xA0:\n> Salut\n",
       "Ann Lee wrote:\n> Salut\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Filter({"--mail", "--set", "headerStyle=2"}, kDraftHeader + c.body).out, kDraftHeader + c.out) << c.body;
}

TEST(Charset, AutoFallsBackToBytesAndUtf8NeedsTheMeasure) {
  // Without a UTF-8 measure (the Windows build), utf-8 is refused and auto is bytes.
  const FilterRun refused = Filter({"--charset=utf-8"}, kSample);
  EXPECT_EQ(refused.status, kFilterUsageError);
  EXPECT_NE(refused.err.find("utf-8"), std::string::npos);
  EXPECT_EQ(Filter({"--charset", "bogus"}, kSample).status, kFilterUsageError);
  EXPECT_EQ(Filter({"--charset=auto"}, kSample).out, Filter({"--charset=bytes"}, kSample).out);
}

TEST(InPlace, RewritesAtomicallyOrLeavesTheFileAlone) {
  const std::string draft = kDraftHeader + "On Mon, 3 Mar 2003, Ann Lee wrote:\r\n> a\r\n";
  ScratchFile file("inplace-draft.txt", draft);
  struct stat before;
  ASSERT_EQ(chmod(file.path().c_str(), 0640), 0);
  ASSERT_EQ(stat(file.path().c_str(), &before), 0);
  FilterRun r = Filter({"--mail", "-i", file.path()});
  EXPECT_EQ(r.status, kFilterOk) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(ReadFile(file.path()), kDraftHeader + "Ann Lee wrote:\r\n> a\r\n");
  struct stat after;
  ASSERT_EQ(stat(file.path().c_str(), &after), 0);
#ifndef _WIN32
  EXPECT_EQ(after.st_mode & 07777, 0640u);
#endif

  // A body left alone: the file is not even rewritten (same inode).
  ScratchFile plain("inplace-plain.txt", kDraftHeader + "new message\r\n");
  ASSERT_EQ(stat(plain.path().c_str(), &before), 0);
  r = Filter({"--mail", "--in-place=" + plain.path()});
  EXPECT_EQ(r.status, kFilterOk);
  ASSERT_EQ(stat(plain.path().c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);

#ifndef _WIN32
  // No room for the temporary file's longer name: the rewrite fails, the
  // original stays as it was and nothing is left beside it.
  const std::string longName(250, 'd');
  ScratchFile tight(longName.c_str(), draft);
  r = Filter({"--mail", "--in-place", tight.path()});
  EXPECT_EQ(r.status, kFilterFileError);
  EXPECT_NE(r.err.find("unchanged"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(tight.path()), draft);
#endif

  EXPECT_EQ(Filter({"-i"}).status, kFilterUsageError);
  EXPECT_EQ(Filter({"-i", "-"}).status, kFilterUsageError);
  EXPECT_EQ(Filter({"-i", file.path(), "other.txt"}).status, kFilterUsageError);
  EXPECT_EQ(Filter({"-i", "no-such-draft.txt"}).status, kFilterFileError);
}

}  // namespace
