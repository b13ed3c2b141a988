#include "input_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>

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
    const int got = ::_read(descriptor, data + result.count,
                            static_cast<unsigned>(size - result.count));
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
  blocks_ = {};
  storage_ = std::make_unique<std::uint8_t[]>(kBlockCount * kBlockSize);
  return 0;
}

void FileInput::close() {
  if (descriptor_ >= 0) {
    closeDescriptor(descriptor_);
    descriptor_ = -1;
  }
  storage_.reset();
}

int FileInput::moveTo(std::uint64_t offset) {
  // The move is only noted; the platform sees the offset when a block there is loaded, and a
  // rejection then comes back as a failed read.
  position_ = offset;
  return 0;
}

ReadResult FileInput::read(std::span<std::uint8_t> buffer) {
  ReadResult result;
  while (result.count < buffer.size()) {
    const std::uint64_t at = position_ + result.count;
    const Block* block = blockFor(at, result.error);
    if (block == nullptr) {
      break;
    }
    const std::uint64_t within = at - block->start;
    if (within >= block->length) {
      break;  // the file ends here
    }
    const std::size_t available = block->length - static_cast<std::size_t>(within);
    const std::size_t take = std::min(buffer.size() - result.count, available);
    std::memcpy(buffer.data() + result.count, dataOf(*block) + within, take);
    result.count += take;
  }
  position_ += result.count;
  return result;
}

const FileInput::Block* FileInput::blockFor(std::uint64_t offset, int& error) {
  if (descriptor_ < 0) {
    error = EBADF;
    return nullptr;
  }
  const std::uint64_t start = offset - offset % kBlockSize;
  ++useCount_;
  Block* victim = blocks_.data();
  for (Block& block : blocks_) {
    if (block.loaded && block.start == start) {
      block.lastUse = useCount_;
      return &block;
    }
    if (!block.loaded || block.lastUse < victim->lastUse) {
      victim = &block;
    }
  }
  const ReadResult loaded = readBlock(descriptor_, start, dataOf(*victim), kBlockSize);
  if (loaded.error != 0) {
    victim->loaded = false;
    error = loaded.error;
    return nullptr;
  }
  *victim = Block{start, loaded.count, useCount_, true};
  return victim;
}

std::uint8_t* FileInput::dataOf(const Block& block) {
  const auto index = static_cast<std::size_t>(&block - blocks_.data());
  return storage_.get() + index * kBlockSize;
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
