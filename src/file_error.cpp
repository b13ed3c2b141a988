#include "file_error.h"

#include "console.h"

void reportFileError(Console& console, const char* headline, const char* path, int errorNumber) {
  console.writeHeadline(headline, path);
  console.reportSystemError("system error:", errorNumber);
}

void reportDamagedFile(Console& console, const char* path, std::string_view detail) {
  console.writeHeadline(kReadErrorHeadline, path);
  console.writeErrorLine(detail);
}
