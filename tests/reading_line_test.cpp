#include "reading_line.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "console_capture.h"

namespace {

std::array<std::uint8_t, ReadingRecord::kBytesUsed> record(std::uint32_t stamp, std::uint8_t first,
                                                           std::uint8_t second,
                                                           std::uint8_t third) {
  return {static_cast<std::uint8_t>(stamp >> 24U),
          static_cast<std::uint8_t>(stamp >> 16U),
          static_cast<std::uint8_t>(stamp >> 8U),
          static_cast<std::uint8_t>(stamp),
          first,
          second,
          third};
}

struct LineCase {
  std::uint32_t stamp;
  std::uint8_t first, second, third;
  const char* line;
};

// Stamps are seconds since 1904-01-01 00:00:00 UTC; each comment gives the time the stamp encodes.
const auto kLineCases = std::to_array<LineCase>({
    {2082844800U, 120, 80, 72, "1/1/1970,0:00,120,80,72\n"},       // the first convertible second
    {2082873959U, 0, 255, 1, "1/1/1970,8:05,0,255,1\n"},           // 08:05:59: seconds dropped
    {3029529599U, 130, 85, 64, "12/31/1999,23:59,130,85,64\n"},    // the last second of 1999
    {3034672496U, 118, 79, 70, "2/29/2000,12:34,118,79,70\n"},     // 2000 is a leap year
    {3034713600U, 118, 79, 70, "3/1/2000,0:00,118,79,70\n"},       // the day after 29 February
    {4230328447U, 255, 255, 255, "1/19/2038,3:14,255,255,255\n"},  // the last signed 32-bit second
    {4230328448U, 1, 2, 3, "1/19/2038,3:14,1,2,3\n"},              // one later: no wrap to 1901
    {4291833540U, 140, 90, 80, "12/31/2039,23:59,140,90,80\n"},
    {4294967295U, 0, 0, 0, "2/6/2040,6:28,0,0,0\n"},  // the largest stamp there is
});

TEST(ReadingLine, WritesOneLinePerReading) {
  for (const LineCase& c : kLineCases) {
    CapturedConsole captured;
    ReadingExporter exporter(captured.console());
    EXPECT_TRUE(exporter.exportReading(record(c.stamp, c.first, c.second, c.third))) << c.line;
    ASSERT_TRUE(captured.finish());
    EXPECT_EQ(captured.out(), c.line);
    EXPECT_EQ(captured.err(), "");
  }
}

TEST(ReadingLine, DateTextFollowsTheDayOfEachReading) {
  CapturedConsole captured;
  ReadingExporter exporter(captured.console());
  for (const std::uint32_t stamp : {3034672496U, 3034672556U, 3034713600U, 3034672496U}) {
    EXPECT_TRUE(exporter.exportReading(record(stamp, 1, 2, 3)));
  }
  ASSERT_TRUE(captured.finish());
  EXPECT_EQ(captured.out(),
            "2/29/2000,12:34,1,2,3\n2/29/2000,12:35,1,2,3\n3/1/2000,0:00,1,2,3\n"
            "2/29/2000,12:34,1,2,3\n");
}

TEST(ReadingLine, StampsBefore1970AreReportedWithTheCurrentErrorText) {
  for (const std::uint32_t stamp : {0U, 1U, 2082844799U}) {
    CapturedConsole captured;
    ReadingExporter exporter(captured.console());
    errno = EDOM;
    EXPECT_FALSE(exporter.exportReading(record(stamp, 120, 80, 72))) << stamp;
    const std::string expected = std::string("gmtime call failed: ") + std::strerror(EDOM) + "\n";
    ASSERT_TRUE(captured.finish());
    EXPECT_EQ(captured.out(), "");
    EXPECT_EQ(captured.err(), expected);
  }
}

}  // namespace
