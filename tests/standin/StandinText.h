// Text conversions of the stand-in client: ANSI and wide text, the plain
// text and HTML views of one body, and the clipboard's HTML block.
#pragma once

#include <string>

namespace standin {

std::wstring Widen(const std::string& ansi);   // CP_ACP
std::string Narrow(const std::wstring& wide);  // CP_ACP
std::string Utf8(const std::wstring& wide);

// Every line break (CR LF, lone CR, lone LF) becomes CR LF, as a mail body
// reads back from the client.
std::wstring WithCrLf(const std::wstring& text);

// The HTML a plain-text body shows as: escaped, one <BR> per line break.
std::wstring HtmlFromText(const std::wstring& text);
// The inner text of an HTML body: tags dropped, <BR> and block ends as CR LF,
// the common entities decoded.
std::wstring TextFromHtml(const std::wstring& html);

// The "HTML Format" clipboard block around a UTF-8 fragment.
std::string ClipboardHtml(const std::string& fragmentUtf8);

}  // namespace standin
