// Walking a straight line over a surface: the wire segments are drawn, and
// the pixels under a moving segment saved and put back, along the same walk.
#pragma once

#include <cstdint>
#include <span>
#include <utility>

#include "graphics/wingdib.h"

// The ends of a segment after clipping to a surface (ends inclusive).
struct cLineEnds {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Clips the segment to columns 0 .. width - 1 and rows 0 .. height - 1,
// edge by edge (left, right, top, bottom). Nothing when the segment lies
// outside, or when its clipped ends coincide.
bool clipLine(int width, int height, cLineEnds& line);

// Calls visit(pixel) for each pixel of the walk, in walk order; returns how
// many were visited (0 for a rejected or one-point segment).
template <typename Visit>
int walkLine(CWUnpackedSprite& surface, int x1, int y1, int x2, int y2, Visit visit);

// Draws the line in one palette index.
void drawLine(CWUnpackedSprite& surface, int x1, int y1, int x2, int y2, uint8_t index);
// Reads the pixels along the line into `buffer` (as many as fit); returns the count.
int saveLine(CWUnpackedSprite& surface, int x1, int y1, int x2, int y2, std::span<uint8_t> buffer);
// Writes them back along the same line.
int restoreLine(CWUnpackedSprite& surface, int x1, int y1, int x2, int y2,
                std::span<const uint8_t> buffer);
// The buffer size that holds any clipped line on a surface: max(width, height).
inline int lineBufferSize(const CWUnpackedSprite& surface) {
  const cSpriteSize s = surface.size();
  return s.width > s.height ? s.width : s.height;
}

template <typename Visit>
int walkLine(CWUnpackedSprite& surface, int x1, int y1, int x2, int y2, Visit visit) {
  const cSpriteSize size = surface.size();
  cLineEnds l{x1, y1, x2, y2};
  if (!clipLine(size.width, size.height, l)) return 0;
  int dx = l.x2 - l.x1, dy = l.y2 - l.y1;
  // Steep lines are walked along y, the others along x, always from the
  // lower end of that axis.
  const bool steep = (dx < 0 ? -dx : dx) < (dy < 0 ? -dy : dy);
  if (steep ? l.y1 > l.y2 : l.x1 > l.x2) {
    std::swap(l.x1, l.x2);
    std::swap(l.y1, l.y2);
    dx = -dx;
    dy = -dy;
  }
  // Step k meets the other axis at (k * minor + half) / major, truncated
  // toward zero, half being major / 2 with minor's sign: minor's sign times
  // floor((k * |minor| + major / 2) / major). The remainder of that division
  // is carried from step to step; as |minor| <= major it wraps at most once
  // a step. Half a step is so rounded away from the line's start on either
  // side, and a line leaning left reaches its end point as one leaning right
  // does.
  const int major = steep ? dy : dx, minor = steep ? dx : dy;
  const int minorSize = minor < 0 ? -minor : minor;
  const ptrdiff_t stride = surface.rowStride();
  const ptrdiff_t majorStep = steep ? stride : 1;
  const ptrdiff_t minorStep = (steep ? 1 : stride) * (minor < 0 ? -1 : 1);
  // Row y lies at topRowAddress() + y * rowStride() in both orientations, so
  // the walk moves by whole rows and single pixels from its first pixel.
  uint8_t* pixel = surface.pixelAddress(l.x1, l.y1);
  int remainder = major / 2;
  for (int k = 0;;) {
    visit(*pixel);
    if (++k > major) break;
    pixel += majorStep;
    remainder += minorSize;
    if (remainder >= major) {
      remainder -= major;
      pixel += minorStep;
    }
  }
  return major + 1;
}
