#include "graphics/frameset.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kEmptySet[4] = {'H', 'R', 0, 0};
constexpr size_t kEntryBytes = 12;

inline int16_t le16s(const uint8_t* p) { return static_cast<int16_t>(p[0] | (p[1] << 8)); }
inline uint32_t le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline unsigned be16(const uint8_t* p) { return (p[0] << 8) | p[1]; }

// Runs are 1 to 64 pixels. Each is moved as two fixed-size moves that may
// overlap (single bytes for the shortest, four moves for the longest
// fills), so a run costs a branch or two on its size class instead of a
// call into the library's memcpy or memset. Most runs of our artwork are
// literals of 1 or 2 pixels (the soft edges) and fills of 3 to 16.
template <size_t K>
inline void moveTwo(uint8_t* dst, const uint8_t* src, size_t n) {
  uint8_t head[K], tail[K];
  std::memcpy(head, src, K);
  std::memcpy(tail, src + n - K, K);
  std::memcpy(dst, head, K);
  std::memcpy(dst + n - K, tail, K);
}

inline void copyRun(uint8_t* dst, const uint8_t* src, size_t n) {
  if (n <= 2) {
    const uint8_t first = src[0], last = src[n - 1];
    dst[0] = first;
    dst[n - 1] = last;
  } else if (n < 8) {
    if (n < 4) moveTwo<2>(dst, src, n);
    else moveTwo<4>(dst, src, n);
  } else if (n <= 16) {
    moveTwo<8>(dst, src, n);
  } else if (n <= 32) {
    moveTwo<16>(dst, src, n);
  } else {
    moveTwo<32>(dst, src, n);
  }
}

inline void fillRun(uint8_t* dst, uint8_t value, size_t n) {
  const uint64_t v = 0x0101010101010101ull * value;
  if (n < 8) {
    if (n >= 4) {
      std::memcpy(dst, &v, 4);
      std::memcpy(dst + n - 4, &v, 4);
    } else {
      dst[0] = value;
      dst[n >> 1] = value;
      dst[n - 1] = value;
    }
    return;
  }
  if (n <= 16) {
    std::memcpy(dst, &v, 8);
    std::memcpy(dst + n - 8, &v, 8);
    return;
  }
  const uint64_t v2[2] = {v, v};
  if (n <= 32) {
    std::memcpy(dst, v2, 16);
    std::memcpy(dst + n - 16, v2, 16);
    return;
  }
  std::memcpy(dst, v2, 16);
  std::memcpy(dst + 16, v2, 16);
  std::memcpy(dst + n - 32, v2, 16);
  std::memcpy(dst + n - 16, v2, 16);
}

// Walks a frame's records once and says whether both decoders can draw it
// without leaving the resource or the frame's rectangle: every record lies
// inside the bytes, each row record's runs end exactly where its stored
// length says, no row is wider than the frame and there are no more rows
// than the frame is high.
bool frameIsDrawable(std::span<const uint8_t> bytes, uint32_t offset, int width, int height) {
  if (width < 0 || height < 0) return false;
  const size_t size = bytes.size();
  size_t pos = offset;
  int rows = 0;
  for (;;) {
    if (pos + 2 > size) return false;
    const unsigned word = be16(&bytes[pos]);
    const unsigned kind = word >> 12, n = word & 0x0FFF;
    if (kind == 0xE) {
      rows += static_cast<int>(n);
      if (rows > height) return false;
      pos += 2;
      continue;
    }
    if (kind != 0xF) return true;  // 0xD000 (or any other kind) ends the frame
    if (n < 2 || ++rows > height) return false;
    size_t p = pos + 2;
    int cols = 0;
    for (;;) {
      if (p >= size) return false;
      const uint8_t c = bytes[p];
      if ((c & 0xC0) == 0xC0) break;
      const int count = (c & 0x3F) + 1;
      cols += count;
      if (cols > width) return false;
      switch (c & 0xC0) {
        case 0x00: p += 1 + static_cast<size_t>(count); break;
        case 0x40: p += 1; break;
        default: p += 2; break;
      }
    }
    if (p != pos + n) return false;
    pos = p;
  }
}

}  // namespace

// --- the decoders ----------------------------------------------------------
//
// Both trust the check made when the set was bound: every row record's runs
// end exactly at its stored length, on the byte that begins the next record.

void decodeFrameFull(const uint8_t* src, uint8_t* dst, ptrdiff_t stride) {
  // One pass over the bytes: a row's end byte is the high byte of the next
  // record's word, so the record kinds are dispatched like run codes. Where
  // a record begins otherwise (the first, and after transparent rows) a byte
  // below 0xC0 is no run code but a record of another kind: the frame ends.
  if (*src < 0xC0) return;
  uint8_t* nextRow = dst;
  for (;;) {
    unsigned c = *src;
    if (c - 0x40 < 0x40) {  // skip
      src += 1;
      dst += c - 0x3F;
      continue;
    }
    if (c < 0xC0) {
      // Literals (soft edges) and fills mostly take turns: stay here while they do.
      if (c >= 0x80) goto fill;
      for (;;) {
        copyRun(dst, src + 1, c + 1);
        src += c + 2;
        dst += c + 1;
        c = *src;
        if (c - 0x80 >= 0x40) break;
      fill:
        fillRun(dst, src[1], c - 0x7F);
        src += 2;
        dst += c - 0x7F;
        c = *src;
        if (c >= 0x40) break;
      }
      continue;
    }
    if (c >= 0xF0) {  // the next row
      dst = nextRow;
      nextRow += stride;
      src += 2;
    } else if (c >= 0xE0) {  // transparent rows
      nextRow += static_cast<ptrdiff_t>(be16(src) & 0x0FFF) * stride;
      src += 2;
      if (*src < 0xC0) return;
    } else {
      return;
    }
  }
}

void decodeFrameClipped(const uint8_t* src, int yStart, int rows, int xStart, int cols,
                        uint8_t* dst, ptrdiff_t stride) {
  // The runs below never move zero pixels: an empty window draws nothing.
  if (rows <= 0 || cols <= 0 || yStart < 0 || xStart < 0) return;
  const int endRow = yStart + rows;
  int row = 0;
  // Rows above the clip are skipped by their stored length, unparsed.
  while (row < yStart) {
    const unsigned word = be16(src);
    const unsigned kind = word >> 12, n = word & 0x0FFF;
    if (kind == 0xE) {
      src += 2;
      row += static_cast<int>(n);
    } else if (kind == 0xF) {
      src += n;
      ++row;
    } else {
      return;
    }
  }
  dst += static_cast<ptrdiff_t>(row - yStart) * stride;
  const unsigned left = static_cast<unsigned>(xStart), width = static_cast<unsigned>(cols);
  while (row < endRow) {
    const unsigned word = be16(src);
    const unsigned kind = word >> 12, n = word & 0x0FFF;
    if (kind == 0xE) {
      src += 2;
      dst += static_cast<ptrdiff_t>(n) * stride;
      row += static_cast<int>(n);
      continue;
    }
    if (kind != 0xF) return;
    // Unread runs at the right edge cost nothing: the next row starts at end.
    const uint8_t* const end = src + n;
    const uint8_t* s = src + 2;
    uint8_t* d = dst;  // always at column xStart or right of it
    uint8_t* const dEnd = dst + width;
    // Runs wholly left of the clip are only passed over; the one that
    // reaches into it draws its pixels from xStart on.
    for (unsigned col = 0;;) {
      const unsigned c = *s;
      if (c < 0x40) {
        const unsigned count = c + 1;
        if (col + count > left) {
          const unsigned hidden = left - col, shown = std::min(count - hidden, width);
          copyRun(d, s + 1 + hidden, shown);
          if (shown == width) goto nextRow;
          d += shown;
          s += count + 1;
          break;
        }
        col += count;
        s += count + 1;
      } else if (c < 0x80) {
        const unsigned count = c - 0x3F;
        if (col + count > left) {
          const unsigned shown = std::min(col + count - left, width);
          if (shown == width) goto nextRow;
          d += shown;
          s += 1;
          break;
        }
        col += count;
        s += 1;
      } else if (c < 0xC0) {
        const unsigned count = c - 0x7F;
        if (col + count > left) {
          const unsigned shown = std::min(col + count - left, width);
          fillRun(d, s[1], shown);
          if (shown == width) goto nextRow;
          d += shown;
          s += 2;
          break;
        }
        col += count;
        s += 2;
      } else {
        goto nextRow;  // the row ends left of the clip
      }
    }
    // Runs inside the clip, up to the one that reaches its right edge or the
    // row's end byte.
    for (;;) {
      unsigned c = *s, count;
      if (c < 0x40) {
        count = c + 1;
        if (d + count >= dEnd) {
          copyRun(d, s + 1, static_cast<size_t>(dEnd - d));
          break;
        }
        copyRun(d, s + 1, count);
        s += count + 1;
        d += count;
        c = *s;
        if (c - 0x80 >= 0x40) continue;  // a fill mostly follows a literal
      } else if (c < 0x80) {
        s += 1;
        d += c - 0x3F;
        if (d >= dEnd) break;
        continue;
      } else if (c >= 0xC0) {
        break;
      }
      count = c - 0x7F;
      if (d + count >= dEnd) {
        fillRun(d, s[1], static_cast<size_t>(dEnd - d));
        break;
      }
      fillRun(d, s[1], count);
      s += 2;
      d += count;
    }
  nextRow:
    src = end;
    dst += stride;
    ++row;
  }
}

// --- cFrameSet -------------------------------------------------------------

cFrameSet::cFrameSet() { bind(kEmptySet); }

cFrameSet::cFrameSet(uint16_t resourceId) {
  const cResourceHandle handle = findResource(kFrameSetResourceType, resourceId);
  if (handle.valid())
    bind(lockResource(handle));
  else
    bind(kEmptySet);
}

cFrameSet::cFrameSet(uint16_t resourceId, cResourceModule& module) {
  const cResourceHandle handle = findResource(module, kFrameSetResourceType, resourceId);
  if (handle.valid())
    bind(lockResource(handle));
  else
    bind(kEmptySet);
}

cFrameSet cFrameSet::borrowing(std::span<const uint8_t> bytes) {
  cFrameSet set;
  set.bind(bytes);
  return set;
}

cFrameSet cFrameSet::owning(std::vector<uint8_t> bytes) {
  cFrameSet set;
  set.own_ = std::move(bytes);
  set.bind(set.own_);
  return set;
}

cFrameSet::cFrameSet(cFrameSet&& other) noexcept { *this = std::move(other); }

cFrameSet& cFrameSet::operator=(cFrameSet&& other) noexcept {
  if (this == &other) return *this;
  const bool ownsBytes = !other.own_.empty() && other.bytes_.data() == other.own_.data();
  own_ = std::move(other.own_);
  bytes_ = ownsBytes ? std::span<const uint8_t>(own_) : other.bytes_;
  count_ = other.count_;
  sound_ = std::move(other.sound_);
  other.own_.clear();
  other.bind(kEmptySet);
  return *this;
}

void cFrameSet::bind(std::span<const uint8_t> bytes) {
  // A resource that is not a frame set at all, or whose table runs past its
  // end, is taken as the empty set rather than read beyond its bytes.
  if (bytes.size() < 4 || bytes[0] != 'H' || bytes[1] != 'R') bytes = kEmptySet;
  size_t count = bytes[2] | (bytes[3] << 8);
  if (4 + count * kEntryBytes > bytes.size()) {
    bytes = kEmptySet;
    count = 0;
  }
  bytes_ = bytes;
  count_ = static_cast<int>(count);
  sound_.assign(count, 0);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = &bytes[4 + i * kEntryBytes];
    const int top = le16s(e), left = le16s(e + 2), bottom = le16s(e + 4), right = le16s(e + 6);
    sound_[i] = frameIsDrawable(bytes, le32(e + 8), right - left, bottom - top) ? 1 : 0;
  }
}

cRect cFrameSet::frameRect(int index) const {
  if (index < 1 || index > count_) return {};
  const uint8_t* e = &bytes_[4 + static_cast<size_t>(index - 1) * kEntryBytes];
  return {le16s(e), le16s(e + 2), le16s(e + 4), le16s(e + 6)};
}

bool cFrameSet::frameIsSound(int index) const {
  return index >= 1 && index <= count_ && sound_[static_cast<size_t>(index - 1)] != 0;
}

void cFrameSet::drawFrame(int index, cPoint at, const cRect& clipIn, CWUnpackedSprite& surface) const {
  if (!frameIsSound(index)) return;
  const cRect e = frameRect(index);
  const cSpriteSize size = surface.size();
  // In int throughout: a frame placed far off must not wrap around 16 bits.
  int top = std::max<int>(clipIn.top, 0), left = std::max<int>(clipIn.left, 0);
  int bottom = std::min<int>(clipIn.bottom, size.height), right = std::min<int>(clipIn.right, size.width);
  const int dTop = e.top + at.v, dLeft = e.left + at.h, dBottom = e.bottom + at.v, dRight = e.right + at.h;
  top = std::max(top, dTop);
  left = std::max(left, dLeft);
  bottom = std::min(bottom, dBottom);
  right = std::min(right, dRight);
  if (bottom - top <= 0 || right - left <= 0) return;

  uint8_t* dst = surface.pixelAddress(left, top);
  const ptrdiff_t stride = surface.rowStride();
  const uint8_t* src = bytes_.data() + le32(&bytes_[4 + static_cast<size_t>(index - 1) * kEntryBytes + 8]);
  if (top == dTop && left == dLeft && bottom == dBottom && right == dRight)
    decodeFrameFull(src, dst, stride);
  else
    decodeFrameClipped(src, top - dTop, bottom - top, left - dLeft, right - left, dst, stride);
}

void cFrameSet::drawFirstFrameAt(CWUnpackedSprite& surface, int x, int y, const cWinRect* rect) const {
  const cWinRect r = rect ? *rect : frameRect(1).toWin();
  const cPoint at(y - r.top, x - r.left);
  const cRect clip(y, x, y + (r.bottom - r.top), x + (r.right - r.left));
  drawFrame(1, at, clip, surface);
}
