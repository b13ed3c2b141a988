// Databases whose record lists and readings stand beyond 2^31 and up to the top of the 32-bit
// range, read through the platform's file layer from sparse files of a little over 4 GiB. Offsets
// kept in 32 bits (or in a signed or 32-bit file position) wrap or turn negative here.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "input_file.h"
#include "pdb_builder.h"
#include "walk_outcome.h"

namespace {

constexpr std::uint64_t k2To31 = 0x80000000ULL;
constexpr std::uint64_t k2To32 = 0x100000000ULL;

const Reading kMorning{palmStamp(2003, 5, 17, 7, 5), 128, 84, 66};
const Reading kEvening{palmStamp(2003, 5, 17, 21, 30), 122, 79, 70};
const Reading kNextDay{palmStamp(2003, 5, 18, 6, 55), 131, 86, 62};
const Reading kJune{palmStamp(2003, 6, 1, 8, 0), 119, 77, 71};
const std::string kMorningLine = "5/17/2003,7:05,128,84,66\n";
const std::string kEveningLine = "5/17/2003,21:30,122,79,70\n";
const std::string kNextDayLine = "5/18/2003,6:55,131,86,62\n";
const std::string kJuneLine = "6/1/2003,8:00,119,77,71\n";
const std::string kHeadline = "Error reading file: log.pdb\n";

// Bytes for an absolute offset of the file; everything between pieces is a hole of zeros.
struct Piece {
  std::uint64_t at;
  std::vector<std::uint8_t> bytes;
};

// What the fixture builder writes behind the database header, taken out to be placed anywhere.
std::vector<std::uint8_t> afterHeader(const DatabaseImage& image) {
  return {image.bytes().begin() + 72, image.bytes().end()};
}

Piece header() {
  const DatabaseImage image;
  return {0, image.bytes()};
}

Piece list(std::uint64_t at, std::uint32_t nextListOffset,
           const std::vector<std::uint32_t>& dataOffsets) {
  DatabaseImage image;
  image.putList(image.size(), nextListOffset, dataOffsets);
  return {at, afterHeader(image)};
}

// A reading's record, cut to its first `length` bytes when the file ends inside it.
Piece reading(std::uint64_t at, const Reading& value, std::size_t length = 8) {
  DatabaseImage image;
  image.appendReading(value);
  std::vector<std::uint8_t> bytes = afterHeader(image);
  bytes.resize(length);
  return {at, bytes};
}

std::uint64_t endOf(const std::vector<Piece>& pieces) {
  std::uint64_t end = 0;
  for (const Piece& piece : pieces) {
    end = std::max(end, piece.at + piece.bytes.size());
  }
  return end;
}

// Writes the pieces with seeks over the gaps, so that a file system with holes stores little.
// Returns why the file could not be made, if it could not.
std::optional<std::string> writeSparse(const std::filesystem::path& path,
                                       const std::vector<Piece>& pieces) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  for (const Piece& piece : pieces) {
    file.seekp(static_cast<std::streamoff>(piece.at));
    file.write(reinterpret_cast<const char*>(piece.bytes.data()),
               static_cast<std::streamsize>(piece.bytes.size()));
    if (!file) {
      return "writing at offset " + std::to_string(piece.at) + " failed";
    }
  }
  file.close();
  if (!file) {
    return std::string("closing the file failed");
  }
  return std::nullopt;
}

// Removes the file however the test ends.
struct RemovedAtEnd {
  std::filesystem::path path;
  ~RemovedAtEnd() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
};

struct LargeCase {
  const char* name;
  std::vector<Piece> pieces;
  std::string out;
  std::string err;
  ExitStatus status;
};

TEST(LargeOffsets, ListsAndReadingsUpToTheTopOfThe32BitRange) {
  const std::vector<LargeCase> cases{
      {"a list above 2^32 - 100 whose entries run past 2^32, readings above 2^31",
       {header(), list(72, 0xFFFFFFF0U, {0x7FFFFFFCU}),
        reading(0x7FFFFFFCU, kMorning),  // across 2^31
        // Entries at 0xFFFFFFF6, across 2^32 at 0xFFFFFFFE, and wholly past it at 2^32 + 6.
        list(0xFFFFFFF0U, 0, {0x80000004U, 0xC0000007U, 0xFFFFFFE0U}),
        reading(0x80000004U, kEvening), reading(0xC0000007U, kNextDay),
        reading(0xFFFFFFE0U, kJune)},
       kMorningLine + kEveningLine + kNextDayLine + kJuneLine,
       "",
       ExitStatus::kSuccess},
      {"a list at offset 4294967295 that leads back to the first",
       {header(), list(72, 0xFFFFFFFFU, {0xFFFFFFF7U}),
        reading(0xFFFFFFF7U, kMorning),  // its eighth byte is the last before the list
        list(0xFFFFFFFFU, 72, {0x80000000U}), reading(k2To31, kEvening)},
       kMorningLine + kEveningLine + kHeadline,
       "the record lists form a loop: the list at offset 4294967295 leads back to the list at "
       "offset 72\n",
       ExitStatus::kReadFailed},
      {"a reading at offset 4294967295 that the file ends seven bytes into",
       {header(), list(72, 0, {0xFFFFFFFFU, 0x80000000U}), reading(k2To31, kEvening),
        reading(0xFFFFFFFFU, kMorning, 7)},
       kMorningLine + kEveningLine,
       "",
       ExitStatus::kSuccess},
      {"a reading at offset 4294967295 that the file ends three bytes into",
       {header(), list(72, 0, {0xFFFFFFFFU, 0x80000000U}), reading(k2To31, kEvening),
        reading(0xFFFFFFFFU, kMorning, 3)},
       kHeadline + kEveningLine,
       "file ends early: the reading at offset 4294967295 needs 7 bytes, only 3 are there\n",
       ExitStatus::kReadFailed},
  };

  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  std::uint64_t largest = 0;
  for (const LargeCase& c : cases) {
    largest = std::max(largest, endOf(c.pieces));
  }
  ASSERT_GT(largest, k2To32);
  // A file system without holes (or Windows, which makes a file sparse only when asked) stores
  // the zeros too.
  if (std::filesystem::space(folder).available < largest) {
    GTEST_SKIP() << "less than " << largest << " bytes free in " << folder
                 << " for a file that may not be sparse";
  }

  for (const LargeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const RemovedAtEnd scratch{
        folder / ("vellorin-large-" + std::to_string(std::random_device{}()) + ".pdb")};
    if (const std::optional<std::string> failure = writeSparse(scratch.path, c.pieces)) {
      GTEST_SKIP() << "this platform cannot make a file of " << endOf(c.pieces) << " bytes in "
                   << folder << ": " << *failure;
    }
    ASSERT_EQ(std::filesystem::file_size(scratch.path), endOf(c.pieces));

    FileInput input;
    ASSERT_EQ(input.open(scratch.path.string().c_str()), 0);
    const WalkOutcome outcome = walkCaptured(input);
    input.close();
    EXPECT_EQ(outcome.out, c.out);
    EXPECT_EQ(outcome.err, c.err);
    EXPECT_EQ(outcome.status, c.status);
  }
}

}  // namespace
