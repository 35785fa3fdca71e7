// Small helpers to write bodies and line lists in tests.
#pragma once

#include <string>
#include <vector>

#include "engine/ReplyFormatter.h"
#include "engine/Settings.h"

using Lines = std::vector<std::string>;

// Lines joined with CR LF, as the mail client hands a body over (no line end
// after the last line).
inline std::string CrLfBody(const Lines& lines) {
  std::string body;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) body += "\r\n";
    body += lines[i];
  }
  return body;
}

// Splits the engine's output at its line feeds.
inline Lines OutputLines(const std::string& body) {
  Lines lines;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t lf = body.find('\n', pos);
    lines.push_back(body.substr(pos, lf == std::string::npos ? std::string::npos : lf - pos));
    if (lf == std::string::npos) break;
    pos = lf + 1;
  }
  return lines;
}

inline Settings DefaultSettings() {
  Settings s;
  ResetSettings(s);
  return s;
}

// The worked example: own part, separator header block, quoted text with a
// signature.
inline Lines SampleReplyLines() {
  return {"",
          "",
          "-- ",
          "Bob",
          "----- Message -----",
          "From: \"Ann Lee\" <ann.lee>",
          "To: <bob>",
          "Sent: Monday",
          "Subject: Test",
          "",
          "> Hello Bob, this is a rather long line that the client did not wrap at all because",
          "> it was typed that way.",
          ">",
          "> -- ",
          "> Ann"};
}

struct Reformatted {
  int result;
  int cursorLines;
  std::string body;
};

inline Reformatted Reformat(const Settings& settings, const std::string& body, int cursorBefore = 0) {
  ReplyFormatter formatter(settings);
  Reformatted r{0, cursorBefore, body};
  r.result = formatter.ReformatReply(r.body, r.cursorLines);
  return r;
}
