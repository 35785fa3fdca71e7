// One reply moved through the clipboard: the order and timing of focus, keys,
// sleeps and clipboard calls, and that neither the user's clipboard nor the
// reply is lost on any exit.
#include <gtest/gtest.h>

#include <algorithm>

#include "AutomationRig.h"
#include "automation/Keystrokes.h"

namespace {

using Events = std::vector<std::string>;
using Formats = std::vector<std::pair<unsigned, std::string>>;

const char kReplyBody[] = "\r\n> quoted\r\n";

class ClipboardTransfer : public ::testing::Test {
protected:
  void SetUp() override {
    rig.settings.useClipboard = 1;
    rig.settings.cursorAtTop = 0;
    engine.cursorLines = 1;
    rig.Build(engine.Function());
    desk.SetClipboard(userClipboard);
    note = rig.OpenReply(kReplyBody);
  }

  int Process() { return rig.processor->ProcessWindow(note, ProcessMode::reply); }

  // Nothing of the transfer is left behind in the clipboard API.
  void ExpectClipboardReleased() {
    EXPECT_FALSE(desk.openByUs);
    EXPECT_TRUE(desk.liveBlocks.empty());
    EXPECT_EQ(0, desk.badFrees);
  }

  AutomationRig rig;
  FakeDesktop& desk = rig.desk;
  ScriptedEngine engine;
  const Formats userClipboard{
      {1, std::string("user text\0", 10)}, {13, std::string("u\0s\0\0\0", 6)}, {kFakeBitmap, "HBITMAP"}, {8, "DIB"}};
  WindowHandle note = 0;
};

TEST_F(ClipboardTransfer, RunsItsStepsInOrderWithTheConfiguredDelays) {
  rig.settings.compositionInitDelay = 50;
  rig.settings.oeReactionDelay = 120;
  EXPECT_EQ(kProcessDone, Process());
  const Events focus{"SetFocus", "SetActiveWindow", "SetForegroundWindow", "GetForegroundWindow"};
  Events expected{"sleep 50",
                  // the user's clipboard is saved and emptied in one opening
                  "OpenClipboard", "GetClipboardData 1", "GetClipboardData 13", "GetClipboardData 8", "EmptyClipboard",
                  "CloseClipboard"};
  expected.insert(expected.end(), focus.begin(), focus.end());
  for (const char* event :
       {"key Ctrl down",  "key End down",       "key Ctrl up",        "key End up",     "key Space down",
        "key Space up",   "key Ctrl down",      "key A down",         "key Ctrl up",    "key A up",
        "key Ctrl down",  "key C down",         "client: copy",       "key Ctrl up",    "key C up",
        "sleep 120",      "OpenClipboard",      "GetClipboardData 1", "CloseClipboard", "OpenClipboard",
        "EmptyClipboard", "SetClipboardData 1", "CloseClipboard"})
    expected.push_back(event);
  expected.insert(expected.end(), focus.begin(), focus.end());
  for (const char* event : {"key Ctrl down", "key V down", "client: paste", "key Ctrl up", "key V up", "key Up down",
                            "key Up up", "sleep 120", "OpenClipboard", "EmptyClipboard", "SetClipboardData 1",
                            "SetClipboardData 13", "SetClipboardData 8", "CloseClipboard"})
    expected.push_back(event);
  EXPECT_EQ(expected, desk.events);

  // The engine saw the body with the typed blank, and its result replaced it.
  EXPECT_EQ(std::string(kReplyBody) + " ", engine.input);
  EXPECT_EQ("rewritten\nbody", desk.Window(note).body);
  EXPECT_EQ(0, desk.CaretLine(note));
  ExpectClipboardReleased();
}

TEST_F(ClipboardTransfer, SendsTheKeysWithTheirScanCodes) {
  Process();
  const std::vector<std::pair<unsigned char, unsigned char>> keys{
      {0x11, 0x1D}, {0x23, 0x4F}, {0x11, 0x1D}, {0x23, 0x4F}, {0x20, 0x39}, {0x20, 0x39}, {0x11, 0x1D},
      {0x41, 0x1E}, {0x11, 0x1D}, {0x41, 0x1E}, {0x11, 0x1D}, {0x43, 0x2E}, {0x11, 0x1D}, {0x43, 0x2E},
      {0x11, 0x1D}, {0x56, 0x2F}, {0x11, 0x1D}, {0x56, 0x2F}, {0x26, 0x48}, {0x26, 0x48}};
  EXPECT_EQ(keys, desk.scanCodes);
}

TEST_F(ClipboardTransfer, CursorAtTopSendsOneCtrlHomeAndNoUp) {
  rig.settings.cursorAtTop = 1;
  engine.cursorLines = 0;
  EXPECT_EQ(kProcessDone, Process());
  const std::size_t paste =
      static_cast<std::size_t>(std::find(desk.events.begin(), desk.events.end(), "key V up") - desk.events.begin());
  const Events after = desk.EventsLike("key", paste + 1);
  EXPECT_EQ((Events{"key Ctrl down", "key Home down", "key Ctrl up", "key Home up"}), after);
  EXPECT_EQ(0u, desk.CountEvents("key Up down"));
}

TEST_F(ClipboardTransfer, TheUpKeysFollowTheEnginesCursorLines) {
  engine.cursorLines = 3;
  engine.output = "a\nb\nc\nd\ne";
  EXPECT_EQ(kProcessDone, Process());
  EXPECT_EQ(3u, desk.CountEvents("key Up down"));
  EXPECT_EQ(1, desk.CaretLine(note));
}

TEST_F(ClipboardTransfer, TheUserClipboardIsBackAsItWasMinusGdiHandles) {
  EXPECT_EQ(kProcessDone, Process());
  EXPECT_EQ((Formats{{1, std::string("user text\0", 10)}, {13, std::string("u\0s\0\0\0", 6)}, {8, "DIB"}}),
            desk.clipboard);
  ExpectClipboardReleased();
}

TEST_F(ClipboardTransfer, AnEmptyUserClipboardStaysEmpty) {
  desk.SetClipboard({});
  EXPECT_EQ(kProcessDone, Process());
  EXPECT_TRUE(desk.clipboard.empty());
}

TEST_F(ClipboardTransfer, ALeftAloneBodyIsStillPastedBackWithItsCursorKeys) {
  engine.result = kProcessLeftAlone;
  EXPECT_EQ(kProcessLeftAlone, Process());
  EXPECT_EQ(std::string(kReplyBody) + " ", desk.Window(note).body);
  EXPECT_EQ(1u, desk.CountEvents("client: paste"));
  EXPECT_EQ(userClipboard.front(), desk.clipboard.front());
}

TEST_F(ClipboardTransfer, AClipboardHeldElsewhereIsAGetErrorBeforeAnyKey) {
  desk.heldByOther = true;
  EXPECT_EQ(kProcessGetError, Process());
  EXPECT_TRUE(desk.EventsLike("key").empty());
  EXPECT_EQ(userClipboard, desk.clipboard);
  EXPECT_EQ(kReplyBody, desk.Window(note).body);
  EXPECT_GT(desk.openAttempts, 100);  // waited the whole timeout
  EXPECT_EQ(0, engine.calls);
}

TEST_F(ClipboardTransfer, ACopyTheClientNeverServedIsAGetErrorNotTheUsersText) {
  desk.Window(note).servesCopy = false;
  EXPECT_EQ(kProcessGetError, Process());
  EXPECT_EQ(0, engine.calls);
  // The selection is collapsed and the user's clipboard is back.
  EXPECT_FALSE(desk.Window(note).allSelected);
  EXPECT_EQ(1u, desk.CountEvents("key Up down"));
  EXPECT_EQ(0u, desk.CountEvents("client: paste"));
  EXPECT_EQ(std::string(kReplyBody) + " ", desk.Window(note).body);
  EXPECT_EQ(3u, desk.clipboard.size());
  ExpectClipboardReleased();
}

TEST_F(ClipboardTransfer, AnEmptyCopyIsAGetErrorAndTypesNoFurtherBlank) {
  desk.Window(note).copiesEmpty = true;
  EXPECT_EQ(kProcessGetError, Process());
  EXPECT_EQ(0, engine.calls);
  EXPECT_FALSE(desk.Window(note).allSelected);
  EXPECT_EQ(3u, desk.clipboard.size());
}

TEST_F(ClipboardTransfer, AClipboardThatStaysHeldAfterTheCopyIsAGetError) {
  rig.settings.clipboardOpenTimeout = 30;
  // Another program holds the clipboard from the focus on, for 31 attempts:
  // the whole wait after the copy, but not the wait of the restore.
  desk.onSetForeground = [this](WindowHandle) { desk.openFailuresLeft = 31; };
  EXPECT_EQ(kProcessGetError, Process());
  EXPECT_EQ(0, engine.calls);
  EXPECT_EQ(0u, desk.CountEvents("client: paste"));
  EXPECT_FALSE(desk.Window(note).allSelected);
  EXPECT_EQ(3u, desk.clipboard.size());
  ExpectClipboardReleased();
}

TEST_F(ClipboardTransfer, AQuotedHtmlReplyIsSkippedAndLeftAsItWas) {
  desk.Window(note).htmlCopy = "<DIV><BLOCKQUOTE>quoted</BLOCKQUOTE></DIV>";
  EXPECT_EQ(kProcessSkippedHtml, Process());
  EXPECT_EQ(0, engine.calls);
  EXPECT_EQ(0u, desk.CountEvents("client: paste"));
  EXPECT_FALSE(desk.Window(note).allSelected);
  EXPECT_EQ(3u, desk.clipboard.size());
  EXPECT_EQ("user text", desk.ClipboardText());
  ExpectClipboardReleased();
}

TEST_F(ClipboardTransfer, OnlyHtmlCopiedFromTheWindowCounts) {
  desk.SetClipboard({{kFakeHtmlFormat, "<BLOCKQUOTE>the user's own</BLOCKQUOTE>"}});
  EXPECT_EQ(kProcessDone, Process());
  EXPECT_EQ(1, engine.calls);
  EXPECT_EQ((Formats{{kFakeHtmlFormat, "<BLOCKQUOTE>the user's own</BLOCKQUOTE>"}}), desk.clipboard);

  rig.settings.ignoreHtmlMessages = 0;
  const WindowHandle html = rig.OpenReply(kReplyBody, "Re: html");
  desk.Window(html).htmlCopy = "<BLOCKQUOTE>q</BLOCKQUOTE>";
  EXPECT_EQ(kProcessDone, rig.processor->ProcessWindow(html, ProcessMode::reply));
}

TEST_F(ClipboardTransfer, UnreadableHtmlFormatIsAGetError) {
  desk.Window(note).htmlCopy = "<P>plain</P>";
  desk.getDataFails = {kFakeHtmlFormat};
  EXPECT_EQ(kProcessGetError, Process());
  EXPECT_EQ(0, engine.calls);
  EXPECT_EQ(3u, desk.clipboard.size());
}

TEST_F(ClipboardTransfer, APutErrorKeepsTheReplyAndTheUsersClipboard) {
  // The copy has been read when the engine runs: make the next write fail.
  engine.output = "rewritten";
  ScriptedEngine* scripted = &engine;
  FakeDesktop* fake = &desk;
  rig.Build([scripted, fake](const Settings& s, std::string& body, int& lines) {
    fake->setDataFailuresLeft = 1;
    return scripted->Function()(s, body, lines);
  });
  desk.SetClipboard(userClipboard);
  desk.foreground = note;
  EXPECT_EQ(kProcessPutError, Process());
  EXPECT_EQ(0u, desk.CountEvents("key V down"));
  EXPECT_EQ(std::string(kReplyBody) + " ", desk.Window(note).body);
  EXPECT_FALSE(desk.Window(note).allSelected);
  EXPECT_EQ(3u, desk.clipboard.size());
  EXPECT_EQ("user text", desk.ClipboardText());
  ExpectClipboardReleased();
}

TEST_F(ClipboardTransfer, NoKeyGoesToAWindowThatIsNotInFront) {
  const WindowHandle other = desk.AddWindow(0, "Notepad", "notes");
  desk.foreground = other;
  desk.foregroundLocked = true;
  EXPECT_EQ(kProcessGetError, Process());
  EXPECT_TRUE(desk.EventsLike("key").empty());
  EXPECT_EQ(0, desk.lostKeys);
  EXPECT_EQ(3u, desk.clipboard.size());
  EXPECT_EQ("user text", desk.ClipboardText());
}

TEST_F(ClipboardTransfer, AWindowThatComesToTheFrontLateStillGetsItsKeys) {
  desk.foreground = 0;
  desk.foregroundLatency = 60;
  EXPECT_EQ(kProcessDone, Process());
  EXPECT_EQ("rewritten\nbody", desk.Window(note).body);
  EXPECT_LT(0u, desk.CountEvents("sleep 25"));
  desk.foreground = 0;
  desk.foregroundLatency = kForegroundWaitMs + 1;  // too late: no key at all
  const WindowHandle second = desk.AddNoteWindow("Re: late", true, kReplyBody);
  desk.events.clear();
  EXPECT_EQ(kProcessGetError, rig.processor->ProcessWindow(second, ProcessMode::reply));
  EXPECT_TRUE(desk.EventsLike("key").empty());
  EXPECT_EQ(kForegroundWaitMs, 25u * desk.CountEvents("sleep 25"));
}

TEST_F(ClipboardTransfer, AWindowClosedBeforeThePasteGetsNoPasteAndNoCursorKeys) {
  desk.onSetForeground = [this](WindowHandle window) {
    if (desk.CountEvents("SetForegroundWindow") == 2) desk.CloseWindow(window);
  };
  EXPECT_EQ(kProcessPutError, Process());
  EXPECT_EQ(0u, desk.CountEvents("key V down"));
  EXPECT_EQ(0u, desk.CountEvents("key Up down"));
  EXPECT_EQ(0, desk.lostKeys);
  EXPECT_EQ(3u, desk.clipboard.size());
  ExpectClipboardReleased();
}

TEST_F(ClipboardTransfer, NegativeDelaysAndTimeoutsCountAsZero) {
  rig.settings.compositionInitDelay = -5;
  rig.settings.oeReactionDelay = -200;
  rig.settings.clipboardOpenTimeout = -1;
  EXPECT_EQ(kProcessDone, Process());
  EXPECT_EQ((Events{"sleep 0", "sleep 0", "sleep 0"}), desk.EventsLike("sleep"));
  EXPECT_EQ(0u, desk.sleptTotal);
}

}  // namespace
