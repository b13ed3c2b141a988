#include "database_walk.h"

#include <array>
#include <cinttypes>
#include <cstdio>

#include "console.h"
#include "file_error.h"
#include "pdb_layout.h"
#include "reading_line.h"
#include "record_chain.h"

namespace {

// Reports a read that failed, or that the file cut short before `needed` bytes of `what` at
// `offset` arrived.
void reportIncompleteRead(Console& console, const char* path, const char* what,
                          std::uint64_t offset, ReadResult read, std::size_t needed) {
  if (read.error != 0) {
    reportFileError(console, kReadErrorHeadline, path, read.error);
    return;
  }
  std::array<char, 160> detail{};
  const int length = std::snprintf(detail.data(), detail.size(),
                                   "file ends early: the %s at offset %" PRIu64
                                   " needs %zu bytes, only %zu are there",
                                   what, offset, needed, read.count);
  reportDamagedFile(console, path, {detail.data(), static_cast<std::size_t>(length)});
}

void reportLoop(Console& console, const char* path, std::uint64_t lastList, std::uint64_t target) {
  std::array<char, 160> detail{};
  const int length = std::snprintf(detail.data(), detail.size(),
                                   "the record lists form a loop: the list at offset %" PRIu64
                                   " leads back to the list at offset %" PRIu64,
                                   lastList, target);
  reportDamagedFile(console, path, {detail.data(), static_cast<std::size_t>(length)});
}

}  // namespace

ExitStatus walkDatabase(InputSource& input, const char* path, Console& console) {
  std::array<std::uint8_t, kDatabaseHeaderSize> header{};
  if (const ReadResult read = readAt(input, 0, header);
      read.error != 0 || read.count < header.size()) {
    reportIncompleteRead(console, path, "database header", 0, read, header.size());
    return ExitStatus::kReadFailed;
  }

  const RecordChain chain = measureRecordChain(input);
  ReadingExporter exporter(console);
  ExitStatus status = ExitStatus::kSuccess;
  std::uint64_t previousList = 0;
  std::uint64_t listOffset = kFirstListOffset;
  for (std::uint64_t listIndex = 0;; ++listIndex) {
    if (listIndex == chain.listCount) {
      // Only what measuring the chain found stops here; every list before was visited once.
      if (chain.end == RecordChain::End::kLoop) {
        reportLoop(console, path, previousList, listOffset);
        return ExitStatus::kReadFailed;
      }
      if (chain.end == RecordChain::End::kBroken) {
        reportIncompleteRead(console, path, "record list header", listOffset, chain.breakingRead,
                             RecordListHeader::kSize);
        return ExitStatus::kReadFailed;
      }
      return status;
    }

    std::array<std::uint8_t, RecordListHeader::kSize> listBytes{};
    if (const ReadResult read = readAt(input, listOffset, listBytes);
        read.error != 0 || read.count < listBytes.size()) {
      reportIncompleteRead(console, path, "record list header", listOffset, read, listBytes.size());
      return ExitStatus::kReadFailed;
    }
    const RecordListHeader list = RecordListHeader::decode(listBytes);

    for (std::uint64_t entryIndex = 0; entryIndex < list.entryCount; ++entryIndex) {
      const std::uint64_t at = entryOffset(listOffset, entryIndex);
      std::array<std::uint8_t, RecordEntry::kSize> entryBytes{};
      if (const ReadResult read = readAt(input, at, entryBytes);
          read.error != 0 || read.count < entryBytes.size()) {
        reportIncompleteRead(console, path, "record entry", at, read, entryBytes.size());
        return ExitStatus::kReadFailed;
      }
      const RecordEntry entry = RecordEntry::decode(entryBytes);

      std::array<std::uint8_t, ReadingRecord::kSize> recordBytes{};
      const ReadResult read = readAt(input, entry.dataOffset, recordBytes);
      if (read.error != 0) {
        reportIncompleteRead(console, path, "reading", entry.dataOffset, read, recordBytes.size());
        return ExitStatus::kReadFailed;
      }
      if (read.count < ReadingRecord::kBytesUsed) {
        // One reading is lost, not the list: the entries after it still lead to their readings.
        reportIncompleteRead(console, path, "reading", entry.dataOffset, read,
                             ReadingRecord::kBytesUsed);
        status = ExitStatus::kReadFailed;
        continue;
      }
      if (!exporter.exportReading(std::span(recordBytes).first<ReadingRecord::kBytesUsed>())) {
        status = ExitStatus::kStampFailed;
      }
    }

    // After any failure the chain is not followed further.
    if (list.nextListOffset == 0 || status != ExitStatus::kSuccess) {
      return status;
    }
    previousList = listOffset;
    listOffset = list.nextListOffset;
  }
}
