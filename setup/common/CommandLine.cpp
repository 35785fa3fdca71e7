#include "setup/common/CommandLine.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// "/X=" at pos, the letter in either case.
bool IsSwitchWithValue(const std::string& text, std::size_t pos, char letter) {
  return pos + 3 <= text.size() && text[pos] == '/' && (text[pos + 1] == letter || text[pos + 1] == letter + 32) &&
         text[pos + 2] == '=';
}

// The end of the argument that starts at pos: the next blank outside double
// quotes.
std::size_t ArgumentEnd(const std::string& text, std::size_t pos) {
  bool quoted = false;
  for (; pos < text.size(); ++pos) {
    if (text[pos] == '"') quoted = !quoted;
    if (!quoted && IsBlank(text[pos])) break;
  }
  return pos;
}

}  // namespace

SetupOptions ParseSetupCommandLine(const std::string& arguments) {
  SetupOptions options;
  std::size_t pos = 0;
  for (;;) {
    while (pos < arguments.size() && IsBlank(arguments[pos])) ++pos;
    if (pos >= arguments.size()) break;
    if (IsSwitchWithValue(arguments, pos, 'D')) {
      // The destination may hold blanks and is never quoted: it takes the
      // rest of the line.
      std::string path = arguments.substr(pos + 3);
      while (!path.empty() && (IsBlank(path.back()) || path.back() == '\r' || path.back() == '\n')) path.pop_back();
      options.hasDestination = true;
      options.destination = path;
      break;
    }
    std::size_t end = ArgumentEnd(arguments, pos);
    std::string argument = arguments.substr(pos, end - pos);
    pos = end;
    if (argument == "/S" || argument == "/s") {
      options.silent = true;
    } else if (IsSwitchWithValue(argument, 0, 'M')) {
      std::string name = argument.substr(3);
      if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = name.substr(1, name.size() - 2);
      else if (!name.empty() && name.front() == '"')
        name.erase(0, 1);  // the line ended inside the quotes
      options.hasMenuName = true;
      options.menuName = name;
    } else {
      options.ignored.push_back(argument);
    }
  }
  return options;
}
