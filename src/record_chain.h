#pragma once

#include <cstdint>

#include "input_file.h"

// How the chain of record lists ends, seen from its first list at the end of the database header.
struct RecordChain {
  enum class End {
    kLastList,  // the last list's nextListOffset is 0
    kLoop,      // the last list leads back to a list before it (or to itself)
    kBroken,    // the header of list number listCount could not be read whole
  };

  std::uint64_t listCount = 0;  // lists that can be visited, each once, in chain order
  End end = End::kLastList;
  ReadResult breakingRead;  // with kBroken: what the read of the next list header delivered
};

// Follows the chain of list headers alone, before any reading is exported, so that the export can
// stop before it would visit a list a second time. Brent's cycle detection keeps this linear in the
// number of lists with constant memory, however long the chain and wherever it leads back.
RecordChain measureRecordChain(InputSource& input);
