#include "input_file.h"

#include <fcntl.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

#ifndef O_BINARY
constexpr int O_BINARY = 0;  // only Windows translates line ends on read
#endif

int openReadOnly(const char* path) {
#ifdef _WIN32
  return ::_open(path, _O_RDONLY | _O_BINARY);
#else
  // cppcheck-suppress badBitmaskCheck ; O_BINARY is 0 where reads translate nothing
  return ::open(path, O_RDONLY | O_BINARY);
#endif
}

void closeDescriptor(int descriptor) {
#ifdef _WIN32
  ::_close(descriptor);
#else
  ::close(descriptor);
#endif
}

// Reads up to `size` bytes at `offset`, going on after partial reads until the file ends.
ReadResult readBlock(int descriptor, std::uint64_t offset, std::uint8_t* data, std::size_t size) {
  ReadResult result;
#ifdef _WIN32
  if (::_lseeki64(descriptor, static_cast<__int64>(offset), SEEK_SET) < 0) {
    result.error = errno;
    return result;
  }
#endif
  while (result.count < size) {
#ifdef _WIN32
    const int got =
        ::_read(descriptor, data + result.count, static_cast<unsigned>(size - result.count));
#else
    const ssize_t got = ::pread(descriptor, data + result.count, size - result.count,
                                static_cast<off_t>(offset + result.count));
#endif
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      result.error = errno;
      return result;
    }
    if (got == 0) {
      break;
    }
    result.count += static_cast<std::size_t>(got);
  }
  return result;
}

}  // namespace

FileInput::~FileInput() { close(); }

int FileInput::open(const char* path) {
  close();
  const int descriptor = openReadOnly(path);
  if (descriptor < 0) {
    return errno;
  }
  descriptor_ = descriptor;
  position_ = 0;
  lastUsedWay_ = {};
  // Not cleared: a block's bytes are only read once they were loaded.
  storage_ = std::make_unique_for_overwrite<std::uint8_t[]>(  // NOLINT(modernize-avoid-c-arrays)
      blocks_.size() * kBlockSize);
  for (std::size_t i = 0; i < blocks_.size(); ++i) {
    blocks_[i] = Block{kNoBlock, 0, storage_.get() + i * kBlockSize};  // in blockAt's order
  }
  return 0;
}

void FileInput::close() {
  if (descriptor_ >= 0) {
    closeDescriptor(descriptor_);
    descriptor_ = -1;
  }
  blocks_ = {};  // no block may point into the storage it is about to lose
  storage_.reset();
}

int FileInput::moveTo(std::uint64_t offset) {
  // The move is only noted; the platform sees the offset when a block there is loaded, and a
  // rejection then comes back as a failed read.
  position_ = offset;
  return 0;
}

ReadResult FileInput::read(std::span<std::uint8_t> buffer) {
  // Nearly every read lies whole inside a cached block.
  if (const Block* block = cachedBlock(position_); block != nullptr) {
    const std::uint64_t within = position_ - block->start;
    if (buffer.size() <= block->length && within <= block->length - buffer.size()) {
      std::memcpy(buffer.data(), block->bytes + within, buffer.size());
      position_ += buffer.size();
      return {buffer.size(), 0};
    }
  }
  return readThroughBlocks(buffer);
}

ReadResult FileInput::readThroughBlocks(std::span<std::uint8_t> buffer) {
  std::size_t count = 0;
  while (count < buffer.size()) {
    int error = 0;
    const Block* block = cachedBlock(position_);
    if (block == nullptr) {
      block = loadBlock(position_, error);
    }
    if (block == nullptr) {
      return {count, error};
    }
    const std::uint64_t within = position_ - block->start;
    if (within >= block->length) {
      break;  // the file ends here
    }
    const std::size_t take =
        std::min(buffer.size() - count, block->length - static_cast<std::size_t>(within));
    std::memcpy(buffer.data() + count, block->bytes + within, take);
    count += take;
    position_ += take;
  }
  return {count, 0};
}

const FileInput::Block* FileInput::cachedBlock(std::uint64_t offset) {
  const std::uint64_t index = offset / kBlockSize;
  const auto set = static_cast<std::size_t>(index % kSetCount);
  for (std::uint8_t way = 0; way < kWays; ++way) {
    const Block& block = blockAt(way, set);
    if (block.start == index * kBlockSize) {
      lastUsedWay_[set] = way;
      return &block;
    }
  }
  return nullptr;
}

const FileInput::Block* FileInput::loadBlock(std::uint64_t offset, int& error) {
  if (descriptor_ < 0) {
    error = EBADF;
    return nullptr;
  }
  const std::uint64_t index = offset / kBlockSize;
  const auto set = static_cast<std::size_t>(index % kSetCount);
  const std::size_t way = 1U - lastUsedWay_[set];
  const bool continuesStream = index > 0 && cachedBlock((index - 1) * kBlockSize) != nullptr;
  // A run stops where the sets wrap around, as its storage must be one piece.
  const std::size_t run = continuesStream ? std::min(kRunBlocks, kSetCount - set) : 1;

  const ReadResult loaded =
      readBlock(descriptor_, index * kBlockSize, blockAt(way, set).bytes, run * kBlockSize);
  for (std::size_t i = 0; i < run; ++i) {
    Block& block = blockAt(way, set + i);
    if (loaded.error != 0) {
      block.start = kNoBlock;  // partly overwritten
      continue;
    }
    const std::size_t before = i * kBlockSize;
    block.start = (index + i) * kBlockSize;
    block.length = loaded.count > before ? std::min(loaded.count - before, kBlockSize) : 0;
    lastUsedWay_[set + i] = static_cast<std::uint8_t>(way);
  }
  if (loaded.error != 0) {
    error = loaded.error;
    return nullptr;
  }
  return &blockAt(way, set);
}

ReadResult MemoryInput::read(std::span<std::uint8_t> buffer) {
  ReadResult result;
  if (position_ < bytes_.size()) {
    const auto at = static_cast<std::size_t>(position_);
    result.count = std::min(buffer.size(), bytes_.size() - at);
    std::memcpy(buffer.data(), bytes_.data() + at, result.count);
  }
  position_ += result.count;
  return result;
}

int MemoryInput::moveTo(std::uint64_t offset) {
  position_ = offset;
  return 0;
}
