#include "console.h"

#include <cerrno>

void Console::writeHeadline(const char* format, const char* argument) {
  flushBuffer();
  // NOLINTNEXTLINE(clang-diagnostic-format-nonliteral): the two headlines are fixed texts.
  if (std::fprintf(out_, format, argument) < 0) {
    noteOutputError(errno);
  }
}

void Console::reportSystemError(const char* prefix, int errorNumber) {
  // Standard error is the last resort: a failure to write there cannot be reported anywhere.
  (void)std::fprintf(err_, "%s: %s\n", prefix, std::strerror(errorNumber));
}

void Console::writeErrorLine(std::string_view line) {
  (void)std::fprintf(err_, "%.*s\n", static_cast<int>(line.size()), line.data());
}

bool Console::finish() {
  flushBuffer();
  if (std::fflush(out_) != 0) {
    noteOutputError(errno);
  }
  if (outputError_ == 0 && std::ferror(out_) != 0) {
    noteOutputError(EIO);
  }
  if (outputError_ != 0) {
    reportSystemError("Error writing standard output", outputError_);
    return false;
  }
  return true;
}

void Console::flushBuffer() {
  writeThrough({buffer_.data(), used_});
  used_ = 0;
}

void Console::writeThrough(std::string_view text) {
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), out_) != text.size()) {
    noteOutputError(errno);
  }
}

void Console::noteOutputError(int errorNumber) {
  if (outputError_ == 0) {
    outputError_ = errorNumber != 0 ? errorNumber : EIO;
  }
}
