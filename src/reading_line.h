#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

class Console;

// The first bytes of a record's data: a big-endian stamp in seconds since 1904-01-01 00:00:00,
// then three one-byte measurements. The eighth byte is read with them and never examined.
struct ReadingRecord {
  static constexpr std::size_t kSize = 8;
  static constexpr std::size_t kBytesUsed = 7;
  static constexpr std::size_t kStampAt = 0;
  static constexpr std::size_t kMeasurementsAt = 4;
};

// Seconds from 1904-01-01 00:00:00 to 1970-01-01 00:00:00.
inline constexpr std::uint32_t kPalmEpochOffset = 2082844800U;

// Writes one line per reading: month/day/year,hour:minute,value,value,value.
// Readings come several a day, so the date text of the last day is kept and reused.
class ReadingExporter {
 public:
  explicit ReadingExporter(Console& console) noexcept : console_(console) {}

  // Writes the reading's line and returns true; when its stamp cannot be converted, writes
  // "gmtime call failed" in the perror form to standard error instead and returns false.
  bool exportReading(std::span<const std::uint8_t, ReadingRecord::kBytesUsed> record);

 private:
  Console& console_;
  std::optional<std::chrono::sys_days> textDay_;  // the day whose date dateText_ holds
  std::array<char, 16> dateText_{};
  std::size_t dateLength_ = 0;
};
