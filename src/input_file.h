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
// from a fixed cache of small file blocks, so that the walk's many small reads cost few system
// calls. The cache is two-way set-associative: the entry table and the readings it points at,
// which the walk alternates between, never push each other out. A miss right after the block
// before it loads a run of blocks in one read, so a sequential stream costs a system call per run;
// any other miss loads one small block, so that jumping about a large file stays cheap.
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
  static constexpr std::size_t kBlockSize = std::size_t{4} * 1024;
  static constexpr std::size_t kSetCount = 128;
  static constexpr std::size_t kWays = 2;
  static constexpr std::size_t kRunBlocks = 8;
  static constexpr std::uint64_t kNoBlock = ~std::uint64_t{0};  // no block starts there

  struct Block {
    std::uint64_t start = kNoBlock;
    std::size_t length = 0;  // below kBlockSize where the file ends inside the block
    std::uint8_t* bytes = nullptr;
  };

  // Block `set` of way `way`. The blocks of one way lie in consecutive sets and consecutive
  // storage, so that a run of blocks is read with one system call.
  Block& blockAt(std::size_t way, std::size_t set) { return blocks_[way * kSetCount + set]; }
  // The cached block holding `offset`, or null.
  const Block* cachedBlock(std::uint64_t offset);
  // Loads the block holding `offset` in place of the less recently used block of its set, with
  // the blocks after it when it continues a stream. Null when loading failed; `error` says why.
  const Block* loadBlock(std::uint64_t offset, int& error);
  // Any read: across blocks, up to the end of the file, through misses.
  ReadResult readThroughBlocks(std::span<std::uint8_t> buffer);

  int descriptor_ = -1;
  std::uint64_t position_ = 0;
  std::array<Block, kSetCount * kWays> blocks_{};
  std::array<std::uint8_t, kSetCount> lastUsedWay_{};
  // The blocks' bytes while the file is open; left uncleared, which a std::vector would not do.
  std::unique_ptr<std::uint8_t[]> storage_;  // NOLINT(modernize-avoid-c-arrays)
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
