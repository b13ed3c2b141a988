#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "byte_order.h"

// The parts of a Palm database that the export reads. Offsets in the file are absolute.

// The database header is read whole and examined no further.
inline constexpr std::size_t kDatabaseHeaderSize = 72;
inline constexpr std::uint64_t kFirstListOffset = kDatabaseHeaderSize;

// A record list: its header, then entryCount entries directly behind it.
struct RecordListHeader {
  static constexpr std::size_t kSize = 6;
  static constexpr std::size_t kNextListOffsetAt = 0;
  static constexpr std::size_t kEntryCountAt = 4;

  std::uint32_t nextListOffset = 0;  // 0 when no list follows
  std::uint16_t entryCount = 0;

  static RecordListHeader decode(std::span<const std::uint8_t, kSize> bytes) {
    return {readBigEndian32(bytes, kNextListOffsetAt), readBigEndian16(bytes, kEntryCountAt)};
  }
};

// One entry of a record list. Its attribute flags and unique id are not examined.
struct RecordEntry {
  static constexpr std::size_t kSize = 8;
  static constexpr std::size_t kDataOffsetAt = 0;

  std::uint32_t dataOffset = 0;

  static RecordEntry decode(std::span<const std::uint8_t, kSize> bytes) {
    return {readBigEndian32(bytes, kDataOffsetAt)};
  }
};

// Where entry `index` of the list at `listOffset` stands; past 2^32 for lists near the top.
inline std::uint64_t entryOffset(std::uint64_t listOffset, std::uint64_t index) {
  return listOffset + RecordListHeader::kSize + index * RecordEntry::kSize;
}
