// The program-wide count of live objects: a leak check. Classes of the
// program derive from (or hold) a cLiveObject, whose constructors add one
// and whose destructor takes one away. No behaviour depends on the count.
#pragma once

#include <cstdint>

class cLiveObject {
 public:
  cLiveObject() noexcept { ++count_; }
  cLiveObject(const cLiveObject&) noexcept { ++count_; }
  cLiveObject& operator=(const cLiveObject&) noexcept = default;
  ~cLiveObject() { --count_; }

  static int64_t count() noexcept { return count_; }

 private:
  static inline int64_t count_ = 0;
};

inline int64_t liveObjectCount() noexcept { return cLiveObject::count(); }
