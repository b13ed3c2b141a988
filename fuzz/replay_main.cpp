// Runs the fuzz target once over every file named on the command line, or found in a folder named
// there: the seed corpus and every input that ever found a fault, as plain regression tests.
// Each input is copied into a buffer of exactly its size, so that a read past its end is caught
// by the sanitizers even without the fuzzer.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool replay(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    (void)std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
    return false;
  }
  // A vector made from a range holds exactly its bytes, with no spare capacity after them.
  const std::vector<std::uint8_t> exact{std::istreambuf_iterator<char>(file),
                                        std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(exact.data(), exact.size());
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  std::size_t inputs = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path named(argv[i]);
    if (std::filesystem::is_directory(named)) {
      for (const auto& entry : std::filesystem::directory_iterator(named)) {
        // Dot files keep a folder in version control while it has no input yet.
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.') {
          if (!replay(entry.path())) {
            return 1;
          }
          ++inputs;
        }
      }
    } else {
      if (!replay(named)) {
        return 1;
      }
      ++inputs;
    }
  }
  std::printf("replayed %zu inputs\n", inputs);
  return inputs > 0 ? 0 : 1;
}
