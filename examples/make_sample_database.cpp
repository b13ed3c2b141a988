// The recipe of sample.pdb: four weeks of a blood-pressure log as a handheld stored it, with two
// or three readings a day (systolic, diastolic, pulse). Deterministic: the same file every time.
//
//   make_sample_database sample.pdb

#include <cstdint>
#include <cstdio>
#include <vector>

#include "pdb_builder.h"

namespace {

// A small generator whose sequence is fixed on every platform.
class Dice {
 public:
  unsigned roll(unsigned sides) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>(state_ >> 33U) % sides;
  }

 private:
  std::uint64_t state_ = 20030303;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    (void)std::fprintf(stderr, "usage: %s OUTPUT.pdb\n", argv[0]);
    return 2;
  }
  Dice dice;
  std::vector<Reading> readings;
  for (unsigned day = 0; day < 28; ++day) {
    const unsigned dayOfMonth = 3 + day;  // Monday 3 March 2003 to Sunday 30 March
    const auto reading = [&](unsigned hour, unsigned minute, unsigned rise) {
      readings.push_back({palmStamp(2003, 3, dayOfMonth, hour, minute, dice.roll(60)),
                          static_cast<std::uint8_t>(118 + rise + dice.roll(18)),
                          static_cast<std::uint8_t>(74 + rise / 2 + dice.roll(12)),
                          static_cast<std::uint8_t>(58 + dice.roll(20)), 0});
    };
    // Each roll in a statement of its own: the order of function arguments is unspecified.
    const unsigned wakingHour = 6 + dice.roll(2);
    reading(wakingHour, dice.roll(60), 6);
    if (dice.roll(3) == 0) {
      reading(13, dice.roll(40), 0);  // after lunch, now and then
    }
    const unsigned bedHour = 21 + dice.roll(2);
    reading(bedHour, dice.roll(60), 0);
  }

  DatabaseImage image("Vellorin BP Log");
  image.appendList(readings);
  writeFile(argv[1], image.bytes());
  return 0;
}
