#include "input_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdb_builder.h"

namespace {

std::filesystem::path scratchFile(const char* name) {
  return std::filesystem::temp_directory_path() /
         (std::string("vellorin-input-") + std::to_string(std::random_device{}()) + name);
}

// The file input and the in-memory input must deliver the same bytes and the same short counts
// for every read, wherever it falls: inside a block, across a block boundary, across the end of
// the file, and after more distinct blocks than the file input keeps.
TEST(InputFile, DeliversTheFileExactlyAsMemoryWould) {
  std::vector<std::uint8_t> bytes(300 * 1024 + 77);
  std::mt19937 generator(7);  // NOLINT(cert-msc32-c,cert-msc51-cpp): the same bytes every run
  std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<std::uint8_t>(generator()); });
  // Bytes a text-mode open would change or stop at.
  bytes[5] = 0x1A;
  bytes[6] = 0x0D;
  bytes[7] = 0x0A;
  const std::filesystem::path path = scratchFile(".bin");
  writeFile(path, bytes);

  FileInput file;
  ASSERT_EQ(file.open(path.string().c_str()), 0);
  MemoryInput memory(bytes);
  const std::uint64_t size = bytes.size();
  std::vector<std::pair<std::uint64_t, std::size_t>> reads{
      {0, 72},   {32 * 1024 - 3, 8}, {64 * 1024 - 1, 6}, {size - 5, 8},
      {size, 8}, {size + 100, 8},    {0xFFFFFFFFULL, 8}, {0x100000000ULL + 3, 6}};
  for (int i = 0; i < 2000; ++i) {
    reads.emplace_back(generator() % (size + 64), 1 + generator() % 72);
  }
  // Two interleaved sequential streams, as the entry table and its readings are read.
  constexpr std::uint64_t kSecondStream = std::uint64_t{150} * 1024;
  for (std::uint64_t at = 0; at + kSecondStream < size + 72; at += 60) {
    reads.emplace_back(at, 6 + at % 67);
    reads.emplace_back(at + kSecondStream, 8);
  }
  for (const auto& [offset, length] : reads) {
    std::vector<std::uint8_t> fromFile(length, 0xEE);
    std::vector<std::uint8_t> fromMemory(length, 0xEE);
    const ReadResult fileRead = readAt(file, offset, fromFile);
    const ReadResult memoryRead = readAt(memory, offset, fromMemory);
    ASSERT_EQ(fileRead.error, 0) << offset;
    ASSERT_EQ(fileRead.count, memoryRead.count) << offset;
    ASSERT_EQ(fromFile, fromMemory) << offset;
  }

  // A read goes on where the one before stopped.
  std::vector<std::uint8_t> first(10);
  std::vector<std::uint8_t> second(10);
  ASSERT_EQ(readAt(file, 32 * 1024 - 10, first).count, 10U);
  ASSERT_EQ(file.read(second).count, 10U);
  EXPECT_TRUE(std::equal(second.begin(), second.end(), bytes.begin() + std::ptrdiff_t{32} * 1024));

  file.close();
  std::filesystem::remove(path);
}

TEST(InputFile, OpenReportsThePlatformError) {
  FileInput file;
  EXPECT_EQ(file.open(scratchFile(".missing").string().c_str()), ENOENT);
}

}  // namespace
