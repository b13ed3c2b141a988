#include "console_capture.h"

#include <stdexcept>

CapturedConsole::CapturedConsole() : out_(std::tmpfile()), err_(std::tmpfile()) {
  if (!out_ || !err_) {
    throw std::runtime_error("no temporary file for a captured stream");
  }
  console_ = std::make_unique<Console>(out_.get(), err_.get());
}

bool CapturedConsole::finish() { return console_->finish(); }

std::string CapturedConsole::contents(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  char chunk[4096];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    text.append(chunk, got);
  }
  std::fseek(file, 0, SEEK_END);
  return text;
}
