// The recipe of the seed corpus: databases of every shape the walk knows, written with the test
// fixture builder into the folder given.
//
//   make_seed_corpus fuzz/corpus

#include <filesystem>
#include <string>
#include <vector>

#include "pdb_builder.h"

namespace {

using Lists = std::vector<std::vector<Reading>>;

std::vector<Reading> week(int day) {
  std::vector<Reading> readings;
  for (unsigned i = 0; i < 7; ++i) {
    readings.push_back({palmStamp(2003, 3, static_cast<unsigned>(day) + i, 7, 5 * i),
                        static_cast<std::uint8_t>(120 + i), static_cast<std::uint8_t>(80 + i),
                        static_cast<std::uint8_t>(60 + i), 0});
  }
  return readings;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    return 2;
  }
  const std::filesystem::path folder(argv[1]);
  std::filesystem::create_directories(folder);
  const auto save = [&](const char* name, const DatabaseImage& image) {
    writeFile(folder / (std::string(name) + ".pdb"), image.bytes());
  };

  save("single-list", chainedDatabase(Lists{week(3)}));
  save("two-lists", chainedDatabase(Lists{week(3), week(10)}));
  save("empty-list", chainedDatabase(Lists{{}}));
  save("old-stamp", chainedDatabase(Lists{{Reading{5, 1, 2, 3, 0}, week(3)[0]}}));
  save("last-stamp", chainedDatabase(Lists{{Reading{0xFFFFFFFFU, 255, 0, 255, 0}}}));

  DatabaseImage selfLoop = chainedDatabase(Lists{week(3)});
  selfLoop.linkList(72, 72);
  save("self-loop", selfLoop);

  DatabaseImage longLoop = chainedDatabase(Lists{week(3), week(10), week(17)});
  longLoop.linkList(longLoop.size() - (6 + 7 * 16), 72);
  save("loop-to-first", longLoop);

  DatabaseImage shared;
  shared.putList(72, 0, std::vector<std::uint32_t>{94, 94});
  shared.appendReading(week(3)[0]);
  save("shared-record", shared);

  DatabaseImage cut = chainedDatabase(Lists{week(3)});
  cut.truncate(cut.size() - 3);
  save("cut-reading", cut);

  DatabaseImage farData = chainedDatabase(Lists{week(3)});
  farData.put32(78, 0xFFFFFFF0U);
  save("far-reading", farData);
  return 0;
}
