// kelvane-reformat --colour, run in-process.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "ColourFilter.h"

namespace {

struct FilterRun {
  int status = -1;
  std::string output;
  std::string messages;
};

FilterRun Filter(std::vector<const char*> args, const std::string& input) {
  args.insert(args.begin(), "kelvane-reformat");
  std::FILE* in = std::tmpfile();
  std::fwrite(input.data(), 1, input.size(), in);
  std::rewind(in);
  FilterRun run;
  run.status = RunColourFilter(static_cast<int>(args.size()), args.data(), in, run.output, run.messages);
  std::fclose(in);
  return run;
}

TEST(ColourFilter, IsChosenByItsOptionOnly) {
  const char* colour[] = {"k", "--report", "--colour"};
  const char* reply[] = {"k", "--report", "--", "--colour"};
  EXPECT_TRUE(WantsColourFilter(3, colour));
  EXPECT_FALSE(WantsColourFilter(4, reply));
}

TEST(ColourFilter, ColoursWithTheGivenStyleCountAndReports) {
  const FilterRun run = Filter({"--colour", "--styles", "7", "--report"}, "hi<BR>&gt; q<BR>&gt; &gt; qq");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ("<SPAN class=KV-MARK>hi<BR></span><span class=q1>&gt; q<BR></span><span class=q2>&gt; &gt; qq", run.output);
  EXPECT_EQ("result 0\n", run.messages);
  // The default is one style: every level is q0.
  EXPECT_EQ("<SPAN class=KV-MARK>hi<BR></span><span class=q0>&gt; q", Filter({"--colour"}, "hi<BR>&gt; q").output);
}

TEST(ColourFilter, PrintsABodyItLeavesAloneUnchanged) {
  for (const char* body : {"x<B>y</B>", "<SPAN class=KV-MARK>done", ""}) {
    const FilterRun run = Filter({"--colour", "--report"}, body);
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(body, run.output);
    EXPECT_EQ("result 1\n", run.messages);
  }
}

TEST(ColourFilter, RebuildsFromTheInnerTextInViewModeOnly) {
  const std::string textFile = ::testing::TempDir() + "kelvane-colour-filter-text.txt";
  {
    std::ofstream file(textFile, std::ios::binary);
    file << "hi\r\n> > a\r\n> b";
  }
  const std::string html = "hi<BR>&gt; &gt; a<BR>&gt; b";
  FilterRun run = Filter({"--colour", "--styles", "7", "--set", "reformatHtml=1", "--set", "compressedIndentation=1",
                          "--text", textFile.c_str()},
                         html);
  EXPECT_EQ("<SPAN class=KV-MARK>hi<BR></span><span class=q2>&gt;&gt; a<BR></span><span class=q1>&gt; b", run.output);
  run = Filter(
      {"--colour", "--styles", "7", "--set", "reformatHtml=1", "--mode", "composition", "--text", textFile.c_str()},
      html);
  EXPECT_EQ("<SPAN class=KV-MARK>hi<BR></span><span class=q2>&gt; &gt; a<BR></span><span class=q1>&gt; b", run.output);
  // Without a text the rebuild would blank the message: left alone.
  run = Filter({"--colour", "--set", "reformatHtml=1", "--report"}, html);
  EXPECT_EQ(html, run.output);
  EXPECT_EQ("result 1\n", run.messages);
  std::remove(textFile.c_str());
}

TEST(ColourFilter, RejectsBadUsageAndMissingFiles) {
  EXPECT_EQ(2, Filter({"--colour", "--styles", "x"}, "").status);
  EXPECT_EQ(2, Filter({"--colour", "--mode", "print"}, "").status);
  EXPECT_EQ(2, Filter({"--colour", "--set", "noSuchField=1"}, "").status);
  EXPECT_EQ(2, Filter({"--colour", "--bogus"}, "").status);
  EXPECT_EQ(1, Filter({"--colour", "/no/such/file.html"}, "").status);
  EXPECT_EQ(1, Filter({"--colour", "--text", "/no/such/text"}, "x").status);
}

}  // namespace
