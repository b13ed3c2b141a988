#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "console.h"

// A file of its own in the temporary folder, open for writing and reading back, removed when
// done. (tmpfile() is no use here: on Windows it writes to the root of the drive, and under Wine
// two processes now and then get the same name.)
class ScratchFile {
 public:
  ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ScratchFile(ScratchFile&&) = delete;
  ScratchFile& operator=(ScratchFile&&) = delete;
  ~ScratchFile();

  std::FILE* get() const { return file_; }
  const std::filesystem::path& path() const { return path_; }
  // Everything written so far.
  std::string contents() const;

 private:
  std::filesystem::path path_;
  std::FILE* file_ = nullptr;
};

// A Console whose two streams are scratch files, read back after the run.
class CapturedConsole {
 public:
  CapturedConsole() : console_(out_.get(), err_.get()) {}

  Console& console() { return console_; }
  // Finishes the console (as a run does before it ends); false when output was lost.
  bool finish() { return console_.finish(); }
  std::string out() const { return out_.contents(); }
  std::string err() const { return err_.contents(); }

 private:
  ScratchFile out_;
  ScratchFile err_;
  Console console_;
};
