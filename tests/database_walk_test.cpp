#include "database_walk.h"

#include <cerrno>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fault_input.h"
#include "pdb_builder.h"
#include "walk_outcome.h"

namespace {

const Reading kMorning{palmStamp(2003, 5, 17, 7, 5), 128, 84, 66};
const Reading kEvening{palmStamp(2003, 5, 17, 21, 30), 122, 79, 70};
const Reading kNextDay{palmStamp(2003, 5, 18, 6, 55), 131, 86, 62};
const Reading kJune{palmStamp(2003, 6, 1, 8, 0), 119, 77, 71};
const Reading kBefore1970{100, 1, 2, 3};

constexpr const char* kMorningLine = "5/17/2003,7:05,128,84,66\n";
constexpr const char* kEveningLine = "5/17/2003,21:30,122,79,70\n";
constexpr const char* kNextDayLine = "5/18/2003,6:55,131,86,62\n";
constexpr const char* kJuneLine = "6/1/2003,8:00,119,77,71\n";
constexpr const char* kHeadline = "Error reading file: log.pdb\n";
constexpr const char* kStampFailure = "gmtime call failed: *\n";

// Offsets in a database whose lists each hold their readings after their entries.
constexpr std::uint32_t kFirstList = 72;
constexpr std::uint32_t entryAt(std::uint32_t list, std::uint32_t index) {
  return list + 6 + 8 * index;
}
constexpr std::uint32_t dataAt(std::uint32_t list, std::uint32_t count, std::uint32_t index) {
  return list + 6 + 8 * count + 8 * index;
}

DatabaseImage chained(const std::vector<std::vector<Reading>>& lists) {
  return chainedDatabase(lists);
}

struct WalkCase {
  const char* name;
  std::function<DatabaseImage()> build;
  std::string out;
  std::string err;
  ExitStatus status;
};

std::string cat(std::initializer_list<const char*> parts) {
  std::string text;
  for (const char* part : parts) {
    text += part;
  }
  return text;
}

const std::vector<WalkCase>& walkCases() {
  static const std::vector<WalkCase> cases{
      {"entries in their stored order, unsorted",
       [] {
         return chained({{kNextDay, kMorning, kEvening}});
       },
       cat({kNextDayLine, kMorningLine, kEveningLine}), "", ExitStatus::kSuccess},
      {"an empty list prints nothing", [] { return chained({{}}); }, "", "", ExitStatus::kSuccess},
      {"a chain of two lists, first list first",
       [] {
         return chained({{kMorning, kEvening}, {kJune}});
       },
       cat({kMorningLine, kEveningLine, kJuneLine}), "", ExitStatus::kSuccess},
      {"an unconvertible stamp: the list goes on, the chain stops",
       [] {
         return chained({{kBefore1970, kMorning, kEvening}, {kJune}});
       },
       cat({kMorningLine, kEveningLine}), kStampFailure, ExitStatus::kStampFailed},
      {"a last record of seven bytes is complete",
       [] {
         DatabaseImage image = chained({{kMorning}});
         image.truncate(image.size() - 1);
         return image;
       },
       kMorningLine, "", ExitStatus::kSuccess},
      {"attribute flags do not filter",
       [] {
         DatabaseImage image;
         image.appendList(std::vector{kMorning, kEvening}, 0xF0);
         return image;
       },
       cat({kMorningLine, kEveningLine}), "", ExitStatus::kSuccess},
      {"two entries sharing a record print it twice",
       [] {
         DatabaseImage image;
         const std::uint32_t data = dataAt(kFirstList, 2, 0);
         image.putList(kFirstList, 0, std::vector{data, data});
         image.appendReading(kJune);
         return image;
       },
       cat({kJuneLine, kJuneLine}), "", ExitStatus::kSuccess},
      {"an empty file",
       [] {
         DatabaseImage image;
         image.truncate(0);
         return image;
       },
       kHeadline,
       "file ends early: the database header at offset 0 needs 72 bytes, only 0 are there\n",
       ExitStatus::kReadFailed},
      {"a database header cut short",
       [] {
         DatabaseImage image;
         image.truncate(50);
         return image;
       },
       kHeadline,
       "file ends early: the database header at offset 0 needs 72 bytes, only 50 are there\n",
       ExitStatus::kReadFailed},
      {"a first list header cut short",
       [] {
         DatabaseImage image = chained({{kMorning}});
         image.truncate(75);
         return image;
       },
       kHeadline,
       "file ends early: the record list header at offset 72 needs 6 bytes, only 3 are there\n",
       ExitStatus::kReadFailed},
      {"an entry table cut short stops the walk",
       [] {
         // A second list whose entries point back at the first list's readings, cut inside
         // its second entry.
         DatabaseImage image = chained({{kMorning, kEvening}});
         const std::uint32_t second = image.size();
         image.putList(second, 0, std::vector{dataAt(kFirstList, 2, 0), dataAt(kFirstList, 2, 1)});
         image.linkList(kFirstList, second);
         image.truncate(entryAt(second, 1) + 3);
         return image;
       },
       cat({kMorningLine, kEveningLine, kMorningLine, kHeadline}),
       "file ends early: the record entry at offset 124 needs 8 bytes, only 3 are there\n",
       ExitStatus::kReadFailed},
      {"a reading past the end is lost alone, the list goes on, the chain stops",
       [] {
         DatabaseImage image = chained({{kMorning, kEvening, kNextDay}, {kJune}});
         image.put32(entryAt(kFirstList, 1), 0xFFFFFFF0U);
         return image;
       },
       cat({kMorningLine, kHeadline, kNextDayLine}),
       "file ends early: the reading at offset 4294967280 needs 7 bytes, only 0 are there\n",
       ExitStatus::kReadFailed},
      {"a last reading of six bytes is lost",
       [] {
         DatabaseImage image = chained({{kMorning, kEvening}});
         image.truncate(image.size() - 2);
         return image;
       },
       cat({kMorningLine, kHeadline}),
       "file ends early: the reading at offset 102 needs 7 bytes, only 6 are there\n",
       ExitStatus::kReadFailed},
      {"a stamp failure after a lost reading sets the status last",
       [] {
         DatabaseImage image = chained({{kMorning, kBefore1970}});
         image.put32(entryAt(kFirstList, 0), 0xFFFFFFFFU);
         return image;
       },
       kHeadline,
       cat({"file ends early: the reading at offset 4294967295 needs 7 bytes, only 0 are there\n",
            kStampFailure}),
       ExitStatus::kStampFailed},
      {"a lost reading after a stamp failure sets the status last",
       [] {
         DatabaseImage image = chained({{kBefore1970, kMorning}});
         image.put32(entryAt(kFirstList, 1), 0xFFFFFFFFU);
         return image;
       },
       kHeadline,
       cat({kStampFailure,
            "file ends early: the reading at offset 4294967295 needs 7 bytes, only 0 are there\n"}),
       ExitStatus::kReadFailed},
      {"a list that leads to itself is visited once",
       [] {
         DatabaseImage image = chained({{kMorning}});
         image.linkList(kFirstList, kFirstList);
         return image;
       },
       cat({kMorningLine, kHeadline}),
       "the record lists form a loop: the list at offset 72 leads back to the list at offset 72\n",
       ExitStatus::kReadFailed},
      {"a third list leading back to the second ends the walk after it",
       [] {
         DatabaseImage image = chained({{kMorning}, {kEvening}, {kNextDay}});
         image.linkList(116, 94);
         return image;
       },
       cat({kMorningLine, kEveningLine, kNextDayLine, kHeadline}),
       "the record lists form a loop: the list at offset 116 leads back to the list at offset 94\n",
       ExitStatus::kReadFailed},
      {"a next list beyond the end of the file",
       [] {
         DatabaseImage image = chained({{kMorning}});
         image.linkList(kFirstList, 0xFFFFFFFFU);
         return image;
       },
       cat({kMorningLine, kHeadline}),
       "file ends early: the record list header at offset 4294967295 needs 6 bytes, only 0 are "
       "there\n",
       ExitStatus::kReadFailed},
      {"an entry count far beyond the file",
       [] {
         DatabaseImage image;
         image.putList(kFirstList, 0, {});
         image.put16(kFirstList + 4, 0xFFFF);
         return image;
       },
       kHeadline,
       "file ends early: the record entry at offset 78 needs 8 bytes, only 0 are there\n",
       ExitStatus::kReadFailed},
  };
  return cases;
}

TEST(DatabaseWalk, ExportsWhatTheFileHoldsAndReportsWhatIsWrong) {
  for (const WalkCase& c : walkCases()) {
    SCOPED_TRACE(c.name);
    const DatabaseImage image = c.build();
    MemoryInput input(image.bytes());
    const WalkOutcome outcome = walkCaptured(input);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.out, c.out);
    EXPECT_TRUE(linesMatch(outcome.err, c.err)) << outcome.err;
  }
}

TEST(DatabaseWalk, LongLoopsEndAfterEveryListWasVisitedOnce) {
  // 300 empty lists; the last leads back to list 200. Each list is then visited exactly once.
  DatabaseImage image;
  std::vector<std::uint32_t> lists;
  for (int i = 0; i < 300; ++i) {
    lists.push_back(image.appendList(std::vector{
        Reading{palmStamp(2001, 1, 1, 0, 0) + static_cast<std::uint32_t>(i) * 60, 100, 70, 60}}));
    if (i > 0) {
      image.linkList(lists[lists.size() - 2], lists.back());
    }
  }
  image.linkList(lists.back(), lists[200]);
  MemoryInput input(image.bytes());
  const WalkOutcome outcome = walkCaptured(input);
  EXPECT_EQ(outcome.status, ExitStatus::kReadFailed);
  EXPECT_EQ(std::count(outcome.out.begin(), outcome.out.end(), '\n'), 301);
  std::set<std::string> distinct;
  std::size_t start = 0;
  for (std::size_t end = outcome.out.find('\n'); end != std::string::npos;
       start = end + 1, end = outcome.out.find('\n', start)) {
    distinct.insert(outcome.out.substr(start, end - start));
  }
  EXPECT_EQ(distinct.size(), 301U);  // 300 readings and the headline
  EXPECT_EQ(outcome.out.substr(outcome.out.size() - std::strlen(kHeadline)), kHeadline);
  EXPECT_EQ(outcome.err, "the record lists form a loop: the list at offset " +
                             std::to_string(lists.back()) + " leads back to the list at offset " +
                             std::to_string(lists[200]) + "\n");
}

// Notes the kind and offset of every operation of a walk, in order.
struct Operation {
  FaultInput::Kind kind;
  std::uint64_t offset;
};

class RecordingInput final : public InputSource {
 public:
  RecordingInput(InputSource& inner, std::vector<Operation>& log) : inner_(inner), log_(log) {}

  ReadResult read(std::span<std::uint8_t> buffer) override {
    log_.push_back({FaultInput::Kind::kRead, position_});
    const ReadResult result = inner_.read(buffer);
    position_ += result.count;
    return result;
  }

  int moveTo(std::uint64_t offset) override {
    log_.push_back({FaultInput::Kind::kMove, offset});
    position_ = offset;
    return inner_.moveTo(offset);
  }

 private:
  InputSource& inner_;
  std::vector<Operation>& log_;
  std::uint64_t position_ = 0;
};

// Every read and every move of a walk over two chained lists fails in turn. The walk then prints
// the readings that stand before the failure in the export's order, the headline, the platform's
// error text, and nothing else.
TEST(DatabaseWalk, AFailedReadOrMoveAnywhereStopsTheExportThere) {
  const DatabaseImage image = chained({{kMorning, kEvening}, {kJune}});
  constexpr std::uint32_t kSecondList = dataAt(kFirstList, 2, 2);
  const std::set<std::uint32_t> readingOffsets{dataAt(kFirstList, 2, 0), dataAt(kFirstList, 2, 1),
                                               dataAt(kSecondList, 1, 0)};
  const std::vector<std::string> lines{kMorningLine, kEveningLine, kJuneLine};

  std::vector<Operation> operations;
  {
    MemoryInput memory(image.bytes());
    RecordingInput recorder(memory, operations);
    ASSERT_EQ(walkCaptured(recorder).status, ExitStatus::kSuccess);
  }

  std::uint64_t readsSoFar = 0;
  std::uint64_t movesSoFar = 0;
  std::size_t readingsBefore = 0;
  for (const Operation& operation : operations) {
    const std::uint64_t failAt =
        operation.kind == FaultInput::Kind::kRead ? ++readsSoFar : ++movesSoFar;
    // A failure at a list header stands, in the export's order, after every reading of the lists
    // before it, even when it happens while the chain is measured up front.
    std::size_t expectedLines = readingsBefore;
    if (operation.offset == kFirstList) {
      expectedLines = 0;
    } else if (operation.offset == kSecondList) {
      expectedLines = 2;
    }
    SCOPED_TRACE(std::string(operation.kind == FaultInput::Kind::kRead ? "read " : "move ") +
                 std::to_string(failAt) + " at offset " + std::to_string(operation.offset));

    MemoryInput memory(image.bytes());
    FaultInput faulty(memory, operation.kind, failAt, EIO);
    const WalkOutcome outcome = walkCaptured(faulty);
    std::string expectedOut;
    for (std::size_t i = 0; i < expectedLines; ++i) {
      expectedOut += lines[i];
    }
    expectedOut += kHeadline;
    EXPECT_EQ(outcome.status, ExitStatus::kReadFailed);
    EXPECT_EQ(outcome.out, expectedOut);
    EXPECT_EQ(outcome.err, std::string("system error:: ") + std::strerror(EIO) + "\n");

    if (operation.kind == FaultInput::Kind::kRead &&
        readingOffsets.count(static_cast<std::uint32_t>(operation.offset)) != 0) {
      ++readingsBefore;
    }
  }
  EXPECT_EQ(readingsBefore, lines.size());
}

}  // namespace
