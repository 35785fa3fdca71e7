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
