#include "platform/desktop/wxview.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/desktop/wxtesting.h"

namespace {

constexpr int kWidth = 158, kHeight = 120;  // rows padded to 160 bytes

std::vector<uint8_t> testPaletteBytes() {
  std::vector<uint8_t> bytes(1024);
  for (int i = 0; i < 256; ++i) {
    bytes[4 * i + 0] = static_cast<uint8_t>((i * 7) & 255);  // blue
    bytes[4 * i + 1] = static_cast<uint8_t>(255 - i);        // green
    bytes[4 * i + 2] = static_cast<uint8_t>(i);              // red
  }
  return bytes;
}

uint8_t patternAt(int x, int y) { return static_cast<uint8_t>((x / 8 + (y / 8) * 20) * 3); }

void paintPattern(CWinGDib& surface) {
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) *surface.pixelAddress(x, y) = patternAt(x, y);
}

struct cRgb {
  uint8_t red, green, blue;
  friend bool operator==(const cRgb&, const cRgb&) = default;
};

cRgb colourOf(const CWinGDib& surface, uint8_t index) {
  const cRGBQuad& q = surface.colourTable()[index];
  return {q.red, q.green, q.blue};
}

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
    view->setMarginColour(wxColour(10, 200, 30));
    frame->Show();
  }
  ~cShownView() { frame->Destroy(); }

  // Waits until the window shows and has painted, then lets it settle.
  void waitUntilShown() {
    ASSERT_TRUE(runUntil([&] {
      return view->IsShownOnScreen() && (!view->surface() || view->convertedPixels() > 0);
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

TEST(DesktopViewTest, TheSurfaceReachesTheScreenThroughTheColourTable) {
  const std::vector<uint8_t> palette = testPaletteBytes();
  CWinGInfo display(palette);
  // Both orientations a surface can have.
  for (int orientation : {+1, -1}) {
    CWinGDib surface(kWidth, kHeight, orientation);
    paintPattern(surface);
    cShownView shown;
    shown.view->setSurface(&surface);
    shown.waitUntilShown();

    const wxSize size = shown.view->GetClientSize();
    const std::vector<uint8_t> rgb = shown.screen();
    ASSERT_EQ(rgb.size(), static_cast<size_t>(size.x * size.y * 3));
    int wrong = 0;
    for (int y = 0; y < size.y; ++y)
      for (int x = 0; x < size.x; ++x) {
        const cRgb expected =
            x < kWidth && y < kHeight ? colourOf(surface, patternAt(x, y)) : cRgb{10, 200, 30};
        if (!(pixelAt(rgb, size.x, x, y) == expected) && wrong++ < 5)
          ADD_FAILURE() << "orientation " << orientation << " pixel " << x << "," << y;
      }
    EXPECT_EQ(wrong, 0);
  }
  // The colours are the palette's own (apart from the system's 20).
  CWinGDib surface(1, 1);
  EXPECT_EQ(colourOf(surface, 100), (cRgb{100, 155, (100 * 7) & 255}));
}

TEST(DesktopViewTest, PresentCopiesOnlyTheChangedRectangle) {
  const std::vector<uint8_t> palette = testPaletteBytes();
  CWinGInfo display(palette);
  CWinGDib surface(kWidth, kHeight);
  paintPattern(surface);
  cShownView shown;
  shown.view->setSurface(&surface);
  shown.waitUntilShown();

  // The whole surface changes in memory, but only one rectangle is
  // presented; a second one reaches past the surface and is clipped to it.
  surface.fill(5);
  const uint64_t before = shown.view->convertedPixels();
  shown.view->present(cRect(30, 20, 55, 60));      // top, left, bottom, right
  shown.view->present(cRect(110, 150, 150, 190));  // 8 x 10 of it lie on the surface
  runFor(100);
  EXPECT_EQ(shown.view->convertedPixels() - before, 40u * 25u + 8u * 10u);

  const wxSize size = shown.view->GetClientSize();
  const std::vector<uint8_t> rgb = shown.screen();
  int wrong = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const bool changed = (x >= 20 && x < 60 && y >= 30 && y < 55) || (x >= 150 && y >= 110);
      const cRgb expected = colourOf(surface, changed ? 5 : patternAt(x, y));
      if (!(pixelAt(rgb, size.x, x, y) == expected) && wrong++ < 5) ADD_FAILURE() << "pixel " << x << "," << y;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(DesktopViewTest, TimerOneTicksEverySecond) {
  cShownView shown;
  shown.waitUntilShown();
  const int before = shown.view->timerCalls;
  EXPECT_TRUE(runUntil([&] { return shown.view->timerCalls >= before + 2; }, 3500));
}

TEST(DesktopViewTest, TheFirstPaintCanBeLeftEmpty) {
  // The programs use their first paint to start up, and draw from the next one.
  class CLateView : public CSurfaceView {
   public:
    using CSurfaceView::CSurfaceView;
    int firstPaints = 0;

   protected:
    bool firstPaint() override {
      ++firstPaints;
      return false;
    }
  };
  CWinGDib surface(kWidth, kHeight);
  paintPattern(surface);
  auto* frame = new CDesktopFrame("Zanbel test", wxPoint(40, 40), wxSize(kWidth, kHeight));
  auto* view = new CLateView(frame);
  view->setSurface(&surface);
  frame->Show();
  ASSERT_TRUE(runUntil([&] { return view->firstPaints == 1; }));
  view->Refresh();
  EXPECT_TRUE(runUntil([&] { return view->convertedPixels() > 0; }));
  EXPECT_EQ(view->firstPaints, 1);
  frame->Destroy();
}
