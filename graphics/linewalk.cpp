#include "graphics/linewalk.h"

#include <algorithm>

namespace {

// Clips the ends against one edge of one axis: `a` is the coordinate across
// the edge (x for the left and right edges), `b` the other one. An end
// beyond the edge moves onto it along the line, interpolated from end 1 with
// the division truncating toward zero. false when both ends are beyond.
bool clipEdge(int& a1, int& b1, int& a2, int& b2, int edge, bool lowSide) {
  auto beyond = [&](int a) { return lowSide ? a < edge : a > edge; };
  if (beyond(a1) && beyond(a2)) return false;
  if (beyond(a1) || beyond(a2)) {
    const int b = static_cast<int>(b1 + int64_t(b2 - b1) * (edge - a1) / (a2 - a1));
    if (beyond(a1)) {
      a1 = edge;
      b1 = b;
    } else {
      a2 = edge;
      b2 = b;
    }
  }
  return true;
}

}  // namespace

bool clipLine(int width, int height, cLineEnds& l) {
  if (width <= 0 || height <= 0) return false;
  return clipEdge(l.x1, l.y1, l.x2, l.y2, 0, true) &&              // left
         clipEdge(l.x1, l.y1, l.x2, l.y2, width - 1, false) &&     // right
         clipEdge(l.y1, l.x1, l.y2, l.x2, 0, true) &&              // top
         clipEdge(l.y1, l.x1, l.y2, l.x2, height - 1, false) &&    // bottom
         !(l.x1 == l.x2 && l.y1 == l.y2);
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
