#include "ReformatFilter.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "InPlaceFile.h"
#include "MailDraft.h"
#include "engine/mail/Flowed.h"
#include "engine/QuotedTextRequoter.h"
#include "engine/ReplyFormatter.h"
#include "tools/reformat/SettingAssignment.h"

namespace {

const char kUsage[] =
    "usage: kelvane-reformat [OPTION]... [FILE]\n"
    "       kelvane-reformat [OPTION]... -i FILE\n"
    "\n"
    "Reformats the reply body read from FILE (or standard input) and writes it to\n"
    "standard output.  Lines end in a line feed, the last one without (with --mail,\n"
    "as in the draft).\n"
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
    "  --charset=SET       bytes: one byte is one character and one column (the\n"
    "                      Windows client's text); utf-8: display columns, wide\n"
    "                      characters count two, characters are never split, and\n"
    "                      Chinese or Japanese text breaks between characters;\n"
    "                      auto (default): utf-8 when the locale's character set\n"
    "                      is UTF-8 (with --mail: the draft's declared charset, if\n"
    "                      any) and the text is valid UTF-8, else bytes\n"
    "  --flowed            read and write format=flowed text (RFC 3676): soft line\n"
    "                      breaks, space-stuffing, quote marks without blanks\n"
    "  --mail              the input is a whole message (header block, empty line,\n"
    "                      body) as a mail client's edit_headers hands it over: the\n"
    "                      header block is kept byte for byte, format=flowed is\n"
    "                      taken from its Content-Type when there is one, and the\n"
    "                      attribution lines of today's clients are recognised\n"
    "  -i, --in-place FILE rewrite FILE instead of writing standard output: a\n"
    "                      temporary file beside it, then renamed over it (mode and\n"
    "                      owner kept); a body left alone leaves FILE untouched\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "\n"
    "Exit status: 0 done (also when the body needed no change), 1 a file could not\n"
    "be read or written (an in-place FILE is then left as it was), 2 bad usage.\n";

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

enum class Mode { kReply, kRequote, kSignature };
enum class Charset { kAuto, kBytes, kUtf8 };

struct Options {
  const char* cfg = nullptr;
  std::vector<std::string> sets;
  bool report = false;
  Mode mode = Mode::kReply;
  bool modeGiven = false;
  const char* file = nullptr;
  bool inPlace = false;  // `file` is rewritten
  Charset charset = Charset::kAuto;
  bool flowed = false;
  bool mail = false;
  bool help = false;
};

// The value of "--name=VALUE" or of "--name VALUE"; null when missing.
const char* OptionValue(const std::string& arg, const char* name, int argc, const char* const* argv, int& i) {
  const std::size_t n = std::strlen(name);
  if (arg.size() > n && arg.compare(0, n, name) == 0 && arg[n] == '=') return argv[i] + n + 1;
  return i + 1 < argc ? argv[++i] : nullptr;
}

int UsageError(std::string& messages, const std::string& what) {
  messages += "kelvane-reformat: " + what + " (try --help)\n";
  return kFilterUsageError;
}

// Returns kFilterOk or the usage error status.
int ParseOptions(int argc, const char* const* argv, Options& options, std::string& messages) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      if (options.file != nullptr) return UsageError(messages, "more than one input file: " + arg);
      options.file = argv[i];
      continue;
    }
    if (arg == "-i" || arg == "--in-place" || arg.compare(0, 11, "--in-place=") == 0) {
      const char* value = OptionValue(arg, "--in-place", argc, argv, i);
      if (value == nullptr || *value == '\0') return UsageError(messages, arg + " needs a file name");
      if (options.file != nullptr) return UsageError(messages, "more than one input file: " + std::string(value));
      options.file = value;
      options.inPlace = true;
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--report") {
      options.report = true;
    } else if (arg == "--flowed") {
      options.flowed = true;
    } else if (arg == "--mail") {
      options.mail = true;
    } else if (arg == "--charset" || arg.compare(0, 10, "--charset=") == 0) {
      const char* value = OptionValue(arg, "--charset", argc, argv, i);
      const std::string set = value != nullptr ? value : "";
      if (set == "bytes") {
        options.charset = Charset::kBytes;
      } else if (set == "utf-8" || set == "utf8" || set == "UTF-8") {
        options.charset = Charset::kUtf8;
      } else if (set == "auto") {
        options.charset = Charset::kAuto;
      } else {
        return UsageError(messages, "--charset takes bytes, utf-8 or auto");
      }
    } else if (arg == "--requote" || arg == "--signature") {
      const Mode mode = arg == "--requote" ? Mode::kRequote : Mode::kSignature;
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
  if (options.inPlace && options.file != nullptr && std::strcmp(options.file, "-") == 0)
    return UsageError(messages, "--in-place needs a file, not standard input");
  return kFilterOk;
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
bool RequoteStream(const Settings& settings, const TextMeasure* measure, bool bytesForInvalidUtf8, std::FILE* source,
                   const std::string& sourceName, std::FILE* output, std::string& messages) {
  TextForm form;
  form.measure = measure;
  UseTodaysMailRules(form);
  QuotedTextRequoter requoter(settings, 256 * 1024, form, bytesForInvalidUtf8);
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

// The measure for a text under the chosen character set.  `declared` is the
// charset a draft's Content-Type names (empty when none).
const TextMeasure* ChooseMeasure(const Options& options, const FilterEnvironment& environment, const std::string& text,
                                 const std::string& declared) {
  switch (options.charset) {
    case Charset::kBytes:
      return nullptr;
    case Charset::kUtf8:
      return environment.utf8;
    case Charset::kAuto:
      break;
  }
  if (environment.utf8 == nullptr) return nullptr;
  const bool wanted = declared.empty() ? environment.localeIsUtf8 : declared == "utf-8" || declared == "us-ascii";
  return wanted && IsValidUtf8(text.data(), text.size()) ? environment.utf8 : nullptr;
}

// The whole transformation of a text held in memory.  Returns the new text;
// `result` is the engine's result (1 when the text is left alone).
std::string TransformText(const Options& options, const Settings& settings, const FilterEnvironment& environment,
                          const std::string& input, int& result, int& cursorLines) {
  MailDraft draft;
  if (options.mail) draft = ReadMailDraft(input);
  const std::string body = input.substr(draft.bodyStart);
  TextForm form;
  form.flowed = draft.hasContentType ? draft.flowed : options.flowed;
  form.delSp = draft.hasContentType && draft.delSp;
  form.mailDraft = options.mail;
  form.measure = ChooseMeasure(options, environment, body, draft.charset);
  UseTodaysMailRules(form);

  std::string out;
  result = 0;
  switch (options.mode) {
    case Mode::kReply: {
      out = form.flowed ? DecodeFlowed(body, form.delSp) : body;
      ReplyFormatter formatter(settings, form);
      result = formatter.ReformatReply(out, cursorLines);
      if (result == kReformatUnchanged) return input;
      break;
    }
    case Mode::kRequote:
      if (form.flowed) {
        ReplyFormatter formatter(settings, form);
        formatter.SplitLines(DecodeFlowed(body, form.delSp));
        formatter.MeasureQuoteDepth();
        formatter.RenderReply(out);
      } else {
        QuotedTextRequoter requoter(settings, 256 * 1024, form, false);
        requoter.Write(body.data(), body.size(), out);
        requoter.Finish(out);
      }
      break;
    case Mode::kSignature:
      out = body;
      ApplySignatureFix(out);
      return input.substr(0, draft.bodyStart) + out;
  }
  if (options.mail) {
    if (!form.flowed) TrimTrailingBlanks(out);
    RestoreDraftLineEnds(body, out);
  }
  return input.substr(0, draft.bodyStart) + out;
}

int Transform(const Options& options, const Settings& settings, const FilterEnvironment& environment, std::FILE* source,
              const std::string& sourceName, std::FILE* output, std::string& messages) {
  int result = 0;
  int cursorLines = 0;
  if (options.mode == Mode::kRequote && !options.flowed && !options.mail && !options.inPlace) {
    // Streamed, so that memory stays small whatever the size; under "auto"
    // each piece falls back to bytes on its own when it is not UTF-8.
    const TextMeasure* measure = nullptr;
    if (options.charset == Charset::kUtf8 || (options.charset == Charset::kAuto && environment.localeIsUtf8))
      measure = environment.utf8;
    if (!RequoteStream(settings, measure, options.charset == Charset::kAuto, source, sourceName, output, messages))
      return kFilterFileError;
  } else {
    std::string input;
    errno = 0;
    const bool read = ReadWholeFile(source, input);
    // The file is closed before it is replaced: Windows refuses to replace a
    // file that is open.
    if (options.inPlace) std::fclose(source);
    if (!read) {
      ReadError(sourceName, messages);
      return kFilterFileError;
    }
    const std::string text = TransformText(options, settings, environment, input, result, cursorLines);
    if (options.inPlace) {
      // A text left as it was is not written at all: the file keeps its
      // time stamps and identity.
      std::string error;
      if (text != input && !ReplaceFileContents(options.file, text, error)) {
        messages += "kelvane-reformat: " + error + " (the file is unchanged)\n";
        return kFilterFileError;
      }
    } else if (!WriteAll(output, text.data(), text.size(), messages)) {
      return kFilterFileError;
    }
  }
  if (options.report) messages += "result " + std::to_string(result) + " cursor " + std::to_string(cursorLines) + "\n";
  return kFilterOk;
}

}  // namespace

int RunReformatFilter(int argc, const char* const* argv, std::FILE* input, std::FILE* output, std::string& messages,
                      const FilterEnvironment& environment) {
  Options options;
  if (const int status = ParseOptions(argc, argv, options, messages)) return status;
  if (options.help) return WriteAll(output, kUsage, sizeof kUsage - 1, messages) ? kFilterOk : kFilterFileError;
  if (options.charset == Charset::kUtf8 && environment.utf8 == nullptr)
    return UsageError(messages, "--charset=utf-8 is not available in this build");

  Settings settings;
  ResetSettings(settings);
  if (options.cfg != nullptr) {
    errno = 0;
    if (LoadSettings(settings, options.cfg)) {
      messages += std::string("kelvane-reformat: ") + options.cfg + ": " +
                  (errno != 0 ? std::strerror(errno) : "cannot be opened") + "\n";
      return kFilterFileError;
    }
  }
  for (const std::string& set : options.sets) {
    std::string error;
    if (!ApplySettingAssignment(settings, set, error)) return UsageError(messages, error);
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
      return kFilterFileError;
    }
    sourceName = options.file;
  }
  // In place, Transform closes the file itself once it is read.
  const int status = Transform(options, settings, environment, source, sourceName, output, messages);
  if (ownFile && !options.inPlace) std::fclose(source);
  return status;
}
