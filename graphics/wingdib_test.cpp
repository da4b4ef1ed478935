#include "graphics/wingdib.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "graphics/graphics_testing.h"
#include "graphics/memorytarget.h"
#include "platform/headless/headless.h"
#include "shell/core/resources.h"
#include "shell/core/settings.h"

using gfxtest::pixelsOf;

namespace {

struct FatalExit : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Installs a headless platform, a command line and a fatal-exit handler that throws.
class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setCommandLine(std::vector<std::string>{"zanbel"});
    setFatalExitHandler([](const char* m) { throw FatalExit(m ? m : ""); });
  }
  void TearDown() override {
    setFatalExitHandler(nullptr);
    setCommandLine(std::vector<std::string>{"zanbel"});
    CWinGInfo::failNextAllocations(0);
  }
  std::vector<uint8_t> paletteBytes(cRGBQuad all) {
    std::vector<uint8_t> b;
    for (int i = 0; i < 256; ++i) b.insert(b.end(), {all.blue, all.green, all.red, 0});
    return b;
  }
  cHeadlessPlatform headless;
};

TEST(Palette, BuiltInPaletteHasTheSystemColoursAtBothEndsAndTheCube) {
  const cColourTable& p = builtInProgramPalette();
  const cColourTable& sys = systemColours();
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(p[i], sys[i]) << i;
    EXPECT_EQ(p[246 + i], sys[246 + i]) << i;
  }
  EXPECT_EQ(sys[2], (cRGBQuad{0, 128, 0, 0}));
  EXPECT_EQ(sys[251], (cRGBQuad{0, 255, 255, 0}));  // yellow: blue 0, green 255, red 255
  EXPECT_EQ(p[10], (cRGBQuad{0, 0, 0, 0}));
  EXPECT_EQ(p[10 + 36 * 1 + 6 * 2 + 3], (cRGBQuad{153, 102, 51, 0}));
  EXPECT_EQ(p[225], (cRGBQuad{255, 255, 255, 0}));
}

TEST(Surface, BothOrientationsAddressRowsFromTheTopRow) {
  for (int orientation : {1, -1}) {
    CWinGDib s(5, 3, orientation);
    EXPECT_EQ(s.isTopDown(), orientation > 0);
    EXPECT_EQ(s.rowStride(), orientation > 0 ? 8 : -8);  // width 5 rounded up to 8
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(s.pixelAddress(x, y), s.topRowAddress() + x + y * s.rowStride());
        const ptrdiff_t row = orientation > 0 ? y : 2 - y;
        EXPECT_EQ(s.pixelOffset(x, y), x + row * 8);
      }
  }
}

TEST(Surface, NewSurfacesTakeTheDisplaysOrientationAndStartBlack) {
  CWinGDib s(7, 2);
  EXPECT_FALSE(s.isTopDown());  // DIB sections are bottom-up
  EXPECT_EQ(pixelsOf(s), std::vector<uint8_t>(14, 0));
  EXPECT_FALSE(s.fallenBack());
}

TEST_F(DisplayTest, SurfaceWithoutMemoryFallsBackAndRecoversOnResize) {
  CWinGInfo display(paletteBytes({}));
  CWinGInfo::failNextAllocations(1);
  CWinGDib s(40, 30);
  EXPECT_TRUE(s.fallenBack());
  EXPECT_EQ(s.size(), (cSpriteSize{1, 1}));
  EXPECT_EQ(s.bits(), display.fallbackSurface().bits());
  // Drawing into it is clipped to its one pixel.
  display.fillRect(s, {-5, -5, 50, 50}, rgb(255, 0, 0));
  EXPECT_EQ(display.fallbackSurface().size(), (cSpriteSize{1, 1}));

  EXPECT_TRUE(s.resize(20, 10));
  EXPECT_FALSE(s.fallenBack());
  EXPECT_EQ(s.size(), (cSpriteSize{20, 10}));
}

TEST_F(DisplayTest, FailedResizeKeepsTheOldSizeOrFallsBack) {
  CWinGInfo display(paletteBytes({}));
  CWinGDib s(8, 4);
  CWinGInfo::failNextAllocations(1);
  EXPECT_FALSE(s.resize(100, 100));
  EXPECT_EQ(s.size(), (cSpriteSize{8, 4}));
  EXPECT_FALSE(s.fallenBack());

  CWinGInfo::failNextAllocations(2);
  EXPECT_FALSE(s.resize(100, 100));
  EXPECT_TRUE(s.fallenBack());

  EXPECT_FALSE(s.resize(0, 5));  // no surface of no size: the fallback
  EXPECT_TRUE(s.fallenBack());
}

TEST_F(DisplayTest, NoMemoryForTheFallbackItselfEndsTheProgram) {
  CWinGInfo::failNextAllocations(1);
  try {
    CWinGInfo display(paletteBytes({}));
    FAIL() << "the display object was made without a fallback surface";
  } catch (const FatalExit& e) {
    EXPECT_STREQ(e.what(), "Out of memory. Sorry");
  }
}

// The colour-depth questions, by the depth the platform reports and the option flags.
TEST_F(DisplayTest, ColourDepthQuestions) {
  const char* kSixteen = "16 farver er valgt til skærm\nVælg 256 farver til skærm, hvis du vil afvikle programmet.";
  const char* kSixteenAsk = "16 farver er valgt til skærm\n Du får den bedste grafik ved at vælge 256 farver\n"
                            "Vil du afvikle programmet alligevel?";
  const char* kTrueColour = "256 farver er ikke valgt\nVælg 256 farver.\nVil du afvikle programmet alligevel?";
  struct Case {
    int depth;
    std::vector<std::string> flags;
    cMessageResult answer;
    const char* message;  // null: no box
    cMessageButtons buttons;
    bool ends;
  } cases[] = {
      {8, {}, cMessageResult::ok, nullptr, cMessageButtons::ok, false},
      {8, {"NoWinGPlease"}, cMessageResult::ok, nullptr, cMessageButtons::ok, false},
      {8, {"UseWinGPlease"}, cMessageResult::ok, nullptr, cMessageButtons::ok, false},
      {4, {}, cMessageResult::ok, kSixteen, cMessageButtons::ok, true},
      {4, {"NoWarnNon256ColorsPlease"}, cMessageResult::ok, kSixteen, cMessageButtons::ok, true},
      {4, {"Allow16ColorsPlease"}, cMessageResult::ok, kSixteenAsk, cMessageButtons::okCancel, false},
      {4, {"Allow16ColorsPlease"}, cMessageResult::cancel, kSixteenAsk, cMessageButtons::okCancel, true},
      {4, {"Allow16ColorsPlease", "NoWarnNon256ColorsPlease"}, cMessageResult::ok, nullptr,
       cMessageButtons::ok, false},
      {24, {}, cMessageResult::ok, kTrueColour, cMessageButtons::okCancel, false},
      {24, {}, cMessageResult::cancel, kTrueColour, cMessageButtons::okCancel, true},
      {24, {"NoWarnNon256ColorsPlease"}, cMessageResult::ok, nullptr, cMessageButtons::ok, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "depth " << c.depth << " flags " << c.flags.size());
    std::vector<std::string> args{"zanbel"};
    args.insert(args.end(), c.flags.begin(), c.flags.end());
    setCommandLine(args);
    headless.setDisplayDepth(c.depth);
    headless.scriptedUi().forget();
    if (c.message) headless.scriptedUi().answerNext(c.answer);
    bool ended = false;
    try {
      CWinGInfo display(paletteBytes({}));
    } catch (const FatalExit&) {
      ended = true;
    }
    EXPECT_EQ(ended, c.ends);
    const auto& boxes = headless.scriptedUi().messages();
    if (!c.message) {
      EXPECT_TRUE(boxes.empty());
      continue;
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].request.text, c.message);
    EXPECT_EQ(boxes[0].request.caption, "Zanbel");
    EXPECT_EQ(boxes[0].request.buttons, c.buttons);
    EXPECT_EQ(boxes[0].request.modality, cModality::task);
  }
}

TEST_F(DisplayTest, PaletteDisplayKeepsTheSystemColoursAtBothEnds) {
  const cRGBQuad odd{1, 2, 3, 0};
  {
    CWinGInfo display(paletteBytes(odd));
    EXPECT_TRUE(display.paletteDevice());
    for (int i = 0; i < 256; ++i) {
      if (i < 10 || i > 245)
        EXPECT_EQ(display.colourTable()[i], systemColours()[i]) << i;
      else
        EXPECT_EQ(display.colourTable()[i], odd) << i;
    }
  }
  headless.setDisplayDepth(24);
  setCommandLine(std::vector<std::string>{"zanbel", "NoWarnNon256ColorsPlease"});
  CWinGInfo display(paletteBytes(odd));
  EXPECT_FALSE(display.paletteDevice());
  EXPECT_EQ(display.colourTable()[0], odd);
  EXPECT_EQ(display.colourTable()[255], odd);
}

TEST_F(DisplayTest, MonochromeTurnsTheProgramsOwnColoursGrey) {
  setCommandLine(std::vector<std::string>{"zanbel", "MonochromePlease"});
  CWinGInfo display(colourTableBytes(builtInProgramPalette()));
  for (int i = 0; i < 256; ++i) {
    const cRGBQuad& before = builtInProgramPalette()[i];
    const cRGBQuad& after = display.colourTable()[i];
    if (i < 10 || i > 245) {
      EXPECT_EQ(after, before) << i;
      continue;
    }
    const int g = (3 * before.red + 6 * before.green + before.blue) / 10;
    EXPECT_EQ(after, (cRGBQuad{uint8_t(g), uint8_t(g), uint8_t(g), 0})) << i;
  }
}

TEST_F(DisplayTest, NearestIndexFindsTheColoursTheProgramAsksFor) {
  CWinGInfo display{std::span<const uint8_t>()};  // every own colour black
  EXPECT_EQ(display.nearestIndex(rgb(0, 128, 0)), 2);
  EXPECT_EQ(display.nearestIndex(rgb(128, 0, 0)), 1);
  EXPECT_EQ(display.nearestIndex(rgb(0, 0, 128)), 4);
  EXPECT_EQ(display.nearestIndex(rgb(255, 255, 0)), 251);
  EXPECT_EQ(display.nearestIndex(rgb(192, 192, 192)), 7);
  EXPECT_EQ(display.nearestIndex(rgb(255, 255, 255)), 255);
  EXPECT_EQ(display.nearestIndex(rgb(0, 0, 0)), 0);        // the first of many blacks
  EXPECT_EQ(display.nearestIndex(rgb(250, 10, 5)), 249);   // nearest, not exact
}

TEST_F(DisplayTest, FillAndFrameStayOnTheSurface) {
  CWinGInfo display(paletteBytes({}));
  CWinGDib s(6, 4, 1);
  display.fillRect(s, {-3, 2, 3, 99}, rgb(255, 0, 0));  // left, top, right, bottom
  display.frameRect(s, {2, 0, 6, 3}, rgb(0, 0, 255));
  const std::vector<uint8_t> expected = {
      0,   0,   252, 252, 252, 252,
      0,   0,   252, 0,   0,   252,
      249, 249, 252, 252, 252, 252,
      249, 249, 249, 0,   0,   0,
  };
  EXPECT_EQ(pixelsOf(s), expected);
}

TEST(Surface, ClippedBlitClipsToBothSurfacesAndSkipsKeyColour) {
  CWinGDib src(4, 3, -1);
  uint8_t v = 1;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) *src.pixelAddress(x, y) = (x == 1 && y == 1) ? 0 : v++;
  struct Case {
    const char* what;
    int x, y;
    bool useRect;
    cRect rect;
    bool transparent;
  } cases[] = {
      {"whole source inside", 1, 1, false, {}, false},
      {"whole source with key colour", 1, 1, false, {}, true},
      {"hanging off the top left", -2, -1, false, {}, false},
      {"hanging off the bottom right", 4, 3, false, {}, false},
      {"part of the source", 0, 0, true, cRect(1, 1, 3, 3), false},
      {"source rectangle beyond the source", 2, 2, true, cRect(-1, -1, 2, 9), false},
      {"wholly outside", 9, 9, false, {}, false},
  };
  for (const Case& c : cases) {
    CWinGDib dst(6, 5, 1);
    dst.fill(200);
    CWinGDib::clippedBlit(src, dst, c.x, c.y, c.useRect ? &c.rect : nullptr, c.transparent);
    const cRect r = c.useRect ? c.rect : src.bounds();
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 6; ++x) {
        const int sx = x - c.x + r.left, sy = y - c.y + r.top;
        uint8_t want = 200;
        if (r.contains(cPoint(sy, sx)) && src.bounds().contains(cPoint(sy, sx))) {
          const uint8_t p = *src.pixelAddress(sx, sy);
          if (!(c.transparent && p == 0)) want = p;
        }
        EXPECT_EQ(*dst.pixelAddress(x, y), want) << c.what << " at " << x << "," << y;
      }
  }
}

TEST_F(DisplayTest, CopiesToATargetGoThroughTheColourTable) {
  CWinGInfo display(paletteBytes({}));
  CWinGDib s(3, 2);
  *s.pixelAddress(0, 0) = 249;
  *s.pixelAddress(2, 1) = 252;
  CWMemoryTarget target(5, 4);
  s.copyToDC(&target);
  EXPECT_EQ(target.pixel(0, 0), rgb(255, 0, 0));
  EXPECT_EQ(target.pixel(2, 1), rgb(0, 0, 255));

  CWMemoryTarget part(5, 4);
  s.copyRectToDC(cRect(1, 2, 2, 3), cPoint(3, 4), &part);  // pixel (2, 1) to (4, 3)
  EXPECT_EQ(part.pixel(4, 3), rgb(0, 0, 255));
  EXPECT_EQ(part.pixel(0, 0), rgb(0, 0, 0));

  CWMemoryTarget big(6, 4);
  s.stretchToDC(&big, 0, 0, 6, 4);  // twice as large each way
  EXPECT_EQ(big.pixel(1, 1), rgb(255, 0, 0));
  EXPECT_EQ(big.pixel(5, 3), rgb(0, 0, 255));
  EXPECT_EQ(big.pixel(4, 1), rgb(0, 0, 0));
  s.copyToDC(nullptr);  // a null target takes nothing
}

}  // namespace
