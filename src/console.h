#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string_view>

// The two standard streams of a run. Standard output is gathered in a fixed buffer and handed to
// the stream a buffer load at a time; standard error is written at once. Lost output is noticed,
// so that a full disk never passes for a complete export.
class Console {
 public:
  Console(std::FILE* out, std::FILE* err) noexcept : out_(out), err_(err) {}
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;
  ~Console() = default;
  Console(Console&&) = delete;
  Console& operator=(Console&&) = delete;

  void write(std::string_view text) {
    if (text.size() > kBufferSize / 2) {
      // Long texts are not worth copying: they go straight after what is buffered.
      flushBuffer();
      writeThrough(text);
      return;
    }
    if (text.size() > buffer_.size() - used_) {
      flushBuffer();
    }
    std::memcpy(buffer_.data() + used_, text.data(), text.size());
    used_ += text.size();
  }

  // Room for up to `size` bytes (at most the buffer's size) at the end of the output, to be
  // written in place and kept by commit(), which is given the end of what was written.
  char* reserve(std::size_t size) {
    if (size > buffer_.size() - used_) {
      flushBuffer();
    }
    return buffer_.data() + used_;
  }
  void commit(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }

  // Writes `format` (with one %s) through the stream's formatted output, after all lines before it.
  void writeHeadline(const char* format, const char* argument);

  // The perror form on standard error: the prefix, ": ", the text of `errorNumber`, a newline.
  void reportSystemError(const char* prefix, int errorNumber);

  // One line of the tool's own words on standard error.
  void writeErrorLine(std::string_view line);

  // Hands everything to standard output and flushes it. Returns false, after reporting why on
  // standard error, when any output was lost.
  bool finish();

 private:
  static constexpr std::size_t kBufferSize = std::size_t{128} * 1024;

  void flushBuffer();
  void writeThrough(std::string_view text);
  void noteOutputError(int errorNumber);

  std::FILE* out_;
  std::FILE* err_;
  std::array<char, kBufferSize> buffer_;  // only the first used_ bytes are ever read
  std::size_t used_ = 0;
  int outputError_ = 0;  // error number of the first lost write; 0 while nothing was lost
};
