// A whole message as a mail client hands its draft to the editor: an RFC 5322
// header block, an empty line, the body.
#pragma once

#include <cstddef>
#include <string>

struct MailDraft {
  std::size_t bodyStart = 0;  // the header block and its empty line come before
  bool hasContentType = false;
  bool flowed = false;  // Content-Type: ...; format=flowed
  bool delSp = false;   // ...; delsp=yes
  std::string charset;  // its charset parameter in lower case; empty when not given
};

// Finds the header block and reads its Content-Type.  Text that does not
// begin with header fields has no header block: all of it is body.
MailDraft ReadMailDraft(const std::string& message);

// The draft's rules for the engine's output, shared by the filter's --mail
// and the Thunderbird host.  The engine ends a line that a carry became with
// the carry's blank and quotes an empty line as "> "; in a draft such blanks
// would read as soft line breaks to a flowed-aware client, so they go, except
// in the signature separator "-- ".
void TrimTrailingBlanks(std::string& body);
// The body goes back with the line ends the original came with: CR LF when
// its first line ended so, and a line end after the last line when it had one.
void RestoreDraftLineEnds(const std::string& original, std::string& body);
