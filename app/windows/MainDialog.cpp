#include "app/windows/MainDialog.h"

#include <vector>

#include "KelvaneVersion.h"
#include "app/ControlIds.h"
#include "app/OptionRules.h"
#include "app/SettingsFile.h"
#include "app/Startup.h"
#include "app/windows/OptionDialogs.h"

namespace {

constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kTrayCallback = WM_USER;
constexpr UINT kTrayId = IDR_TRAY_MENU;
const char kTrayTip[] = "Kelvane by Orrin Vale";
const char kVersionText[] = "Version " KELVANE_VERSION;
const char kFeedbackTarget[] = "mailto:kelvane@example.org?subject=Kelvane v" KELVANE_VERSION
                               "&body=[If you are sending a bug report, don't forget to "
                               "specify your CPU, OE version and OS]";
const char kDonationTarget[] = "http://example.org/donate";
const COLORREF kLinkColour = RGB(0, 0, 136);
const COLORREF kHoverColour = RGB(0, 0, 255);

HICON LoadIconSized(int id, int size) {
  return static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
}

}  // namespace

CMainDialog::CMainDialog(ui::CApplication& app, Settings& settings, LanguageTable& language)
    : CDialog(IDD_MAIN_DIALOG),
      app_(app),
      settings_(settings),
      language_(language),
      texts_(language),
      watcher_(settings, log_, texts_, AutomationPlatform{windows_, input_, clipboard_, clock_, boxes_, accessibility_},
               *this, CurrentDirectoryW()),
      disabledIcon_(LoadIconSized(IDI_DISABLED_SMALL, 16)),
      mainIcon_(LoadIconSized(IDI_MAIN_SMALL, 16)),
      largeIcon_(LoadIconSized(IDI_LARGE, 32)) {
  log_.SetListener(this);
}

CMainDialog::~CMainDialog() {
  // The window goes first: its destruction stops the timer and removes the
  // tray icon while the watch and the controls' owners still exist.
  DestroyWindow();
  log_.SetListener(nullptr);
}

bool CMainDialog::CreateHidden() {
  return Create(nullptr);
}

void CMainDialog::DoDataExchange(ui::DataExchange& dx) {
  ExchangeMainOptions(dx, settings_);
}

bool CMainDialog::OnInitDialog() {
  headerStyles_.Attach(GetItem(IDC_HEADER_STYLE));
  for (const char* style : {"O.E.", "short", "short+m", "none", "custom"}) headerStyles_.AddString(style);
  ui::CComboBox quoteChars(GetItem(IDC_QUOTE_CHAR));
  for (const char* quote : {">", "|", ":"}) quoteChars.AddString(quote);
  statusList_.Attach(GetItem(IDC_STATUS_LIST));
  donationLink_.TakeOver(GetItem(IDC_DONATION_LINK));
  feedbackLink_.TakeOver(GetItem(IDC_FEEDBACK_LINK));
  webLink_.TakeOver(GetItem(IDC_WEBSITE_LINK));
  for (CHyperLink* link : {&donationLink_, &feedbackLink_, &webLink_}) link->SetMessageCaption(app_.GetName());
  CDialog::OnInitDialog();

  SetItemText(IDC_VERSION, kVersionText);

  webLink_.SetColours(kLinkColour, kLinkColour, kHoverColour);
  feedbackLink_.SetTarget(kFeedbackTarget);
  feedbackLink_.SetColours(kLinkColour, kLinkColour, kHoverColour);
  donationLink_.SetColours(kLinkColour, kLinkColour, kHoverColour);
  donationLink_.SetTarget(kDonationTarget);

  static const std::pair<int, const char*> kLabels[] = {
      {IDC_COMPOSITION_FRAME, "#Message composition frame"},
      {IDC_QUOTE_CHAR_LABEL, "#Quote character"},
      {IDC_WRAP_LABEL, "#Wrap at column"},
      {IDC_COMPRESSED, "#Compressed indentation"},
      {IDC_CURSOR_AT_TOP, "#Position cursor at top"},
      {IDC_SIGNATURE_BOTTOM, "#Move signature to bottom"},
      {IDC_IGNORE_HTML, "#Ignore HTML messages"},
      {IDC_STRIP_SIGNATURE, "#Strip quoted signature"},
      {IDC_USE_CLIPBOARD, "#Use clipboard"},
      {IDC_ISO_FIX, "#ISO-8859-x signature fix"},
      {IDC_FIX_QUOTES, "#Fix existing OE quotes"},
      {IDC_COLOR_COMPOSITION, "#Color message composition"},
      {IDC_HEADER_STYLE_LABEL, "#Header style"},
      {IDC_ADVANCED, "#Advanced Options"},
      {IDC_HIDE, "#Hide"},
      {IDC_TERMINATE, "#Terminate"},
      {IDC_VIEWING_FRAME, "#Viewing frame"},
      {IDC_COLORING, "#Coloring on"},
      {IDC_CMODE, "#Compatibility mode"},
      {IDC_REFORMAT, "#Reformat"},
      {IDC_DONATION_LINK, "#Donations"},
  };
  for (const auto& label : kLabels) language_.SetLabel(*this, label.first, label.second);

  std::vector<std::string> styles;
  if (language_.GetList("#Header Styles", styles) && styles.size() == 5) {
    headerStyles_.ResetContent();
    for (const std::string& style : styles) headerStyles_.AddString(style);
    headerStyles_.SetCurSel(settings_.headerStyle);
  }

  UpdateData(false);

  if (largeIcon_) SetIcon(largeIcon_.Get(), true);
  if (mainIcon_) SetIcon(mainIcon_.Get(), false);

  statusList_.InsertColumn(0, "Window", 175);
  statusList_.InsertColumn(1, "Status", 95, LVCFMT_LEFT);

  StartWatchTimer();

  if (tray_.Create(nullptr, kTrayCallback, kTrayTip, mainIcon_.Get(), kTrayId, GetHandle()) || tray_.Menu().IsValid())
    tray_.SetMenuDefaultItem(0);
  ApplyTrayMenuTexts();
  language_.GetLine("#top", topWord_, false);
  language_.GetLine("#bottom", bottomWord_, false);
  UpdateInvertMenuText();

  SelectQuoteChar();
  return true;
}

void CMainDialog::StartWatchTimer() {
  ::SetTimer(GetHandle(), kWatchTimer, WatchTimerPeriod(settings_.checkInterval), nullptr);
}

void CMainDialog::ApplyTrayMenuTexts() {
  std::vector<std::string> items;
  if (!tray_.Menu().IsValid() || !language_.GetList("#TrayMenu", items) || items.size() != 4) return;
  ui::CPopupMenu& menu = tray_.Menu();
  menu.ModifyByPosition(0, ID_TRAY_SHOW, items[0]);
  menu.ModifyByPosition(1, ID_TRAY_DISABLE, items[1]);
  menu.ModifyByPosition(2, ID_TRAY_INVERT, items[2]);
  menu.ModifyByPosition(3, ID_TRAY_TERMINATE, items[3]);
  invertLabel_ = items[2];
}

void CMainDialog::UpdateInvertMenuText() {
  if (!tray_.Menu().IsValid()) return;
  tray_.Menu().ModifyByCommand(ID_TRAY_INVERT, InvertMenuText(invertLabel_, topWord_, bottomWord_, settings_));
}

void CMainDialog::SelectQuoteChar() {
  ui::CComboBox quoteChars(GetItem(IDC_QUOTE_CHAR));
  quoteChars.SetCurSel(quoteChars.FindExact(std::string(1, settings_.quoteChar)));
}

void CMainDialog::Terminate() {
  ValidateWrapColumn();
  app_.SetRunning(false);
}

void CMainDialog::ValidateWrapColumn() {
  if (!IsWindow() || validating_ || destroying_) return;
  validating_ = true;
  UpdateData(true);
  settings_.wrapColumn = WrapColumnFromField(GetItemText(IDC_WRAP_COLUMN));
  validating_ = false;
}

void CMainDialog::WriteText(int controlId, const std::string& text) {
  // A refresh while the user is still typing a column (Show or Invert from the
  // tray) would replace the entry with the column read last and lose it;
  // leaving the field reads the entry and refreshes the field.
  if (controlId == IDC_WRAP_COLUMN && pause_.IsEditingWrapColumn()) return;
  CDialog::WriteText(controlId, text);
}

void CMainDialog::ReportBadEntry(int controlId, const std::string& message) {
  if (quietExchange_) return;
  CDialog::ReportBadEntry(controlId, message);
}

bool CMainDialog::OnCommand(WORD code, WORD id, HWND control) {
  if (control == nullptr) {
    switch (id) {
      case ID_TRAY_SHOW:
        ShowFromTray();
        return true;
      case ID_TRAY_DISABLE:
        ToggleProcessing();
        return true;
      case ID_TRAY_INVERT:
        InvertFromTray();
        return true;
      case ID_TRAY_TERMINATE:
        Terminate();
        return true;
      default:
        return false;
    }
  }
  switch (id) {
    case IDC_HIDE:
      if (code == BN_CLICKED) HideAndSave();
      return true;
    case IDC_TERMINATE:
      if (code == BN_CLICKED) Terminate();
      return true;
    case IDC_ADVANCED:
      if (code == BN_CLICKED) RunAdvancedOptions();
      return true;
    case IDC_WRAP_COLUMN:
      if (code == EN_CHANGE) {
        pause_.BeginWrapEdit();
        ApplyWatchPause();
      } else if (code == EN_KILLFOCUS) {
        OnWrapColumnLeft();
      }
      return true;
    case IDC_HEADER_STYLE:
      if (code == CBN_SELCHANGE) OnHeaderStyleChanged();
      return true;
    case IDC_QUOTE_CHAR:
      if (code == CBN_SELCHANGE) OnQuoteCharChanged();
      return true;
    default:
      return false;
  }
}

void CMainDialog::ShowFromTray() {
  Enable(true);
  Show(SW_SHOWNORMAL);
  UpdateData(false);
  ::RedrawWindow(GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CMainDialog::ToggleProcessing() {
  const bool off = pause_.ToggleTray();
  ApplyWatchPause();
  tray_.SetIcon(off ? disabledIcon_.Get() : mainIcon_.Get());
}

void CMainDialog::InvertFromTray() {
  // A switch ticked on screen but not yet read by a tick must survive the
  // refresh below.
  if (!pause_.IsEditingWrapColumn()) ValidateWrapColumn();
  InvertCursorAndSignature(settings_);
  UpdateData(false);
  UpdateInvertMenuText();
}

void CMainDialog::RunAdvancedOptions() {
  const int32_t before = settings_.checkInterval;
  CAdvancedOptionsDialog dialog(settings_, language_);
  dialog.DoModal(GetHandle());
  if (settings_.checkInterval != before) {
    ::KillTimer(GetHandle(), kWatchTimer);
    StartWatchTimer();
  }
}

void CMainDialog::OnHeaderStyleChanged() {
  UpdateData(true);
  if (settings_.headerStyle != kHeaderStyleCustom) return;
  CCustomHeaderDialog dialog(language_, CustomHeaderText(settings_));
  if (dialog.DoModal(GetHandle()) == IDOK) StoreCustomHeader(settings_, dialog.GetTemplate());
}

void CMainDialog::OnQuoteCharChanged() {
  ui::CComboBox quoteChars(GetItem(IDC_QUOTE_CHAR));
  const std::string text = quoteChars.GetItemText(quoteChars.GetCurSel());
  if (!text.empty()) settings_.quoteChar = text[0];
}

void CMainDialog::OnWrapColumnLeft() {
  ValidateWrapColumn();
  // The edit ends before the refresh, so that the field shows the column read.
  pause_.EndWrapEdit();
  UpdateData(false);
  ApplyWatchPause();
}

void CMainDialog::HideAndSave() {
  ValidateWrapColumn();
  Show(SW_HIDE);
  SaveSettingsReplacing(settings_);
}

void CMainDialog::SaveOnSessionEnd() {
  // No message box while the session ends: a bad entry keeps the value read last.
  quietExchange_ = true;
  ValidateWrapColumn();
  quietExchange_ = false;
  SaveSettingsReplacing(settings_);
}

void CMainDialog::OnOK() {
  CDialog::OnOK();
}

void CMainDialog::OnCancel() {
  CDialog::OnCancel();
}

void CMainDialog::OnClose() {
  OnCancel();
  Terminate();
}

void CMainDialog::OnTimer(UINT_PTR id) {
  if (id == kWatchTimer) watcher_.OnTimer();
}

void CMainDialog::OnDestroy() {
  destroying_ = true;
  ::KillTimer(GetHandle(), kWatchTimer);
  tray_.RemoveIcon();
  tray_.DestroyWindow();
}

bool CMainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      if (::IsIconic(GetHandle()) && mainIcon_) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(GetHandle(), &ps);
        RECT r = GetClientRect();
        const int size = ::GetSystemMetrics(SM_CXSMICON);
        ::DrawIconEx(dc, (r.right - size + 1) / 2, (r.bottom - size + 1) / 2, mainIcon_.Get(), size, size, 0, nullptr,
                     DI_NORMAL);
        ::EndPaint(GetHandle(), &ps);
        result = 0;
        return true;
      }
      return false;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(mainIcon_.Get());
      return true;
    case WM_QUERYENDSESSION:
      result = TRUE;
      return true;
    case WM_ENDSESSION:
      if (wParam != FALSE) SaveOnSessionEnd();
      result = 0;
      return true;
    default:
      (void)lParam;
      return false;
  }
}

void CMainDialog::OnStatusRow(const StatusRow& row) {
  if (!statusList_.IsWindow()) return;
  const int index = statusList_.InsertItem(0, row.title);
  if (index >= 0) statusList_.SetItemText(index, 1, row.status);
}
