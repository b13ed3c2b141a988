// Runs the built executable on databases written by the fixture builder and checks standard
// output, standard error and the exit status.

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdb_builder.h"
#include "tool_process.h"

namespace {

const std::string kBanner =
    "VellorinExport v1.0 -> Vellorin Export utility\n"
    "Usage: vellorin-export DATABASE.pdb > readings.csv\n\n"
    "Error: you must supply the input PDB file!\n"
    "\nFor further information go to: https://example.org/vellorin\n\n";

const Reading kMorning{palmStamp(2003, 5, 17, 7, 5), 128, 84, 66};
const Reading kEvening{palmStamp(2003, 5, 17, 21, 30), 122, 79, 70};
const Reading kJune{palmStamp(2003, 6, 1, 8, 0), 119, 77, 71};
const Reading kBefore1970{100, 1, 2, 3};
const std::string kThreeLines =
    "5/17/2003,7:05,128,84,66\n5/17/2003,21:30,122,79,70\n6/1/2003,8:00,119,77,71\n";

std::string systemError(int errorNumber) {
  return std::string("system error:: ") + std::strerror(errorNumber) + "\n";
}

std::string slurp(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A folder of its own for each test, holding the databases a case names.
class ExportCli : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("vellorin-cli-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder_);
    write("log.pdb",
          chainedDatabase(std::vector<std::vector<Reading>>{{kMorning, kEvening}, {kJune}}));
    write("-dash.pdb",
          chainedDatabase(std::vector<std::vector<Reading>>{{kMorning, kEvening, kJune}}));
    write("empty-list.pdb", chainedDatabase(std::vector<std::vector<Reading>>{{}}));
    write("old-stamp.pdb",
          chainedDatabase(std::vector<std::vector<Reading>>{{kBefore1970, kJune}}));
    DatabaseImage looping = chainedDatabase(std::vector<std::vector<Reading>>{{kMorning}});
    looping.linkList(72, 72);
    write("loop.pdb", looping);
    std::ofstream(folder_ / "empty.pdb").close();
    std::filesystem::create_directories(folder_ / "folder.pdb");
  }

  void TearDown() override { std::filesystem::remove_all(folder_); }

  void write(const char* name, const DatabaseImage& image) {
    writeFile(folder_ / name, image.bytes());
  }

  std::filesystem::path folder_;
};

struct CliCase {
  const char* name;
  std::vector<std::string> arguments;
  std::string out;
  std::string err;
  int status;
};

TEST_F(ExportCli, OutputErrorsAndStatusOfEveryKindOfRun) {
  const std::vector<CliCase> cases{
      {"no argument", {}, kBanner, "", 1},
      {"two readable files", {"log.pdb", "log.pdb"}, kBanner, "", 1},
      {"three arguments", {"a", "b", "c"}, kBanner, "", 1},
      {"a chain of two lists", {"log.pdb"}, kThreeLines, "", 0},
      {"a path beginning with a dash", {"-dash.pdb"}, kThreeLines, "", 0},
      {"an empty record list", {"empty-list.pdb"}, "", "", 0},
      {"a missing file",
       {"missing.pdb"},
       "Error opening file: missing.pdb\n",
       systemError(ENOENT),
       2},
#ifdef _WIN32
      {"a folder", {"folder.pdb"}, "Error opening file: folder.pdb\n", systemError(EACCES), 2},
#else
      {"a folder", {"folder.pdb"}, "Error reading file: folder.pdb\n", systemError(EISDIR), 3},
#endif
      {"an empty file",
       {"empty.pdb"},
       "Error reading file: empty.pdb\n",
       "file ends early: the database header at offset 0 needs 72 bytes, only 0 are there\n",
       3},
      {"a stamp before 1970", {"old-stamp.pdb"}, "6/1/2003,8:00,119,77,71\n", "", 4},
      {"a loop of lists",
       {"loop.pdb"},
       "5/17/2003,7:05,128,84,66\nError reading file: loop.pdb\n",
       "the record lists form a loop: the list at offset 72 leads back to the list at offset 72\n",
       3},
  };
  for (const CliCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = runTool(c.arguments, folder_);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, platformLines(c.out));
    if (c.status == 4) {
      // The text after the prefix is whatever error number the platform left; only its form is
      // fixed.
      EXPECT_EQ(run.err.rfind("gmtime call failed: ", 0), 0U) << run.err;
      EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    } else {
      EXPECT_EQ(run.err, platformLines(c.err));
    }
  }
}

TEST_F(ExportCli, StandardOutputThatCannotBeWrittenEndsWithStatusFive) {
  struct OutputCase {
    const char* name;
    std::vector<std::string> arguments;
    StdoutTarget target;
    std::string err;
    int status;
  };
  const std::string lost = "Error writing standard output: ";
  const std::vector<OutputCase> cases{
#ifndef _WIN32  // Windows has no device like /dev/full, whose every write fails for want of space
      {"readings to a full disk",
       {"log.pdb"},
       StdoutTarget::kFull,
       lost + std::strerror(ENOSPC) + "\n",
       5},
      {"the banner to a full disk",
       {},
       StdoutTarget::kFull,
       lost + std::strerror(ENOSPC) + "\n",
       5},
#endif
      {"readings to a closed descriptor",
       {"log.pdb"},
       StdoutTarget::kClosed,
       lost + std::strerror(EBADF) + "\n",
       5},
      {"nothing to write, nothing lost", {"empty-list.pdb"}, StdoutTarget::kClosed, "", 0},
  };
  for (const OutputCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = runTool(c.arguments, folder_, c.target);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, platformLines(c.err));
  }
}

TEST_F(ExportCli, SampleDatabaseExportsAsShipped) {
  // Absolute for the same reason as the tool's path (see main): the tool runs in another folder.
  const std::filesystem::path examples = std::filesystem::absolute(VELLORIN_EXAMPLES_DIR);
  const ToolRun run = runTool({(examples / "sample.pdb").string()}, folder_);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, platformLines(slurp(examples / "sample.csv")));
}

// A reading's bytes at `at`, for fixtures whose offsets matter themselves.
// Windows reads a file opened in text mode with CR LF turned into LF and with 0x1A as its end.
// Such bytes stand here in a list's next offset, in data offsets, in stamps and in measurements,
// so a text-mode read would lose lists and readings or shift every byte after the first CR LF.
TEST_F(ExportCli, BytesThatTextModeWouldAlterReachTheExportUnchanged) {
  constexpr std::uint32_t kSecondList = 0x0D0A;
  constexpr std::uint32_t kFarReading = 0x1A0D;
  constexpr std::uint32_t kEarlyReading = 0x0A0D;
  DatabaseImage image;
  const std::vector<std::uint32_t> firstEntries{94, kFarReading};
  image.putList(72, kSecondList, firstEntries);
  image.putReading(94, {0xBC0D0A1AU, 133, 13, 10, 0x1A});
  image.putReading(kFarReading, {0xBA1A0D0AU, 126, 26, 13, 10});
  const std::vector<std::uint32_t> secondEntries{kEarlyReading};
  image.putList(kSecondList, 0, secondEntries);
  image.putReading(kEarlyReading, {0xBB0A0D0AU, 141, 82, 64, 0});
  write("text-traps.pdb", image);

  // The fixture keeps its point: an end-of-file byte and a CR LF before the first reading ends.
  const std::vector<std::uint8_t>& bytes = image.bytes();
  const auto firstReadingEnd = bytes.begin() + 94 + 7;
  const std::vector<std::uint8_t> crlf{0x0D, 0x0A};
  ASSERT_NE(std::find(bytes.begin(), firstReadingEnd, 0x1A), firstReadingEnd);
  ASSERT_NE(std::search(bytes.begin(), firstReadingEnd, crlf.begin(), crlf.end()), firstReadingEnd);

  const ToolRun run = runTool({"text-traps.pdb"}, folder_);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, platformLines("12/22/2003,20:52,133,13,10\n"
                                   "12/9/2002,9:04,126,26,13\n"
                                   "6/9/2003,10:08,141,82,64\n"));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    (void)std::fprintf(stderr, "usage: %s TOOL [EMULATOR...]\n", argv[0]);
    return 2;
  }
  // The emulator, when there is one, comes first on the command line that starts the tool.
  // The tool's path is made absolute here, in the folder CTest started us in: the tool runs in
  // another folder. Under Wine this also turns a Unix path (/build/x.exe, which Windows reads
  // as \build\x.exe on the current drive, Z:) into Z:\build\x.exe, which stays valid when the
  // current folder is on drive C:.
  std::vector<std::string> command(argv + 2, argv + argc);
  command.push_back(std::filesystem::absolute(argv[1]).string());
  setToolCommand(command);
  return RUN_ALL_TESTS();
}
