#include "ColourFilter.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "ReformatFilter.h"
#include "SettingAssignment.h"
#include "automation/HtmlQuotes.h"
#include "engine/Settings.h"

namespace {

const char kUsage[] =
    "usage: kelvane-reformat --colour [--styles N] [--mode view|composition] [--text FILE]\n"
    "                        [--cfg FILE] [--set FIELD=VALUE]... [--report] [HTMLFILE]\n"
    "\n"
    "Colours the quote levels of a message body's inner HTML, read from HTMLFILE\n"
    "(or standard input), as the watch colours a message it shows, and writes the\n"
    "new inner HTML to standard output.  A body that would be left alone (already\n"
    "coloured, or with fonts, paragraphs, pictures, italics or bold) is written\n"
    "unchanged.\n"
    "\n"
    "  --styles N          number of quote-level classes q0..q(N-1) (default 1)\n"
    "  --mode M            view (default) or composition\n"
    "  --text FILE         the body's inner text, used when reformatHtml is on in\n"
    "                      view mode; without it the rebuild has no text and the\n"
    "                      body is left alone\n"
    "  --cfg, --set        options, as for the reply filter (coloring, reformatHtml,\n"
    "                      wrapColumn, quoteChar, compressedIndentation are used)\n"
    "  --report            write \"result R\" to standard error: 0 coloured, 1 left alone\n";

int UsageError(std::string& messages, const std::string& what) {
  messages += "kelvane-reformat: " + what + " (try --colour --help)\n";
  return kFilterUsageError;
}

bool ReadFile(const char* name, std::string& data, std::string& messages) {
  errno = 0;
  std::FILE* file = std::fopen(name, "rb");
  if (file == nullptr) {
    messages += std::string("kelvane-reformat: ") + name + ": " + std::strerror(errno) + "\n";
    return false;
  }
  char chunk[65536];
  bool ok = true;
  for (;;) {
    const std::size_t n = std::fread(chunk, 1, sizeof chunk, file);
    data.append(chunk, n);
    if (n < sizeof chunk) {
      ok = std::ferror(file) == 0;
      break;
    }
  }
  std::fclose(file);
  if (!ok) messages += std::string("kelvane-reformat: ") + name + ": read error\n";
  return ok;
}

bool ParseCount(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

struct ColourOptions {
  int styles = 1;
  ColourMode mode = ColourMode::view;
  const char* textFile = nullptr;
  const char* cfg = nullptr;
  const char* htmlFile = nullptr;
  std::vector<std::string> sets;
  bool report = false;
  bool help = false;
};

// Returns kFilterOk or the usage error status; stops at --help.
int ParseColourOptions(int argc, const char* const* argv, ColourOptions& options, std::string& messages) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--colour") continue;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return kFilterOk;
    }
    if (arg == "--report") {
      options.report = true;
    } else if (arg == "--styles") {
      if (!hasValue || !ParseCount(argv[++i], options.styles)) return UsageError(messages, "--styles needs a number");
    } else if (arg == "--mode") {
      const std::string value = hasValue ? argv[++i] : "";
      if (value == "view")
        options.mode = ColourMode::view;
      else if (value == "composition")
        options.mode = ColourMode::composition;
      else
        return UsageError(messages, "--mode takes view or composition");
    } else if (arg == "--text") {
      if (!hasValue) return UsageError(messages, "--text needs a file name");
      options.textFile = argv[++i];
    } else if (arg == "--cfg") {
      if (!hasValue) return UsageError(messages, "--cfg needs a file name");
      options.cfg = argv[++i];
    } else if (arg == "--set") {
      if (!hasValue) return UsageError(messages, "--set needs FIELD=VALUE");
      options.sets.emplace_back(argv[++i]);
    } else if (arg == "-" || arg.empty() || arg[0] != '-') {
      if (options.htmlFile != nullptr) return UsageError(messages, "more than one input file: " + arg);
      options.htmlFile = argv[i];
    } else {
      return UsageError(messages, "unknown option " + arg);
    }
  }
  return kFilterOk;
}

// The defaults, then --cfg, then each --set.  Returns kFilterOk or the status.
int LoadColourSettings(const ColourOptions& options, Settings& settings, std::string& messages) {
  ResetSettings(settings);
  if (options.cfg != nullptr && LoadSettings(settings, options.cfg)) {
    messages += std::string("kelvane-reformat: ") + options.cfg + ": cannot be opened\n";
    return kFilterFileError;
  }
  for (const std::string& set : options.sets) {
    std::string error;
    if (!ApplySettingAssignment(settings, set, error)) return UsageError(messages, error);
  }
  return kFilterOk;
}

// The named HTML file, or all of `input` for none or "-".
bool ReadHtml(const char* htmlFile, std::FILE* input, std::string& html, std::string& messages) {
  if (htmlFile != nullptr && std::strcmp(htmlFile, "-") != 0) return ReadFile(htmlFile, html, messages);
  char chunk[65536];
  for (;;) {
    const std::size_t n = std::fread(chunk, 1, sizeof chunk, input);
    html.append(chunk, n);
    if (n < sizeof chunk) break;
  }
  if (std::ferror(input) != 0) {
    messages += "kelvane-reformat: standard input: read error\n";
    return false;
  }
  return true;
}

}  // namespace

bool WantsColourFilter(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) return false;
    if (std::strcmp(argv[i], "--colour") == 0) return true;
  }
  return false;
}

int RunColourFilter(int argc, const char* const* argv, std::FILE* input, std::string& output, std::string& messages) {
  ColourOptions options;
  if (const int status = ParseColourOptions(argc, argv, options, messages)) return status;
  if (options.help) {
    output = kUsage;
    return kFilterOk;
  }
  Settings settings;
  if (const int status = LoadColourSettings(options, settings, messages)) return status;

  std::string html;
  if (!ReadHtml(options.htmlFile, input, html, messages)) return kFilterFileError;
  std::string text;
  if (options.textFile != nullptr && !ReadFile(options.textFile, text, messages)) return kFilterFileError;

  std::string coloured;
  const int outcome =
      ColourHtmlText(html, text, options.textFile != nullptr, options.mode, options.styles, settings, coloured);
  output = outcome == 0 ? coloured : html;
  if (options.report) messages += outcome == 0 ? "result 0\n" : "result 1\n";
  return kFilterOk;
}
