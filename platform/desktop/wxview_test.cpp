#include "platform/desktop/wxview.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/desktop/wxtesting.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;

cRgbPalette testPalette() {
  cRgbPalette p;
  for (int i = 0; i < 256; ++i)
    p[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>((i * 7) & 255)};
  return p;
}

uint8_t patternAt(int x, int y) { return static_cast<uint8_t>((x / 8 + (y / 8) * 20) * 3); }

// A picture in memory, stored top-down or bottom-up as a surface may be.
struct cPicture {
  std::vector<uint8_t> bits;
  int stride = 164;  // rows are padded to a multiple of 4, with junk in the padding
  bool bottomUp = false;

  explicit cPicture(bool bottomUp_) : bits(164 * kHeight, 0xEE), bottomUp(bottomUp_) {}
  uint8_t& at(int x, int y) { return bits[(bottomUp ? kHeight - 1 - y : y) * stride + x]; }
  cIndexedPicture view() {
    if (!bottomUp) return {bits.data(), kWidth, kHeight, stride};
    return {bits.data() + (kHeight - 1) * stride, kWidth, kHeight, -stride};
  }
};

class CCountingView : public CSurfaceView {
 public:
  using CSurfaceView::CSurfaceView;
  int timerCalls = 0;

 protected:
  void timer1() override { ++timerCalls; }
};

// A frame with a view a little larger than the picture, so that a margin shows.
struct cShownView {
  CDesktopFrame* frame;
  CCountingView* view;

  cShownView() {
    frame = new CDesktopFrame("Zanbel test", wxPoint(40, 40), wxSize(kWidth + 30, kHeight + 20));
    view = new CCountingView(frame);
    frame->setView(view);
    view->setPalette(testPalette());
    view->setMarginColour(wxColour(10, 200, 30));
    frame->Show();
  }
  ~cShownView() { frame->Destroy(); }

  // Waits until the window shows and has painted, then lets it settle.
  void waitUntilShown() {
    ASSERT_TRUE(runUntil([&] {
      return view->IsShownOnScreen() && (!view->picture().topRow || view->convertedPixels() > 0);
    }));
    runFor(200);
  }
  std::vector<uint8_t> screen() {
    const wxSize size = view->GetClientSize();
    return screenPixels(wxRect(view->ClientToScreen(wxPoint(0, 0)), size));
  }
};

cRgb pixelAt(const std::vector<uint8_t>& rgb, int width, int x, int y) {
  const size_t i = (static_cast<size_t>(y) * width + x) * 3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

}  // namespace

TEST(DesktopViewTest, ThePictureReachesTheScreenThroughThePalette) {
  for (bool bottomUp : {false, true}) {
    cPicture picture(bottomUp);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) picture.at(x, y) = patternAt(x, y);
    cShownView shown;
    shown.view->setPicture(picture.view());
    shown.waitUntilShown();

    const wxSize size = shown.view->GetClientSize();
    const std::vector<uint8_t> rgb = shown.screen();
    ASSERT_EQ(rgb.size(), static_cast<size_t>(size.x * size.y * 3));
    const cRgbPalette palette = testPalette();
    int wrong = 0;
    for (int y = 0; y < size.y; ++y)
      for (int x = 0; x < size.x; ++x) {
        const cRgb expected = x < kWidth && y < kHeight ? palette[patternAt(x, y)] : cRgb{10, 200, 30};
        if (!(pixelAt(rgb, size.x, x, y) == expected) && wrong++ < 5)
          ADD_FAILURE() << (bottomUp ? "bottom-up" : "top-down") << " pixel " << x << "," << y;
      }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(DesktopViewTest, PresentCopiesOnlyTheChangedRectangle) {
  cPicture picture(false);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) picture.at(x, y) = patternAt(x, y);
  cShownView shown;
  shown.view->setPicture(picture.view());
  shown.waitUntilShown();

  // The whole picture changes in memory, but only one rectangle is presented;
  // a second rectangle reaches past the picture and is clipped to it.
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) picture.at(x, y) = 5;
  const uint64_t before = shown.view->convertedPixels();
  shown.view->present(cRect(30, 20, 55, 60));      // top, left, bottom, right
  shown.view->present(wxRect(150, 110, 40, 40));   // 10 x 10 inside the picture
  runFor(100);
  EXPECT_EQ(shown.view->convertedPixels() - before, 40u * 25u + 10u * 10u);

  const wxSize size = shown.view->GetClientSize();
  const std::vector<uint8_t> rgb = shown.screen();
  const cRgbPalette palette = testPalette();
  int wrong = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const bool changed = (x >= 20 && x < 60 && y >= 30 && y < 55) || (x >= 150 && y >= 110);
      const cRgb expected = palette[changed ? 5 : patternAt(x, y)];
      if (!(pixelAt(rgb, size.x, x, y) == expected) && wrong++ < 5) ADD_FAILURE() << "pixel " << x << "," << y;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(DesktopViewTest, ColourTablesAreBlueGreenRed) {
  uint8_t table[1024] = {};
  table[4 * 7 + 0] = 0x11;  // blue
  table[4 * 7 + 1] = 0x22;  // green
  table[4 * 7 + 2] = 0x33;  // red
  table[4 * 7 + 3] = 0x44;  // unused
  const cRgbPalette p = paletteFromColourTable(table);
  EXPECT_EQ(p[7], (cRgb{0x33, 0x22, 0x11}));
  EXPECT_EQ(p[8], (cRgb{0, 0, 0}));
}

TEST(DesktopViewTest, TimerOneTicksEverySecond) {
  cShownView shown;
  shown.waitUntilShown();
  const int before = shown.view->timerCalls;
  EXPECT_TRUE(runUntil([&] { return shown.view->timerCalls >= before + 2; }, 3500));
}
