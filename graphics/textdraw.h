// Text on 8-bit surfaces, drawn with FreeType in one palette index on a
// transparent background.
//
// Font names of the program map to faces found with fontconfig:
//   "Helvetica", "MS Sans Serif"  Liberation Sans (the same metrics)
//   "Small Fonts"                 a small sans face (Liberation Sans)
// A height is the font's cell height in pixels (ascent + descent), as the
// Windows font calls take a positive height. Glyphs are hinted and drawn
// without anti-aliasing: every pixel is the text colour or untouched.
// Texts are Windows-1252 bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/wingdib.h"

// DrawText-style layout flags.
enum : unsigned {
  kTextLeft = 0x0000,
  kTextCenter = 0x0001,
  kTextVCenter = 0x0004,   // with kTextSingleLine only
  kTextWordBreak = 0x0010,
  kTextSingleLine = 0x0020,
  kTextNoPrefix = 0x0800,  // '&' is an ordinary character (it always is here)
};

class CWFont {
 public:
  // family as the program names it; weight 400 normal, 700 bold.
  CWFont(const std::string& family, int height, int weight = 400);
  ~CWFont();
  CWFont(const CWFont&) = delete;
  CWFont& operator=(const CWFont&) = delete;

  // The four fonts every gadget shares, made on first request.
  static const CWFont& smallFonts11();     // "Small Fonts" 11
  static const CWFont& helvetica16();      // "Helvetica" 16
  static const CWFont& helvetica16Bold();  // "Helvetica" 16, weight 700
  static const CWFont& helvetica24();      // "Helvetica" 24

  // false when no face could be found: such a font draws nothing.
  bool usable() const;
  int height() const { return ascent_ + descent_; }
  int ascent() const { return ascent_; }
  int descent() const { return descent_; }
  // The face file fontconfig chose (empty when none).
  const std::string& file() const { return file_; }

  // Width of a text on one line (Windows-1252).
  int textWidth(std::string_view text) const;

  struct cGlyph {
    int left = 0, top = 0;       // bitmap origin relative to the pen on the baseline
    int width = 0, rows = 0;
    int advance = 0;
    std::vector<uint8_t> bits;   // one byte a pixel, 1 = ink
  };
  const cGlyph& glyph(char32_t codePoint) const;

 private:
  struct cFace;
  std::unique_ptr<cFace> face_;
  std::string file_;
  int ascent_ = 0, descent_ = 0;
};

// Width and height of the text as drawText would lay it out in a rectangle
// `width` wide (only word breaking uses the width).
cSpriteSize textExtent(const CWFont& font, std::string_view text, int width = 0x7FFF,
                       unsigned flags = kTextSingleLine);

// Draws the text into rect in the palette index nearest to colour, clipped
// to rect and the surface. Returns the height of the text drawn.
int drawText(CWUnpackedSprite& surface, const CWFont& font, std::string_view text,
             const cWinRect& rect, cColorRef colour, unsigned flags);

// The lines a text breaks into for a width (word breaking and line breaks).
std::vector<std::string> breakLines(const CWFont& font, std::string_view text, int width,
                                    unsigned flags);
