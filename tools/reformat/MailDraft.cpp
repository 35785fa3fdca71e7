#include "MailDraft.h"

#include <vector>

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string Trim(const std::string& s) {
  const std::size_t first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// The length of a field name followed by its colon, or 0.
std::size_t FieldNameLength(const std::string& line) {
  std::size_t i = 0;
  while (i < line.size() && line[i] > ' ' && line[i] <= '~' && line[i] != ':') ++i;
  return i > 0 && i < line.size() && line[i] == ':' ? i : 0;
}

void ReadContentType(const std::string& value, MailDraft& draft) {
  draft.hasContentType = true;
  std::size_t pos = value.find(';');
  while (pos != std::string::npos) {
    const std::size_t next = value.find(';', pos + 1);
    const std::string parameter = value.substr(pos + 1, next == std::string::npos ? next : next - pos - 1);
    const std::size_t eq = parameter.find('=');
    if (eq != std::string::npos) {
      const std::string name = Lower(Trim(parameter.substr(0, eq)));
      std::string v = Trim(parameter.substr(eq + 1));
      if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
      v = Lower(v);
      if (name == "format") draft.flowed = v == "flowed";
      if (name == "delsp") draft.delSp = v == "yes";
      if (name == "charset") draft.charset = v;
    }
    pos = next;
  }
}

}  // namespace

MailDraft ReadMailDraft(const std::string& message) {
  MailDraft draft;
  std::vector<std::string> fields;  // unfolded
  std::size_t pos = 0;
  for (;;) {
    const std::size_t lf = message.find('\n', pos);
    if (lf == std::string::npos) return MailDraft();  // no empty line: no body to work on
    std::string line = message.substr(pos, lf - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      if (pos == 0) return MailDraft();
      draft.bodyStart = lf + 1;
      break;
    }
    if (line[0] == ' ' || line[0] == '\t') {
      if (fields.empty()) return MailDraft();
      fields.back() += line;
    } else if (FieldNameLength(line) > 0 || (pos == 0 && line.compare(0, 5, "From ") == 0)) {
      fields.push_back(line);
    } else {
      return MailDraft();
    }
    pos = lf + 1;
  }
  for (const std::string& field : fields) {
    const std::size_t n = FieldNameLength(field);
    if (n > 0 && Lower(field.substr(0, n)) == "content-type") ReadContentType(field.substr(n + 1), draft);
  }
  return draft;
}

void TrimTrailingBlanks(std::string& body) {
  std::string out;
  out.reserve(body.size());
  std::size_t pos = 0;
  for (;;) {
    const std::size_t lf = body.find('\n', pos);
    const std::size_t end = lf == std::string::npos ? body.size() : lf;
    std::size_t cut = end;
    if (body.compare(pos, end - pos, "-- ") != 0)
      while (cut > pos && body[cut - 1] == ' ') --cut;
    out.append(body, pos, cut - pos);
    if (lf == std::string::npos) break;
    out += '\n';
    pos = lf + 1;
  }
  body.swap(out);
}

void RestoreDraftLineEnds(const std::string& original, std::string& body) {
  const std::size_t lf = original.find('\n');
  if (lf != std::string::npos && lf > 0 && original[lf - 1] == '\r') {
    std::string crlf;
    crlf.reserve(body.size() + body.size() / 32);
    for (const char c : body) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    body.swap(crlf);
  }
  const bool hadEnd = !original.empty() && original.back() == '\n';
  if (hadEnd && (body.empty() || body.back() != '\n')) body += lf > 0 && original[lf - 1] == '\r' ? "\r\n" : "\n";
}
