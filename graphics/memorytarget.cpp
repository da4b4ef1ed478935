#include "graphics/memorytarget.h"

#include <algorithm>

CWMemoryTarget::CWMemoryTarget(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      rgb_(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3) {}

void CWMemoryTarget::copyPixels(int x, int y, int width, int height, const uint8_t* topRow,
                                ptrdiff_t stride, const cColourTable& colours) {
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + width, width_), y1 = std::min(y + height, height_);
  for (int ty = y0; ty < y1; ++ty) {
    const uint8_t* src = topRow + static_cast<ptrdiff_t>(ty - y) * stride + (x0 - x);
    uint8_t* dst = &rgb_[(static_cast<size_t>(ty) * static_cast<size_t>(width_) + static_cast<size_t>(x0)) * 3];
    for (int tx = x0; tx < x1; ++tx, ++src, dst += 3) {
      const cRGBQuad& q = colours[*src];
      dst[0] = q.red;
      dst[1] = q.green;
      dst[2] = q.blue;
    }
  }
}

cColorRef CWMemoryTarget::pixel(int x, int y) const {
  const uint8_t* p = &rgb_[(static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3];
  return ::rgb(p[0], p[1], p[2]);
}
