#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

// Builds database files for tests from readable descriptions, byte by byte, big-endian as the
// format has it. Offsets are absolute; writing past the end grows the image with zeros.

// A reading as a record stores it; `spare` is the eighth byte that the export never looks at.
struct Reading {
  std::uint32_t stamp = 0;
  std::uint8_t systolic = 0;
  std::uint8_t diastolic = 0;
  std::uint8_t pulse = 0;
  std::uint8_t spare = 0;
};

// The stamp of a UTC date and time, in seconds since 1904-01-01 00:00:00.
std::uint32_t palmStamp(int year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                        unsigned second = 0);

class DatabaseImage {
 public:
  // Starts with a 72-byte database header named `name`.
  explicit DatabaseImage(const char* name = "BP Log");

  [[nodiscard]] const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  [[nodiscard]] std::uint32_t size() const { return static_cast<std::uint32_t>(bytes_.size()); }

  void put8(std::uint32_t at, std::uint8_t value);
  void put16(std::uint32_t at, std::uint16_t value);
  void put32(std::uint32_t at, std::uint32_t value);

  // A record list at `at`: its header, then one entry per data offset, with `attributes` on each.
  void putList(std::uint32_t at, std::uint32_t nextListOffset,
               std::span<const std::uint32_t> dataOffsets, std::uint8_t attributes = 0);
  // Sets the nextListOffset of the list at `listAt`.
  void linkList(std::uint32_t listAt, std::uint32_t nextListOffset);
  // Writes a reading's 8 bytes at `at`.
  void putReading(std::uint32_t at, const Reading& reading);
  // Appends a reading's 8 bytes and returns their offset.
  std::uint32_t appendReading(const Reading& reading);
  // Appends a record list with its readings directly after its entries; returns the list's offset.
  std::uint32_t appendList(std::span<const Reading> readings, std::uint8_t attributes = 0);
  // Cuts the image to `length` bytes.
  void truncate(std::uint32_t length);

 private:
  void grow(std::uint32_t end);
  std::vector<std::uint8_t> bytes_;
};

// A database whose first list, at offset 72, holds `readings`, with their data after the entries.
DatabaseImage singleListDatabase(std::span<const Reading> readings);

// A database with one list per element of `lists`, chained in order; each list's readings follow
// its entries.
DatabaseImage chainedDatabase(std::span<const std::vector<Reading>> lists);

void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
