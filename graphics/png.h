// PNG pictures: surfaces written as 8-bit palette PNGs (zanbel-cli, the
// golden-picture tests) and RGBA pictures read (the artwork build).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/wingdib.h"

// The surface as a palette PNG with the 256 colours of the table; the bytes
// depend only on the pixels and the colours (no time stamp).
std::vector<uint8_t> encodePng(const CWReadOnlyUnpackedSprite& surface, const cColourTable& colours);
// The same written to a file; false with a Danish error text on failure.
bool writePng(const std::string& path, const CWReadOnlyUnpackedSprite& surface,
              const cColourTable& colours, std::string& error);

struct cRgbaPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // rows top to bottom, red, green, blue, alpha (not premultiplied)
};
// Reads any PNG as 8-bit RGBA; false with a Danish error text on failure.
bool readPngRgba(const std::string& path, cRgbaPicture& picture, std::string& error);
