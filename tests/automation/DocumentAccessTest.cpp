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
    EXPECT_EQ("Kelvane Error|oleacc.dll could not be loaded!\r\nColoring will not work.\r\nPlease install MS Active "
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
  EXPECT_EQ("Kelvane Error|oleacc.dll: Pointer to ObjectFromLresult could not be obtained!\nColoring will not "
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
  EXPECT_EQ(2, desk.DocumentOf(note).liveReferences);
  ASSERT_TRUE(notes.AcquireDocument());  // the earlier document is dropped first
  EXPECT_EQ(2, desk.DocumentOf(note).liveReferences);
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
  EXPECT_EQ(TextRead::failed, notes.GetInnerText(text));
  EXPECT_EQ(TextRead::failed, notes.GetInnerHtml(text));
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

}  // namespace
