// Writing "HR" frame sets (the layout is in graphics/frameset.h).
//
// Our artwork keeps these rules: one row record per row, no transparent-row
// records, every frame ended by 0xD000, frames back to back in table order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/core/types.h"

// One frame as pixels: -1 is transparent, 0..255 a palette index.
struct cFramePicture {
  cRect rect;                  // where the frame lies relative to the set's origin
  std::vector<int16_t> pixels; // rect.height() rows of rect.width() pixels

  int width() const { return rect.width(); }
  int height() const { return rect.height(); }
  int16_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width() + x]; }
};

struct cEncodeResult {
  std::vector<uint8_t> bytes;
  std::string error;  // empty on success
  bool ok() const { return error.empty(); }
};

// Encodes the frames as one set. Fails (with a reason) when a frame's pixel
// count does not match its rectangle or a row record would pass 4095 bytes.
cEncodeResult encodeFrameSet(const std::vector<cFramePicture>& frames);

// The pixels of one encoded row of run codes (without its record word).
void encodeRow(const int16_t* pixels, int width, std::vector<uint8_t>& out);
