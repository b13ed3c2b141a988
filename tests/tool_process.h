#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Runs the built executable as a child process and collects what it did.

enum class StdoutTarget {
  kCapture,  // a file, read back after the run
  kFull,     // /dev/full: every write fails with "no space" (POSIX only)
  kClosed,   // no standard output at all
};

struct ToolRun {
  int status = -1;  // the exit status; 128 + the signal number when a signal ended the child
  std::string out;
  std::string err;
};

// The command that starts the tool: an emulator's words, if any, then the executable.
void setToolCommand(std::vector<std::string> command);

// Runs the tool with `arguments` in the folder `workDir`, which also receives its captured streams.
ToolRun runTool(const std::vector<std::string>& arguments, const std::filesystem::path& workDir,
                StdoutTarget target = StdoutTarget::kCapture);

// `text` with each "\n" as the platform writes it to a text stream.
std::string platformLines(const std::string& text);
