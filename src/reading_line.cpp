#include "reading_line.h"

#include <cerrno>
#include <charconv>
#include <cstring>

#include "byte_order.h"
#include "console.h"

namespace {

// The longest line, "12/31/2040,23:59,255,255,255\n", has 29 characters.
constexpr std::size_t kLineRoom = 32;

// Appends `value` in decimal with no leading zeros, in at most `digits` characters, which the
// caller has room for.
template <typename Number>
char* appendNumber(char* out, Number value, std::ptrdiff_t digits) {
  return std::to_chars(out, out + digits, value).ptr;
}

}  // namespace

bool ReadingExporter::exportReading(
    std::span<const std::uint8_t, ReadingRecord::kBytesUsed> record) {
  const std::uint32_t stamp = readBigEndian32(record, ReadingRecord::kStampAt);
  if (stamp < kPalmEpochOffset) {
    // Nothing on the platform failed, so the text is that of whatever error number is current.
    console_.reportSystemError("gmtime call failed", errno);
    return false;
  }
  // Unsigned 32-bit stamps reach 2040; counted in 64-bit seconds from 1970 they never wrap.
  const std::chrono::sys_seconds time{std::chrono::seconds{stamp - kPalmEpochOffset}};
  const std::chrono::sys_days day = std::chrono::floor<std::chrono::days>(time);
  if (day != textDay_) {
    const std::chrono::year_month_day date{day};
    char* out = appendNumber(dateText_.data(), static_cast<unsigned>(date.month()), 2);
    *out++ = '/';
    out = appendNumber(out, static_cast<unsigned>(date.day()), 2);
    *out++ = '/';
    out = appendNumber(out, static_cast<int>(date.year()), 4);
    *out++ = ',';
    dateLength_ = static_cast<std::size_t>(out - dateText_.data());
    textDay_ = day;
  }
  const std::chrono::hh_mm_ss clock{time - day};

  char* const line = console_.reserve(kLineRoom);
  std::memcpy(line, dateText_.data(), dateText_.size());
  char* out = appendNumber(line + dateLength_, clock.hours().count(), 2);
  const auto minute = static_cast<unsigned>(clock.minutes().count());
  *out++ = ':';
  *out++ = static_cast<char>('0' + minute / 10);
  *out++ = static_cast<char>('0' + minute % 10);
  for (std::size_t i = 0; i < 3; ++i) {
    *out++ = ',';
    out = appendNumber(out, record[ReadingRecord::kMeasurementsAt + i], 3);
  }
  *out++ = '\n';
  console_.commit(out);
  return true;
}
