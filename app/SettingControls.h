// Dialog controls bound to fields of the options record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/Settings.h"
#include "ui/DataExchange.h"

struct SettingControl {
  int controlId;
  int32_t Settings::*field;
};

// Exchanges one control with its field, shown the way the field's kind asks:
// a number in an edit field, a switch as a check box, a choice as a list.
void ExchangeSettingControl(ui::DataExchange& dx, const SettingControl& control, Settings& record);

// Every control in the given order; a failed read stops the ones after it.
template <std::size_t N>
void ExchangeSettingControls(ui::DataExchange& dx, const SettingControl (&controls)[N], Settings& record) {
  for (const SettingControl& control : controls) ExchangeSettingControl(dx, control, record);
}
