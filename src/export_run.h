#pragma once

#include "exit_status.h"

class Console;

// A whole run: checks the command line, exports the database it names to standard output and
// makes sure that output was written. Returns the process exit status.
ExitStatus runExport(int argc, const char* const* argv);

// The usage banner, printed when the one argument is missing or more are given.
void printUsage(Console& console);
