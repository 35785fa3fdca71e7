#include "app/OptionDialogs.h"

#include "app/ControlIds.h"
#include "app/SettingControls.h"

const char* const kInvalidHeaderMessage = "Invalid quote header!";

namespace {

// The advanced options dialog's controls, in exchange order: the fields it
// shows and stores.
const SettingControl kAdvancedControls[] = {
    {IDC_ADV_REACTION_DELAY, &Settings::oeReactionDelay},  {IDC_ADV_CLIPBOARD_TIMEOUT, &Settings::clipboardOpenTimeout},
    {IDC_ADV_CHECK_INTERVAL, &Settings::checkInterval},    {IDC_ADV_WARNINGS, &Settings::displayWarningsOnErrors},
    {IDC_ADV_INIT_DELAY, &Settings::compositionInitDelay}, {IDC_ADV_DEPEND_ON_OE, &Settings::dependOnOE},
};

}  // namespace

AdvancedOptions AdvancedOptions::From(const Settings& s) {
  AdvancedOptions o;
  static_cast<Settings&>(o) = s;
  return o;
}

void AdvancedOptions::ApplyTo(Settings& s) const {
  for (const SettingControl& control : kAdvancedControls) s.*(control.field) = this->*(control.field);
}

void ExchangeAdvancedOptions(ui::DataExchange& dx, AdvancedOptions& o) {
  ExchangeSettingControls(dx, kAdvancedControls, o);
}

bool ReadAdvancedOptionsInto(ui::IDialogControls& controls, AdvancedOptions& fields, Settings& settings) {
  AdvancedOptions read = fields;
  ui::DataExchange dx(controls, ui::DataExchange::kRead);
  ExchangeAdvancedOptions(dx, read);
  if (dx.Failed()) return false;
  fields = read;
  fields.ApplyTo(settings);
  return true;
}

void ExchangeCustomHeader(ui::DataExchange& dx, std::string& templateText) {
  dx.Text(IDC_CUSTOM_HEADER_EDIT, templateText);
  dx.MaxChars(IDC_CUSTOM_HEADER_EDIT, templateText, kCustomHeaderMaxLength);
}
