#include "reading_line.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>

#include "byte_order.h"
#include "console.h"

namespace {

// Appends `value` in decimal with no leading zeros; the caller's buffer has room for it.
template <typename Number>
char* appendNumber(char* out, char* end, Number value) {
  return std::to_chars(out, end, value).ptr;
}

}  // namespace

std::optional<ReadingTime> convertStamp(std::uint32_t stamp) {
  if (stamp < kPalmEpochOffset) {
    return std::nullopt;
  }
  using std::chrono::days;
  using std::chrono::seconds;
  const std::chrono::sys_seconds time{seconds{stamp - kPalmEpochOffset}};
  const std::chrono::sys_days day = std::chrono::floor<days>(time);
  const std::chrono::year_month_day date{day};
  const std::chrono::hh_mm_ss clock{time - day};
  return ReadingTime{date, static_cast<unsigned>(clock.hours().count()),
                     static_cast<unsigned>(clock.minutes().count())};
}

bool ReadingExporter::exportReading(std::span<const std::uint8_t, ReadingRecord::kBytesUsed> record) {
  const std::optional<ReadingTime> time = convertStamp(readBigEndian32(record, ReadingRecord::kStampAt));
  if (!time) {
    // Nothing on the platform failed, so the text is that of whatever error number is current.
    console_.reportSystemError("gmtime call failed", errno);
    return false;
  }

  if (time->date != textDate_) {
    char* const begin = dateText_.data();
    char* const end = begin + dateText_.size();
    char* out = appendNumber(begin, end, static_cast<unsigned>(time->date.month()));
    *out++ = '/';
    out = appendNumber(out, end, static_cast<unsigned>(time->date.day()));
    *out++ = '/';
    out = appendNumber(out, end, static_cast<int>(time->date.year()));
    *out++ = ',';
    dateLength_ = static_cast<std::size_t>(out - begin);
    textDate_ = time->date;
  }

  std::array<char, 48> line{};
  char* const end = line.data() + line.size();
  std::memcpy(line.data(), dateText_.data(), dateLength_);
  char* out = appendNumber(line.data() + dateLength_, end, time->hour);
  *out++ = ':';
  *out++ = static_cast<char>('0' + time->minute / 10);
  *out++ = static_cast<char>('0' + time->minute % 10);
  for (std::size_t i = 0; i < 3; ++i) {
    *out++ = ',';
    out = appendNumber(out, end, record[ReadingRecord::kMeasurementsAt + i]);
  }
  *out++ = '\n';
  console_.write({line.data(), static_cast<std::size_t>(out - line.data())});
  return true;
}
