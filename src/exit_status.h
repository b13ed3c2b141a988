#pragma once

// The process exit status of a run; a later failure overrides an earlier one.
enum class ExitStatus : int {
  kSuccess = 0,
  kUsage = 1,         // wrong number of arguments
  kOpenFailed = 2,    // the input file cannot be opened
  kReadFailed = 3,    // a read failed, or the file is damaged
  kStampFailed = 4,   // a reading's stamp cannot be converted to a date
  kOutputFailed = 5,  // standard output could not be written
};
