#include "tool_process.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
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

// Quotes a word so that the child's C runtime splits the command line back into exactly it.
std::string quoteArgument(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) {
    return word;
  }
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count double only in front of a quote, which gets one more of its own.
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    quoted += c;
    backslashes = 0;
  }
  quoted.append(backslashes * 2, '\\');
  quoted += '"';
  return quoted;
}

HANDLE createCapture(const std::filesystem::path& path) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    throw std::runtime_error("cannot create " + path.string());
  }
  return file;
}

// Starts the tool as a shell does: its standard handles are plain files, which its C runtime
// opens as text streams. (A child made with _spawn would take over the modes of our descriptors
// instead, binary ones included, and so not write the line ends a user gets.)
int spawnAndWait(std::vector<std::string>& words, const std::filesystem::path& workDir,
                 StdoutTarget target) {
  if (target == StdoutTarget::kFull) {
    throw std::runtime_error("Windows has no device whose writes fail for want of space");
  }
  std::string commandLine;
  for (const std::string& word : words) {
    if (!commandLine.empty()) {
      commandLine += ' ';
    }
    commandLine += quoteArgument(word);
  }
  const HANDLE out =
      target == StdoutTarget::kClosed ? nullptr : createCapture(workDir / "stdout.txt");
  const HANDLE err = createCapture(workDir / "stderr.txt");
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  const std::string folder = workDir.string();
  const BOOL started = CreateProcessA(words.front().c_str(), commandLine.data(), nullptr, nullptr,
                                      TRUE, 0, nullptr, folder.c_str(), &startup, &process);
  const DWORD startError = GetLastError();
  if (out != nullptr) {
    CloseHandle(out);
  }
  CloseHandle(err);
  if (!started) {
    throw std::runtime_error("CreateProcess failed with error " + std::to_string(startError));
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(status);
}

#else

int spawnAndWait(std::vector<std::string>& words, const std::filesystem::path& workDir,
                 StdoutTarget target) {
  std::vector<char*> argv(words.size() + 1, nullptr);  // ends with the null that execvp needs
  std::transform(words.begin(), words.end(), argv.begin(),
                 [](std::string& word) { return word.data(); });
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

  std::filesystem::remove(workDir / "stdout.txt");
  ToolRun run;
  run.status = spawnAndWait(words, workDir, target);
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
