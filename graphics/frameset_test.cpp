#include "graphics/frameset.h"

#include <gtest/gtest.h>

#include "graphics/graphics_testing.h"
#include "platform/headless/headless.h"

using gfxtest::expectedDraw;
using gfxtest::frameFromArt;
using gfxtest::pixelsOf;

namespace {

// A frame with every kind of run: literals, fills, inner skips, rows that end
// early (trailing transparency) and an empty row.
cFramePicture sampleFrame(int top = 0, int left = 0) {
  return frameFromArt({"ABCDEEEEE.",
                       "..FFFFFF..",
                       "GH....IJKL",
                       "..........",
                       "MMMMMMMMMM",
                       "N.O.P.Q.R."},
                      top, left);
}

std::vector<uint8_t> encode(const std::vector<cFramePicture>& frames) {
  cEncodeResult r = encodeFrameSet(frames);
  EXPECT_TRUE(r.ok()) << r.error;
  return r.bytes;
}

struct DrawCase {
  const char* what;
  int atV, atH;
  cRect clip;
};

class FrameSetDraw : public ::testing::TestWithParam<int> {};

// Every placement below is checked against a pixel-by-pixel overlay, on a
// top-down and on a bottom-up surface.
TEST_P(FrameSetDraw, MatchesThePixelsOfTheFrameWhereverItIsClipped) {
  const int orientation = GetParam();
  const cFramePicture frame = sampleFrame();
  const cFrameSet set = cFrameSet::owning(encode({frame}));
  const cRect all(-100, -100, 100, 100);
  const DrawCase cases[] = {
      {"wholly inside", 3, 4, all},
      {"at the surface's corner", 0, 0, all},
      {"off the left edge", 2, -3, all},
      {"off the right edge", 2, 14, all},
      {"off the top", -2, 3, all},
      {"off the bottom", 11, 3, all},
      {"clipped on every side", 3, 4, cRect(4, 6, 7, 11)},
      {"clip of one column", 3, 4, cRect(0, 7, 20, 8)},
      {"clip of one row", 3, 4, cRect(5, 0, 6, 20)},
      {"wholly outside the clip", 3, 4, cRect(0, 0, 2, 2)},
      {"wholly outside the surface", 30, 30, all},
      {"far outside on the negative side", -32000, -32000, all},
      {"empty clip", 3, 4, cRect(5, 5, 5, 9)},
  };
  for (const DrawCase& c : cases) {
    CWinGDib surface(17, 13, orientation);
    surface.fill(7);
    const std::vector<uint8_t> before = pixelsOf(surface);
    set.drawFrame(1, cPoint(c.atV, c.atH), c.clip, surface);
    EXPECT_EQ(pixelsOf(surface), expectedDraw(before, 17, 13, frame, c.atV, c.atH, c.clip)) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(BothOrientations, FrameSetDraw, ::testing::Values(1, -1));

TEST(FrameSet, FramesWithAnOffsetOriginAreDrawnAroundTheirHotSpot) {
  // The pin arrows have negative top/left: the drawing point is inside the picture.
  const cFramePicture arrow = frameFromArt({"..X..", ".XXX.", "XXXXX"}, -1, -2);
  const cFrameSet set = cFrameSet::owning(encode({sampleFrame(), arrow}));
  EXPECT_EQ(set.frameRect(2), cRect(-1, -2, 2, 3));
  CWinGDib surface(8, 8, 1);
  const std::vector<uint8_t> before = pixelsOf(surface);
  set.drawFrame(2, cPoint(1, 2), cRect(0, 0, 8, 8), surface);
  EXPECT_EQ(pixelsOf(surface), expectedDraw(before, 8, 8, arrow, 1, 2, cRect(0, 0, 8, 8)));
  EXPECT_EQ(*surface.pixelAddress(2, 0), 'X');
}

TEST(FrameSet, FullAndClippedDecodersGiveTheSamePixels) {
  // A row record longer than 255 bytes (its length reaches into the low
  // nibble of the first byte) is included: 300 literal pixels.
  std::string wide;
  for (int i = 0; i < 300; ++i) wide += static_cast<char>('A' + i % 7);
  std::string wideHoles = wide;
  for (int i = 0; i < 300; i += 5) wideHoles[i] = '.';
  const cFramePicture frame = frameFromArt({wide, wideHoles, std::string(300, 'Z'), wide});
  const std::vector<uint8_t> bytes = encode({frame});
  const uint8_t* data = bytes.data() + 16;  // right behind the one table entry
  ASSERT_GT(((data[0] & 0x0F) << 8) | data[1], 255);

  CWinGDib full(300, 4, 1), clipped(300, 4, 1);
  decodeFrameFull(data, full.topRowAddress(), full.rowStride());
  decodeFrameClipped(data, 0, 4, 0, 300, clipped.topRowAddress(), clipped.rowStride());
  EXPECT_EQ(pixelsOf(full), pixelsOf(clipped));
  EXPECT_EQ(pixelsOf(full), expectedDraw(std::vector<uint8_t>(1200, 0), 300, 4, frame, 0, 0,
                                         cRect(0, 0, 4, 300)));
}

TEST(FrameSet, ClippedDecoderSkipsLongRowsAboveTheClipByTheirLength) {
  std::string wide;
  for (int i = 0; i < 290; ++i) wide += static_cast<char>(1 + i % 200);
  const cFramePicture frame = frameFromArt({wide, wide, "ABC" + std::string(287, '.')});
  const cFrameSet set = cFrameSet::owning(encode({frame}));
  CWinGDib surface(300, 3, -1);
  set.drawFrame(1, cPoint(0, 0), cRect(2, 0, 3, 2), surface);
  EXPECT_EQ(*surface.pixelAddress(0, 2), 'A');
  EXPECT_EQ(*surface.pixelAddress(1, 2), 'B');
  EXPECT_EQ(*surface.pixelAddress(2, 2), 0);
  EXPECT_EQ(*surface.pixelAddress(0, 1), 0);
}

// Runs of every length 1 to 64 of each kind, written as records by hand so
// that each length really is a literal, a fill or a skip: row n holds a
// literal of n, a fill of n, a literal and a fill again, a skip of n and a
// last literal. The decoders move each run in pieces chosen by its length;
// a piece that reaches one pixel too far or stops one short shows against
// the pixel overlay, wherever the clip's edges cut the runs.
TEST(FrameSet, EveryRunLengthOfEveryKindIsDrawnExactlyWhereverTheClipCuts) {
  constexpr int kLongest = 64, kWidth = 6 * kLongest;
  cFramePicture picture;
  picture.rect = cRect(0, 0, kLongest, kWidth);
  picture.pixels.assign(size_t(kLongest) * kWidth, -1);
  std::vector<uint8_t> data;
  for (int n = 1; n <= kLongest; ++n) {
    std::vector<uint8_t> record = {0, 0};
    auto literal = [&](int from) {
      record.push_back(uint8_t(n - 1));
      for (int i = 0; i < n; ++i) {
        const auto value = uint8_t(10 + (n * 7 + from + i) % 200);
        record.push_back(value);
        picture.pixels[size_t(n - 1) * kWidth + size_t(from + i)] = value;
      }
    };
    auto fill = [&](int from) {
      const auto value = uint8_t(220 + (n + from) % 30);
      record.push_back(uint8_t(0x80 + n - 1));
      record.push_back(value);
      for (int i = 0; i < n; ++i) picture.pixels[size_t(n - 1) * kWidth + size_t(from + i)] = value;
    };
    literal(0);
    fill(n);
    literal(2 * n);
    fill(3 * n);
    record.push_back(uint8_t(0x40 + n - 1));
    literal(5 * n);
    record[0] = uint8_t(0xF0 | (record.size() >> 8));
    record[1] = uint8_t(record.size() & 0xFF);
    data.insert(data.end(), record.begin(), record.end());
  }
  data.insert(data.end(), {0xD0, 0x00});
  std::vector<uint8_t> bytes = {'H', 'R', 1, 0, 0, 0, 0, 0, kLongest, 0, kWidth & 0xFF, kWidth >> 8, 16, 0, 0, 0};
  bytes.insert(bytes.end(), data.begin(), data.end());
  const cFrameSet set = cFrameSet::owning(bytes);
  ASSERT_TRUE(set.frameIsSound(1));
  ASSERT_EQ(set.frameRect(1), picture.rect);

  for (int orientation : {1, -1}) {
    CWinGDib pattern(kWidth + 6, kLongest + 4, orientation), surface(kWidth + 6, kLongest + 4, orientation);
    for (int y = 0; y < kLongest + 4; ++y)
      for (int x = 0; x < kWidth + 6; ++x) *pattern.pixelAddress(x, y) = uint8_t(1 + (x + y) % 5);
    const std::vector<uint8_t> before = pixelsOf(pattern);
    auto check = [&](const cRect& clip) {
      CWinGDib::clippedBlit(pattern, surface, 0, 0, nullptr, false);
      set.drawFrame(1, cPoint(2, 3), clip, surface);
      EXPECT_EQ(pixelsOf(surface), expectedDraw(before, kWidth + 6, kLongest + 4, picture, 2, 3, clip))
          << "orientation " << orientation << ", clip top " << clip.top << " left " << clip.left << " bottom "
          << clip.bottom << " right " << clip.right;
    };
    check(surface.bounds());  // the full decoder
    for (int width : {1, 3, 17, 65})
      for (int left = 0; left + width <= kWidth + 6; ++left) check(cRect(3, int16_t(left), 61, int16_t(left + width)));
  }
}

TEST(FrameSet, ClippedDecoderDrawsNothingForAnEmptyWindow) {
  const std::vector<uint8_t> bytes = encode({sampleFrame()});
  const uint8_t* data = bytes.data() + 16;
  struct Window {
    int yStart, rows, xStart, cols;
  } windows[] = {{0, 6, 0, 0}, {0, 0, 0, 10}, {0, 6, -1, 4}};
  for (const Window& w : windows) {
    CWinGDib surface(12, 8, 1);
    surface.fill(3);
    decodeFrameClipped(data, w.yStart, w.rows, w.xStart, w.cols, surface.pixelAddress(1, 1), surface.rowStride());
    EXPECT_EQ(pixelsOf(surface), std::vector<uint8_t>(96, 3))
        << "rows " << w.rows << " from " << w.yStart << ", columns " << w.cols << " from " << w.xStart;
  }
}

TEST(FrameSet, TransparentRowRecordsMoveDownInBothDecoders) {
  // Our encoder writes no 0xE000 records, but frame sets from elsewhere may.
  std::vector<uint8_t> bytes = {'H', 'R', 1, 0, 0, 0, 0, 0, 4, 0, 3, 0, 16, 0, 0, 0,
                                0xF0, 0x04, 0x82, 9, 0xE0, 0x02, 0xF0, 0x05, 0x41, 0x00, 5, 0xD0, 0x00};
  const cFrameSet set = cFrameSet::owning(bytes);
  ASSERT_TRUE(set.frameIsSound(1));
  const cFramePicture expected = frameFromArt({"\x09\x09\x09", "...", "...", "..\x05"});
  for (const cRect& clip : {cRect(0, 0, 9, 9), cRect(3, 2, 4, 3), cRect(1, 0, 9, 9)}) {
    CWinGDib surface(5, 6, 1);
    surface.fill(1);
    const std::vector<uint8_t> before = pixelsOf(surface);
    set.drawFrame(1, cPoint(1, 1), clip, surface);
    EXPECT_EQ(pixelsOf(surface), expectedDraw(before, 5, 6, expected, 1, 1, clip));
  }
}

TEST(FrameSet, EmptySetHasNoFramesAndDrawsNothing) {
  const cFrameSet empty;
  EXPECT_EQ(empty.frameCount(), 0);
  EXPECT_TRUE(empty.frameRect(1).isEmpty());
  CWinGDib surface(4, 4, 1);
  surface.fill(3);
  empty.drawFrame(1, cPoint(0, 0), cRect(0, 0, 4, 4), surface);
  empty.drawFirstFrameAt(surface, 0, 0);
  EXPECT_EQ(pixelsOf(surface), std::vector<uint8_t>(16, 3));
}

TEST(FrameSet, FrameNumbersOutsideTheSetGiveEmptyRectanglesAndDrawNothing) {
  const cFrameSet set = cFrameSet::owning(encode({sampleFrame()}));
  CWinGDib surface(12, 8, 1);
  for (int index : {0, -1, 2, 1000}) {
    EXPECT_TRUE(set.frameRect(index).isEmpty()) << index;
    set.drawFrame(index, cPoint(0, 0), cRect(0, 0, 8, 12), surface);
  }
  EXPECT_EQ(pixelsOf(surface), std::vector<uint8_t>(96, 0));
}

TEST(FrameSet, DrawFirstFrameAtPlacesTheRectanglesCornerAndClipsToItsSize) {
  const cFramePicture frame = sampleFrame(2, 1);
  const cFrameSet set = cFrameSet::owning(encode({frame}));
  {
    CWinGDib surface(20, 12, 1);
    const auto before = pixelsOf(surface);
    set.drawFirstFrameAt(surface, 5, 3);  // frame 1's own rectangle: its corner lands at (5, 3)
    EXPECT_EQ(pixelsOf(surface), expectedDraw(before, 20, 12, frame, 1, 4, cRect(0, 0, 12, 20)));
  }
  {
    CWinGDib surface(20, 12, 1);
    const auto before = pixelsOf(surface);
    const cWinRect part{3, 2, 7, 5};  // left 3, top 2, right 7, bottom 5: a 4 x 3 window
    set.drawFirstFrameAt(surface, 0, 0, &part);
    EXPECT_EQ(pixelsOf(surface), expectedDraw(before, 20, 12, frame, -2, -3, cRect(0, 0, 3, 4)));
  }
}

// Damaged frame sets: every prefix of a good set, and a few single-byte
// damages, must neither read outside the bytes nor write outside the surface
// (the sanitizer build watches both). A frame that does not pass the check
// is left undrawn; one that passes draws exactly its pixels.
TEST(FrameSet, DamagedSetsStayInsideTheirBytesAndTheSurface) {
  const cFramePicture a = sampleFrame(), b = frameFromArt({"XY", "ZZ"}, -1, -1);
  const std::vector<uint8_t> good = encode({a, b});
  auto drawAll = [&](const std::vector<uint8_t>& bytes) {
    const cFrameSet set = cFrameSet::owning(bytes);
    for (int index = 1; index <= set.frameCount(); ++index)
      for (const cRect& clip : {cRect(0, 0, 40, 40), cRect(2, 3, 5, 6)}) {
        CWinGDib surface(6, 5, -1);
        surface.fill(1);
        set.drawFrame(index, cPoint(0, 0), clip, surface);
        set.drawFrame(index, cPoint(3, 3), clip, surface);
      }
    return set.frameCount();
  };
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(n));
    drawAll(cut);
  }
  for (size_t i = 4; i < good.size(); ++i)
    for (uint8_t v : {uint8_t(0x00), uint8_t(0x3F), uint8_t(0xBF), uint8_t(0xF0), uint8_t(0xFF)}) {
      std::vector<uint8_t> bad = good;
      bad[i] = v;
      drawAll(bad);
    }
}

TEST(FrameSet, ChecksRejectFramesTheDecodersCouldNotDrawSafely) {
  const std::vector<uint8_t> good = encode({frameFromArt({"AB", "CD"})});
  // Layout: 4 header; entry top 4, left 6, bottom 8, right 10, offset 12;
  // then F0 05 01 'A' 'B', F0 05 01 'C' 'D', D0 00 from byte 16.
  struct Damage {
    const char* what;
    size_t at;
    uint8_t value;
  } damages[] = {
      {"data offset past the end", 12, 0xF0},
      {"row wider than the frame", 10, 1},
      {"stored row length too short", 17, 0x04},
      {"stored row length too long", 17, 0x06},
      {"row length below the record word", 17, 0x01},
      {"more rows than the frame is high", 8, 1},
      {"negative width", 6, 5},
  };
  ASSERT_TRUE(cFrameSet::owning(good).frameIsSound(1));
  for (const Damage& d : damages) {
    std::vector<uint8_t> bad = good;
    bad[d.at] = d.value;
    EXPECT_FALSE(cFrameSet::owning(bad).frameIsSound(1)) << d.what;
  }
  // Not "HR", or a table running past the end: the empty set.
  EXPECT_EQ(cFrameSet::owning({'X', 'R', 1, 0}).frameCount(), 0);
  EXPECT_EQ(cFrameSet::owning({'H', 'R', 2, 0, 0, 0}).frameCount(), 0);
}

TEST(FrameSet, IsBoundToResource1004ByItsId) {
  cHeadlessPlatform headless;
  auto module = std::make_unique<cMemoryResourceModule>("ZBGADGET.DLL");
  module->add(kFrameSetResourceType, 504, encode({sampleFrame(), sampleFrame(-2, -2)}));
  cMemoryResourceModule own("own");
  own.add(kFrameSetResourceType, 101, encode({frameFromArt({"Q"})}));
  resourceLibraries().setGadgetLibrary(std::move(module));

  const cFrameSet fromLibrary(504);
  EXPECT_EQ(fromLibrary.frameCount(), 2);
  EXPECT_EQ(fromLibrary.frameRect(2), cRect(-2, -2, 4, 8));
  const cFrameSet fromOwn(101, own);
  EXPECT_EQ(fromOwn.frameRect(1), cRect(0, 0, 1, 1));

  resourceLibraries().release();
}

TEST(FrameSet, CountsAsALiveObject) {
  const int64_t before = liveObjectCount();
  {
    const cFrameSet a;
    cFrameSet b = cFrameSet::owning(encode({sampleFrame()}));
    cFrameSet c = std::move(b);
    EXPECT_EQ(c.frameCount(), 1);
    EXPECT_EQ(b.frameCount(), 0);
    EXPECT_GT(liveObjectCount(), before);
  }
  EXPECT_EQ(liveObjectCount(), before);
}

}  // namespace
