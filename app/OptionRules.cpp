#include "app/OptionRules.h"

#include <cstring>

#include "app/ControlIds.h"

void ExchangeMainOptions(ui::DataExchange& dx, Settings& s) {
  dx.Integer(IDC_WRAP_COLUMN, s.wrapColumn);
  dx.Check(IDC_COMPRESSED, s.compressedIndentation);
  dx.ListIndex(IDC_HEADER_STYLE, s.headerStyle);
  dx.Check(IDC_CURSOR_AT_TOP, s.cursorAtTop);
  dx.Check(IDC_SIGNATURE_BOTTOM, s.moveSignatureToBottom);
  dx.Check(IDC_IGNORE_HTML, s.ignoreHtmlMessages);
  dx.Check(IDC_COLORING, s.coloring);
  dx.Check(IDC_CMODE, s.compatibilityMode);
  dx.Check(IDC_USE_CLIPBOARD, s.useClipboard);
  dx.Check(IDC_STRIP_SIGNATURE, s.stripQuotedSignature);
  dx.Check(IDC_ISO_FIX, s.isoSignatureFix);
  dx.Check(IDC_FIX_QUOTES, s.fixExistingQuotes);
  dx.Check(IDC_COLOR_COMPOSITION, s.colorComposition);
  dx.Check(IDC_REFORMAT, s.reformatHtml);
}

int32_t WrapColumnFromField(const std::string& fieldText) {
  // The way atoi reads the two characters: blanks, a sign, then digits.
  const std::string head = fieldText.substr(0, 2);
  std::size_t i = 0;
  while (i < head.size() && (head[i] == ' ' || head[i] == '\t')) ++i;
  bool negative = false;
  if (i < head.size() && (head[i] == '-' || head[i] == '+')) negative = head[i++] == '-';
  int32_t value = 0;
  while (i < head.size() && head[i] >= '0' && head[i] <= '9') value = value * 10 + (head[i++] - '0');
  if (negative) value = -value;
  return value < kMinimumWrapColumn ? kMinimumWrapColumn : value;
}

void InvertCursorAndSignature(Settings& settings) {
  settings.cursorAtTop = settings.cursorAtTop ? 0 : 1;
  settings.moveSignatureToBottom = settings.moveSignatureToBottom ? 0 : 1;
}

std::string InvertMenuText(const std::string& label, const std::string& topWord, const std::string& bottomWord,
                           const Settings& settings) {
  const std::string& cursorWord = settings.cursorAtTop ? topWord : bottomWord;
  const std::string& signatureWord = settings.moveSignatureToBottom ? bottomWord : topWord;
  return label + " (" + cursorWord + "/" + signatureWord + ")";
}

std::string CustomHeaderText(const Settings& settings) {
  return std::string(settings.customHeader, CustomHeaderLength(settings));
}

bool StoreCustomHeader(Settings& settings, const std::string& text) {
  if (text.size() > kCustomHeaderMaxLength) return false;
  std::memset(settings.customHeader, 0, sizeof settings.customHeader);
  std::memcpy(settings.customHeader, text.data(), text.size());
  return true;
}

unsigned int WatchTimerPeriod(int32_t checkInterval) {
  return checkInterval > 0 ? static_cast<unsigned int>(checkInterval) : 0u;
}
