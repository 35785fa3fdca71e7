// The values of the two option dialogs and how they reach Settings.
#pragma once

#include <string>

#include "engine/Settings.h"
#include "ui/DataExchange.h"

// The advanced options dialog works on a copy of the record; OK stores back
// only the fields the dialog shows.
struct AdvancedOptions : Settings {
  static AdvancedOptions From(const Settings& settings);
  void ApplyTo(Settings& settings) const;
};

// The dialog's controls, in its exchange order.
void ExchangeAdvancedOptions(ui::DataExchange& dx, AdvancedOptions& options);

// OK of the advanced options: reads the controls into a copy and stores the
// six values only when every control could be read, so that a bad entry
// followed by Cancel leaves Settings as it was.  Returns whether it stored.
bool ReadAdvancedOptionsInto(ui::IDialogControls& controls, AdvancedOptions& fields, Settings& settings);

// The custom header template and its edit field (at most 80 characters).
void ExchangeCustomHeader(ui::DataExchange& dx, std::string& templateText);

extern const char* const kInvalidHeaderMessage;  // "Invalid quote header!"
