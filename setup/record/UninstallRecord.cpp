#include "setup/record/UninstallRecord.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/LittleEndian.h"

namespace {

const char kMagic[4] = {'S', 'S', '0', '1'};
// Opens the section of native messaging hosts behind the window texts.
const char kHostsTag[4] = {'N', 'M', 'H', '1'};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

void PutString(std::string& out, const std::string& text) {
  out += text;
  out += '\0';
}

bool Fits(const std::string& text, std::size_t field) {
  return text.size() < field && text.find('\0') == std::string::npos;
}

class RecordCursor {
public:
  RecordCursor(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

  bool Int(std::int32_t& value) {
    if (size_ - pos_ < 4) return false;
    value = ReadLeInt32(data_ + pos_);
    pos_ += 4;
    return true;
  }

  // A zero-terminated text that must fit a field of the given size.
  bool String(char* field, std::size_t fieldSize) {
    const void* zero = std::memchr(data_ + pos_, 0, size_ - pos_);
    if (!zero) return false;
    const std::size_t length = static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - (data_ + pos_));
    if (length >= fieldSize) return false;
    std::memcpy(field, data_ + pos_, length + 1);
    pos_ += length + 1;
    return true;
  }

  // A count followed by that many texts; each text takes at least its
  // zero byte, so a count beyond the bytes left is refused before any
  // slot is allocated.
  bool Strings(int& count, std::vector<UninstallRecord::PathSlot>& slots) {
    std::int32_t n;
    if (!Int(n) || n < 0 || static_cast<std::size_t>(n) > size_ - pos_) return false;
    // The texts must all be there before their slots are allocated.
    std::size_t end = pos_;
    for (std::int32_t i = 0; i < n; ++i) {
      const void* zero = std::memchr(data_ + end, 0, size_ - end);
      if (!zero) return false;
      end = static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - data_) + 1;
    }
    slots.assign(static_cast<std::size_t>(n), UninstallRecord::PathSlot{});
    for (auto& slot : slots)
      if (!String(slot.data(), slot.size())) return false;
    count = n;
    return true;
  }

  bool Magic() {
    if (size_ < sizeof kMagic || std::memcmp(data_, kMagic, sizeof kMagic) != 0) return false;
    pos_ = sizeof kMagic;
    return true;
  }

  // True, and past the tag, when the next bytes are the tag.
  bool Tag(const char (&tag)[4]) {
    if (size_ - pos_ < sizeof tag || std::memcmp(data_ + pos_, tag, sizeof tag) != 0) return false;
    pos_ += sizeof tag;
    return true;
  }

private:
  const unsigned char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace

bool WriteUninstallRecord(const SetupScript& script, const std::vector<std::string>& files, const char* path) {
  std::vector<const ShortcutEntry*> shortcuts;
  for (const auto* list : {&script.Shortcuts, &script.StartupShortcuts, &script.DesktopShortcuts})
    for (const ShortcutEntry& entry : *list) shortcuts.push_back(&entry);

  // A text cut to its field would name another file; refuse it instead.
  if (!Fits(script.AppName, UninstallRecord::kNameSize) ||
      !Fits(script.RunningCheckWindowClass, UninstallRecord::kNameSize) ||
      !Fits(script.RunningCheckWindowTitle, UninstallRecord::kNameSize))
    return false;
  for (const std::string& name : files)
    if (!Fits(name, UninstallRecord::kPathSize)) return false;
  for (const ShortcutEntry* entry : shortcuts)
    if (!Fits(entry->linkPath, UninstallRecord::kPathSize)) return false;
  for (const std::string& name : script.GeneratedFiles)
    if (!Fits(name, UninstallRecord::kPathSize)) return false;
  for (const NativeHostEntry& host : script.NativeMessagingHosts)
    if (!Fits(host.name, UninstallRecord::kPathSize)) return false;
  if (files.size() > INT32_MAX || shortcuts.size() > INT32_MAX || script.GeneratedFiles.size() > INT32_MAX ||
      script.NativeMessagingHosts.size() > INT32_MAX)
    return false;

  std::string out(kMagic, sizeof kMagic);
  PutString(out, script.AppName);
  AppendLeInt32(out, static_cast<std::int32_t>(files.size()));
  for (const std::string& name : files) PutString(out, name);
  AppendLeInt32(out, static_cast<std::int32_t>(shortcuts.size()));
  for (const ShortcutEntry* entry : shortcuts) PutString(out, entry->linkPath);
  AppendLeInt32(out, static_cast<std::int32_t>(script.GeneratedFiles.size()));
  for (const std::string& name : script.GeneratedFiles) PutString(out, name);
  PutString(out, script.RunningCheckWindowClass);
  PutString(out, script.RunningCheckWindowTitle);
  // Without hosts the record stays byte for byte what it always was.
  if (!script.NativeMessagingHosts.empty()) {
    out.append(kHostsTag, sizeof kHostsTag);
    AppendLeInt32(out, static_cast<std::int32_t>(script.NativeMessagingHosts.size()));
    for (const NativeHostEntry& host : script.NativeMessagingHosts) PutString(out, host.name);
  }

  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "wb"));
  if (!file) return false;
  const bool written = std::fwrite(out.data(), 1, out.size(), file.get()) == out.size();
  return std::fclose(file.release()) == 0 && written;
}

int ParseUninstallRecord(const unsigned char* data, std::size_t size, UninstallRecord& record, RecordDepth depth) {
  UninstallRecord read;
  RecordCursor cursor(data, size);
  bool ok = cursor.Magic() && cursor.String(read.appName, sizeof read.appName) &&
            cursor.Strings(read.fileCount, read.files) && cursor.Strings(read.shortcutCount, read.shortcuts) &&
            cursor.Strings(read.generatedCount, read.generatedFiles);
  if (!ok) {
    record = UninstallRecord();
    return 1;
  }
  if (depth == RecordDepth::kUninstaller) {
    // Bytes behind the window texts that are not the hosts' section belong
    // to nothing this reader knows and are left alone, as older readers do;
    // a section that is there but damaged makes the record damaged.
    ok = cursor.String(read.windowClass, sizeof read.windowClass) &&
         cursor.String(read.windowTitle, sizeof read.windowTitle) &&
         (!cursor.Tag(kHostsTag) || cursor.Strings(read.hostCount, read.nativeHosts));
  } else {
    // Setup never needed the window texts: a record whose later fields do
    // not read still serves it as it always did, only without hosts.
    char scratch[UninstallRecord::kNameSize];
    if (cursor.String(scratch, sizeof scratch) && cursor.String(scratch, sizeof scratch) && cursor.Tag(kHostsTag) &&
        !cursor.Strings(read.hostCount, read.nativeHosts)) {
      read.hostCount = 0;
      read.nativeHosts.clear();
    }
  }
  record = ok ? std::move(read) : UninstallRecord();
  return ok ? 0 : 1;
}

int ReadUninstallRecord(UninstallRecord& record, RecordDepth depth, const char* path) {
  record = UninstallRecord();
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) return 1;
  // The whole file is read: it bounds every count, so nothing larger than
  // the file is ever allocated.
  std::vector<unsigned char> data;
  unsigned char chunk[8192];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) data.insert(data.end(), chunk, chunk + got);
  if (std::ferror(file.get())) return 1;
  return ParseUninstallRecord(data.data(), data.size(), record, depth);
}
