#include "walk_outcome.h"

#include "console_capture.h"
#include "database_walk.h"

WalkOutcome walkCaptured(InputSource& input) {
  CapturedConsole captured;
  const ExitStatus status = walkDatabase(input, "log.pdb", captured.console());
  captured.finish();
  return {status, captured.out(), captured.err()};
}

bool linesMatch(std::string_view text, std::string_view pattern) {
  while (!text.empty() && !pattern.empty()) {
    const std::size_t textEnd = text.find('\n');
    const std::size_t patternEnd = pattern.find('\n');
    if (textEnd == std::string_view::npos || patternEnd == std::string_view::npos) {
      break;
    }
    const std::string_view line = text.substr(0, textEnd);
    std::string_view wanted = pattern.substr(0, patternEnd);
    const bool prefixOnly = !wanted.empty() && wanted.back() == '*';
    if (prefixOnly) {
      wanted.remove_suffix(1);
    }
    if (prefixOnly ? line.substr(0, wanted.size()) != wanted : line != wanted) {
      return false;
    }
    text.remove_prefix(textEnd + 1);
    pattern.remove_prefix(patternEnd + 1);
  }
  return text == pattern;
}
