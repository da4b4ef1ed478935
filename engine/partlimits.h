// How many parts of each kind the tray still offers: the limits a puzzle
// uses to restrict an invention. -1 means no limit; n >= 0 means n parts left.
//
// "numG" chunk body of the invention file (big-endian):
//
//   offset  size  content
//   0       2     count m of limited kinds
//   2 + 6i  4     entry i: the kind's type code, as in chunk ids
//   6 + 6i  2     entry i: parts still available (signed)
//
// Kinds without a limit are not listed; entries are written in the order of
// the tray's drawers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/kinds.h"

class cPartLimits {
 public:
  cPartLimits() { clear(); }

  // -1 for no limit (and for a kind number outside 1..64).
  int16_t limit(int kind) const;
  bool hasLimit(int kind) const { return limit(kind) >= 0; }
  void setLimit(int kind, int limit);
  // One part of the kind came back: a limited slot gets one more.
  void returnPart(int kind);
  // A limited slot, or any slot for a delta that is not negative, changes by
  // delta: +1 on an unlimited slot gives 0 parts left, -1 on 0 lifts the limit.
  void changeLimit(int kind, int delta);
  void clear();

  int limitCount() const;
  size_t chunkSize() const { return 2 + 6 * static_cast<size_t>(limitCount()); }
  // Writes the chunk body; the buffer holds chunkSize() bytes.
  void write(std::span<uint8_t> buffer) const;
  // Sets the limit of every listed kind; unknown codes are skipped, and so is
  // an entry cut short by the end of the body.
  void read(std::span<const uint8_t> body);

 private:
  int16_t limits_[kKindCount];
};
