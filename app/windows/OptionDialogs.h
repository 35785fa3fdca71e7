// The advanced options and custom header dialogs.
#pragma once

#include <string>

#include "LanguageTable.h"
#include "app/OptionDialogs.h"
#include "engine/Settings.h"
#include "ui/windows/Dialog.h"

// Dialogs whose labels come from the language file.
class CTranslatedDialog : public ui::CDialog, public IControlText {
public:
  using ui::CDialog::CDialog;
  void SetControlText(int controlId, const char* text) override { SetItemText(controlId, text); }
};

// Edits six fields of Settings; stores them on OK only.
class CAdvancedOptionsDialog : public CTranslatedDialog {
public:
  CAdvancedOptionsDialog(Settings& settings, LanguageTable& language);

protected:
  void DoDataExchange(ui::DataExchange& dx) override { ExchangeAdvancedOptions(dx, fields_); }
  bool OnInitDialog() override;
  void OnOK() override;

private:
  Settings& settings_;
  LanguageTable& language_;
  AdvancedOptions fields_;
};

// Edits the custom header template; OK only for a template that would not
// itself look like an attribution header.
class CCustomHeaderDialog : public CTranslatedDialog {
public:
  CCustomHeaderDialog(LanguageTable& language, std::string templateText);
  const std::string& GetTemplate() const { return template_; }

protected:
  void DoDataExchange(ui::DataExchange& dx) override { ExchangeCustomHeader(dx, template_); }
  bool OnInitDialog() override;
  void OnOK() override;

private:
  LanguageTable& language_;
  std::string template_;
};
