#include "ui/DataExchange.h"

#include "ui/IntegerText.h"

namespace ui {

const char* const kNotAnIntegerMessage = "Please enter an integer.";

std::string TooLongMessage(std::size_t maxChars) {
  return "Please enter no more than " + std::to_string(maxChars) + " characters.";
}

void DataExchange::Fail(int controlId, const std::string& message) {
  failed_ = true;
  controls_.ReportBadEntry(controlId, message);
}

void DataExchange::Integer(int controlId, int32_t& value) {
  if (failed_) return;
  if (direction_ == kWrite) {
    const std::string text = FormatDialogInteger(value);
    if (controls_.ReadText(controlId) != text) controls_.WriteText(controlId, text);
    return;
  }
  int32_t parsed = value;
  if (!ParseDialogInteger(controls_.ReadText(controlId), parsed)) {
    Fail(controlId, kNotAnIntegerMessage);
    return;
  }
  value = parsed;
}

void DataExchange::Check(int controlId, int32_t& value) {
  if (failed_) return;
  if (direction_ == kWrite) {
    // Any non-zero field shows as ticked; a loaded file may hold other values.
    const int state = value != 0 ? 1 : 0;
    if (controls_.ReadCheck(controlId) != state) controls_.WriteCheck(controlId, state);
    return;
  }
  value = controls_.ReadCheck(controlId) == 1 ? 1 : 0;
}

void DataExchange::ListIndex(int controlId, int32_t& value) {
  if (failed_) return;
  if (direction_ == kWrite) {
    if (controls_.ReadListIndex(controlId) != value) controls_.WriteListIndex(controlId, value);
    return;
  }
  value = controls_.ReadListIndex(controlId);
}

void DataExchange::Text(int controlId, std::string& value) {
  if (failed_) return;
  if (direction_ == kWrite) {
    if (controls_.ReadText(controlId) != value) controls_.WriteText(controlId, value);
    return;
  }
  value = controls_.ReadText(controlId);
}

void DataExchange::MaxChars(int controlId, const std::string& value, std::size_t maxChars) {
  if (failed_) return;
  if (direction_ == kWrite) {
    controls_.LimitText(controlId, maxChars);
    return;
  }
  if (value.size() > maxChars) Fail(controlId, TooLongMessage(maxChars));
}

}  // namespace ui
