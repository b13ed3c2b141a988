#pragma once

#include "exit_status.h"
#include "input_file.h"

class Console;

// Exports every reading of the database in `input`, list after list along the chain of record
// lists, in the order the entries stand. Returns kSuccess, kReadFailed or kStampFailed (the last
// failure wins). `path` is used only in error headlines.
ExitStatus walkDatabase(InputSource& input, const char* path, Console& console);
