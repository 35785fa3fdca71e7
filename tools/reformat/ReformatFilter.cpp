#include "ReformatFilter.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/QuotedTextRequoter.h"
#include "engine/ReplyFormatter.h"

namespace {

const char kUsage[] =
    "usage: kelvane-reformat [--cfg FILE] [--set FIELD=VALUE]... [--report] [--requote | --signature] [FILE]\n"
    "\n"
    "Reformats the reply body read from FILE (or standard input) and writes it to\n"
    "standard output.  Lines end in a line feed, the last one without.\n"
    "\n"
    "  --cfg FILE          load the raw 168-byte options record FILE over the defaults\n"
    "  --set FIELD=VALUE   set one option after --cfg; FIELD is the record's field\n"
    "                      name (wrapColumn, quoteChar, compressedIndentation,\n"
    "                      headerStyle, customHeader, cursorAtTop, ...).  Integers\n"
    "                      are decimal; quoteChar takes one character; customHeader\n"
    "                      takes the template text as given (at most 80 bytes)\n"
    "  --report            write \"result R cursor C\" to standard error\n"
    "  --requote           treat the whole input as quoted text: re-quote, repair\n"
    "                      broken quotes and re-wrap it, whatever the header\n"
    "  --signature         only turn every own signature separator \"-- \" into\n"
    "                      \"--\" and the byte 0x81 (the body is otherwise kept)\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "\n"
    "Exit status: 0 done (also when the body needed no change), 1 a file could not\n"
    "be read or written, 2 bad usage.\n";

enum class FieldKind { Int, Char, Text };

struct FieldInfo {
  const char* name;
  FieldKind kind;
  int32_t Settings::*intField;
};

const FieldInfo kFields[] = {
    {"wrapColumn", FieldKind::Int, &Settings::wrapColumn},
    {"quoteChar", FieldKind::Char, nullptr},
    {"compressedIndentation", FieldKind::Int, &Settings::compressedIndentation},
    {"dependOnOE", FieldKind::Int, &Settings::dependOnOE},
    {"headerStyle", FieldKind::Int, &Settings::headerStyle},
    {"cursorAtTop", FieldKind::Int, &Settings::cursorAtTop},
    {"moveSignatureToBottom", FieldKind::Int, &Settings::moveSignatureToBottom},
    {"ignoreHtmlMessages", FieldKind::Int, &Settings::ignoreHtmlMessages},
    {"oeReactionDelay", FieldKind::Int, &Settings::oeReactionDelay},
    {"clipboardOpenTimeout", FieldKind::Int, &Settings::clipboardOpenTimeout},
    {"checkInterval", FieldKind::Int, &Settings::checkInterval},
    {"displayWarningsOnErrors", FieldKind::Int, &Settings::displayWarningsOnErrors},
    {"coloring", FieldKind::Int, &Settings::coloring},
    {"compositionInitDelay", FieldKind::Int, &Settings::compositionInitDelay},
    {"compatibilityMode", FieldKind::Int, &Settings::compatibilityMode},
    {"useClipboard", FieldKind::Int, &Settings::useClipboard},
    {"stripQuotedSignature", FieldKind::Int, &Settings::stripQuotedSignature},
    {"customHeader", FieldKind::Text, nullptr},
    {"isoSignatureFix", FieldKind::Int, &Settings::isoSignatureFix},
    {"fixExistingQuotes", FieldKind::Int, &Settings::fixExistingQuotes},
    {"colorComposition", FieldKind::Int, &Settings::colorComposition},
    {"reformatHtml", FieldKind::Int, &Settings::reformatHtml},
};

bool ParseInt32(const std::string& text, int32_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  long long magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > 2147483648LL) return false;
  }
  const long long v = negative ? -magnitude : magnitude;
  if (v > 2147483647LL || v < -2147483648LL) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool ReadWholeFile(std::FILE* file, std::string& data) {
  // Read straight into a buffer of the stream's size when it can tell it:
  // growing a string of megabytes step by step copies it several times over.
  std::size_t expected = 0;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size > 0) expected = static_cast<std::size_t>(size);
    std::rewind(file);
  }
  clearerr(file);
  data.resize(expected);
  std::size_t got = 0;
  while (got < expected) {
    const std::size_t n = std::fread(&data[got], 1, expected - got, file);
    if (n == 0) break;
    got += n;
  }
  data.resize(got);
  char chunk[65536];
  for (;;) {  // the rest, or everything from a pipe
    const std::size_t n = std::fread(chunk, 1, sizeof chunk, file);
    data.append(chunk, n);
    if (n < sizeof chunk) return std::ferror(file) == 0;
  }
}

enum class Mode { Reply, Requote, Signature };

struct Options {
  const char* cfg = nullptr;
  std::vector<std::string> sets;
  bool report = false;
  Mode mode = Mode::Reply;
  bool modeGiven = false;
  const char* file = nullptr;
  bool help = false;
};

int UsageError(std::string& messages, const std::string& what) {
  messages += "kelvane-reformat: " + what + " (try --help)\n";
  return FilterUsageError;
}

// Returns FilterOk or the usage error status.
int ParseOptions(int argc, const char* const* argv, Options& options, std::string& messages) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      if (options.file != nullptr) return UsageError(messages, "more than one input file: " + arg);
      options.file = argv[i];
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--report") {
      options.report = true;
    } else if (arg == "--requote" || arg == "--signature") {
      const Mode mode = arg == "--requote" ? Mode::Requote : Mode::Signature;
      if (options.modeGiven && options.mode != mode)
        return UsageError(messages, "--requote and --signature exclude each other");
      options.mode = mode;
      options.modeGiven = true;
    } else if (arg == "--cfg" || arg.compare(0, 6, "--cfg=") == 0) {
      const char* value = nullptr;
      if (arg == "--cfg") {
        if (i + 1 >= argc) return UsageError(messages, "--cfg needs a file name");
        value = argv[++i];
      } else {
        value = argv[i] + 6;
      }
      if (options.cfg != nullptr) return UsageError(messages, "--cfg given twice");
      options.cfg = value;
    } else if (arg == "--set" || arg.compare(0, 6, "--set=") == 0) {
      if (arg == "--set") {
        if (i + 1 >= argc) return UsageError(messages, "--set needs FIELD=VALUE");
        options.sets.emplace_back(argv[++i]);
      } else {
        options.sets.emplace_back(arg.substr(6));
      }
    } else {
      return UsageError(messages, "unknown option " + arg);
    }
  }
  return FilterOk;
}

bool WriteAll(std::FILE* output, const char* data, std::size_t size, std::string& messages) {
  errno = 0;
  if (size > 0 && std::fwrite(data, 1, size, output) != size) {
    messages +=
        std::string("kelvane-reformat: standard output: ") + (errno != 0 ? std::strerror(errno) : "write error") + "\n";
    return false;
  }
  return true;
}

bool ReadError(const std::string& name, std::string& messages) {
  messages += "kelvane-reformat: " + name + ": " + (errno != 0 ? std::strerror(errno) : "read error") + "\n";
  return false;
}

// Re-quotes the stream as it comes, so that memory stays small whatever its size.
bool RequoteStream(const Settings& settings, std::FILE* source, const std::string& sourceName, std::FILE* output,
                   std::string& messages) {
  QuotedTextRequoter requoter(settings);
  std::vector<char> block(1 << 16);
  std::string out;
  for (;;) {
    errno = 0;
    const std::size_t n = std::fread(block.data(), 1, block.size(), source);
    if (n > 0) requoter.Write(block.data(), n, out);
    if (!out.empty()) {
      if (!WriteAll(output, out.data(), out.size(), messages)) return false;
      out.clear();
    }
    if (n < block.size()) {
      if (std::ferror(source) != 0) return ReadError(sourceName, messages);
      break;
    }
  }
  requoter.Finish(out);
  return WriteAll(output, out.data(), out.size(), messages);
}

int Transform(const Options& options, const Settings& settings, std::FILE* source, const std::string& sourceName,
              std::FILE* output, std::string& messages) {
  int result = 0;
  int cursorLines = 0;
  if (options.mode == Mode::Requote) {
    if (!RequoteStream(settings, source, sourceName, output, messages)) return FilterFileError;
  } else {
    std::string body;
    errno = 0;
    if (!ReadWholeFile(source, body)) {
      ReadError(sourceName, messages);
      return FilterFileError;
    }
    if (options.mode == Mode::Reply) {
      ReplyFormatter formatter(settings);
      result = formatter.ReformatReply(body, cursorLines);
    } else {
      ApplySignatureFix(body);
    }
    if (!WriteAll(output, body.data(), body.size(), messages)) return FilterFileError;
  }
  if (options.report) messages += "result " + std::to_string(result) + " cursor " + std::to_string(cursorLines) + "\n";
  return FilterOk;
}

}  // namespace

bool SetSettingsField(Settings& settings, const std::string& field, const std::string& value, std::string& error) {
  for (const FieldInfo& info : kFields) {
    if (field != info.name) continue;
    switch (info.kind) {
      case FieldKind::Int: {
        int32_t v = 0;
        if (!ParseInt32(value, v)) {
          error = "bad value for " + field + ": \"" + value + "\" is not a 32-bit decimal integer";
          return false;
        }
        settings.*(info.intField) = v;
        return true;
      }
      case FieldKind::Char:
        if (value.size() != 1) {
          error = "bad value for quoteChar: \"" + value + "\" is not one character";
          return false;
        }
        settings.quoteChar = value[0];
        return true;
      case FieldKind::Text:
        if (value.size() > kCustomHeaderMaxLength) {
          error = "bad value for customHeader: longer than 80 bytes";
          return false;
        }
        std::memset(settings.customHeader, 0, sizeof settings.customHeader);
        std::memcpy(settings.customHeader, value.data(), value.size());
        return true;
    }
  }
  error = "unknown field \"" + field + "\"";
  return false;
}

int RunReformatFilter(int argc, const char* const* argv, std::FILE* input, std::FILE* output, std::string& messages) {
  Options options;
  if (const int status = ParseOptions(argc, argv, options, messages)) return status;
  if (options.help) return WriteAll(output, kUsage, sizeof kUsage - 1, messages) ? FilterOk : FilterFileError;

  Settings settings;
  ResetSettings(settings);
  if (options.cfg != nullptr) {
    errno = 0;
    if (LoadSettings(settings, options.cfg)) {
      messages += std::string("kelvane-reformat: ") + options.cfg + ": " +
                  (errno != 0 ? std::strerror(errno) : "cannot be opened") + "\n";
      return FilterFileError;
    }
  }
  for (const std::string& set : options.sets) {
    const std::size_t eq = set.find('=');
    if (eq == std::string::npos) return UsageError(messages, "--set " + set + ": expected FIELD=VALUE");
    std::string error;
    if (!SetSettingsField(settings, set.substr(0, eq), set.substr(eq + 1), error)) return UsageError(messages, error);
  }

  // The input: the named file, or the given stream.
  std::FILE* source = input;
  std::string sourceName = "standard input";
  const bool ownFile = options.file != nullptr && std::strcmp(options.file, "-") != 0;
  if (ownFile) {
    errno = 0;
    source = std::fopen(options.file, "rb");
    if (source == nullptr) {
      messages += std::string("kelvane-reformat: ") + options.file + ": " + std::strerror(errno) + "\n";
      return FilterFileError;
    }
    sourceName = options.file;
  }
  const int status = Transform(options, settings, source, sourceName, output, messages);
  if (ownFile) std::fclose(source);
  return status;
}
