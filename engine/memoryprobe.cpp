#include "engine/memoryprobe.h"

#include <memory>
#include <new>

#include "engine/undo.h"

namespace {
cMemoryProbeLimit gLimit;
}  // namespace

void setMemoryProbeLimit(const cMemoryProbeLimit& limit) { gLimit = limit; }

bool memoryProbe(uint32_t undoSize) {
  const size_t n = size_t(undoSize) + kUndoSpare;
  if (gLimit.failAfter == 0) return false;
  if (gLimit.failAfter > 0) --gLimit.failAfter;
  if (gLimit.budget >= 0 && int64_t(n) > gLimit.budget) return false;
  std::unique_ptr<uint8_t[]> trial(new (std::nothrow) uint8_t[n]);
  return trial != nullptr;
}
