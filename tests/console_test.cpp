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
  // A stream open only for reading takes no writes, as a full disk or a closed descriptor.
  const ScratchFile written;
  std::FILE* readOnly = std::fopen(written.path().string().c_str(), "r");
  ASSERT_NE(readOnly, nullptr);
  const ScratchFile err;

  Console console(readOnly, err.get());
  console.write("5/17/2003,7:05,128,84,66\n");
  EXPECT_FALSE(console.finish());
  (void)std::fclose(readOnly);

  const std::string report = err.contents();
  EXPECT_EQ(report.rfind("Error writing standard output: ", 0), 0U) << report;
  EXPECT_EQ(report.find('\n'), report.size() - 1) << report;
}

}  // namespace
