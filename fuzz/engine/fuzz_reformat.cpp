// Arbitrary options record (the first 168 bytes) and arbitrary body (the
// rest) through the reply pipeline, the re-quoting path and the signature fix.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/QuotedTextRequoter.h"
#include "engine/ReplyFormatter.h"
#include "engine/Settings.h"

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
    if (result != ReformatDone && result != ReformatDeeper && result != ReformatUnchanged) std::abort();
    if (result == ReformatUnchanged && body != input) std::abort();
    if (result != ReformatUnchanged && formatter.lines.size() != formatter.quoted.size()) std::abort();
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
  return 0;
}
