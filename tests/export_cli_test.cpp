// Runs the built executable on databases written by the fixture builder and checks standard
// output, standard error and the exit status.

#include <cerrno>
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
    write("log.pdb", chainedDatabase(std::vector<std::vector<Reading>>{{kMorning, kEvening}, {kJune}}));
    write("-dash.pdb", chainedDatabase(std::vector<std::vector<Reading>>{{kMorning, kEvening, kJune}}));
    write("empty-list.pdb", chainedDatabase(std::vector<std::vector<Reading>>{{}}));
    write("old-stamp.pdb", chainedDatabase(std::vector<std::vector<Reading>>{{kBefore1970, kJune}}));
    DatabaseImage looping = chainedDatabase(std::vector<std::vector<Reading>>{{kMorning}});
    looping.linkList(72, 72);
    write("loop.pdb", looping);
    std::ofstream(folder_ / "empty.pdb").close();
    std::filesystem::create_directories(folder_ / "folder.pdb");
  }

  void TearDown() override { std::filesystem::remove_all(folder_); }

  void write(const char* name, const DatabaseImage& image) { writeFile(folder_ / name, image.bytes()); }

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
      {"a missing file", {"missing.pdb"}, "Error opening file: missing.pdb\n", systemError(ENOENT), 2},
#ifdef _WIN32
      {"a folder", {"folder.pdb"}, "Error opening file: folder.pdb\n", systemError(EACCES), 2},
#else
      {"a folder", {"folder.pdb"}, "Error reading file: folder.pdb\n", systemError(EISDIR), 3},
#endif
      {"an empty file", {"empty.pdb"}, "Error reading file: empty.pdb\n",
       "file ends early: the database header at offset 0 needs 72 bytes, only 0 are there\n", 3},
      {"a stamp before 1970", {"old-stamp.pdb"}, "6/1/2003,8:00,119,77,71\n", "", 4},
      {"a loop of lists", {"loop.pdb"}, "5/17/2003,7:05,128,84,66\nError reading file: loop.pdb\n",
       "the record lists form a loop: the list at offset 72 leads back to the list at offset 72\n", 3},
  };
  for (const CliCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = runTool(c.arguments, folder_);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, platformLines(c.out));
    if (c.status == 4) {
      // The text after the prefix is whatever error number the platform left; only its form is fixed.
      EXPECT_EQ(run.err.rfind("gmtime call failed: ", 0), 0U) << run.err;
      EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    } else {
      EXPECT_EQ(run.err, platformLines(c.err));
    }
  }
}

#ifndef _WIN32
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
      {"readings to a full disk", {"log.pdb"}, StdoutTarget::kFull, lost + std::strerror(ENOSPC) + "\n", 5},
      {"the banner to a full disk", {}, StdoutTarget::kFull, lost + std::strerror(ENOSPC) + "\n", 5},
      {"readings to a closed descriptor", {"log.pdb"}, StdoutTarget::kClosed, lost + std::strerror(EBADF) + "\n", 5},
      {"nothing to write, nothing lost", {"empty-list.pdb"}, StdoutTarget::kClosed, "", 0},
  };
  for (const OutputCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = runTool(c.arguments, folder_, c.target);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, c.err);
  }
}
#endif

TEST_F(ExportCli, SampleDatabaseExportsAsShipped) {
  const std::filesystem::path examples = VELLORIN_EXAMPLES_DIR;
  const ToolRun run = runTool({(examples / "sample.pdb").string()}, folder_);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, platformLines(slurp(examples / "sample.csv")));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s TOOL [EMULATOR...]\n", argv[0]);
    return 2;
  }
  // The emulator, when there is one, comes first on the command line that starts the tool.
  std::vector<std::string> command(argv + 2, argv + argc);
  command.emplace_back(argv[1]);
  setToolCommand(command);
  return RUN_ALL_TESTS();
}
