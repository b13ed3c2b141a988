// Fuzz target: the database walk over arbitrary bytes, through the in-memory input. Built with
// libFuzzer for fuzzing sessions, and with the replay driver (replay_main.cpp) for regression runs.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "console.h"
#include "database_walk.h"
#include "input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Both streams go nowhere: only crashes, sanitizer reports and hangs matter here.
#ifdef _WIN32
  static std::FILE* const discard = std::fopen("NUL", "w");
#else
  static std::FILE* const discard = std::fopen("/dev/null", "w");
#endif
  MemoryInput input({data, size});
  Console console(discard, discard);
  walkDatabase(input, "fuzz.pdb", console);
  console.finish();
  return 0;
}
