#include "graphics/linewalk.h"

#include <algorithm>

namespace {

// Moves the end (x, y) that lies beyond a vertical edge onto it, keeping the
// other end (ox, oy); the division truncates toward zero.
void onVerticalEdge(int edge, int& x, int& y, int ox, int oy) {
  y = static_cast<int>(oy + int64_t(y - oy) * (edge - ox) / (x - ox));
  x = edge;
}
void onHorizontalEdge(int edge, int& x, int& y, int ox, int oy) {
  x = static_cast<int>(ox + int64_t(x - ox) * (edge - oy) / (y - oy));
  y = edge;
}

}  // namespace

bool clipLine(int width, int height, cLineEnds& l) {
  if (width <= 0 || height <= 0) return false;
  const int right = width - 1, bottom = height - 1;
  // left
  if (l.x1 < 0 && l.x2 < 0) return false;
  if (l.x1 < 0) onVerticalEdge(0, l.x1, l.y1, l.x2, l.y2);
  else if (l.x2 < 0) onVerticalEdge(0, l.x2, l.y2, l.x1, l.y1);
  // right
  if (l.x1 > right && l.x2 > right) return false;
  if (l.x1 > right) onVerticalEdge(right, l.x1, l.y1, l.x2, l.y2);
  else if (l.x2 > right) onVerticalEdge(right, l.x2, l.y2, l.x1, l.y1);
  // top
  if (l.y1 < 0 && l.y2 < 0) return false;
  if (l.y1 < 0) onHorizontalEdge(0, l.x1, l.y1, l.x2, l.y2);
  else if (l.y2 < 0) onHorizontalEdge(0, l.x2, l.y2, l.x1, l.y1);
  // bottom
  if (l.y1 > bottom && l.y2 > bottom) return false;
  if (l.y1 > bottom) onHorizontalEdge(bottom, l.x1, l.y1, l.x2, l.y2);
  else if (l.y2 > bottom) onHorizontalEdge(bottom, l.x2, l.y2, l.x1, l.y1);
  return !(l.x1 == l.x2 && l.y1 == l.y2);
}

void drawLine(CWUnpackedSprite& surface, int x1, int y1, int x2, int y2, uint8_t index) {
  walkLine(surface, x1, y1, x2, y2, [index](uint8_t& p) { p = index; });
}

int saveLine(CWUnpackedSprite& surface, int x1, int y1, int x2, int y2, std::span<uint8_t> buffer) {
  size_t i = 0;
  walkLine(surface, x1, y1, x2, y2, [&](uint8_t& p) {
    if (i < buffer.size()) buffer[i++] = p;
  });
  return static_cast<int>(i);
}

int restoreLine(CWUnpackedSprite& surface, int x1, int y1, int x2, int y2,
                std::span<const uint8_t> buffer) {
  size_t i = 0;
  walkLine(surface, x1, y1, x2, y2, [&](uint8_t& p) {
    if (i < buffer.size()) p = buffer[i++];
  });
  return static_cast<int>(i);
}
