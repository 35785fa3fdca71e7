#include "app/OptionRules.h"

#include <cstring>

#include "app/ControlIds.h"
#include "app/SettingControls.h"

namespace {

// The main window's controls, in exchange order.
const SettingControl kMainControls[] = {
    {IDC_WRAP_COLUMN, &Settings::wrapColumn},
    {IDC_COMPRESSED, &Settings::compressedIndentation},
    {IDC_HEADER_STYLE, &Settings::headerStyle},
    {IDC_CURSOR_AT_TOP, &Settings::cursorAtTop},
    {IDC_SIGNATURE_BOTTOM, &Settings::moveSignatureToBottom},
    {IDC_IGNORE_HTML, &Settings::ignoreHtmlMessages},
    {IDC_COLORING, &Settings::coloring},
    {IDC_CMODE, &Settings::compatibilityMode},
    {IDC_USE_CLIPBOARD, &Settings::useClipboard},
    {IDC_STRIP_SIGNATURE, &Settings::stripQuotedSignature},
    {IDC_ISO_FIX, &Settings::isoSignatureFix},
    {IDC_FIX_QUOTES, &Settings::fixExistingQuotes},
    {IDC_COLOR_COMPOSITION, &Settings::colorComposition},
    {IDC_REFORMAT, &Settings::reformatHtml},
};

}  // namespace

void ExchangeMainOptions(ui::DataExchange& dx, Settings& s) {
  ExchangeSettingControls(dx, kMainControls, s);
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
