#include "app/SettingControls.h"

#include "engine/SettingFields.h"

void ExchangeSettingControl(ui::DataExchange& dx, const SettingControl& control, Settings& record) {
  int32_t& value = record.*(control.field);
  const SettingField* row = FindSettingField(control.field);  // every 32-bit field has one
  switch (row != nullptr ? row->kind : SettingKind::kNumber) {
    case SettingKind::kSwitch:
      dx.Check(control.controlId, value);
      break;
    case SettingKind::kChoice:
      dx.ListIndex(control.controlId, value);
      break;
    case SettingKind::kNumber:
    case SettingKind::kChar:
    case SettingKind::kText:
      dx.Integer(control.controlId, value);
      break;
  }
}
