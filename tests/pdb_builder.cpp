#include "pdb_builder.h"

#include <chrono>
#include <cstring>
#include <fstream>

namespace {

constexpr std::uint32_t kFirstList = 72;
constexpr std::uint32_t kSecondsFrom1904To1970 = 2082844800U;

}  // namespace

std::uint32_t palmStamp(int year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                        unsigned second) {
  using namespace std::chrono;
  const sys_seconds time =
      sys_days{std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day}} +
      hours{hour} + minutes{minute} + seconds{second};
  return static_cast<std::uint32_t>(time.time_since_epoch().count() + kSecondsFrom1904To1970);
}

DatabaseImage::DatabaseImage(const char* name) : bytes_(kFirstList, 0) {
  std::memcpy(bytes_.data(), name, std::min<std::size_t>(std::strlen(name), 31));
  std::memcpy(bytes_.data() + 60, "DATA", 4);  // type
  std::memcpy(bytes_.data() + 64, "Vlrn", 4);  // creator
}

void DatabaseImage::grow(std::uint32_t end) {
  if (bytes_.size() < end) {
    bytes_.resize(end, 0);
  }
}

void DatabaseImage::put8(std::uint32_t at, std::uint8_t value) {
  grow(at + 1);
  bytes_[at] = value;
}

void DatabaseImage::put16(std::uint32_t at, std::uint16_t value) {
  put8(at, static_cast<std::uint8_t>(value >> 8U));
  put8(at + 1, static_cast<std::uint8_t>(value));
}

void DatabaseImage::put32(std::uint32_t at, std::uint32_t value) {
  put16(at, static_cast<std::uint16_t>(value >> 16U));
  put16(at + 2, static_cast<std::uint16_t>(value));
}

void DatabaseImage::putList(std::uint32_t at, std::uint32_t nextListOffset,
                            std::span<const std::uint32_t> dataOffsets, std::uint8_t attributes) {
  put32(at, nextListOffset);
  put16(at + 4, static_cast<std::uint16_t>(dataOffsets.size()));
  std::uint32_t entry = at + 6;
  std::uint32_t uniqueId = 0x100000;
  for (const std::uint32_t dataOffset : dataOffsets) {
    put32(entry, dataOffset);
    put32(entry + 4, uniqueId++);
    put8(entry + 4, attributes);
    entry += 8;
  }
}

void DatabaseImage::linkList(std::uint32_t listAt, std::uint32_t nextListOffset) {
  put32(listAt, nextListOffset);
}

void DatabaseImage::putReading(std::uint32_t at, const Reading& reading) {
  put32(at, reading.stamp);
  put8(at + 4, reading.systolic);
  put8(at + 5, reading.diastolic);
  put8(at + 6, reading.pulse);
  put8(at + 7, reading.spare);
}

std::uint32_t DatabaseImage::appendReading(const Reading& reading) {
  const std::uint32_t at = size();
  putReading(at, reading);
  return at;
}

std::uint32_t DatabaseImage::appendList(std::span<const Reading> readings,
                                        std::uint8_t attributes) {
  const std::uint32_t at = size();
  const auto count = static_cast<std::uint32_t>(readings.size());
  std::vector<std::uint32_t> dataOffsets;
  for (std::uint32_t i = 0; i < count; ++i) {
    dataOffsets.push_back(at + 6 + 8 * count + 8 * i);
  }
  putList(at, 0, dataOffsets, attributes);
  for (const Reading& reading : readings) {
    appendReading(reading);
  }
  return at;
}

void DatabaseImage::truncate(std::uint32_t length) { bytes_.resize(length); }

DatabaseImage singleListDatabase(std::span<const Reading> readings) {
  DatabaseImage image;
  image.appendList(readings);
  return image;
}

DatabaseImage chainedDatabase(std::span<const std::vector<Reading>> lists) {
  DatabaseImage image;
  std::uint32_t previous = 0;
  for (const std::vector<Reading>& readings : lists) {
    const std::uint32_t at = image.appendList(readings);
    if (previous != 0) {
      image.linkList(previous, at);
    }
    previous = at;
  }
  return image;
}

void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}
