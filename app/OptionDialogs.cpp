#include "app/OptionDialogs.h"

#include "app/ControlIds.h"

const char* const kInvalidHeaderMessage = "Invalid quote header!";

AdvancedOptions AdvancedOptions::From(const Settings& s) {
  AdvancedOptions o;
  o.checkInterval = s.checkInterval;
  o.oeReactionDelay = s.oeReactionDelay;
  o.clipboardOpenTimeout = s.clipboardOpenTimeout;
  o.compositionInitDelay = s.compositionInitDelay;
  o.displayWarningsOnErrors = s.displayWarningsOnErrors;
  o.dependOnOE = s.dependOnOE;
  return o;
}

void AdvancedOptions::ApplyTo(Settings& s) const {
  s.oeReactionDelay = oeReactionDelay;
  s.clipboardOpenTimeout = clipboardOpenTimeout;
  s.checkInterval = checkInterval;
  s.displayWarningsOnErrors = displayWarningsOnErrors;
  s.compositionInitDelay = compositionInitDelay;
  s.dependOnOE = dependOnOE;
}

void ExchangeAdvancedOptions(ui::DataExchange& dx, AdvancedOptions& o) {
  dx.Integer(IDC_ADV_REACTION_DELAY, o.oeReactionDelay);
  dx.Integer(IDC_ADV_CLIPBOARD_TIMEOUT, o.clipboardOpenTimeout);
  dx.Integer(IDC_ADV_CHECK_INTERVAL, o.checkInterval);
  dx.Check(IDC_ADV_WARNINGS, o.displayWarningsOnErrors);
  dx.Integer(IDC_ADV_INIT_DELAY, o.compositionInitDelay);
  dx.Check(IDC_ADV_DEPEND_ON_OE, o.dependOnOE);
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
