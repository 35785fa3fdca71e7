// Composition windows in document mode, the signature fix of new messages,
// and the status each outcome is reported with.
#include <gtest/gtest.h>

#include "AutomationRig.h"
#include "engine/ReplyFormatter.h"

namespace {

using Events = std::vector<std::string>;

class DocumentMode : public ::testing::Test {
protected:
  void SetUp() override {
    rig.settings.cursorAtTop = 0;
    engine.cursorLines = 2;
    rig.Build(engine.Function());
    note = rig.OpenReply("\r\n> quoted\r\n");
  }

  int Process(ProcessMode mode = ProcessMode::reply) { return rig.processor->ProcessWindow(note, mode); }
  // The status HandleCompositionWindow reports, or "<none>".
  std::string Status(WindowHandle window, const std::string& title) {
    std::string status;
    return rig.processor->HandleCompositionWindow(window, title, status) ? status : "<none>";
  }
  FakeDocState& Document() { return desk.DocumentOf(note); }

  AutomationRig rig;
  FakeDesktop& desk = rig.desk;
  ScriptedEngine engine;
  WindowHandle note = 0;
};

TEST_F(DocumentMode, WritesTheEnginesBodyBackAndThenPlacesTheCursor) {
  EXPECT_EQ(kProcessDone, Process());
  EXPECT_EQ(
      (Events{"sleep 0", "SendMessageTimeout 1000", "ObjectFromLresult", "get_readyState", "get_body", "get_innerHTML",
              "get_innerText", "put_innerText", "SetFocus", "SetActiveWindow", "SetForegroundWindow",
              "GetForegroundWindow", "key Up down", "key Up up", "key Up down", "key Up up"}),
      desk.events);
  EXPECT_EQ("rewritten\nbody", Document().innerText);
  EXPECT_EQ("\r\n> quoted\r\n", engine.input);
  EXPECT_EQ(0, Document().liveReferences);
}

TEST_F(DocumentMode, TheBodyIsExactlyWhatTheEngineMakesOfIt) {
  rig.Build();  // the real engine
  const std::string body =
      "\r\n-----Original Message-----\r\nFrom: \"Ann Smith\" <ann@example.com>\r\nTo: <bob@example.com>\r\n"
      "Sent: Monday, December 07, 2026 1:00 PM\r\nSubject: hello\r\n\r\n> a quoted line\r\n> and one more\r\n";
  Document().innerText = body;
  std::string expected = body;
  int cursorLines = 0;
  ReplyFormatter formatter(rig.settings);
  const int result = formatter.ReformatReply(expected, cursorLines);
  EXPECT_EQ(result, Process());
  if (result == kProcessDone || result == kProcessDoneDeeper) {
    EXPECT_EQ(expected, Document().innerText);
    EXPECT_EQ(static_cast<std::size_t>(std::max(cursorLines, 0)), desk.CountEvents("key Up down"));
  } else {
    EXPECT_EQ(0, Document().putTextCount);
  }
}

TEST_F(DocumentMode, CursorAtTopSendsOnlyCtrlHome) {
  rig.settings.cursorAtTop = 1;
  engine.cursorLines = 0;
  EXPECT_EQ(kProcessDoneDeeper, (engine.result = kProcessDoneDeeper, Process()));
  EXPECT_EQ((Events{"key Ctrl down", "key Home down", "key Ctrl up", "key Home up"}), desk.EventsLike("key"));
}

TEST_F(DocumentMode, ABodyLeftAloneIsNotWrittenAndGetsNoKeys) {
  engine.result = kProcessLeftAlone;
  EXPECT_EQ(kProcessLeftAlone, Process());
  EXPECT_EQ(0, Document().putTextCount);
  EXPECT_TRUE(desk.EventsLike("key").empty());
  EXPECT_TRUE(desk.EventsLike("SetFocus").empty());
}

TEST_F(DocumentMode, TextTheCodePageCannotHoldIsNeverWrittenBack) {
  Document().textLossy = true;
  EXPECT_EQ(kProcessLeftAlone, Process());
  EXPECT_EQ(0, engine.calls);
  EXPECT_EQ(0, Document().putTextCount);
  EXPECT_EQ("skipped (quoted)", Status(note, "Re: hello"));
}

TEST_F(DocumentMode, AFailedWriteIsAPutError) {
  Document().putTextFails = true;
  EXPECT_EQ(kProcessPutError, Process());
  EXPECT_TRUE(desk.EventsLike("key").empty());
  EXPECT_EQ(0, Document().liveReferences);
}

TEST_F(DocumentMode, ADocumentNotYetCompleteIsTriedAgainLater) {
  for (const char* state : {"loading", "interactive", "Complete"}) {
    Document().readyState = state;
    EXPECT_EQ(kProcessNotReady, Process()) << state;
    EXPECT_EQ(0, engine.calls);
    EXPECT_EQ(0, Document().liveReferences);
  }
  Document().readyState = "complete";
  EXPECT_EQ(kProcessDone, Process());
}

TEST_F(DocumentMode, AnEmptyOrUnreadableBodyIsTriedAgainLater) {
  Document().innerText.clear();
  EXPECT_EQ(kProcessNotReady, Process());
  Document().innerText = "text";
  Document().textFails = true;
  EXPECT_EQ(kProcessNotReady, Process());
  EXPECT_EQ(0, engine.calls);
  EXPECT_EQ(0, Document().liveReferences);
}

TEST_F(DocumentMode, AMissingServerWindowMeansNotReadyButAMissingDocumentIsAGetError) {
  const WindowHandle bare = desk.AddNoteWindow("Re: bare", true, "text", false);
  EXPECT_EQ(kProcessNotReady, rig.processor->ProcessWindow(bare, ProcessMode::reply));
  EXPECT_EQ("<none>", Status(bare, "Re: bare"));

  Document().hung = true;
  EXPECT_EQ(kProcessGetError, Process());
  EXPECT_EQ(0, engine.calls);
}

TEST_F(DocumentMode, QuotedHtmlIsSkippedOnlyWhenHtmlMessagesAreIgnored) {
  Document().innerHtml = "<DIV>hi</DIV><DIV style=\"FONT: 10pt arial\">quoted</DIV>";
  EXPECT_EQ(kProcessSkippedHtml, Process());
  EXPECT_EQ(0, engine.calls);
  EXPECT_EQ(0, Document().liveReferences);

  rig.settings.ignoreHtmlMessages = 0;
  desk.events.clear();
  EXPECT_EQ(kProcessDone, Process());
  EXPECT_TRUE(desk.EventsLike("get_innerHTML").empty());
  EXPECT_EQ("rewritten\nbody", Document().innerText);
}

TEST_F(DocumentMode, TheRewrittenReplyIsColouredWhenAsked) {
  rig.settings.colorComposition = 1;
  Document().innerHtml = "text<BR>&gt; quoted";
  EXPECT_EQ(kProcessDone, Process());
  EXPECT_EQ("<SPAN class=KV-MARK>text<BR></span><span class=q1>&gt; quoted", Document().innerHtml);
  EXPECT_EQ(1u, Document().styleSheets.size());
  EXPECT_EQ("", Document().title);  // composition mode leaves the title alone
  EXPECT_EQ(0, Document().liveReferences);
}

TEST(SignatureSeparators, BothFormsBecomeDashesAndTheMarkByte) {
  std::string body = "hi\r\n-- \r\nsig\r\n--\r\nold\r\n-- not a separator\r\n--\r\n";
  EXPECT_TRUE(ApplySignatureFix(body));
  EXPECT_EQ("hi\r\n--\x81\r\nsig\r\n--\x81\r\nold\r\n-- not a separator\r\n--\x81\r\n", body);
  std::string plain = "no separator\r\n---\r\n";
  EXPECT_FALSE(ApplySignatureFix(plain));
  EXPECT_EQ("no separator\r\n---\r\n", plain);
}

class NewMessage : public DocumentMode {
protected:
  void SetUp() override {
    rig.settings.isoSignatureFix = 1;
    rig.Build(engine.Function());
    note = desk.AddNoteWindow("New Message", true, "\r\n\r\n-- \r\nAnn\r\n");
    desk.foreground = note;
  }
};

TEST_F(NewMessage, GetsItsSignatureFixedWithoutTheEngineOrKeys) {
  EXPECT_EQ("processed (sig)", Status(note, "New Message"));
  EXPECT_EQ("\r\n\r\n--\x81\r\nAnn\r\n", Document().innerText);
  EXPECT_EQ(0, engine.calls);
  EXPECT_TRUE(desk.EventsLike("key").empty());
}

TEST_F(NewMessage, IsNotWrittenWhenThereIsNothingToFix) {
  Document().innerText = "\r\nno signature here\r\n";
  EXPECT_EQ("processed (sig)", Status(note, "New Message"));
  EXPECT_EQ(0, Document().putTextCount);
  Document().innerText.clear();
  EXPECT_EQ("processed (sig)", Status(note, "New Message"));
  EXPECT_EQ(0, Document().putTextCount);
}

TEST_F(NewMessage, IsFixedOnALaterTickWhenItsDocumentIsStillLoading) {
  Document().readyState = "loading";
  EXPECT_EQ("<none>", Status(note, "New Message"));
  EXPECT_EQ(0, Document().putTextCount);
  Document().readyState = "complete";
  EXPECT_EQ("processed (sig)", Status(note, "New Message"));
  EXPECT_EQ(1, Document().putTextCount);
}

TEST_F(NewMessage, IsLeftUntouchedInClipboardModeOrWithoutTheFix) {
  rig.settings.useClipboard = 1;
  EXPECT_EQ("skipped (clipboard unsupported)", Status(note, "New Message"));
  rig.settings.isoSignatureFix = 0;
  EXPECT_EQ("skipped (no Re)", Status(note, "New Message"));
  EXPECT_TRUE(desk.events.empty());
}

class StatusTable : public DocumentMode {};

TEST_F(StatusTable, EveryReplyResultHasItsText) {
  const std::pair<int, const char*> rows[] = {{kProcessDone, "processed (q)"},
                                              {kProcessLeftAlone, "skipped (quoted)"},
                                              {kProcessDoneDeeper, "processed (q-qp)"}};
  for (const auto& row : rows) {
    engine.result = row.first;
    EXPECT_EQ(row.second, Status(note, "Re: hello"));
  }
  EXPECT_STREQ("put error", ReplyStatusText(kProcessPutError));
  EXPECT_STREQ("get error", ReplyStatusText(kProcessGetError));
  EXPECT_STREQ("skipped (HTML)", ReplyStatusText(kProcessSkippedHtml));
  EXPECT_TRUE(desk.boxes.empty());
}

TEST_F(StatusTable, OnlyAnExactReDotBlankMakesAReply) {
  for (const char* title : {"RE: hello", "re: hello", "Re:hello", "AW: hello", "Re", "", " Re: hello"})
    EXPECT_EQ("skipped (no Re)", Status(note, title)) << title;
  EXPECT_EQ(0, engine.calls);
  EXPECT_EQ("processed (q)", Status(note, "Re: "));
}

TEST_F(StatusTable, ErrorsWarnOnceEachWhenWarningsAreOn) {
  Document().hung = true;
  EXPECT_EQ("get error", Status(note, "Re: hello"));
  Document().hung = false;
  Document().putTextFails = true;
  EXPECT_EQ("put error", Status(note, "Re: hello"));
  ASSERT_EQ(2u, desk.boxes.size());
  EXPECT_EQ(
      "Kelvane Error|A latency error (get error) occurred.\nThe message was not processed.\nTry increasing "
      "the delay settings in advanced options!",
      desk.boxes[0]);
  EXPECT_EQ(
      "Kelvane Error|A latency error (put error) occurred.\nThe message was not processed.\nTry increasing "
      "the delay settings in advanced options!",
      desk.boxes[1]);

  rig.settings.displayWarningsOnErrors = 0;
  EXPECT_EQ("put error", Status(note, "Re: hello"));
  EXPECT_EQ(2u, desk.boxes.size());
}

TEST_F(StatusTable, ClipboardErrorsAreReportedAlike) {
  rig.settings.useClipboard = 1;
  desk.heldByOther = true;
  EXPECT_EQ("get error", Status(note, "Re: hello"));
  desk.heldByOther = false;
  desk.Window(note).htmlCopy = "<BLOCKQUOTE>";
  EXPECT_EQ("skipped (HTML)", Status(note, "Re: hello"));
  EXPECT_EQ(1u, desk.boxes.size());
}

TEST_F(StatusTable, NotReadyGivesNoStatus) {
  Document().readyState = "loading";
  EXPECT_EQ("<none>", Status(note, "Re: hello"));
  EXPECT_TRUE(desk.boxes.empty());
}

}  // namespace
