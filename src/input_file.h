#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

// What one read delivered: `count` bytes, and the platform's error number when it failed.
// A count below the size asked for with no error means the file ended.
struct ReadResult {
  std::size_t count = 0;
  int error = 0;
};

// The input database as the walk sees it: reads at a current position that can be moved to any
// absolute offset. The platform file and the in-memory input used by tests and fuzzing both fit.
class InputSource {
 public:
  InputSource() = default;
  InputSource(const InputSource&) = delete;
  InputSource& operator=(const InputSource&) = delete;
  InputSource(InputSource&&) = delete;
  InputSource& operator=(InputSource&&) = delete;
  virtual ~InputSource() = default;

  // Reads up to buffer.size() bytes at the current position and moves past them.
  virtual ReadResult read(std::span<std::uint8_t> buffer) = 0;
  // Returns 0, or the platform's error number when the move is rejected.
  virtual int moveTo(std::uint64_t offset) = 0;
};

// Moves to `offset` and reads there; a rejected move is reported like a failed read.
inline ReadResult readAt(InputSource& input, std::uint64_t offset, std::span<std::uint8_t> buffer) {
  if (const int error = input.moveTo(offset); error != 0) {
    return {0, error};
  }
  return input.read(buffer);
}

// A file of the platform, opened read-only in binary mode, with 64-bit positions. Reads are served
// from a few fixed blocks of the file, so that the entry table and the record data the walk
// alternates between cost a system call per block, not per read.
class FileInput final : public InputSource {
 public:
  FileInput() = default;
  FileInput(const FileInput&) = delete;
  FileInput& operator=(const FileInput&) = delete;
  FileInput(FileInput&&) = delete;
  FileInput& operator=(FileInput&&) = delete;
  ~FileInput() override;

  // Returns 0, or the platform's error number when the file cannot be opened.
  int open(const char* path);
  void close();

  ReadResult read(std::span<std::uint8_t> buffer) override;
  int moveTo(std::uint64_t offset) override;

 private:
  static constexpr std::size_t kBlockSize = 32 * 1024;
  static constexpr std::size_t kBlockCount = 8;

  struct Block {
    std::uint64_t start = 0;
    std::size_t length = 0;  // below kBlockSize where the file ends inside the block
    std::uint64_t lastUse = 0;
    bool loaded = false;
  };

  // The block holding `offset`, loaded on a miss in place of the least recently used one.
  // Null when loading failed; `error` then says why.
  const Block* blockFor(std::uint64_t offset, int& error);
  std::uint8_t* dataOf(const Block& block);

  int descriptor_ = -1;
  std::uint64_t position_ = 0;
  std::uint64_t useCount_ = 0;
  std::array<Block, kBlockCount> blocks_{};
  std::unique_ptr<std::uint8_t[]> storage_;  // kBlockCount * kBlockSize bytes while open
};

// A database held in memory, for tests and fuzzing.
class MemoryInput final : public InputSource {
 public:
  explicit MemoryInput(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {}

  ReadResult read(std::span<std::uint8_t> buffer) override;
  int moveTo(std::uint64_t offset) override;

 private:
  std::span<const std::uint8_t> bytes_;
  std::uint64_t position_ = 0;
};
