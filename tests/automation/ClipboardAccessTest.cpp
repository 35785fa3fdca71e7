// The clipboard holder: reading within the block, writing with its error
// codes, waiting for the clipboard, finding "HTML Format", saving and
// restoring everything the user had on it.
#include <gtest/gtest.h>

#include "FakeDesktop.h"
#include "automation/ClipboardAccess.h"

namespace {

using Formats = std::vector<std::pair<unsigned, std::string>>;

TEST(ClipboardRead, CopiesTheTextUpToItsZeroAndNeverPastTheBlock) {
  FakeDesktop desk;
  ClipboardAccess clipboard(desk, desk);
  desk.SetClipboard({{1, std::string("abc\0junk", 8)}});
  ASSERT_TRUE(clipboard.Read(1));
  EXPECT_EQ("abc", clipboard.Data());

  desk.SetClipboard({{1, "no terminator"}});
  std::string text;
  ASSERT_TRUE(clipboard.ReadText(text));
  EXPECT_EQ("no terminator", text);
  EXPECT_FALSE(desk.openByUs);
}

TEST(ClipboardRead, FailsAndClosesWhenTheFormatIsMissingOrTheClipboardIsHeld) {
  FakeDesktop desk;
  ClipboardAccess clipboard(desk, desk);
  std::string text = "unchanged";
  desk.SetClipboard({{13, "wide"}});
  EXPECT_FALSE(clipboard.ReadText(text));
  EXPECT_EQ("unchanged", text);
  EXPECT_FALSE(desk.openByUs);
  EXPECT_FALSE(clipboard.IsOpen());

  desk.heldByOther = true;
  EXPECT_FALSE(clipboard.ReadText(text));
  EXPECT_EQ(1u, desk.CountEvents("OpenClipboard failed"));  // a single attempt
}

TEST(ClipboardWrite, PutsTheTextWithItsZeroAndEmptyTextAsOneZeroByte) {
  FakeDesktop desk;
  ClipboardAccess clipboard(desk, desk);
  desk.SetClipboard({{13, "old"}, {kFakeHtmlFormat, "<B>"}});
  EXPECT_EQ(kClipboardWritten, clipboard.Write("line\r\nline"));
  EXPECT_EQ((Formats{{1, std::string("line\r\nline\0", 11)}}), desk.clipboard);

  EXPECT_EQ(kClipboardWritten, clipboard.Write(""));
  EXPECT_EQ((Formats{{1, std::string(1, '\0')}}), desk.clipboard);
  EXPECT_FALSE(desk.openByUs);
  EXPECT_TRUE(desk.liveBlocks.empty());
}

TEST(ClipboardWrite, EveryFailureFreesTheBlockAndLeavesTheClipboardClosed) {
  FakeDesktop desk;
  ClipboardAccess clipboard(desk, desk);
  desk.allocFails = true;
  EXPECT_EQ(kClipboardNoMemory, clipboard.Write("x"));
  desk.allocFails = false;

  desk.lockFails = true;
  EXPECT_EQ(kClipboardLockFailed, clipboard.Write("x"));
  desk.lockFails = false;

  desk.heldByOther = true;
  EXPECT_EQ(kClipboardNotOpened, clipboard.Write("x"));
  desk.heldByOther = false;

  desk.setDataFails = true;
  EXPECT_EQ(kClipboardSetFailed, clipboard.Write("x"));

  EXPECT_TRUE(desk.liveBlocks.empty());
  EXPECT_EQ(0, desk.badFrees);
  EXPECT_FALSE(desk.openByUs);
}

TEST(ClipboardWrite, UsesTheOpeningOfWaitOpen) {
  FakeDesktop desk;
  ClipboardAccess clipboard(desk, desk);
  ASSERT_TRUE(clipboard.WaitOpen(500));
  EXPECT_EQ(kClipboardWritten, clipboard.Write("x"));
  EXPECT_EQ(1u, desk.CountEvents("OpenClipboard"));
  EXPECT_EQ(0u, desk.CountEvents("OpenClipboard failed"));
}

TEST(ClipboardWaitOpen, RetriesWithoutPauseUntilTheTimeoutHasPassed) {
  FakeDesktop desk;
  ClipboardAccess clipboard(desk, desk);
  desk.openFailuresLeft = 3;
  EXPECT_TRUE(clipboard.WaitOpen(500));
  EXPECT_EQ(4, desk.openAttempts);
  EXPECT_TRUE(clipboard.WaitOpen(500));  // already held: no further attempt
  EXPECT_EQ(4, desk.openAttempts);
  EXPECT_TRUE(desk.EventsLike("sleep").empty());
}

TEST(ClipboardWaitOpen, GivesUpOnlyWhenMoreThanTheTimeoutHasElapsed) {
  FakeDesktop desk;
  desk.heldByOther = true;
  {
    ClipboardAccess clipboard(desk, desk);
    EXPECT_FALSE(clipboard.WaitOpen(0));
    EXPECT_EQ(1, desk.openAttempts);
  }
  desk.openAttempts = 0;
  {
    ClipboardAccess clipboard(desk, desk);
    EXPECT_FALSE(clipboard.WaitOpen(-40));  // counts as 0, not as 4 billion
    EXPECT_EQ(1, desk.openAttempts);
  }
  desk.openAttempts = 0;
  desk.readStep = 10;
  {
    ClipboardAccess clipboard(desk, desk);
    // 10 ms per attempt: the attempt at exactly 500 ms elapsed is still made.
    EXPECT_FALSE(clipboard.WaitOpen(500));
    EXPECT_EQ(51, desk.openAttempts);
  }
}

TEST(ClipboardWaitOpen, SurvivesTheWrapOfTheMillisecondClock) {
  FakeDesktop desk;
  desk.heldByOther = true;
  desk.now = 0xFFFFFF00u;
  desk.readStep = 10;
  ClipboardAccess clipboard(desk, desk);
  EXPECT_FALSE(clipboard.WaitOpen(500));
  EXPECT_EQ(51, desk.openAttempts);
}

TEST(ClipboardHtmlFormat, ReadsTheNamedFormatOrLeavesTheClipboardOpenWithoutIt) {
  FakeDesktop desk;
  {
    ClipboardAccess clipboard(desk, desk);
    desk.SetClipboard({{1, std::string("text\0", 5)}, {kFakeRtfFormat, "{\\rtf1}"}});
    ASSERT_TRUE(clipboard.WaitOpen(500));
    EXPECT_EQ(-1, clipboard.FindHtmlFormat());
    EXPECT_TRUE(clipboard.IsOpen());
    std::string text;
    EXPECT_TRUE(clipboard.ReadText(text));  // the next read uses that opening
    EXPECT_EQ("text", text);
    EXPECT_EQ(1u, desk.CountEvents("OpenClipboard"));
  }
  {
    ClipboardAccess clipboard(desk, desk);
    desk.SetClipboard({{1, "t"}, {kFakeHtmlFormat, std::string("<BLOCKQUOTE>\0", 13)}});
    ASSERT_TRUE(clipboard.WaitOpen(500));
    EXPECT_EQ(0, clipboard.FindHtmlFormat());
    EXPECT_EQ("<BLOCKQUOTE>", clipboard.Data());
    EXPECT_FALSE(clipboard.IsOpen());
  }
  {
    ClipboardAccess clipboard(desk, desk);
    desk.getDataFails = {kFakeHtmlFormat};
    ASSERT_TRUE(clipboard.WaitOpen(500));
    EXPECT_EQ(1, clipboard.FindHtmlFormat());
    EXPECT_FALSE(desk.openByUs);
  }
}

TEST(ClipboardAccessLifetime, TheDestructorClosesAClipboardStillHeld) {
  FakeDesktop desk;
  {
    ClipboardAccess clipboard(desk, desk);
    ASSERT_TRUE(clipboard.WaitOpen(500));
    EXPECT_TRUE(desk.openByUs);
  }
  EXPECT_FALSE(desk.openByUs);
  EXPECT_EQ(1u, desk.CountEvents("CloseClipboard"));
}

TEST(ClipboardSaveRestore, EveryGlobalMemoryFormatComesBackByteForByte) {
  FakeDesktop desk;
  const Formats user{{13, std::string("w\0i\0\0\0", 6)},
                     {kFakeHtmlFormat, "Version:0.9\r\n<B>x</B>"},
                     {kFakeRtfFormat, "{\\rtf1 x}"},
                     {15, "file list"},
                     {8, "DIB bits"},
                     {1, std::string("x\0", 2)},
                     {16, std::string("\x09\x04\0\0", 4)}};
  desk.SetClipboard(user);
  ClipboardAccess clipboard(desk, desk);
  ClipboardContents saved;
  ASSERT_TRUE(clipboard.WaitOpen(500));
  ASSERT_TRUE(clipboard.SaveAndEmpty(saved));
  EXPECT_TRUE(desk.clipboard.empty());
  EXPECT_FALSE(desk.openByUs);

  desk.SetClipboard({{1, std::string("reply\0", 6)}});
  ASSERT_TRUE(clipboard.WaitOpen(500));
  ASSERT_TRUE(clipboard.Restore(saved));
  EXPECT_EQ(user, desk.clipboard);
  EXPECT_FALSE(desk.openByUs);
  EXPECT_TRUE(desk.liveBlocks.empty());
}

TEST(ClipboardSaveRestore, HandlesAreLeftOutAndAnEmptyClipboardStaysEmpty) {
  FakeDesktop desk;
  desk.SetClipboard(
      {{kFakeBitmap, "HBITMAP"}, {3, "METAFILEPICT"}, {14, "HENHMETAFILE"}, {0x280, "private"}, {8, "DIB"}});
  ClipboardAccess clipboard(desk, desk);
  ClipboardContents saved;
  ASSERT_TRUE(clipboard.WaitOpen(500));
  ASSERT_TRUE(clipboard.SaveAndEmpty(saved));
  ASSERT_EQ(1u, saved.size());
  EXPECT_EQ(8u, saved[0].format);
  EXPECT_EQ(0u, desk.CountEvents("GetClipboardData 2"));

  desk.SetClipboard({});
  ASSERT_TRUE(clipboard.WaitOpen(500));
  ASSERT_TRUE(clipboard.SaveAndEmpty(saved));
  EXPECT_TRUE(saved.empty());
  desk.SetClipboard({{1, std::string("reply\0", 6)}});
  ASSERT_TRUE(clipboard.WaitOpen(500));
  ASSERT_TRUE(clipboard.Restore(saved));
  EXPECT_TRUE(desk.clipboard.empty());
}

TEST(ClipboardSaveRestore, NeedsTheClipboardHeldOpen) {
  FakeDesktop desk;
  desk.SetClipboard({{1, "x"}});
  ClipboardAccess clipboard(desk, desk);
  ClipboardContents saved;
  EXPECT_FALSE(clipboard.SaveAndEmpty(saved));
  EXPECT_FALSE(clipboard.Restore(saved));
  EXPECT_EQ((Formats{{1, "x"}}), desk.clipboard);
}

TEST(ClipboardFormats, OnlyGlobalMemoryFormatsAreCopied) {
  for (unsigned format : {1u, 7u, 8u, 13u, 15u, 16u, 17u, 0xC000u, 0xFFFFu}) EXPECT_TRUE(IsGlobalMemoryFormat(format));
  for (unsigned format : {0u, 2u, 3u, 9u, 14u, 0x80u, 0x82u, 0x83u, 0x8Eu, 0x200u, 0x2FFu, 0x300u, 0x3FFu})
    EXPECT_FALSE(IsGlobalMemoryFormat(format)) << format;
}

}  // namespace
