#pragma once

#include <cstdint>
#include <string_view>

class Console;

inline constexpr const char* kOpenErrorHeadline = "Error opening file: %s\n";
inline constexpr const char* kReadErrorHeadline = "Error reading file: %s\n";

// A failure of the input file, in two lines: the headline with the path on standard output, then
// "system error:" in the perror form with the text of `errorNumber` on standard error.
void reportFileError(Console& console, const char* headline, const char* path, int errorNumber);

// A file whose structure is damaged: the read headline on standard output, then one line on
// standard error that says what is wrong and where.
void reportDamagedFile(Console& console, const char* path, std::string_view detail);
