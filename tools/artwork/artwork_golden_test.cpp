// The built artwork: every set the program asks for is there, decodes
// soundly and keeps the geometry the gadgets rely on; the worksheet's
// patterns and border as a person sees them (golden pictures).
#include <gtest/gtest.h>

#include <map>

#include "export/resfile.h"
#include "graphics/background.h"
#include "graphics/golden.h"
#include "platform/headless/headless.h"

namespace {

cMemoryResourceModule& builtArtwork() {
  static cMemoryResourceModule module = [] {
    cMemoryResourceModule m("artwork.res");
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(loadFileBytes(ZANBEL_ARTWORK_RES, bytes, error)) << error;
    for (const cResEntry& e : readResFile(bytes).entries) m.add(e.type, e.name, e.data);
    return m;
  }();
  return module;
}

cFrameSet setOf(uint16_t id) {
  const auto bytes = builtArtwork().find(kFrameSetResourceType, id);
  EXPECT_TRUE(bytes.has_value()) << "no frame set " << id;
  return bytes ? cFrameSet::borrowing(*bytes) : cFrameSet();
}

TEST(Artwork, EverySetHasItsFramesAndTheirSizes) {
  struct Want {
    uint16_t id;
    int frames;
    std::vector<int> sameAsBounds;  // frames with the bounds frame's rectangle (first = bounds frame)
    int width, height;              // of the bounds frame
  } wants[] = {
      {100, 14, {}, 0, 0},
      {101, 2, {}, 0, 0},
      {504, 3, {}, 0, 0},
      {505, 4, {1, 2, 3, 4}, 28, 24},
      {700, 2, {1, 2}, 64, 64},
      {701, 2, {1, 2}, 64, 64},
      {702, 2, {1, 2}, 64, 64},
      {800, 1, {}, 0, 0},
      {1020, 14, {5, 6, 7, 10, 11, 12, 13, 14}, 98, 56},
      {1021, 17, {4}, 96, 72},
      {1024, 15, {1, 2, 3, 4, 5, 6, 7, 8}, 104, 50},
      {1025, 12, {1, 2, 3, 4, 5, 6, 7, 8}, 104, 50},
      {1026, 15, {1, 2, 3, 4, 5, 6, 7, 8}, 104, 50},
      {1028, 6, {1, 2, 3, 4, 5, 6}, 78, 52},
      {1029, 1, {1}, 80, 46},
      {1030, 1, {1}, 80, 46},
      {1031, 1, {1}, 80, 46},
      {1032, 1, {1}, 80, 46},
      {1063, 11, {11}, 64, 27},
  };
  for (const Want& w : wants) {
    const cFrameSet set = setOf(w.id);
    EXPECT_EQ(set.frameCount(), w.frames) << w.id;
    for (int i = 1; i <= set.frameCount(); ++i) EXPECT_TRUE(set.frameIsSound(i)) << w.id << " frame " << i;
    if (w.sameAsBounds.empty()) continue;
    const cRect bounds = set.frameRect(w.sameAsBounds[0]);
    EXPECT_EQ(bounds, cRect(0, 0, w.height, w.width)) << w.id;
    for (int f : w.sameAsBounds) EXPECT_EQ(set.frameRect(f), bounds) << w.id << " frame " << f;
  }
  // The border pieces have the sizes the worksheet tiles them by.
  const cFrameSet border = setOf(kBorderFrameSet);
  ASSERT_EQ(border.frameCount(), 8);
  for (int corner : {1, 3, 5, 7}) EXPECT_EQ(border.frameRect(corner), cRect(0, 0, 54, 84)) << corner;
  for (int edge : {2, 6}) EXPECT_EQ(border.frameRect(edge), cRect(0, 0, 11, 192)) << edge;
  for (int edge : {4, 8}) EXPECT_EQ(border.frameRect(edge), cRect(0, 0, 158, 11)) << edge;
  // The pin arrows' drawing point is their tip (input) or their tail (output).
  EXPECT_TRUE(setOf(504).frameRect(1).contains(cPoint(0, 0)));
  EXPECT_TRUE(setOf(504).frameRect(2).contains(cPoint(0, 0)));
}

TEST(Artwork, PinsTouchTheEdgeOfTheirPicture) {
  // Each pin point lies inside the picture, within 5 pixels of an edge, on a drawn pixel.
  const std::map<uint16_t, uint16_t> pinTableOf = {{1020, 1020}, {1021, 1021}, {1024, 1024}, {1025, 1024},
                                                   {1026, 1026}, {1028, 1028}, {1029, 1029}, {1030, 1030},
                                                   {1031, 1031}, {1032, 1032}, {1063, 1063}};
  const std::map<uint16_t, int> boundsFrame = {{1020, 5}, {1021, 4}, {1063, 11}};
  for (const auto& [setId, pinsId] : pinTableOf) {
    const cFrameSet set = setOf(setId);
    const int frame = boundsFrame.count(setId) ? boundsFrame.at(setId) : 1;
    const cRect r = set.frameRect(frame);
    CWinGDib picture(r.width(), r.height(), 1);
    set.drawFrame(frame, cPoint(-r.top, -r.left), picture.bounds(), picture);
    const auto pins = builtArtwork().find(1014, pinsId);
    ASSERT_TRUE(pins.has_value()) << pinsId;
    const auto& b = *pins;
    for (int i = 0; i < (b[0] | (b[1] << 8)); ++i) {
      const int v = int16_t(b[2 + 6 * i] | (b[3 + 6 * i] << 8)), h = int16_t(b[4 + 6 * i] | (b[5 + 6 * i] << 8));
      ASSERT_TRUE(picture.bounds().contains(cPoint(v, h))) << setId << " pin " << i;
      const int nearEdge = std::min({h, v, r.width() - 1 - h, r.height() - 1 - v});
      EXPECT_LE(nearEdge, 5) << setId << " pin " << i;
      EXPECT_NE(*picture.pixelAddress(h, v), 0) << setId << " pin " << i << " is on nothing";
    }
  }
}

TEST(GoldenArtwork, WorksheetPatternsAndBorder) {
  cHeadlessPlatform headless;
  CWinGInfo display(colourTableBytes(builtInProgramPalette()));
  for (uint16_t pattern : {kPatternSand, kPatternWaves, kPatternSteel})
    for (bool dark : {false, true}) {
      setBackgroundDark(dark);
      cBackground background(cRect(0, 0, 200, 300), builtArtwork());
      background.setPattern(pattern);
      CWinGDib sheet(300, 200);
      background.drawBackground(sheet.bounds(), sheet);
      background.drawBorder(sheet.bounds(), sheet);
      const std::string name = "artwork_" + std::to_string(pattern) + (dark ? "_dark" : "_light");
      EXPECT_TRUE(gfxtest::matchesGolden(name, sheet, builtInProgramPalette()));
    }
  setBackgroundDark(false);
}

}  // namespace
