// The watch across ticks: which windows are due, the records and title
// changes, the busy and disabled flags, received messages and the message
// view.
#include <gtest/gtest.h>

#include <memory>

#include "FakeDesktop.h"
#include "automation/WindowWatcher.h"

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

class Watcher : public ::testing::Test {
protected:
  void SetUp() override {
    ResetSettings(settings);
    settings.cursorAtTop = 0;
    desk.AddMainWindow();
  }
  void Make() {
    watcher = std::make_unique<WindowWatcher>(settings, log, desk, desk.Platform(), desk, L"C:\\Kelvane",
                                              "no-such-styles.css", engine);
  }
  // All rows, oldest first.
  Rows AllRows() const {
    Rows rows;
    for (std::size_t i = log.Size(); i-- > 0;) rows.emplace_back(log.Row(i).title, log.Row(i).status);
    return rows;
  }
  WindowHandle Reply(const std::string& title, const std::string& body = "\r\n> q\r\n") {
    const WindowHandle note = desk.AddNoteWindow(title, true, body);
    desk.foreground = note;
    return note;
  }
  WindowHandle Received(const std::string& title, const std::string& html = "hello<BR>&gt; quoted") {
    const WindowHandle note = desk.AddNoteWindow(title, false);
    desk.DocumentOf(note).innerHtml = html;
    return note;
  }

  FakeDesktop desk;
  Settings settings;
  StatusLog log;
  int engineCalls = 0;
  ReformatFunction engine = [this](const Settings&, std::string& body, int&) {
    ++engineCalls;
    body = "done";
    return 0;
  };
  std::unique_ptr<WindowWatcher> watcher;
};

TEST_F(Watcher, AReplyIsProcessedOnceAndRecorded) {
  Make();
  const WindowHandle note = Reply("Re: one");
  watcher->OnTimer();
  watcher->OnTimer();
  EXPECT_EQ((Rows{{"Re: one", "processed (q)"}}), AllRows());
  EXPECT_EQ(1, engineCalls);
  ASSERT_EQ(1u, watcher->Records().size());
  const CompositionWindow& record = watcher->Records()[0];
  EXPECT_EQ(note, record.window);
  EXPECT_EQ("Re: one", record.title);
  EXPECT_TRUE(record.isComposition);
  EXPECT_FALSE(record.titleChanged);
  EXPECT_FALSE(watcher->IsBusy());
  EXPECT_EQ(2, desk.validateCalls);
}

TEST_F(Watcher, ErrorsAreRecordedAndNotRetried) {
  Make();
  const WindowHandle note = Reply("Re: one");
  desk.DocumentOf(note).hung = true;
  watcher->OnTimer();
  watcher->OnTimer();
  EXPECT_EQ((Rows{{"Re: one", "get error"}}), AllRows());
  EXPECT_EQ(1u, desk.boxes.size());
}

TEST_F(Watcher, AnEmptyTitleWaitsUntilItIsSet) {
  Make();
  const WindowHandle note = Reply("");
  watcher->OnTimer();
  EXPECT_EQ(0u, log.Size());
  EXPECT_TRUE(watcher->Records().empty());
  desk.Window(note).title = "Re: later";
  watcher->OnTimer();
  watcher->OnTimer();
  EXPECT_EQ((Rows{{"Re: later", "processed (q)"}}), AllRows());
}

TEST_F(Watcher, ATitleChangeIsFollowedExactlyOnce) {
  Make();
  const WindowHandle note = Reply("New Message");
  watcher->OnTimer();
  desk.Window(note).title = "Re: subject";
  watcher->OnTimer();
  ASSERT_EQ(1u, watcher->Records().size());
  EXPECT_TRUE(watcher->Records()[0].titleChanged);
  desk.Window(note).title = "Re: subject again";
  watcher->OnTimer();
  desk.Window(note).title = "Re: and again";
  watcher->OnTimer();
  EXPECT_EQ((Rows{{"New Message", "skipped (no Re)"}, {"Re: subject", "processed (q)"}}), AllRows());
}

TEST_F(Watcher, LongTitlesAreCutTo127Characters) {
  Make();
  const std::string longTitle = "Re: " + std::string(200, 'x');
  Reply(longTitle);
  watcher->OnTimer();
  watcher->OnTimer();
  ASSERT_EQ(1u, log.Size());
  EXPECT_EQ(longTitle.substr(0, 127), log.Row(0).title);
  EXPECT_EQ(1, engineCalls);
}

TEST_F(Watcher, ClosedWindowsAreForgottenAndTheirHandleIsNewAgain) {
  Make();
  const WindowHandle note = Reply("Re: one");
  watcher->OnTimer();
  desk.CloseWindow(note);
  watcher->OnTimer();
  EXPECT_TRUE(watcher->Records().empty());
  desk.ReuseWindow(note, "Re: one");
  desk.foreground = note;
  watcher->OnTimer();
  EXPECT_EQ(2u, log.Size());
}

TEST_F(Watcher, ADocumentStillLoadingIsRetriedOnLaterTicks) {
  Make();
  const WindowHandle note = Reply("Re: slow");
  desk.DocumentOf(note).readyState = "loading";
  watcher->OnTimer();
  watcher->OnTimer();
  EXPECT_EQ(0u, log.Size());
  EXPECT_TRUE(watcher->Records().empty());
  desk.DocumentOf(note).readyState = "complete";
  watcher->OnTimer();
  EXPECT_EQ((Rows{{"Re: slow", "processed (q)"}}), AllRows());
}

TEST_F(Watcher, WindowsAreWalkedFromASnapshot) {
  settings.useClipboard = 1;
  Make();
  Reply("Re: first");
  Reply("Re: second");
  watcher->OnTimer();
  ASSERT_EQ(2u, log.Size());
  // A new reply in front of the known ones is closed by the user while it is
  // being handled: the walk must still meet the windows behind it.
  const WindowHandle third = Reply("Re: third");
  desk.onSetForeground = [&](WindowHandle window) {
    if (window == third) desk.CloseWindow(third);
  };
  watcher->OnTimer();
  watcher->OnTimer();
  EXPECT_EQ((Rows{{"Re: second", "processed (q)"}, {"Re: first", "processed (q)"}, {"Re: third", "get error"}}),
            AllRows());
  EXPECT_EQ(2u, watcher->Records().size());
  EXPECT_EQ(2, engineCalls);
}

TEST_F(Watcher, ATickDuringAModalWarningIsTurnedAway) {
  Make();
  const WindowHandle note = Reply("Re: one");
  desk.DocumentOf(note).hung = true;
  Reply("Re: two");
  int nested = 0;
  desk.onBox = [&] {
    ++nested;
    EXPECT_TRUE(watcher->IsBusy());
    watcher->OnTimer();  // the message box's loop dispatches the timer
  };
  watcher->OnTimer();
  EXPECT_EQ(1, nested);
  EXPECT_EQ((Rows{{"Re: two", "processed (q)"}, {"Re: one", "get error"}}), AllRows());
  EXPECT_EQ(1, desk.validateCalls);
  EXPECT_FALSE(watcher->IsBusy());
}

TEST_F(Watcher, WhileDisabledNothingHappensAndWindowsWait) {
  Make();
  watcher->SetDisabled(true);
  Reply("Re: one");
  watcher->OnTimer();
  EXPECT_EQ(0u, log.Size());
  EXPECT_EQ(0, desk.validateCalls);
  EXPECT_TRUE(desk.EventsLike("SendMessageTimeout").empty());
  watcher->SetDisabled(false);
  watcher->OnTimer();
  EXPECT_EQ(1u, log.Size());
}

TEST_F(Watcher, WithoutTheClientNothingMovesOrTheProgramEnds) {
  settings.dependOnOE = 0;
  Make();
  Reply("Re: one");
  watcher->OnTimer();
  ASSERT_EQ(1u, watcher->Records().size());
  desk.CloseWindow(desk.mainWindow);
  desk.events.clear();
  watcher->OnTimer();
  EXPECT_EQ(1u, watcher->Records().size());  // not swept
  EXPECT_EQ(0, desk.terminateCalls);
  EXPECT_TRUE(desk.events.empty());

  settings.dependOnOE = 1;
  desk.onTerminate = [&] {
    EXPECT_TRUE(watcher->IsBusy());
    watcher->OnTimer();
  };
  watcher->OnTimer();
  EXPECT_EQ(1, desk.terminateCalls);
  watcher->OnTimer();
  EXPECT_EQ(1, desk.terminateCalls);  // the program is ending: no second call
}

TEST_F(Watcher, TheNewsStoreCountsAsTheClient) {
  desk.CloseWindow(desk.mainWindow);
  desk.AddWindow(0, "Outlook Express NewsStore", "news");
  Make();
  Reply("Re: one");
  watcher->OnTimer();
  EXPECT_EQ(1u, log.Size());
  EXPECT_EQ(0, desk.terminateCalls);
}

TEST_F(Watcher, AReceivedMessageIsColouredOncePerMessageShown) {
  Make();
  const WindowHandle note = Received("Hello");
  watcher->OnTimer();
  watcher->OnTimer();
  EXPECT_EQ((Rows{{"Hello", "processed (c)"}}), AllRows());
  FakeDocState& document = desk.DocumentOf(note);
  EXPECT_EQ("Kelvane", document.title);
  // Without styles.css there is one level: every depth gets q0.
  EXPECT_EQ("<SPAN class=KV-MARK>hello<BR></span><span class=q0>&gt; quoted", document.innerHtml);
  ASSERT_EQ(1u, document.styleSheets.size());
  EXPECT_EQ(L"C:\\Kelvane\\styles.css", document.styleSheets[0]);
  EXPECT_EQ(1, document.putHtmlCount);

  // The user selects another message: the client reloads the document.
  document.title = "Other";
  document.innerHtml = "another";
  watcher->OnTimer();
  EXPECT_EQ(2u, log.Size());
  EXPECT_EQ(0, engineCalls);
}

TEST_F(Watcher, ReceivedWindowsKeepTheirDocumentUntilTheyCloseUnlessCModeIsOn) {
  Make();
  desk.DocumentOf(desk.messageView).innerHtml = "preview";
  const WindowHandle first = Received("One");
  const WindowHandle second = Received("Two");
  watcher->OnTimer();
  EXPECT_EQ(3u, desk.CountEvents("SendMessageTimeout 1000"));  // two windows and the view
  desk.events.clear();
  watcher->OnTimer();
  watcher->OnTimer();
  // Still asked for readiness and title on every tick, through the kept document.
  EXPECT_EQ(0u, desk.CountEvents("SendMessageTimeout 1000"));
  EXPECT_EQ(4u, desk.CountEvents("get_title"));
  EXPECT_EQ(1, desk.DocumentOf(first).liveReferences);

  // A new message in the same document is coloured as before.
  desk.DocumentOf(second).title = "";
  desk.DocumentOf(second).innerHtml = "next";
  watcher->OnTimer();
  EXPECT_EQ("<SPAN class=KV-MARK>next", desk.DocumentOf(second).innerHtml);
  EXPECT_EQ(3u, log.Size());

  desk.CloseWindow(first);
  watcher->OnTimer();
  EXPECT_EQ(0, desk.DocumentOf(first).liveReferences);
  EXPECT_EQ(1, desk.DocumentOf(second).liveReferences);

  settings.compatibilityMode = 1;
  desk.events.clear();
  watcher->OnTimer();
  watcher->OnTimer();
  EXPECT_EQ(4u, desk.CountEvents("SendMessageTimeout 1000"));  // the window and the view, each tick
  EXPECT_EQ(0, desk.DocumentOf(second).liveReferences);
  EXPECT_EQ(3u, log.Size());
}

TEST_F(Watcher, ReceivedMessagesAreLeftAloneWithColouringOff) {
  settings.coloring = 0;
  Make();
  const WindowHandle note = Received("Hello");
  watcher->OnTimer();
  EXPECT_EQ(0u, log.Size());
  EXPECT_TRUE(desk.EventsLike("SendMessageTimeout").empty());
  settings.reformatHtml = 1;
  desk.DocumentOf(note).innerText = "hello\r\n> quoted";
  watcher->OnTimer();
  EXPECT_EQ(1u, log.Size());
  EXPECT_EQ(std::string::npos, desk.DocumentOf(note).innerHtml.find("class=q"));
}

TEST_F(Watcher, TheMessageViewIsColouredOnceUnlessCModeIsOn) {
  Make();
  FakeDocState& view = desk.DocumentOf(desk.messageView);
  view.innerHtml = "text<BR>|quoted";
  watcher->OnTimer();
  EXPECT_EQ("<SPAN class=KV-MARK>text<BR></span><span class=q0>|quoted", view.innerHtml);
  EXPECT_EQ(desk.ServerOf(desk.messageView), watcher->LastColouredView());
  EXPECT_EQ(0u, log.Size());  // no row for the view

  view.innerHtml = "next message";
  view.title = "";
  desk.events.clear();
  watcher->OnTimer();
  EXPECT_TRUE(desk.EventsLike("SendMessageTimeout").empty());
  EXPECT_EQ("next message", view.innerHtml);

  settings.compatibilityMode = 1;
  watcher->OnTimer();
  EXPECT_EQ("<SPAN class=KV-MARK>next message", view.innerHtml);
  watcher->OnTimer();
  EXPECT_EQ(1u, desk.CountEvents("put_innerHTML"));
}

TEST_F(Watcher, AViewWhoseDocumentCannotBeReachedIsOfferedAgain) {
  Make();
  FakeDocState& view = desk.DocumentOf(desk.messageView);
  view.innerHtml = "text";
  view.hung = true;
  watcher->OnTimer();
  EXPECT_EQ(kNoWindow, watcher->LastColouredView());
  view.hung = false;
  watcher->OnTimer();
  EXPECT_EQ("<SPAN class=KV-MARK>text", view.innerHtml);

  // A view still loading is offered again as well.
  Make();
  view.innerHtml = "text";
  view.readyState = "loading";
  watcher->OnTimer();
  EXPECT_EQ(kNoWindow, watcher->LastColouredView());
}

TEST_F(Watcher, TheStyleSheetPathFollowsTheDirectory) {
  Make();
  EXPECT_EQ(L"C:\\Kelvane\\styles.css", watcher->StyleSheetPath());
  EXPECT_EQ(1, watcher->StyleCount());  // no file: one level, no warning
  EXPECT_TRUE(desk.boxes.empty());
}

}  // namespace
