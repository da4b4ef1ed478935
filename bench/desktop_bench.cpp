// Copying a changed rectangle of the worksheet to the window, against the
// plain way of converting the whole window through wxImage every cycle, in
// one run on a display (xvfb-run). Goal: presenting a gadget-sized rectangle
// at least 20 times as fast as the whole-window baseline; compare the
// items_per_second (copies) of BM_PresentGadget with BM_WholeWindowImage.
// Real time is measured: much of a copy's work is done by the X server.
#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/init.h>

#include <cstdio>

#include "platform/desktop/wxapp.h"
#include "platform/desktop/wxview.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;

struct cBench {
  CWinGDib surface{kWidth, kHeight};
  CDesktopFrame* frame = nullptr;
  CSurfaceView* view = nullptr;

  cBench() {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) *surface.pixelAddress(x, y) = static_cast<uint8_t>(x ^ y);
    frame = new CDesktopFrame("Zanbel bench", wxPoint(0, 0), wxSize(kWidth, kHeight));
    view = new CSurfaceView(frame);
    frame->setView(view);
    view->setSurface(&surface);
    frame->Show();
    while (!view->IsShownOnScreen()) wxTheApp->Yield();
    for (int i = 0; i < 50; ++i) wxTheApp->Yield();
  }
};

cBench* gBench = nullptr;

void BM_PresentGadget(benchmark::State& state) {
  for (auto _ : state) gBench->view->present(cRect(200, 300, 240, 400));  // 100 x 40
  state.SetItemsProcessed(state.iterations());
}

void BM_PresentWholeWindow(benchmark::State& state) {
  for (auto _ : state) gBench->view->present(cRect(0, 0, kHeight, kWidth));
  state.SetItemsProcessed(state.iterations());
}

// The baseline: every pixel of the window through a wxImage and a new bitmap.
void BM_WholeWindowImage(benchmark::State& state) {
  const cColourTable& colours = gBench->surface.colourTable();
  for (auto _ : state) {
    wxImage image(kWidth, kHeight, false);
    convertToRgb(gBench->surface.topRowAddress(), gBench->surface.rowStride(), kWidth, kHeight, colours,
                 image.GetData(), kWidth * 3, cRgbLayout{});
    wxClientDC dc(gBench->view);
    dc.DrawBitmap(wxBitmap(image), 0, 0);
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_WholeWindowImage)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PresentWholeWindow)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PresentGadget)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  auto* app = new CDesktopApp;
  wxApp::SetInstance(app);
  if (!wxEntryStart(argc, argv) || !app->CallOnInit()) {
    std::fputs("zbdesktop_bench: no display (run under xvfb-run)\n", stderr);
    return 1;
  }
  {
    cBench bench;
    gBench = &bench;
    benchmark::RunSpecifiedBenchmarks();
    bench.frame->Destroy();
    gBench = nullptr;
  }
  app->OnExit();
  wxEntryCleanup();
  return 0;
}
