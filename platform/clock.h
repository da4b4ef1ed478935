// The platform's millisecond clock (a 32-bit count that wraps, as on Windows).
#pragma once

#include <cstdint>

class cClock {
 public:
  virtual ~cClock() = default;
  virtual uint32_t milliseconds() = 0;
};
