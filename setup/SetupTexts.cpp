#include "setup/SetupTexts.h"

// German texts are Windows-1252; the escapes are split where a hex digit
// follows, so that the compiler does not read it as part of the escape.

bool UsesGermanAgreementTexts(const std::string& language) {
  return language == "GER";
}

bool UsesGermanWizardTexts(const std::string& language) {
  return language != "ENG";
}

AgreementTexts MakeAgreementTexts(const std::string& language) {
  if (UsesGermanAgreementTexts(language))
    return {"Vereinbarung", "Akzeptieren Sie die obengenannten Bedingungen?", "Nein", "Ja"};
  return {"Agreement", "Do you accept the terms stated above?", "No", "Yes"};
}

ProgressTexts MakeProgressTexts(const std::string& language) {
  if (UsesGermanAgreementTexts(language)) return {"Installation", "Aktuell", "Fortschritt", "Bitte warten..."};
  return {"Installing", "Current", "Progress", "Please wait..."};
}

DestinationTexts MakeDestinationTexts(const std::string& language, const std::string& appName) {
  if (UsesGermanWizardTexts(language))
    return {"Zielverzeichnis w\xE4hlen",
            "Geben Sie das Verzeichnis an, in dem " + appName +
                " installiert werden soll, oder akzeptieren Sie das vorgegebene Verzeichnis.",
            "Zielverzeichnis", "Verlassen", "OK"};
  return {"Destination Directory",
          "Please choose a directory on your hard disk, to which " + appName +
              " is to be installed, or simply accept the default location.",
          "Destination", "Exit", "OK"};
}

MenuFolderTexts MakeMenuFolderTexts(const std::string& language, const std::string& appName) {
  if (UsesGermanWizardTexts(language))
    return {
        "Startmen\xFC"
        "verzeichnis w\xE4hlen",
        "Geben Sie ein Startmen\xFC"
        "verzeichnis f\xFCr die Symbole von " +
            appName +
            " an. W\xE4hlen Sie aus existierenden Verzeichnissen, indem Sie auf die "
            "untenstehende Liste doppelklicken.",
        "Startmen\xFC:",
        "Zur\xFC"
        "ck",
        "OK",
        "All Users",
        "Current User"};
  return {"Start Menu Folder",
          "Please enter a folder, in which " + appName +
              "'s icons are to appear.\nBrowse through existing folders by double clicking on the "
              "list below.",
          "Start Menu:",
          "Back",
          "OK",
          "All Users",
          "Current User"};
}

RunTexts MakeRunTexts(const std::string& language, const std::string& appName) {
  if (UsesGermanWizardTexts(language))
    return {
        "\xDC"
        "berpr\xFC"
        "fung alter Uninstall-Informationen...",
        "Verkn\xFCpfungen erstellen...",
        "Schriftarten installieren...",
        "Erstellen der Uninstall-Informationen...",
        "Installation beendet",
        appName + " wurde erfolgreich installiert!"};
  return {"checking old uninstall data...",
          "creating shortcuts...",
          "installing fonts...",
          "creating uninstall data...",
          "Installation Complete",
          appName + " is now installed on your computer.\nUse the start menu to run the application.\n"};
}

namespace SetupMessage {
const char* const kErrorCaption = "Error";
const char* const kWarningCaption = "Warning";
const char* const kInvalidDestination = "Invalid input - must be of the form\nX:\\Path";
const char* const kSpaceUnknown =
    "The free space of this drive cannot be determined.\nPlease choose a different drive.";
const char* const kCannotCreate = "The directory cannot be created.\nPossibly incorrect syntax.";
const char* const kFileExists = "A file of the same name already exists.\nPlease Choose a different location.";
const char* const kDirectoryExists = "Directory already exists... Continue?";
const char* const kMenuPathNotFound = "Could not create! (path not found)";
const char* const kMenuInvalidName = "Invalid folder name!";
const char* const kRecordNotSaved = "Uninstall Information could not be saved!";
const char* const kRegistryFailed =
    "The uninstall information could not be written to the registry!\nThe installation is not "
    "complete.";
const char* const kHostFailed = "A native messaging host could not be registered!\nThe installation is not complete.";
const char* const kArchiveUnreadable = "The installation file is corrupt!";
const char* const kLogFileName = "setup.log";
const char* const kLogYes = "Yes";
}  // namespace SetupMessage

std::string FormatRunningMessage(const std::string& appName) {
  return "It appears that " + appName + " is running!\nPlease close the program and try again.";
}

std::string FormatNoSpaceMessage(unsigned long long missingKilobytes, char drive) {
  return "Not enough disk space.\nLeave Setup and free at least " + std::to_string(missingKilobytes) + " KB on drive " +
         std::string(1, drive) + ":\nor choose a different drive.";
}

std::string FormatExtractionFailure(const std::string& entryName, const std::string& reason) {
  return "The file \"" + entryName + "\" could not be installed:\n" + reason +
         "\n\nSetup stops here; an earlier installation was left as it was.";
}

std::string FormatUnsafeEntry(const std::string& entryName) {
  return "The installation file holds an invalid file name:\n\"" + entryName +
         "\"\n\nSetup stops here; an earlier installation was left as it was.";
}

std::string FormatCorruptEntry(const std::string& entryName) {
  return std::string(SetupMessage::kArchiveUnreadable) + "\n\n\"" + entryName + "\"";
}

std::string FormatLogLine(const std::string& caption, const std::string& text) {
  std::string line = caption + ": ";
  bool blank = false;
  for (char c : text) {
    if (c == '\n' || c == '\r') {
      blank = true;
      continue;
    }
    if (blank && !line.empty() && line.back() != ' ') line += ' ';
    blank = false;
    line += c;
  }
  return line;
}

std::string FormatIgnoredArgument(const std::string& argument) {
  return "Setup: ignored the argument " + argument;
}

std::string FormatSilentStart(const std::string& appName, const std::string& installDir,
                              const std::string& menuFolder) {
  return "Setup: installing " + appName + " into " + installDir + ", start menu folder " + menuFolder;
}
