#include "automation/StatusLog.h"

void StatusLog::Add(const std::string& title, const std::string& status) {
  rows_.push_front(StatusRow{title, status});
  if (listener_ != nullptr) listener_->OnStatusRow(rows_.front());
}
