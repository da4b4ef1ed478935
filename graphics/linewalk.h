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
  int visited = 0;
  if ((dx < 0 ? -dx : dx) < (dy < 0 ? -dy : dy)) {
    if (l.y1 > l.y2) {
      std::swap(l.x1, l.x2);
      std::swap(l.y1, l.y2);
      dx = -dx;
      dy = -dy;
    }
    // Half a step is rounded away from the line's start on either side, so
    // a line leaning left reaches its end point as one leaning right does.
    const int half = dx < 0 ? -(dy / 2) : dy / 2;
    for (int y = l.y1; y <= l.y2; ++y, ++visited)
      visit(*surface.pixelAddress(((y - l.y1) * dx + half) / dy + l.x1, y));
  } else {
    if (l.x1 > l.x2) {
      std::swap(l.x1, l.x2);
      std::swap(l.y1, l.y2);
      dx = -dx;
      dy = -dy;
    }
    const int half = dy < 0 ? -(dx / 2) : dx / 2;
    for (int x = l.x1; x <= l.x2; ++x, ++visited)
      visit(*surface.pixelAddress(x, ((x - l.x1) * dy + half) / dx + l.y1));
  }
  return visited;
}
