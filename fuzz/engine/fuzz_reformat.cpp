// Arbitrary options record (the first 168 bytes) and arbitrary body (the
// rest) through the reply pipeline, the re-quoting path and the signature fix,
// in bytes; then in UTF-8, flowed and mail-draft forms, whose output must be
// valid UTF-8 whenever the input was, and whose drafts keep every word whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/mail/Flowed.h"
#include "engine/QuotedTextRequoter.h"
#include "engine/ReplyFormatter.h"
#include "engine/Settings.h"
#include "engine/unicode/Utf8Measure.h"

namespace {

// The words of a text as the mail forms must keep them: runs of bytes
// between blanks and quote marks.  A byte above 0x7F is a word of its own,
// since Chinese and Japanese text may be broken between characters.
std::vector<std::string> MailWords(const std::string& text, char quoteChar) {
  std::vector<std::string> words;
  std::string word;
  for (const char c : text) {
    const bool apart =
        c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '>' || c == quoteChar;
    if (apart || static_cast<unsigned char>(c) >= 0x80) {
      if (!word.empty()) words.push_back(word);
      word.clear();
      if (!apart) words.emplace_back(1, c);
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

// The other forms, chosen by the length of the input so that every form sees
// every kind of input over a run.
void CheckTextForms(const Settings& settings, const std::string& input, std::size_t choice) {
  TextForm form;
  form.measure = &Utf8Measure();
  form.flowed = (choice & 1) != 0;
  form.delSp = (choice & 2) != 0;
  form.mailDraft = (choice & 4) != 0;
  UseTodaysMailRules(form);
  // The options record may hold bytes of its own that end up in the text: a
  // quote character or a custom header that is not UTF-8.
  const bool validInput = IsValidUtf8(input.data(), input.size()) &&
                          static_cast<unsigned char>(settings.quoteChar) < 0x80 &&
                          IsValidUtf8(settings.customHeader, CustomHeaderLength(settings));
  {
    ReplyFormatter formatter(settings, form);
    std::string body = form.flowed ? DecodeFlowed(input, form.delSp) : input;
    const std::string before = body;
    int cursorLines = 0;
    const ReformatResult result = formatter.ReformatReply(body, cursorLines);
    if (result != kReformatDone && result != kReformatDeeper && result != kReformatUnchanged) std::abort();
    if (result == kReformatUnchanged && body != before) std::abort();
    if (validInput && !IsValidUtf8(body.data(), body.size())) std::abort();
    // A draft's lines are broken at blanks only: rendering gives back every
    // word of the lines it was given, whole and in order.
    if (form.mailDraft && result != kReformatUnchanged) {
      std::string model;
      for (const std::string& line : formatter.lines) model += line + '\n';
      if (MailWords(model, settings.quoteChar) != MailWords(body, settings.quoteChar)) std::abort();
    }
  }
  {
    TextForm requoteForm;
    requoteForm.measure = &Utf8Measure();
    requoteForm.mailDraft = (choice & 4) != 0;
    UseTodaysMailRules(requoteForm);
    QuotedTextRequoter requoter(settings, 1 + choice % 64, requoteForm, (choice & 8) != 0);
    std::string out;
    requoter.Write(input.data(), input.size(), out);
    requoter.Finish(out);
    if (validInput && !IsValidUtf8(out.data(), out.size())) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Settings settings;
  ResetSettings(settings);
  const size_t recordSize = size < kSettingsSize ? size : kSettingsSize;
  SettingsFromImage(settings, data, recordSize);
  const std::string input(reinterpret_cast<const char*>(data) + recordSize, size - recordSize);

  {
    ReplyFormatter formatter(settings);
    std::string body = input;
    int cursorLines = -12345;
    const ReformatResult result = formatter.ReformatReply(body, cursorLines);
    if (result != kReformatDone && result != kReformatDeeper && result != kReformatUnchanged) std::abort();
    if (result == kReformatUnchanged && body != input) std::abort();
    if (result != kReformatUnchanged && formatter.lines.size() != formatter.quoted.size()) std::abort();
  }
  {
    ReplyFormatter formatter(settings);
    std::string body = input;
    formatter.SplitLines(body);
    formatter.MeasureQuoteDepth();
    formatter.JoinBrokenQuotes();
    if (formatter.lines.size() != formatter.depths.size() || formatter.lines.size() != formatter.quoted.size())
      std::abort();
    formatter.RenderReply(body);
    if (!formatter.carry.empty()) std::abort();

    // The filter re-quotes long texts in pieces; the pieces must add up to
    // exactly the same bytes, however the input arrives.
    QuotedTextRequoter requoter(settings, 1);
    std::string pieces;
    std::size_t pos = 0;
    std::size_t step = 1 + (size % 7);
    while (pos < input.size()) {
      const std::size_t n = input.size() - pos < step ? input.size() - pos : step;
      requoter.Write(input.data() + pos, n, pieces);
      pos += n;
      step = step * 3 % 11 + 1;
    }
    requoter.Finish(pieces);
    if (pieces != body) std::abort();
  }
  {
    std::string body = input;
    ApplySignatureFix(body);
    if (body.size() < input.size()) std::abort();
  }
  CheckTextForms(settings, input, size);
  return 0;
}
