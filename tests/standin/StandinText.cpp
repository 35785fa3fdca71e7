#include "StandinText.h"

#include <windows.h>

#include <cstdio>
#include <cwctype>

namespace standin {

std::wstring Widen(const std::string& ansi) {
  if (ansi.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &out[0], n);
  return out;
}

namespace {
std::string FromWide(UINT codePage, const std::wstring& wide) {
  if (wide.empty()) return std::string();
  int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
  return out;
}
}  // namespace

std::string Narrow(const std::wstring& wide) {
  return FromWide(CP_ACP, wide);
}
std::string Utf8(const std::wstring& wide) {
  return FromWide(CP_UTF8, wide);
}

std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (c == L'\r') {
      out += L"\r\n";
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else if (c == L'\n') {
      out += L"\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::wstring HtmlFromText(const std::wstring& text) {
  std::wstring crlf = WithCrLf(text);
  std::wstring out;
  for (size_t i = 0; i < crlf.size(); ++i) {
    wchar_t c = crlf[i];
    switch (c) {
      case L'&':
        out += L"&amp;";
        break;
      case L'<':
        out += L"&lt;";
        break;
      case L'>':
        out += L"&gt;";
        break;
      case L'\r':
        out += L"<BR>";
        ++i;
        break;  // WithCrLf put an LF after every CR
      default:
        out += c;
    }
  }
  return out;
}

namespace {
bool TagIs(const std::wstring& tag, const wchar_t* name) {
  // tag is the text between < and >, e.g. "BR", "/DIV", "A href=...".
  size_t i = 0;
  for (; name[i]; ++i) {
    if (i >= tag.size() || std::towupper(tag[i]) != static_cast<wint_t>(name[i])) return false;
  }
  return i == tag.size() || tag[i] == L' ' || tag[i] == L'/' || tag[i] == L'\t';
}
}  // namespace

std::wstring TextFromHtml(const std::wstring& html) {
  static const struct {
    const wchar_t* name;
    wchar_t c;
  } entities[] = {{L"&gt;", L'>'}, {L"&lt;", L'<'}, {L"&amp;", L'&'}, {L"&nbsp;", L' '}, {L"&quot;", L'"'}};
  std::wstring out;
  for (size_t i = 0; i < html.size();) {
    wchar_t c = html[i];
    if (c == L'<') {
      size_t end = html.find(L'>', i);
      if (end == std::wstring::npos) break;
      std::wstring tag = html.substr(i + 1, end - i - 1);
      if (TagIs(tag, L"BR") || TagIs(tag, L"/DIV") || TagIs(tag, L"/P")) out += L"\r\n";
      i = end + 1;
    } else if (c == L'&') {
      bool matched = false;
      for (const auto& e : entities) {
        if (html.compare(i, wcslen(e.name), e.name) == 0) {
          out += e.c;
          i += wcslen(e.name);
          matched = true;
          break;
        }
      }
      if (!matched) out += html[i++];
    } else if (c == L'\r' || c == L'\n') {
      ++i;  // source line breaks are blanks in HTML; the markup decides the lines
    } else {
      out += html[i++];
    }
  }
  return out;
}

namespace {
int FormatHtmlHeader(char (&buffer)[160], unsigned startHtml, unsigned endHtml, unsigned startFragment,
                     unsigned endFragment) {
  return std::snprintf(buffer, sizeof buffer,
                       "Version:0.9\r\nStartHTML:%010u\r\nEndHTML:%010u\r\n"
                       "StartFragment:%010u\r\nEndFragment:%010u\r\n",
                       startHtml, endHtml, startFragment, endFragment);
}
}  // namespace

std::string ClipboardHtml(const std::string& fragmentUtf8) {
  const std::string before = "<html><body>\r\n<!--StartFragment-->";
  const std::string after = "<!--EndFragment-->\r\n</body>\r\n</html>";
  char buffer[160];
  int headerLength = FormatHtmlHeader(buffer, 0, 0, 0, 0);
  unsigned startHtml = static_cast<unsigned>(headerLength);
  unsigned startFragment = startHtml + static_cast<unsigned>(before.size());
  unsigned endFragment = startFragment + static_cast<unsigned>(fragmentUtf8.size());
  unsigned endHtml = endFragment + static_cast<unsigned>(after.size());
  FormatHtmlHeader(buffer, startHtml, endHtml, startFragment, endFragment);
  return buffer + before + fragmentUtf8 + after;
}

}  // namespace standin
