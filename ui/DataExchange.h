// Data exchange between a dialog's controls and the fields it edits.
//
// A dialog lists its fields once, in DoDataExchange, and the same list serves
// both directions: writing shows every field in its control, reading copies
// the controls back into the fields.  Reading stops at the first entry that
// cannot be taken (a text that is not a whole number, a text that is too
// long): the user is told with the message below, the fields read before it
// keep their new values, the ones after it are not touched, and the exchange
// reports failure.
//
// Writing never puts a text into a control that already shows it, so an
// unchanged field does not disturb the caret or selection of an edit field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ui {

// What the exchange needs from a dialog.  The Win32 dialog implements it with
// its child controls; tests implement it with a table.
class IDialogControls {
public:
  virtual ~IDialogControls() = default;
  virtual std::string ReadText(int controlId) const = 0;
  virtual void WriteText(int controlId, const std::string& text) = 0;
  virtual int ReadCheck(int controlId) const = 0;
  virtual void WriteCheck(int controlId, int state) = 0;
  // -1 when nothing is selected.
  virtual int ReadListIndex(int controlId) const = 0;
  virtual void WriteListIndex(int controlId, int index) = 0;
  virtual void LimitText(int controlId, std::size_t maxChars) = 0;
  // Tells the user why the entry was refused and puts the focus on it.
  virtual void ReportBadEntry(int controlId, const std::string& message) = 0;
};

extern const char* const kNotAnIntegerMessage;  // "Please enter an integer."

// The message for a text longer than maxChars.
std::string TooLongMessage(std::size_t maxChars);

class DataExchange {
public:
  enum Direction { kWrite, kRead };

  DataExchange(IDialogControls& controls, Direction direction) : controls_(controls), direction_(direction) {}

  bool IsReading() const { return direction_ == kRead; }
  bool Failed() const { return failed_; }

  void Integer(int controlId, int32_t& value);
  void Check(int controlId, int32_t& value);
  void ListIndex(int controlId, int32_t& value);
  void Text(int controlId, std::string& value);
  // The length check pairs with Text: writing limits the control, reading
  // refuses a longer text.  Place it right after the Text of the same field.
  void MaxChars(int controlId, const std::string& value, std::size_t maxChars);

private:
  void Fail(int controlId, const std::string& message);

  IDialogControls& controls_;
  Direction direction_;
  bool failed_ = false;
};

}  // namespace ui
