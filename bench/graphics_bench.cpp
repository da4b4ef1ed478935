// Decoding frames against copying the same pixels with memcpy, in one run.
// Goal: each decode at most 3 times the memcpy baseline per pixel; compare
// the items_per_second of BM_DecodeFull and BM_DecodeClipped with BM_Memcpy.
#include <benchmark/benchmark.h>

#include <cstring>

#include "graphics/frameset.h"
#include "graphics/hrencoder.h"

namespace {

constexpr int kWidth = 100, kHeight = 40;

// A gadget-like frame: an outline, bevels, flat fills, a window of busy
// literal pixels, and transparent corners and pin gaps.
std::vector<uint8_t> gadgetSet() {
  cFramePicture f;
  f.rect = cRect(0, 0, kHeight, kWidth);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      int16_t p = 118;
      if ((x < 2 || x >= kWidth - 2) && (y < 2 || y >= kHeight - 2)) p = -1;
      else if (x == 0 || y == 0 || x == kWidth - 1 || y == kHeight - 1) p = 10;
      else if (x == 1 || y == 1) p = 154;
      else if (x == kWidth - 2 || y == kHeight - 2) p = 82;
      else if (x >= 30 && x < 70 && y >= 10 && y < 30) p = static_cast<int16_t>(20 + (x * 7 + y * 3) % 50);
      if (x >= kWidth - 4 && (y % 10) < 3) p = -1;
      f.pixels.push_back(p);
    }
  return encodeFrameSet({f}).bytes;
}

void BM_Memcpy(benchmark::State& state) {
  std::vector<uint8_t> src(kWidth * kHeight, 7);
  CWinGDib surface(kWidth, kHeight);
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) std::memcpy(surface.pixelAddress(0, y), &src[y * kWidth], kWidth);
    benchmark::DoNotOptimize(surface.bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_DecodeFull(benchmark::State& state) {
  const std::vector<uint8_t> bytes = gadgetSet();
  const cFrameSet set = cFrameSet::borrowing(bytes);
  CWinGDib surface(kWidth, kHeight);
  for (auto _ : state) {
    set.drawFrame(1, cPoint(0, 0), surface.bounds(), surface);
    benchmark::DoNotOptimize(surface.bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// Clipped by 5 pixels on every side: the clipped decoder, counted by the
// pixels of the whole frame as the memcpy baseline is.
void BM_DecodeClipped(benchmark::State& state) {
  const std::vector<uint8_t> bytes = gadgetSet();
  const cFrameSet set = cFrameSet::borrowing(bytes);
  CWinGDib surface(kWidth, kHeight);
  const cRect clip(5, 5, kHeight - 5, kWidth - 5);
  for (auto _ : state) {
    set.drawFrame(1, cPoint(0, 0), clip, surface);
    benchmark::DoNotOptimize(surface.bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_DecodeFull);
BENCHMARK(BM_DecodeClipped);

}  // namespace
