// ZBGADGET.DLL: the artwork library. Its content is its .rsrc section; the
// only code is the export InstanceCount, which nothing in Zanbel calls.
#include <cstdint>

namespace {
int32_t gInstances = 0;
}

// Adds delta to the library's counter and returns the new total.
extern "C" __attribute__((visibility("default"))) int32_t InstanceCount(int32_t delta) {
  gInstances = static_cast<int32_t>(static_cast<uint32_t>(gInstances) + static_cast<uint32_t>(delta));
  return gInstances;
}
