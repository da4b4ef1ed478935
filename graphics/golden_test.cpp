// Golden pictures of the decoders, the background and text. Each picture is
// made in more than one way where the ways must agree (full and clipped
// decoder, top-down and bottom-up surface), and every way is compared with
// the same file.
#include <gtest/gtest.h>

#include "graphics/background.h"
#include "graphics/frameset.h"
#include "graphics/golden.h"
#include "graphics/graphics_testing.h"
#include "graphics/textdraw.h"
#include "platform/headless/headless.h"

using gfxtest::frameFromArt;
using gfxtest::matchesGolden;

namespace {

// A little gadget: outline, a lighter top-left bevel, a window with holes
// (skips), and a pin stub that stops short of the right edge (a short row).
cFramePicture gadgetFrame() {
  const char k = char(10), hi = char(154), bd = char(118), sh = char(82), win = char(28), lit = char(251);
  std::vector<std::string> rows;
  const int w = 26, h = 18;
  for (int y = 0; y < h; ++y) {
    std::string r(w, '.');
    for (int x = 1; x < w - 3; ++x) {
      const bool edge = y == 0 || y == h - 1 || x == 1 || x == w - 4;
      char c = bd;
      if (edge) c = k;
      else if (y == 1 || x == 2) c = hi;
      else if (y == h - 2 || x == w - 5) c = sh;
      else if (y >= 5 && y < 12 && x >= 6 && x < 17) c = (x + y) % 3 == 0 ? '.' : ((x * y) % 5 ? win : lit);
      r[x] = c;
    }
    if (y == 8 || y == 9) r[w - 3] = r[w - 2] = char(232);
    if ((y == 4 || y == 13)) r[0] = char(232);
    rows.push_back(r);
  }
  return frameFromArt(rows);
}

std::vector<uint8_t> encoded(const std::vector<cFramePicture>& frames) {
  cEncodeResult r = encodeFrameSet(frames);
  EXPECT_TRUE(r.ok()) << r.error;
  return r.bytes;
}

class GoldenPictures : public ::testing::Test {
 protected:
  cHeadlessPlatform headless;
  CWinGInfo display{colourTableBytes(builtInProgramPalette())};
  const cColourTable& colours = builtInProgramPalette();
};

TEST_F(GoldenPictures, FullAndClippedDecodersAndBothOrientationsDrawTheSameFrame) {
  const cFramePicture frame = gadgetFrame();
  const std::vector<uint8_t> bytes = encoded({frame});
  const cFrameSet set = cFrameSet::borrowing(bytes);
  const uint8_t* data = bytes.data() + 16;
  for (int orientation : {1, -1}) {
    CWinGDib full(30, 22, orientation), clipped(30, 22, orientation);
    full.fill(248);
    clipped.fill(248);
    set.drawFrame(1, cPoint(2, 2), full.bounds(), full);
    decodeFrameClipped(data, 0, frame.height(), 0, frame.width(), clipped.pixelAddress(2, 2),
                       clipped.rowStride());
    EXPECT_TRUE(matchesGolden("decoder_whole_frame", full, colours)) << "orientation " << orientation;
    EXPECT_TRUE(matchesGolden("decoder_whole_frame", clipped, colours)) << "orientation " << orientation;
  }
}

TEST_F(GoldenPictures, ClippingOnEverySide) {
  // Nine cells; in each the frame hangs over a different side (or all of them)
  // of the cell's clip rectangle, which is outlined in dark red.
  const cFrameSet set = cFrameSet::owning(encoded({gadgetFrame()}));
  for (int orientation : {1, -1}) {
    CWinGDib sheet(3 * 40, 3 * 32, orientation);
    sheet.fill(255);
    for (int j = 0; j < 3; ++j)
      for (int i = 0; i < 3; ++i) {
        const cRect clip(j * 32 + 7, i * 40 + 7, j * 32 + 25, i * 40 + 33);
        if (i == 1 && j == 1) {
          // The middle cell: clipped on every side at once.
          set.drawFrame(1, cPoint(clip.top - 3, clip.left - 2), cRect(clip.top, clip.left, clip.top + 12, clip.left + 20), sheet);
          display.frameRect(sheet, cRect(clip.top - 1, clip.left - 1, clip.top + 13, clip.left + 21).toWin(), rgb(128, 0, 0));
          continue;
        }
        const int dv = (j - 1) * 12, dh = (i - 1) * 16;
        set.drawFrame(1, cPoint(clip.top + dv, clip.left + dh), clip, sheet);
        display.frameRect(sheet, clip.grownBy(1).toWin(), rgb(128, 0, 0));
      }
    // And beyond the sheet's own edges.
    set.drawFrame(1, cPoint(-9, 100), sheet.bounds(), sheet);
    set.drawFrame(1, cPoint(85, -20), sheet.bounds(), sheet);
    EXPECT_TRUE(matchesGolden("decoder_clipping", sheet, colours)) << "orientation " << orientation;
  }
}

TEST_F(GoldenPictures, BackgroundTilesAndBorder) {
  // A small pattern and border: the real artwork has its own golden pictures.
  cMemoryResourceModule module("artwork");
  module.add(kFrameSetResourceType, 700,
             encoded({frameFromArt({"\xEE\xEE\xED\xEE", "\xEE\xED\xEE\xEE", "\xEE\xEE\xEE\xEF"}),
                      frameFromArt({"\x1D\x1D\x17\x1D", "\x1D\x17\x1D\x1D", "\x1D\x1D\x1D\x11"})}));
  const char c = char(241), e = char(239), o = char(10);
  auto piece = [&](int w, int h, char fill) {
    std::vector<std::string> rows(static_cast<size_t>(h), std::string(static_cast<size_t>(w), fill));
    for (auto& r : rows) r[0] = o;
    rows[0] = std::string(static_cast<size_t>(w), o);
    return rows;
  };
  module.add(kFrameSetResourceType, kBorderFrameSet,
             encoded({frameFromArt(piece(12, 9, c)), frameFromArt(piece(10, 4, e)), frameFromArt(piece(12, 9, c)),
                      frameFromArt(piece(4, 7, e)), frameFromArt(piece(12, 9, c)), frameFromArt(piece(10, 4, e)),
                      frameFromArt(piece(12, 9, c)), frameFromArt(piece(4, 7, e))}));
  for (bool dark : {false, true}) {
    setBackgroundDark(dark);
    cBackground background(cRect(0, 0, 48, 70), module);
    int redraws = 0;
    background.onRedraw = [&] { ++redraws; };
    background.setPattern(700);
    EXPECT_EQ(redraws, 1);
    background.setPattern(700);
    EXPECT_EQ(redraws, 1);  // unchanged: nothing happens

    CWinGDib sheet(70, 48, -1);
    sheet.fill(249);
    background.drawBackground(cRect(0, 0, 48, 70), sheet);
    // An area that reaches into no side draws no edge pieces, and the corners
    // (clipped to it) leave it as it was.
    const std::vector<uint8_t> before = gfxtest::pixelsOf(sheet);
    background.drawBorder(cRect(12, 14, 30, 50), sheet);
    EXPECT_EQ(gfxtest::pixelsOf(sheet), before);
    background.drawBorder(sheet.bounds(), sheet);
    EXPECT_TRUE(matchesGolden(dark ? "background_dark" : "background_light", sheet, colours));

    background.setPattern(0);
    EXPECT_EQ(background.tile().size(), (cSpriteSize{1, 1}));
    background.drawBackground(cRect(10, 10, 20, 20), sheet);
    EXPECT_EQ(*sheet.pixelAddress(15, 15), display.nearestIndex(dark ? rgb(0, 0, 0) : rgb(255, 255, 255)));
  }
  setBackgroundDark(false);
}

TEST_F(GoldenPictures, SharedFonts) {
  CWinGDib sheet(260, 150, -1);
  sheet.fill(7);
  struct Line {
    const CWFont& font;
    const char* text;
    cColorRef colour;
  } lines[] = {
      {CWFont::smallFonts11(), "MERKUR VENUS JORDEN MARS", rgb(0, 128, 0)},
      {CWFont::helvetica16(), "Bl\xE5""b\xE6rgr\xF8""d og \xC6""bler (16)", rgb(0, 0, 0)},
      {CWFont::helvetica16Bold(), "Tekstvindue 0123456789", rgb(0, 0, 128)},
      {CWFont::helvetica24(), "Etiket \xC5\xD8", rgb(128, 0, 0)},
  };
  int y = 2;
  for (const Line& l : lines) {
    ASSERT_TRUE(l.font.usable());
    y += drawText(sheet, l.font, l.text, {4, y, 256, y + 40}, l.colour, kTextSingleLine | kTextNoPrefix);
  }
  // Centred, word-wrapped, and clipped at the rectangle's edge.
  const cWinRect box{10, y + 2, 150, 148};
  display.frameRect(sheet, box, rgb(128, 128, 128));
  drawText(sheet, CWFont::helvetica16(), "Et opslag med mange ord, der ikke kan st\xE5 p\xE5 \xE9n linje", box,
           rgb(0, 0, 0), kTextCenter | kTextWordBreak | kTextNoPrefix);
  drawText(sheet, CWFont::helvetica16Bold(), "Midt", {160, y + 2, 250, y + 40}, rgb(249, 0, 0) | rgb(255, 0, 0),
           kTextCenter | kTextVCenter | kTextSingleLine);
  EXPECT_TRUE(matchesGolden("text_shared_fonts", sheet, colours));
}

}  // namespace
