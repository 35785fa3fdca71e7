#include "app/windows/OptionDialogs.h"

#include "app/ControlIds.h"
#include "engine/ReplyFormatter.h"

CAdvancedOptionsDialog::CAdvancedOptionsDialog(Settings& settings, LanguageTable& language)
    : CTranslatedDialog(IDD_ADVANCED_OPTIONS),
      settings_(settings),
      language_(language),
      fields_(AdvancedOptions::From(settings)) {}

bool CAdvancedOptionsDialog::OnInitDialog() {
  CTranslatedDialog::OnInitDialog();
  std::string title;
  if (language_.GetLine("#Advanced Options", title, false)) SetText(title);
  language_.SetLabel(*this, IDC_ADV_REACTION_DELAY_LABEL, "#Adv:OE Reaction Delay");
  language_.SetLabel(*this, IDC_ADV_CHECK_INTERVAL_LABEL, "#Adv:Check Interval");
  language_.SetLabel(*this, IDC_ADV_CLIPBOARD_TIMEOUT_LABEL, "#Adv:Clipboard.Open Timeout");
  language_.SetLabel(*this, IDC_ADV_INIT_DELAY_LABEL, "#Adv:Message Composition Init Delay");
  language_.SetLabel(*this, IDC_ADV_WARNINGS, "#Adv:Display Warnings On Errors");
  language_.SetLabel(*this, IDC_ADV_DEPEND_ON_OE, "#Depend on OE");
  return true;
}

void CAdvancedOptionsDialog::OnOK() {
  if (!ReadAdvancedOptionsInto(*this, fields_, settings_)) return;
  CTranslatedDialog::OnOK();
}

CCustomHeaderDialog::CCustomHeaderDialog(LanguageTable& language, std::string templateText)
    : CTranslatedDialog(IDD_CUSTOM_HEADER), language_(language), template_(std::move(templateText)) {}

bool CCustomHeaderDialog::OnInitDialog() {
  CTranslatedDialog::OnInitDialog();
  std::string title;
  if (language_.GetLine("#Custom Header Dialog Title", title, false)) SetText(title);
  const char* instructions = language_.GetText("#Custom Header Instructions");
  if (instructions != nullptr && *instructions != '\0') SetItemText(IDC_CUSTOM_HEADER_TEXT, instructions);
  return true;
}

void CCustomHeaderDialog::OnOK() {
  if (!UpdateData(true)) return;
  if (!ReplyFormatter::IsValidCustomHeader(template_)) {
    ShowMessage(kInvalidHeaderMessage, "Error", MB_OK | MB_ICONSTOP);
    return;
  }
  CTranslatedDialog::OnOK();
}
