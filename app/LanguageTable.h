// The table of translatable user-interface texts, loaded from "lang.ini".
//
// The file is kept in memory exactly as read; every lookup searches it from
// the start for the key text.  A lookup that fails leaves the caller's
// built-in text in place, so the program runs without the file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What SetLabel needs from a dialog: replace one control's text.  The Win32
// dialogs implement it with SetDlgItemText; tests implement it with a map.
class IControlText {
public:
  virtual ~IControlText() = default;
  virtual void SetControlText(int controlId, const char* text) = 0;
};

class LanguageTable {
public:
  // An empty table: every lookup reports not found.
  LanguageTable() = default;
  // Reads the whole file; a file that cannot be opened gives an empty table.
  explicit LanguageTable(const char* fileName);

  bool Load(const char* fileName);
  void LoadFromMemory(const char* data, std::size_t size);
  bool IsLoaded() const { return loaded_; }

  // The multi-line text of a key with its inner CR LF kept, or nullptr when
  // the key is missing from a loaded file.  Without a file it gives the
  // empty result buffer.  The text stays valid until the next GetText.
  const char* GetText(const char* key);

  // The first value line of a key, trimmed of blanks at both ends when
  // trim is set.  When false is returned, line is unchanged.
  bool GetLine(const char* key, std::string& line, bool trim) const;

  // Appends the value lines of a key to list.  When false is returned,
  // list is unchanged.
  bool GetList(const char* key, std::vector<std::string>& list) const;

  // Replaces a control's text with the trimmed first value line of key,
  // unless the key is missing or the line is empty.
  void SetLabel(IControlText& dialog, int controlId, const char* key) const;

private:
  // Position of the first value byte of key, or npos when the key or the
  // line feed ending its key line is missing.
  std::size_t FindValue(const char* key) const;
  // One CR-ended line starting at pos; false when no CR follows.
  bool ReadLine(std::size_t pos, std::string& line, std::size_t& next) const;

  std::string text_;
  bool loaded_ = false;
  std::string result_;
};
