#include "setup/SetupTexts.h"

#include <gtest/gtest.h>

TEST(SetupLanguage, AgreementAndProgressAreGermanOnlyForGer) {
  EXPECT_EQ("Akzeptieren Sie die obengenannten Bedingungen?", MakeAgreementTexts("GER").question);
  EXPECT_EQ("Do you accept the terms stated above?", MakeAgreementTexts("ENG").question);
  EXPECT_EQ("Do you accept the terms stated above?", MakeAgreementTexts("FRA").question);
  EXPECT_EQ("Installation", MakeProgressTexts("GER").title);
  EXPECT_EQ("Installing", MakeProgressTexts("ger").title);
}

TEST(SetupLanguage, WizardAndRunTextsAreGermanForAnythingButEng) {
  EXPECT_EQ("Destination Directory", MakeDestinationTexts("ENG", "Kelvane").title);
  EXPECT_EQ("Zielverzeichnis w\xE4hlen", MakeDestinationTexts("GER", "Kelvane").title);
  EXPECT_EQ("Zielverzeichnis w\xE4hlen", MakeDestinationTexts("FRA", "Kelvane").title);
  EXPECT_EQ("Startmen\xFCverzeichnis w\xE4hlen", MakeMenuFolderTexts("", "Kelvane").title);
  EXPECT_EQ(
      "\xDC"
      "berpr\xFC"
      "fung alter Uninstall-Informationen...",
      MakeRunTexts("FRA", "K").checkingOldData);
  EXPECT_EQ("Kelvane wurde erfolgreich installiert!", MakeRunTexts("GER", "Kelvane").completeMessage);
  EXPECT_EQ("Kelvane is now installed on your computer.\nUse the start menu to run the application.\n",
            MakeRunTexts("ENG", "Kelvane").completeMessage);
}

TEST(SetupLanguage, TextsNameTheApplication) {
  EXPECT_NE(std::string::npos, MakeDestinationTexts("ENG", "Kelvane").intro.find("to which Kelvane is"));
  EXPECT_NE(std::string::npos, MakeMenuFolderTexts("ENG", "Kelvane").intro.find("Kelvane's icons"));
  EXPECT_EQ("It appears that Kelvane is running!\nPlease close the program and try again.",
            FormatRunningMessage("Kelvane"));
}
