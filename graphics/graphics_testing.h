// Helpers of the graphics tests: frames drawn as text, surfaces read back.
#pragma once

#include <string>
#include <vector>

#include "graphics/hrencoder.h"
#include "graphics/wingdib.h"

namespace gfxtest {

// A frame from rows of text: '.' is transparent, any other character c the
// palette index c (so 'A' is 65). All rows must have the same length.
inline cFramePicture frameFromArt(const std::vector<std::string>& rows, int top = 0, int left = 0) {
  cFramePicture f;
  const int h = static_cast<int>(rows.size());
  const int w = h ? static_cast<int>(rows[0].size()) : 0;
  f.rect = cRect(top, left, top + h, left + w);
  for (const std::string& r : rows)
    for (char c : r) f.pixels.push_back(c == '.' ? int16_t(-1) : int16_t(static_cast<uint8_t>(c)));
  return f;
}

// Every pixel of the surface, row by row from the top.
inline std::vector<uint8_t> pixelsOf(const CWUnpackedSprite& s) {
  std::vector<uint8_t> out;
  const cSpriteSize size = s.size();
  for (int y = 0; y < size.height; ++y)
    for (int x = 0; x < size.width; ++x) out.push_back(*s.pixelAddress(x, y));
  return out;
}

// What drawing `f` with the set's origin at (atV, atH), clipped to `clip`,
// must leave on a surface that held `before`: pixel by pixel, no decoder.
inline std::vector<uint8_t> expectedDraw(std::vector<uint8_t> before, int width, int height,
                                         const cFramePicture& f, int atV, int atH, const cRect& clip) {
  for (int y = 0; y < f.height(); ++y)
    for (int x = 0; x < f.width(); ++x) {
      const int sx = f.rect.left + atH + x, sy = f.rect.top + atV + y;
      if (sx < 0 || sy < 0 || sx >= width || sy >= height) continue;
      if (sy < clip.top || sy >= clip.bottom || sx < clip.left || sx >= clip.right) continue;
      if (f.at(x, y) >= 0) before[static_cast<size_t>(sy) * width + sx] = static_cast<uint8_t>(f.at(x, y));
    }
  return before;
}

}  // namespace gfxtest
