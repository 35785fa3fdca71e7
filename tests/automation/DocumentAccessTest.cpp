// Reaching a document: the accessibility library and its warnings, the chain
// of server windows, and what a document without a body allows.
#include <gtest/gtest.h>

#include <memory>

#include "FakeDesktop.h"
#include "automation/DocumentAccess.h"

namespace {

class Documents : public ::testing::Test {
protected:
  void SetUp() override { ResetSettings(settings); }
  AccessibilityLibrary& Library() {
    if (!library) library = std::make_unique<AccessibilityLibrary>(desk, settings, desk, desk);
    return *library;
  }

  FakeDesktop desk;
  Settings settings;
  std::unique_ptr<AccessibilityLibrary> library;
};

TEST_F(Documents, TheLibraryLivesAsLongAsItsUsers) {
  {
    DocumentAccess notes(Library(), desk);
    DocumentAccess views(Library(), desk);
    EXPECT_EQ(1, desk.comInitialized);
    EXPECT_EQ(1, desk.libraryLoaded);
    EXPECT_EQ(2, Library().Users());
    EXPECT_TRUE(Library().HasObjectFromLresult());
  }
  EXPECT_EQ(0, desk.comInitialized);
  EXPECT_EQ(0, desk.libraryLoaded);
  EXPECT_EQ(0, Library().Users());
  EXPECT_TRUE(desk.boxes.empty());
}

TEST_F(Documents, AMissingLibraryWarnsOnceWithTheLanguageText) {
  desk.libraryPresent = false;
  desk.texts["#MSAA Error"] = "oleacc.dll fehlt!";
  DocumentAccess notes(Library(), desk);
  DocumentAccess views(Library(), desk);
  ASSERT_EQ(1u, desk.boxes.size());
  EXPECT_EQ("Kelvane Error|oleacc.dll fehlt!", desk.boxes[0]);

  const WindowHandle note = desk.AddNoteWindow("Re: x", true, "body");
  ASSERT_NE(kNoWindow, notes.FindServerWindow(note));
  EXPECT_FALSE(notes.AcquireDocument());
  EXPECT_TRUE(desk.EventsLike("SendMessageTimeout").empty());
}

TEST_F(Documents, AMissingLibraryFallsBackToTheBuiltInTextOrStaysSilent) {
  desk.libraryPresent = false;
  {
    DocumentAccess notes(Library(), desk);
    ASSERT_EQ(1u, desk.boxes.size());
    EXPECT_EQ(
        "Kelvane Error|oleacc.dll could not be loaded!\r\nColoring will not work.\r\nPlease install MS Active "
        "Accessibility!",
        desk.boxes[0]);
  }
  library.reset();
  desk.boxes.clear();
  settings.displayWarningsOnErrors = 0;
  DocumentAccess notes(Library(), desk);
  EXPECT_TRUE(desk.boxes.empty());
}

TEST_F(Documents, AMissingObjectFromLresultWarnsOncePerRunWhateverTheSetting) {
  desk.functionPresent = false;
  settings.displayWarningsOnErrors = 0;
  DocumentAccess notes(Library(), desk);
  DocumentAccess views(Library(), desk);
  ASSERT_EQ(1u, desk.boxes.size());
  EXPECT_EQ(
      "Kelvane Error|oleacc.dll: Pointer to ObjectFromLresult could not be obtained!\nColoring will not "
      "work.\n",
      desk.boxes[0]);
  const WindowHandle note = desk.AddNoteWindow("Re: x", true, "body");
  notes.FindServerWindow(note);
  EXPECT_FALSE(notes.AcquireDocument());
  EXPECT_FALSE(notes.HasDocument());
}

TEST_F(Documents, TheServerWindowNeedsTheWholeChain) {
  DocumentAccess notes(Library(), desk);
  const WindowHandle note = desk.AddNoteWindow("Re: x", true);
  EXPECT_EQ(desk.ServerOf(note), notes.FindServerWindow(note));
  EXPECT_EQ(desk.ServerOf(note), notes.Server());

  const WindowHandle broken = desk.AddWindow(0, "ATH_NOTE", "broken");
  const WindowHandle host = desk.AddWindow(broken, "ME_DocHost");
  desk.AddWindow(host, "Internet Explorer_Server");  // the middle link is missing
  EXPECT_EQ(kNoWindow, notes.FindServerWindow(broken));
  EXPECT_EQ(kNoWindow, notes.Server());
  EXPECT_FALSE(notes.AcquireDocument());
}

TEST_F(Documents, AcquiringAskesTheServerWithinOneSecondAndReleasesWhatItHeld) {
  DocumentAccess notes(Library(), desk);
  const WindowHandle note = desk.AddNoteWindow("Re: x", true, "body");
  notes.FindServerWindow(note);
  ASSERT_TRUE(notes.AcquireDocument());
  EXPECT_EQ(1u, desk.CountEvents("SendMessageTimeout 1000"));
  EXPECT_EQ(1, desk.DocumentOf(note).liveReferences);
  EXPECT_TRUE(notes.HasBody());  // asked for on first use
  EXPECT_EQ(2, desk.DocumentOf(note).liveReferences);
  ASSERT_TRUE(notes.AcquireDocument());  // the earlier document is dropped first
  EXPECT_TRUE(notes.HasBody());
  EXPECT_EQ(2, desk.DocumentOf(note).liveReferences);
  EXPECT_EQ(2u, desk.CountEvents("get_body"));
  notes.ReleaseDocument();
  EXPECT_EQ(0, desk.DocumentOf(note).liveReferences);

  desk.DocumentOf(note).hung = true;
  EXPECT_FALSE(notes.AcquireDocument());
}

TEST_F(Documents, ADocumentWithoutBodyAllowsOnlyDocumentCalls) {
  DocumentAccess notes(Library(), desk);
  const WindowHandle note = desk.AddNoteWindow("Re: x", true, "body");
  desk.DocumentOf(note).hasBody = false;
  desk.DocumentOf(note).title = "T";
  notes.FindServerWindow(note);
  ASSERT_TRUE(notes.AcquireDocument());
  EXPECT_FALSE(notes.HasBody());
  std::string text = "kept";
  EXPECT_EQ(TextRead::kFailed, notes.GetInnerText(text));
  EXPECT_EQ(TextRead::kFailed, notes.GetInnerHtml(text));
  EXPECT_EQ("kept", text);
  EXPECT_FALSE(notes.SetInnerText("x"));
  EXPECT_FALSE(notes.SetInnerHtml("x"));
  notes.GetTitle(text);
  EXPECT_EQ("T", text);
  EXPECT_TRUE(notes.IsComplete());
  notes.ReleaseDocument();
  std::string title = "unchanged";
  notes.GetTitle(title);
  EXPECT_EQ("unchanged", title);
  EXPECT_FALSE(notes.IsComplete());
}

TEST_F(Documents, KeptDocumentsAreTakenBackWithoutAskingTheWindowAgain) {
  DocumentAccess notes(Library(), desk);
  notes.KeepDocuments(true);
  const WindowHandle first = desk.AddNoteWindow("one", false, "body");
  const WindowHandle second = desk.AddNoteWindow("two", false, "body");
  for (WindowHandle note : {first, second}) {
    notes.FindServerWindow(note);
    ASSERT_TRUE(notes.AcquireDocument());
    EXPECT_TRUE(notes.HasBody());
    notes.ReleaseDocument();
  }
  // The body is not kept: a document may get a new one.
  EXPECT_EQ(1, desk.DocumentOf(first).liveReferences);
  EXPECT_EQ(2u, notes.KeptDocuments());
  notes.ForgetUnusedDocuments();  // both were used since the last call

  desk.events.clear();
  notes.FindServerWindow(second);
  ASSERT_TRUE(notes.AcquireDocument());
  EXPECT_TRUE(notes.IsComplete());
  EXPECT_TRUE(notes.HasBody());
  notes.ReleaseDocument();
  EXPECT_EQ((std::vector<std::string>{"get_readyState", "get_body"}), desk.events);

  notes.ForgetUnusedDocuments();  // the first was not acquired this time
  EXPECT_EQ(0, desk.DocumentOf(first).liveReferences);
  EXPECT_EQ(1, desk.DocumentOf(second).liveReferences);
  notes.KeepDocuments(false);
  EXPECT_EQ(0, desk.DocumentOf(second).liveReferences);
  EXPECT_EQ(0u, notes.KeptDocuments());
}

TEST_F(Documents, ADocumentWhoseCallsFailedIsNotKept) {
  DocumentAccess notes(Library(), desk);
  notes.KeepDocuments(true);
  const WindowHandle note = desk.AddNoteWindow("one", false, "body");
  notes.FindServerWindow(note);
  ASSERT_TRUE(notes.AcquireDocument());
  desk.DocumentOf(note).disconnected = true;
  EXPECT_FALSE(notes.IsComplete());
  notes.ReleaseDocument();
  EXPECT_EQ(0u, notes.KeptDocuments());

  ASSERT_TRUE(notes.AcquireDocument());
  std::string title = "unchanged";
  notes.GetTitle(title);
  EXPECT_EQ("unchanged", title);
  notes.ReleaseDocument();
  EXPECT_EQ(0u, notes.KeptDocuments());
  EXPECT_EQ(2u, desk.CountEvents("SendMessageTimeout 1000"));
  EXPECT_EQ(0, desk.DocumentOf(note).liveReferences);
}

TEST_F(Documents, KeptDocumentsGoWithTheirAccess) {
  const WindowHandle note = desk.AddNoteWindow("one", false, "body");
  {
    DocumentAccess notes(Library(), desk);
    notes.KeepDocuments(true);
    notes.FindServerWindow(note);
    ASSERT_TRUE(notes.AcquireDocument());
    notes.ReleaseDocument();
    ASSERT_EQ(1u, notes.KeptDocuments());
  }
  EXPECT_EQ(0, desk.DocumentOf(note).liveReferences);
}

}  // namespace
