// What the watch did, one row per window dealt with, newest first.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

struct StatusRow {
  std::string title;
  std::string status;
};

class StatusLog {
public:
  // Told of every row as it is added (the main window's list, the test driver).
  class Listener {
  public:
    virtual ~Listener() = default;
    virtual void OnStatusRow(const StatusRow& row) = 0;
  };

  void SetListener(Listener* listener) { listener_ = listener; }
  // Puts the row on top.
  void Add(const std::string& title, const std::string& status);
  std::size_t Size() const { return rows_.size(); }
  // Row 0 is the newest.
  const StatusRow& Row(std::size_t index) const { return rows_[index]; }

private:
  std::deque<StatusRow> rows_;
  Listener* listener_ = nullptr;
};
