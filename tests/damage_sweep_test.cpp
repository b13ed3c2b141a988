// Damaged copies of real databases: cut at every length, and every byte set to 0x00 and to 0xFF
// in turn. Damage may lose readings; it must never invent one, hang, or go unreported.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fault_input.h"
#include "pdb_builder.h"
#include "walk_outcome.h"

namespace {

struct Fixture {
  const char* name;
  std::vector<std::uint8_t> bytes;
};

std::vector<Fixture> fixtures() {
  const std::filesystem::path sample = std::filesystem::path(VELLORIN_EXAMPLES_DIR) / "sample.pdb";
  std::ifstream file(sample, std::ios::binary);
  std::vector<std::uint8_t> sampleBytes{std::istreambuf_iterator<char>(file),
                                        std::istreambuf_iterator<char>()};
  const std::vector<std::vector<Reading>> lists{{{palmStamp(2003, 5, 17, 7, 5), 128, 84, 66, 0},
                                                 {palmStamp(2003, 5, 17, 21, 30), 122, 79, 70, 0},
                                                 {palmStamp(2003, 5, 18, 6, 55), 131, 86, 62, 0}},
                                                {{palmStamp(2003, 6, 1, 8, 0), 119, 77, 71, 0},
                                                 {palmStamp(2003, 6, 1, 22, 10), 125, 80, 65, 0}}};
  return {{"sample database", std::move(sampleBytes)},
          {"two chained lists", chainedDatabase(lists).bytes()}};
}

struct SweepRun {
  WalkOutcome outcome;
  std::uint64_t operations = 0;
};

// Walks a copy of `bytes` held in a buffer of exactly its size, so that the sanitizers see any
// read past its end, and counts the reads and moves the walk made.
SweepRun walkCopy(const std::vector<std::uint8_t>& bytes, std::size_t length) {
  // A vector made from a range holds exactly its bytes, with no spare capacity after them.
  const std::vector<std::uint8_t> exact(bytes.begin(),
                                        bytes.begin() + static_cast<std::ptrdiff_t>(length));
  MemoryInput memory(exact);
  FaultInput counting(memory, FaultInput::Kind::kNone, 0, 0);
  SweepRun run{walkCaptured(counting), 0};
  run.operations = counting.reads() + counting.moves();
  return run;
}

// The reading lines of an output, without the error headlines.
std::vector<std::string> readingLines(const std::string& out) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = out.find('\n'); end != std::string::npos;
       start = end + 1, end = out.find('\n', start)) {
    std::string line = out.substr(start, end - start);
    if (line != "Error reading file: log.pdb") {
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

bool isSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
  auto next = whole.begin();
  for (const std::string& line : part) {
    next = std::find(next, whole.end(), line);
    if (next == whole.end()) {
      return false;
    }
    ++next;
  }
  return true;
}

// Far more reads and moves than any walk over a file of this size needs; an endless walk exceeds
// it.
std::uint64_t operationLimit(std::size_t size) { return 64 * size + 1000; }

TEST(DamageSweep, ACutFileLosesReadingsButNeverInventsThem) {
  for (const Fixture& fixture : fixtures()) {
    SCOPED_TRACE(fixture.name);
    ASSERT_GT(fixture.bytes.size(), 100U);
    const SweepRun intact = walkCopy(fixture.bytes, fixture.bytes.size());
    ASSERT_EQ(intact.outcome.status, ExitStatus::kSuccess);
    const std::vector<std::string> intactLines = readingLines(intact.outcome.out);

    for (std::size_t length = 0; length < fixture.bytes.size(); ++length) {
      SCOPED_TRACE("cut to " + std::to_string(length) + " bytes");
      const SweepRun cut = walkCopy(fixture.bytes, length);
      const std::vector<std::string> lines = readingLines(cut.outcome.out);
      EXPECT_TRUE(isSubsequence(lines, intactLines));
      if (lines != intactLines) {
        EXPECT_NE(cut.outcome.status, ExitStatus::kSuccess);
      }
      EXPECT_LE(cut.operations, operationLimit(length));
    }
  }
}

TEST(DamageSweep, EveryByteSetToZeroOrAllOnesEndsWithAKnownStatus) {
  for (const Fixture& fixture : fixtures()) {
    SCOPED_TRACE(fixture.name);
    for (std::size_t at = 0; at < fixture.bytes.size(); ++at) {
      for (const std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0xFF}}) {
        SCOPED_TRACE("byte " + std::to_string(at) + " set to " + std::to_string(value));
        std::vector<std::uint8_t> damaged = fixture.bytes;
        damaged[at] = value;
        const SweepRun run = walkCopy(damaged, damaged.size());
        EXPECT_TRUE(run.outcome.status == ExitStatus::kSuccess ||
                    run.outcome.status == ExitStatus::kReadFailed ||
                    run.outcome.status == ExitStatus::kStampFailed);
        EXPECT_LE(run.operations, operationLimit(damaged.size()));
      }
    }
  }
}

}  // namespace
