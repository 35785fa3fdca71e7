// format=flowed (RFC 3676) text in and out of the reply engine.
#pragma once

#include <string>

// Joins the soft line breaks of a flowed body and writes every resulting
// line in the one form the engine reads back without loss under
// TextForm::flowed: quote depth as that many '>', then one blank and the
// text; at depth 0 the text alone, with one blank in front when it begins
// with a blank or a '>'.  Line ends become line feeds.  A soft break before a
// change of quote depth, or at the end, counts as hard; the signature
// separator "-- " is never soft.
std::string DecodeFlowed(const std::string& body, bool delSp);
