#pragma once

#include <string>
#include <string_view>

#include "exit_status.h"
#include "input_file.h"

// What a walk over a database printed, and the status it returned.
struct WalkOutcome {
  ExitStatus status = ExitStatus::kSuccess;
  std::string out;
  std::string err;
};

// Walks `input` as the database "log.pdb" into a captured console.
WalkOutcome walkCaptured(InputSource& input);

// True when `text` has the lines of `pattern`; a pattern line ending in '*' needs only its start.
bool linesMatch(std::string_view text, std::string_view pattern);
