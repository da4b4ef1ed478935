// Frame sets: the "HR" run-length pictures of resource type 1004.
//
// Frame set (little-endian unless stated):
//
//   offset  size    field
//   0       2       "HR"
//   2       2       frame count N (0 allowed)
//   4       12 * N  frame table; entry i describes frame number i + 1:
//                     0  2  top     (signed, relative to the set's origin)
//                     2  2  left    (signed)
//                     4  2  bottom  (signed, exclusive)
//                     6  2  right   (signed, exclusive)
//                     8  4  offset of the frame's pixel data from byte 0
//   ...             pixel data
//
// Pixel data is a stream of records, each starting with a BIG-endian word:
//
//   0xF000 + n   one image row; n = the whole record's length in bytes,
//                these two included. Run codes follow until a byte whose two
//                high bits are set (the first byte of the next word).
//   0xE000 + n   n transparent rows
//   0xD000       end of frame
//
// Run code c: count = (c & 0x3F) + 1;
//   c & 0xC0 = 0x00  literal: count pixel bytes follow
//              0x40  skip count pixels (the destination keeps its pixels)
//              0x80  fill: one pixel byte follows, written count times
//              0xC0  the row has ended
//
// Rows start at the frame's left column; columns after a row's last run are
// transparent. Frames are decoded straight from the resource bytes into the
// surface on every draw; nothing is cached.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/wingdib.h"
#include "shell/core/liveobjects.h"
#include "shell/core/resources.h"
#include "shell/core/types.h"

inline constexpr uint16_t kFrameSetResourceType = 1004;

class cFrameSet : public cLiveObject {
 public:
  // The built-in empty set (no frames).
  cFrameSet();
  // Resource 1004/resourceId by the usual lookup (the artwork library),
  // with the retry box when it is missing.
  explicit cFrameSet(uint16_t resourceId);
  // The same in a named module (the player's or the editor's own resources).
  cFrameSet(uint16_t resourceId, cResourceModule& module);
  // A set over bytes that the caller keeps alive.
  static cFrameSet borrowing(std::span<const uint8_t> bytes);
  // A set that keeps its own copy of the bytes (tests, built pictures).
  static cFrameSet owning(std::vector<uint8_t> bytes);

  cFrameSet(cFrameSet&& other) noexcept;
  cFrameSet& operator=(cFrameSet&& other) noexcept;
  cFrameSet(const cFrameSet&) = delete;
  cFrameSet& operator=(const cFrameSet&) = delete;

  int frameCount() const { return count_; }
  // The rectangle of frame `index` (1-based); the empty rectangle outside 1..N.
  cRect frameRect(int index) const;
  // Draws frame `index` with the set's origin at `at`, touching only pixels
  // inside `clip` and the surface.
  void drawFrame(int index, cPoint at, const cRect& clip, CWUnpackedSprite& surface) const;
  // Draws frame 1 so that the top-left of `rect` (frame 1's rectangle when
  // null) lands at (x, y), clipped to a rectangle of rect's size there.
  void drawFirstFrameAt(CWUnpackedSprite& surface, int x, int y,
                        const cWinRect* rect = nullptr) const;

  // Whether frame `index` passed the check made when the set was bound.
  // A damaged frame (records running outside the resource, rows wider or
  // more numerous than its rectangle) draws nothing.
  bool frameIsSound(int index) const;

  // The bytes the set reads.
  std::span<const uint8_t> bytes() const { return bytes_; }

 private:
  void bind(std::span<const uint8_t> bytes);

  std::vector<uint8_t> own_;
  std::span<const uint8_t> bytes_;
  int count_ = 0;
  std::vector<uint8_t> sound_;  // one flag per frame
};

// The two decoders, also used by the benchmark. They trust their input:
// `src` must be the first record of a frame that passed the set's check.
// `dst` is the destination of the frame's top-left pixel (the full decoder)
// or of column xStart in row yStart (the clipped one).
void decodeFrameFull(const uint8_t* src, uint8_t* dst, ptrdiff_t stride);
void decodeFrameClipped(const uint8_t* src, int yStart, int rows, int xStart, int cols,
                        uint8_t* dst, ptrdiff_t stride);
