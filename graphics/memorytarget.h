// A draw target in memory: a 24-bit picture that surfaces are copied to.
// zanbel-cli and the tests use it where the desktop copies to a window.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/wingdib.h"

class CWMemoryTarget : public CWDrawTarget {
 public:
  CWMemoryTarget(int width, int height);

  // Copies what lies inside the picture; the rest is dropped.
  void copyPixels(int x, int y, int width, int height, const uint8_t* topRow, ptrdiff_t stride,
                  const cColourTable& colours) override;

  int width() const { return width_; }
  int height() const { return height_; }
  // Red, green, blue of pixel (x, y).
  cColorRef pixel(int x, int y) const;
  // Rows top to bottom, three bytes (red, green, blue) a pixel.
  const std::vector<uint8_t>& rgb() const { return rgb_; }

 private:
  int width_, height_;
  std::vector<uint8_t> rgb_;
};
