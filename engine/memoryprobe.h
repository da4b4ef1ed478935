// The memory check the invention reader makes before each chunk: can the
// program still allocate the current undo snapshot's size plus 63000 bytes?
// A load that cannot complete ends with a message and an empty worksheet
// instead of a half-built invention.
#pragma once

#include <cstddef>
#include <cstdint>

// Tries to allocate (and frees) the undo snapshot's size + 63000 bytes.
bool memoryProbe(uint32_t undoSize);

// Tests make memory short: with a budget set, a probe asking for more than
// the budget fails; with failAfter n >= 0, the probes after the next n fail.
struct cMemoryProbeLimit {
  int64_t budget = -1;   // bytes; -1 = no budget
  int failAfter = -1;    // -1 = never
};
void setMemoryProbeLimit(const cMemoryProbeLimit& limit);
