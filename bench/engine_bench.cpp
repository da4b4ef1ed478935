// Benchmarks of the gadget engine, each against a baseline of the same run:
//
//   BM_Cycle200 / BM_CycleBaseline     a cycle of 200 gadgets and 200 wires,
//                                      without drawing (goal: 100,000 cycles a
//                                      second), against one virtual call per gadget
//   BM_LoadSave1000 / BM_LoadSaveBaseline  reading and writing an invention of
//                                      1000 gadgets (goal: 20 ms), against copying
//                                      its bytes
//   BM_Redraw1280/o / BM_RedrawBaseline  redrawing a 1280 x 1024 worksheet with 100
//                                      gadgets, its background and border (goal: 10
//                                      times the baseline), against one memset of
//                                      the surface; on a top-down (+1) and a
//                                      bottom-up (-1) surface
//
// The pictures, pin tables and background are the artwork the build makes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/connection.h"
#include "engine/cycle.h"
#include "engine/factory.h"
#include "engine/invention.h"
#include "engine/worksheet.h"
#include "export/resfile.h"
#include "graphics/frameset.h"
#include "graphics/wingdib.h"
#include "platform/headless/headless.h"
#include "shell/core/resources.h"

namespace {

// A gate as the kinds are written: two inputs and an output, a shared frame
// set, one frame drawn at its position; its step reads both inputs, takes
// their signals and passes them on.
class cBenchGate : public cGadget {
 public:
  explicit cBenchGate(cPoint p) { init(); centreOn(p); invalidate(); }
  explicit cBenchGate(const cGadgetRecord& r) : cGadget(r) { init(); invalidate(); }
  ~cBenchGate() override {
    if (--instances_ == 0) frames_.reset();
  }
  void draw(CWinGDib& surface, const cRect& clip) override { frames_->drawFrame(1, position, clip, surface); }
  bool hasBoolOutput(int pin) override { return pin == 2; }
  void step() override {
    const bool changed = inputChanged(0) | inputChanged(1);
    const double a = inputValue(0), b = inputValue(1);
    const bool s0 = takeSignal(0), s1 = takeSignal(1);
    boolOut = (a != 0.0) != (b != 0.0);
    if (s0 || s1 || changed) signalPin(2);
  }

 private:
  void init() {
    typeCode = "XorG"_tc;
    if (instances_++ == 0) frames_ = std::make_unique<cFrameSet>(1031);
    bounds = frames_->frameRect(1);
    loadPins(1031);
  }
  static inline int instances_ = 0;
  static inline std::unique_ptr<cFrameSet> frames_;
};

struct cBenchProgram {
  cHeadlessPlatform platform;
  cBenchProgram() {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!loadFileBytes(ZANBEL_ARTWORK_RES, bytes, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::exit(1);
    }
    auto gadgets = std::make_unique<cMemoryResourceModule>("ZBGADGET.DLL");
    for (cResEntry& e : readResFile(bytes).entries) gadgets->add(e.type, e.name, std::move(e.data));
    resourceLibraries().setGadgetLibrary(std::move(gadgets));
    resourceLibraries().setOwn(std::make_unique<cMemoryResourceModule>("zanbel"));
    gadgetFactory().add<cBenchGate>("XorG"_tc);
    platform.virtualClock().set(1000);
  }
};

cBenchProgram& program() {
  static cBenchProgram p;
  return p;
}

// n gates in rows over the area; each gate's output goes to the next gate's
// first input with a knot on the way, as a child wires neighbours, so that
// values travel along the whole list.
void fill(cWorksheetPane& ws, int n, int width, int height) {
  std::vector<cGadget*> made;
  const int columns = std::max(1, (width - 60) / 100);
  for (int i = 0; i < n; ++i) {
    const cPoint at(60 + (i / columns) * 70 % std::max(1, height - 120), 80 + (i % columns) * 100);
    std::unique_ptr<cGadget> g = mNewGadget(&ws, "XorG"_tc, at, {}, false);
    made.push_back(g.get());
    ws.addGadget(std::move(g));
  }
  for (int i = 1; i < n; ++i) {
    cGadget* from = made[size_t(i - 1)];
    auto w = std::make_unique<cConnection>(from, 2, made[size_t(i)], uint16_t(0));
    w->appendKnot(from->pinPosition(2) + cPoint(12, 10));
    w->attachEnds();
    ws.addWire(std::move(w));
  }
}

}  // namespace

static void BM_Cycle200(benchmark::State& state) {
  cBenchProgram& p = program();
  cWorksheetPane ws;  // no surface: the cycle without drawing
  fill(ws, 200, 2000, 4000);
  // Chains need wires on every pin; fill links each gate's output once, so add the rest loose.
  int wires = ws.wires.count();
  for (cGadget* g : ws.gadgets)
    for (int pin = 0; pin < 2 && wires < 200; ++pin)
      if (!g->wireAt(pin)) {
        auto w = std::make_unique<cConnection>(nullptr, kFreePin, g, uint16_t(pin));
        w->attachEnds();
        ws.addWire(std::move(w));
        ++wires;
      }
  state.counters["gadgets"] = ws.gadgets.count();
  state.counters["wires"] = ws.wires.count();
  startRun();
  for (auto _ : state) {
    p.platform.virtualClock().advance(1);
    runCycle();
  }
  stopRun();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Cycle200);

// One virtual call per gadget: the least a cycle of 200 gadgets can cost.
static void BM_CycleBaseline(benchmark::State& state) {
  program();
  std::vector<std::unique_ptr<cGadget>> gates;
  for (int i = 0; i < 200; ++i) gates.push_back(std::make_unique<cBenchGate>(cPoint(100, 100)));
  for (auto _ : state) {
    for (auto& g : gates) benchmark::DoNotOptimize(g->hitTest({5, 5}));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CycleBaseline);

static void BM_LoadSave1000(benchmark::State& state) {
  program();
  cWorksheetPane ws;
  fill(ws, 1000, 4000, 8000);
  const std::vector<uint8_t> image = writeInvention(ws);
  state.counters["bytes"] = double(image.size());
  for (auto _ : state) {
    ws.removeEverything();
    readInvention(ws, image, true);
    benchmark::DoNotOptimize(writeInvention(ws));
  }
}
BENCHMARK(BM_LoadSave1000)->Unit(benchmark::kMillisecond);

static void BM_LoadSaveBaseline(benchmark::State& state) {
  program();
  cWorksheetPane ws;
  fill(ws, 1000, 4000, 8000);
  const std::vector<uint8_t> image = writeInvention(ws);
  std::vector<uint8_t> copy(image.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), image.data(), image.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_LoadSaveBaseline)->Unit(benchmark::kMillisecond);

static void BM_Redraw1280(benchmark::State& state) {
  program();
  CWinGDib surface(1280, 1024, static_cast<int>(state.range(0)));
  cWorksheetPane ws(&surface);
  ws.setSize(1280, 1024);
  ws.setBackgroundQuietly(kBackgroundSteel);
  fill(ws, 100, 1280, 1024);
  for (auto _ : state) {
    ws.redrawAll();
    benchmark::DoNotOptimize(surface.bits());
  }
  state.counters["wires"] = ws.wires.count();
}
BENCHMARK(BM_Redraw1280)->Arg(+1)->Arg(-1);

// Kept out of line so that an instruction count (callgrind) can be read per call.
[[gnu::noinline]] static void clearSurface(uint8_t* bits, size_t bytes) { std::memset(bits, 7, bytes); }

static void BM_RedrawBaseline(benchmark::State& state) {
  program();
  CWinGDib surface(1280, 1024, +1);
  for (auto _ : state) {
    clearSurface(surface.writableBits(), size_t(surface.rowStride()) * 1024);
    benchmark::DoNotOptimize(surface.bits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RedrawBaseline);
