// Dialog controls as a table, for the option mapping tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/DataExchange.h"

class FakeControls : public ui::IDialogControls {
public:
  std::map<int, std::string> texts;
  std::map<int, int> checks;
  std::map<int, int> lists;
  std::map<int, std::size_t> limits;
  std::vector<std::string> errors;

  std::string ReadText(int id) const override {
    auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
  }
  void WriteText(int id, const std::string& text) override { texts[id] = text; }
  int ReadCheck(int id) const override {
    auto it = checks.find(id);
    return it == checks.end() ? 0 : it->second;
  }
  void WriteCheck(int id, int state) override { checks[id] = state; }
  int ReadListIndex(int id) const override {
    auto it = lists.find(id);
    return it == lists.end() ? -1 : it->second;
  }
  void WriteListIndex(int id, int index) override { lists[id] = index; }
  void LimitText(int id, std::size_t maxChars) override { limits[id] = maxChars; }
  void ReportBadEntry(int, const std::string& message) override { errors.push_back(message); }
};
