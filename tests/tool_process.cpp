#include "tool_process.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

std::vector<std::string>& toolCommand() {
  static std::vector<std::string> command;
  return command;
}

std::string readWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

#ifdef _WIN32

int spawnAndWait(std::vector<char*>& argv, const std::filesystem::path& workDir, StdoutTarget) {
  // The child inherits descriptors 1 and 2 and the working folder; they are set around the spawn.
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(workDir);
  std::fflush(stdout);
  std::fflush(stderr);
  const int savedOut = _dup(1);
  const int savedErr = _dup(2);
  const int outFile = _open("stdout.txt", _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
  const int errFile = _open("stderr.txt", _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
  _dup2(outFile, 1);
  _dup2(errFile, 2);
  const intptr_t status = _spawnv(_P_WAIT, argv[0], argv.data());
  _dup2(savedOut, 1);
  _dup2(savedErr, 2);
  _close(outFile);
  _close(errFile);
  _close(savedOut);
  _close(savedErr);
  std::filesystem::current_path(previous);
  return static_cast<int>(status);
}

#else

int spawnAndWait(std::vector<char*>& argv, const std::filesystem::path& workDir, StdoutTarget target) {
  const pid_t child = fork();
  if (child < 0) {
    throw std::runtime_error("fork failed");
  }
  if (child == 0) {
    if (chdir(workDir.c_str()) != 0) {
      _exit(126);
    }
    const int errFile = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(errFile, 2);
    close(errFile);
    if (target == StdoutTarget::kClosed) {
      close(1);
    } else {
      const int outFile = target == StdoutTarget::kFull
                              ? open("/dev/full", O_WRONLY)
                              : open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(outFile, 1);
      close(outFile);
    }
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int waitStatus = 0;
  if (waitpid(child, &waitStatus, 0) != child) {
    throw std::runtime_error("waitpid failed");
  }
  return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

#endif

}  // namespace

void setToolCommand(std::vector<std::string> command) { toolCommand() = std::move(command); }

ToolRun runTool(const std::vector<std::string>& arguments, const std::filesystem::path& workDir,
                StdoutTarget target) {
  std::vector<std::string> words = toolCommand();
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) {
    argv.push_back(word.data());
  }
  argv.push_back(nullptr);

  std::filesystem::remove(workDir / "stdout.txt");
  ToolRun run;
  run.status = spawnAndWait(argv, workDir, target);
  run.out = readWhole(workDir / "stdout.txt");
  run.err = readWhole(workDir / "stderr.txt");
  return run;
}

std::string platformLines(const std::string& text) {
#ifdef _WIN32
  std::string converted;
  for (const char c : text) {
    if (c == '\n') {
      converted += '\r';
    }
    converted += c;
  }
  return converted;
#else
  return text;
#endif
}
