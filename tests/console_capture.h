#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "console.h"

// A Console whose two streams are temporary files, read back after the run.
class CapturedConsole {
 public:
  CapturedConsole();

  Console& console() { return *console_; }
  // Finishes the console (as a run does before it ends) and returns what reached each stream.
  bool finish();
  std::string out() const { return contents(out_.get()); }
  std::string err() const { return contents(err_.get()); }

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  static std::string contents(std::FILE* file);

  std::unique_ptr<std::FILE, FileCloser> out_;
  std::unique_ptr<std::FILE, FileCloser> err_;
  std::unique_ptr<Console> console_;
};
