#include "console.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "console_capture.h"

namespace {

TEST(Console, KeepsTheOrderOfLinesAndHeadlinesAcrossManyBufferLoads) {
  CapturedConsole captured;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    const std::string line = "line " + std::to_string(i) + "\n";
    captured.console().write(line);
    expected += line;
  }
  captured.console().writeHeadline("Error reading file: %s\n", "-odd path.pdb");
  expected += "Error reading file: -odd path.pdb\n";
  const std::string large(200000, 'x');
  captured.console().write(large);
  expected += large;
  EXPECT_TRUE(captured.finish());
  EXPECT_EQ(captured.out(), expected);
  EXPECT_EQ(captured.err(), "");
}

TEST(Console, ReportsLostOutputInThePerrorForm) {
  // A stream that takes no writes stands for a full disk or a closed descriptor.
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "vellorin-console-readonly.txt";
  std::FILE* create = std::fopen(path.string().c_str(), "w");
  ASSERT_NE(create, nullptr);
  std::fclose(create);
  std::FILE* readOnly = std::fopen(path.string().c_str(), "r");
  std::FILE* err = std::tmpfile();
  ASSERT_NE(readOnly, nullptr);
  ASSERT_NE(err, nullptr);

  Console console(readOnly, err);
  console.write("5/17/2003,7:05,128,84,66\n");
  EXPECT_FALSE(console.finish());

  std::rewind(err);
  std::array<char, 200> text{};
  const std::size_t got = std::fread(text.data(), 1, text.size() - 1, err);
  const std::string report(text.data(), got);
  EXPECT_EQ(report.rfind("Error writing standard output: ", 0), 0U) << report;
  EXPECT_EQ(report.find('\n'), report.size() - 1) << report;
  std::fclose(err);
  std::fclose(readOnly);
  std::filesystem::remove(path);
}

}  // namespace
