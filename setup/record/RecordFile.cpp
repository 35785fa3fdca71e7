#include "setup/record/RecordFile.h"

#include "setup/record/UninstallRecord.h"

namespace {

std::vector<std::string> SlotTexts(const std::vector<UninstallRecord::PathSlot>& slots, int count) {
  std::vector<std::string> texts;
  for (int i = 0; i < count && static_cast<std::size_t>(i) < slots.size(); ++i) texts.emplace_back(slots[i].data());
  return texts;
}

}  // namespace

bool LoadRecordLists(const char* path, bool forUninstaller, RecordLists& lists) {
  UninstallRecord record;
  if (ReadUninstallRecord(record, forUninstaller ? RecordDepth::kUninstaller : RecordDepth::kSetup, path) != 0)
    return false;
  lists.appName = record.appName;
  lists.files = SlotTexts(record.files, record.fileCount);
  lists.shortcuts = SlotTexts(record.shortcuts, record.shortcutCount);
  lists.generatedFiles = SlotTexts(record.generatedFiles, record.generatedCount);
  lists.windowClass = record.windowClass;
  lists.windowTitle = record.windowTitle;
  lists.nativeHosts = SlotTexts(record.nativeHosts, record.hostCount);
  return true;
}

bool SaveRecordLists(const char* path, const RecordLists& lists) {
  // The record keeps the shortcuts of all three lists in one sequence, so
  // they can travel in one list here.
  SetupScript script;
  script.AppName = lists.appName;
  for (const std::string& link : lists.shortcuts) {
    ShortcutEntry entry;
    entry.linkPath = link;
    script.Shortcuts.push_back(entry);
  }
  script.GeneratedFiles = lists.generatedFiles;
  script.RunningCheckWindowClass = lists.windowClass;
  script.RunningCheckWindowTitle = lists.windowTitle;
  for (const std::string& name : lists.nativeHosts) script.NativeMessagingHosts.push_back({name, std::string()});
  return WriteUninstallRecord(script, lists.files, path);
}
