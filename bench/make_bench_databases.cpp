// Writes the benchmark databases, the same bytes for the same seed:
//   max1     one record list of 65535 entries, the readings after the entry table
//   chain1m  16 chained lists of 65535 entries, each list with its readings in a region of its own
//   scatter  like max1, but the readings stand in the file in random order
//   loop     100,000 empty lists at random places, the last leading back to the 50,000th
//   loop10x  the same with 1,000,000 lists, back to the 500,000th
//
//   make_bench_databases FOLDER [SEED]

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <vector>

#include "pdb_builder.h"

namespace {

constexpr std::uint32_t kFirstList = 72;
constexpr std::uint32_t kMaxEntries = 65535;

// A generator whose sequence is the same on every platform.
class Dice {
 public:
  explicit Dice(std::uint64_t seed) : state_(seed) {}
  std::uint32_t roll(std::uint32_t sides) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33U) % sides;
  }

 private:
  std::uint64_t state_;
};

// 65535 readings rising from 1998 to 2039, about four a day, with plausible values.
std::vector<Reading> logOfYears(Dice& dice) {
  const std::uint32_t first = palmStamp(1998, 1, 1, 0, 0);
  const std::uint32_t last = palmStamp(2039, 12, 31, 23, 59);
  const std::uint32_t step = (last - first) / kMaxEntries;
  std::vector<Reading> readings;
  std::uint32_t stamp = first;
  for (std::uint32_t i = 0; i < kMaxEntries; ++i) {
    stamp += step / 2 + dice.roll(step);
    readings.push_back({stamp, static_cast<std::uint8_t>(105 + dice.roll(50)),
                        static_cast<std::uint8_t>(65 + dice.roll(30)),
                        static_cast<std::uint8_t>(50 + dice.roll(45)), 0});
  }
  return readings;
}

// Lists of `count` empty lists in slots shuffled over the file, chained in slot-number order with
// the last leading back to list number `loopTo`.
DatabaseImage loopOfLists(Dice& dice, std::uint32_t count, std::uint32_t loopTo) {
  std::vector<std::uint32_t> slots(count);
  std::iota(slots.begin(), slots.end(), 0U);
  for (std::uint32_t i = count - 1; i > 1; --i) {  // the first list must stay at the first slot
    std::swap(slots[i], slots[1 + dice.roll(i)]);
  }
  const auto offsetOf = [&](std::uint32_t list) { return kFirstList + 6 * slots[list]; };
  DatabaseImage image;
  for (std::uint32_t list = 0; list < count; ++list) {
    const std::uint32_t next = list + 1 < count ? offsetOf(list + 1) : offsetOf(loopTo);
    image.putList(offsetOf(list), next, {});
  }
  return image;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2 || argc > 3) {
    (void)std::fprintf(stderr, "usage: %s FOLDER [SEED]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder(argv[1]);
  const std::uint64_t seed = argc == 3 ? std::strtoull(argv[2], nullptr, 10) : 1998;
  std::filesystem::create_directories(folder);
  Dice dice(seed);

  writeFile(folder / "max1.pdb", singleListDatabase(logOfYears(dice)).bytes());

  std::vector<std::vector<Reading>> lists;
  lists.reserve(16);
  for (int i = 0; i < 16; ++i) {
    lists.push_back(logOfYears(dice));
  }
  writeFile(folder / "chain1m.pdb", chainedDatabase(lists).bytes());

  // The entries keep their order; the readings they point at are shuffled through the file.
  const std::vector<Reading> readings = logOfYears(dice);
  std::vector<std::uint32_t> order(readings.size());
  std::iota(order.begin(), order.end(), 0U);
  for (std::uint32_t i = static_cast<std::uint32_t>(order.size()) - 1; i > 0; --i) {
    std::swap(order[i], order[dice.roll(i + 1)]);
  }
  DatabaseImage scatter;
  const std::uint32_t dataStart = kFirstList + 6 + 8 * kMaxEntries;
  std::vector<std::uint32_t> dataOffsets(readings.size());
  for (std::uint32_t i = 0; i < readings.size(); ++i) {
    dataOffsets[i] = dataStart + 8 * order[i];
  }
  scatter.putList(kFirstList, 0, dataOffsets);
  for (std::uint32_t i = 0; i < readings.size(); ++i) {
    scatter.putReading(dataOffsets[i], readings[i]);
  }
  writeFile(folder / "scatter.pdb", scatter.bytes());

  writeFile(folder / "loop.pdb", loopOfLists(dice, 100000, 49999).bytes());
  writeFile(folder / "loop10x.pdb", loopOfLists(dice, 1000000, 499999).bytes());
  return 0;
}
