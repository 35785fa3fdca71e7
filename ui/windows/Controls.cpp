#include "ui/windows/Controls.h"

#include <vector>

namespace ui {

int CListView::InsertColumn(int index, const std::string& heading, int width, int format) {
  LVCOLUMNA column{};
  column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.fmt = format;
  column.cx = width;
  column.pszText = const_cast<char*>(heading.c_str());
  column.iSubItem = index;
  return static_cast<int>(Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int CListView::InsertItem(int index, const std::string& text) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<char*>(text.c_str());
  return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListView::SetItemText(int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  return Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string CListView::GetItemText(int row, int column) const {
  // The control copies at most cchTextMax bytes and reports how many; grow
  // until the text fits with room to spare.
  for (int size = 256; size <= (1 << 20); size *= 4) {
    std::vector<char> buffer(static_cast<std::size_t>(size), '\0');
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = size;
    const LRESULT length = Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    if (length < size - 1) return std::string(buffer.data(), static_cast<std::size_t>(length));
  }
  return std::string();
}

std::string CComboBox::GetItemText(int index) const {
  const LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR || length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got = Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

int CComboBox::FindExact(const std::string& text) const {
  const int count = GetCount();
  for (int i = 0; i < count; ++i)
    if (GetItemText(i) == text) return i;
  return -1;
}

std::string CListBox::GetItemText(int index) const {
  const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length == LB_ERR || length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got = Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

bool CToolTip::Create(HWND owner) {
  window_.Reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr));
  return static_cast<bool>(window_);
}

namespace {
TOOLINFOA MakeToolInfo(HWND tool, UINT id, const std::string& text) {
  TOOLINFOA info{};
  // The size of the original record, so that every common controls
  // version accepts it.
  info.cbSize = TTTOOLINFOA_V1_SIZE;
  info.uFlags = TTF_SUBCLASS;
  info.hwnd = tool;
  info.uId = id;
  ::GetClientRect(tool, &info.rect);
  info.lpszText = const_cast<char*>(text.c_str());
  return info;
}
}  // namespace

bool CToolTip::AddTool(HWND tool, UINT id, const std::string& text) {
  if (!window_) return false;
  TOOLINFOA info = MakeToolInfo(tool, id, text);
  return ::SendMessageA(window_.Get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void CToolTip::UpdateTipText(HWND tool, UINT id, const std::string& text) {
  if (!window_) return;
  TOOLINFOA info = MakeToolInfo(tool, id, text);
  ::SendMessageA(window_.Get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace ui
