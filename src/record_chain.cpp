#include "record_chain.h"

#include <array>
#include <optional>

#include "pdb_layout.h"

namespace {

// The offset of the list after the one at `listOffset`, 0 when there is none, or nothing when
// its header cannot be read whole; `read` then tells what arrived.
std::optional<std::uint32_t> nextList(InputSource& input, std::uint64_t listOffset,
                                      ReadResult& read) {
  std::array<std::uint8_t, RecordListHeader::kSize> bytes{};
  read = readAt(input, listOffset, bytes);
  if (read.error != 0 || read.count < bytes.size()) {
    return std::nullopt;
  }
  return RecordListHeader::decode(bytes).nextListOffset;
}

}  // namespace

RecordChain measureRecordChain(InputSource& input) {
  RecordChain chain;

  // Phase 1: the hare walks the chain; the tortoise waits at the last power-of-two step. They meet
  // only on a loop, whose length is then the number of steps since the tortoise last moved.
  std::uint64_t tortoise = kFirstListOffset;
  std::uint64_t hare = kFirstListOffset;
  std::uint64_t power = 1;
  std::uint64_t loopLength = 0;
  for (;;) {
    const std::optional<std::uint32_t> next = nextList(input, hare, chain.breakingRead);
    if (!next) {
      chain.end = RecordChain::End::kBroken;
      return chain;
    }
    ++chain.listCount;
    if (*next == 0) {
      chain.end = RecordChain::End::kLastList;
      return chain;
    }
    if (loopLength == power) {
      tortoise = hare;
      power *= 2;
      loopLength = 0;
    }
    hare = *next;
    ++loopLength;
    if (hare == tortoise) {
      break;
    }
  }

  // Phase 2: a second hare starts loopLength lists ahead of a second tortoise at the first list;
  // where they meet is the first list that the loop returns to, and the lists before it plus the
  // loop are every distinct list. Headers read fine in phase 1, so a failure here can only be a
  // platform error; the export then stops where it happened.
  ReadResult read;
  std::uint64_t ahead = kFirstListOffset;
  for (std::uint64_t step = 0; step < loopLength; ++step) {
    const std::optional<std::uint32_t> next = nextList(input, ahead, read);
    if (!next) {
      return {0, RecordChain::End::kBroken, read};
    }
    ahead = *next;
  }
  std::uint64_t behind = kFirstListOffset;
  std::uint64_t listsBeforeLoop = 0;
  while (behind != ahead) {
    const std::optional<std::uint32_t> nextBehind = nextList(input, behind, read);
    const std::optional<std::uint32_t> nextAhead =
        nextBehind ? nextList(input, ahead, read) : std::nullopt;
    if (!nextAhead) {
      return {listsBeforeLoop, RecordChain::End::kBroken, read};
    }
    behind = *nextBehind;
    ahead = *nextAhead;
    ++listsBeforeLoop;
  }
  return {listsBeforeLoop + loopLength, RecordChain::End::kLoop, {}};
}
