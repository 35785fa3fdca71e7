// Setup's own texts in English and German.  Which language a text takes
// depends on the script's language and on where the text appears: the
// agreement and progress dialogs switch to German only for "GER", the other
// texts for anything but "ENG".
#pragma once

#include <string>

bool UsesGermanAgreementTexts(const std::string& language);
bool UsesGermanWizardTexts(const std::string& language);

struct AgreementTexts {
  std::string title, question, noButton, yesButton;
};

struct ProgressTexts {
  std::string title, currentGroup, progressGroup, pleaseWait;
};

struct DestinationTexts {
  std::string title, intro, group, exitButton, okButton;
};

struct MenuFolderTexts {
  std::string title, intro, label, backButton, okButton, allUsers, currentUser;
};

struct RunTexts {
  std::string checkingOldData, creatingShortcuts, installingFonts, creatingUninstallData;
  std::string completeCaption, completeMessage;
};

AgreementTexts MakeAgreementTexts(const std::string& language);
ProgressTexts MakeProgressTexts(const std::string& language);
DestinationTexts MakeDestinationTexts(const std::string& language, const std::string& appName);
MenuFolderTexts MakeMenuFolderTexts(const std::string& language, const std::string& appName);
RunTexts MakeRunTexts(const std::string& language, const std::string& appName);

// Messages whose language the installation run does not choose: the
// validation messages, the running check and the failure reports.
namespace SetupMessage {
extern const char* const kErrorCaption;
extern const char* const kWarningCaption;
extern const char* const kInvalidDestination;
extern const char* const kSpaceUnknown;
extern const char* const kCannotCreate;
extern const char* const kFileExists;
extern const char* const kDirectoryExists;
extern const char* const kMenuPathNotFound;
extern const char* const kMenuInvalidName;
extern const char* const kRecordNotSaved;
extern const char* const kRegistryFailed;
extern const char* const kHostFailed;
extern const char* const kArchiveUnreadable;
extern const char* const kLogFileName;
extern const char* const kLogYes;
}  // namespace SetupMessage

std::string FormatRunningMessage(const std::string& appName);
std::string FormatNoSpaceMessage(unsigned long long missingKilobytes, char drive);
std::string FormatExtractionFailure(const std::string& entryName, const std::string& reason);
std::string FormatUnsafeEntry(const std::string& entryName);
// The corrupt-package message naming the entry the listing refused.
std::string FormatCorruptEntry(const std::string& entryName);

// A silent setup's log: one line per message it would have shown, with
// its line breaks turned into blanks, and a line for each argument it did
// not use.
std::string FormatLogLine(const std::string& caption, const std::string& text);
std::string FormatIgnoredArgument(const std::string& argument);
std::string FormatSilentStart(const std::string& appName, const std::string& installDir, const std::string& menuFolder);
