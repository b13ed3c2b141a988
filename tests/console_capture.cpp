#include "console_capture.h"

#include <array>
#include <random>
#include <stdexcept>

ScratchFile::ScratchFile() {
  static std::random_device entropy;
  for (int attempt = 0; attempt < 100 && file_ == nullptr; ++attempt) {
    path_ = std::filesystem::temp_directory_path() /
            ("vellorin-capture-" + std::to_string(entropy()) + "-" + std::to_string(entropy()));
    if (!std::filesystem::exists(path_)) {
      file_ = std::fopen(path_.string().c_str(), "w+b");
    }
  }
  if (file_ == nullptr) {
    throw std::runtime_error("no scratch file in " +
                             std::filesystem::temp_directory_path().string());
  }
}

ScratchFile::~ScratchFile() {
  (void)std::fclose(file_);
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

std::string ScratchFile::contents() const {
  (void)std::fflush(file_);
  std::rewind(file_);
  std::string text;
  std::array<char, 4096> chunk{};
  std::size_t got = 0;
  while ((got = std::fread(chunk.data(), 1, chunk.size(), file_)) > 0) {
    text.append(chunk.data(), got);
  }
  (void)std::fseek(file_, 0, SEEK_END);
  return text;
}
