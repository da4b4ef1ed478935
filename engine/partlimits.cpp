#include "engine/partlimits.h"

#include <algorithm>

#include "shell/core/byteio.h"

int16_t cPartLimits::limit(int kind) const {
  if (kind < 1 || kind > kKindCount) return -1;
  return limits_[kind - 1];
}

void cPartLimits::setLimit(int kind, int limit) {
  if (kind < 1 || kind > kKindCount) return;
  // Anything below zero means no limit; the count stays within 16 bits.
  limits_[kind - 1] = static_cast<int16_t>(limit < 0 ? -1 : std::min(limit, 32767));
}

void cPartLimits::returnPart(int kind) {
  if (hasLimit(kind)) setLimit(kind, limit(kind) + 1);
}

void cPartLimits::changeLimit(int kind, int delta) {
  if (hasLimit(kind) || delta >= 0) setLimit(kind, limit(kind) + delta);
}

void cPartLimits::clear() { std::fill(std::begin(limits_), std::end(limits_), int16_t(-1)); }

int cPartLimits::limitCount() const {
  return static_cast<int>(std::count_if(std::begin(limits_), std::end(limits_),
                                        [](int16_t l) { return l >= 0; }));
}

void cPartLimits::write(std::span<uint8_t> buffer) const {
  if (buffer.size() < chunkSize()) return;
  uint8_t* p = buffer.data();
  byteio::putU16BE(p, static_cast<uint16_t>(limitCount()));
  p += 2;
  for (int drawer = 0; drawer < kDrawerCount; ++drawer) {
    for (int8_t kind : drawerKinds(drawer)) {
      if (kind < 1 || !hasLimit(kind)) continue;
      const cTypeCode code = kindByNumber(kind)->typeCode;
      for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(typeCodeChar(code, i));
      byteio::putU16BE(p + 4, static_cast<uint16_t>(limit(kind)));
      p += 6;
    }
  }
}

void cPartLimits::read(std::span<const uint8_t> body) {
  if (body.size() < 2) return;
  const size_t m = byteio::getU16BE(body.data());
  for (size_t i = 0; i < m && 2 + 6 * (i + 1) <= body.size(); ++i) {
    const uint8_t* e = body.data() + 2 + 6 * i;
    const cTypeCode code = makeTypeCode(char(e[0]), char(e[1]), char(e[2]), char(e[3]));
    if (const cKindInfo* kind = kindByCode(code))
      setLimit(kind->number, static_cast<int16_t>(byteio::getU16BE(e + 4)));
  }
}
