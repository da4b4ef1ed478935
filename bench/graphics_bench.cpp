// Decoding frames against copying the same pixels with memcpy, in one run.
//
// The frames are every frame of the artwork library that the build makes
// (gadget bodies, symbols, digits, markers, border pieces and tiles), so the
// runs are the ones a redraw meets. Each case is measured on a top-down (+1)
// and a bottom-up (-1) surface.
//
//   BM_DecodeFull/o      every frame drawn whole by the full decoder
//   BM_CopyFull/o        the same rectangles copied row by row with memcpy
//   BM_DecodeClipped/o   every frame drawn clipped by a tenth of its size on
//                        each side, by the clipped decoder
//   BM_CopyClipped/o     the same visible rectangles copied with memcpy
//   BM_CopyBlock         the full case's pixel count in one memcpy, for reference
//
// A decoder and its copy move the same pixels to the same places on the same
// surface (items_per_second counts those pixels). Goal: each decoder takes at
// most 3 times the time of its copy.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "export/resfile.h"
#include "graphics/frameset.h"

namespace {

constexpr int kSurfaceWidth = 256, kSurfaceHeight = 192;

struct cFrameCase {
  const cFrameSet* set;
  int index;
  cPoint at;   // puts the frame's top-left corner at (0, 0)
  cRect clip;  // what is drawn: the surface, or the frame less a tenth on each side
};

struct cArtwork {
  std::vector<cFrameSet> sets;
  std::vector<cFrameCase> full, clipped;
  long fullPixels = 0, clippedPixels = 0;
};

const cArtwork& artwork() {
  static const cArtwork art = [] {
    cArtwork a;
    std::vector<uint8_t> bytes;
    std::string error;
    if (!loadFileBytes(ZANBEL_ARTWORK_RES, bytes, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::exit(1);
    }
    for (const cResEntry& e : readResFile(bytes).entries)
      if (e.type == kFrameSetResourceType) a.sets.push_back(cFrameSet::owning(e.data));
    for (const cFrameSet& set : a.sets)
      for (int i = 1; i <= set.frameCount(); ++i) {
        const cRect r = set.frameRect(i);
        if (r.isEmpty() || !set.frameIsSound(i) || r.width() > kSurfaceWidth || r.height() > kSurfaceHeight)
          continue;
        const cPoint at(static_cast<int16_t>(-r.top), static_cast<int16_t>(-r.left));
        a.full.push_back({&set, i, at, cRect(0, 0, kSurfaceHeight, kSurfaceWidth)});
        a.fullPixels += long(r.width()) * r.height();
        const int mv = r.height() / 10, mh = r.width() / 10;
        const cRect c(mv, mh, r.height() - mv, r.width() - mh);
        a.clipped.push_back({&set, i, at, c});
        a.clippedPixels += long(c.width()) * c.height();
      }
    return a;
  }();
  return art;
}

// The visible rectangle of a case on the surface.
cRect visibleRect(const cFrameCase& c) {
  return c.set->frameRect(c.index).offsetBy(c.at) & c.clip;
}

// One pass over the frames: the work of one iteration, kept out of line so
// that an instruction count (callgrind) can be read per call.
[[gnu::noinline]] void decodeAll(const std::vector<cFrameCase>& cases, CWinGDib& surface) {
  for (const cFrameCase& c : cases) c.set->drawFrame(c.index, c.at, c.clip, surface);
}

[[gnu::noinline]] void copyAll(const std::vector<cFrameCase>& cases, const uint8_t* pixels,
                               CWinGDib& surface) {
  const ptrdiff_t stride = surface.rowStride();
  for (const cFrameCase& c : cases) {
    const cRect r = visibleRect(c);
    const size_t w = static_cast<size_t>(r.width());
    uint8_t* dst = surface.pixelAddress(r.left, r.top);
    const uint8_t* src = pixels;
    for (int y = r.top; y < r.bottom; ++y, dst += stride, src += w) std::memcpy(dst, src, w);
  }
}

[[gnu::noinline]] void copyBlock(uint8_t* dst, const uint8_t* src, size_t n) { std::memcpy(dst, src, n); }

void decodeCase(benchmark::State& state, const std::vector<cFrameCase>& cases, long pixels) {
  CWinGDib surface(kSurfaceWidth, kSurfaceHeight, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    decodeAll(cases, surface);
    benchmark::DoNotOptimize(surface.bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * pixels);
  state.counters["frames"] = static_cast<double>(cases.size());
}

void copyCase(benchmark::State& state, const std::vector<cFrameCase>& cases, long pixels) {
  CWinGDib surface(kSurfaceWidth, kSurfaceHeight, static_cast<int>(state.range(0)));
  std::vector<uint8_t> source(size_t(kSurfaceWidth) * kSurfaceHeight);
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(10 + i % 236);
  for (auto _ : state) {
    copyAll(cases, source.data(), surface);
    benchmark::DoNotOptimize(surface.bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * pixels);
  state.counters["frames"] = static_cast<double>(cases.size());
}

void BM_DecodeFull(benchmark::State& state) { decodeCase(state, artwork().full, artwork().fullPixels); }
void BM_CopyFull(benchmark::State& state) { copyCase(state, artwork().full, artwork().fullPixels); }
void BM_DecodeClipped(benchmark::State& state) {
  decodeCase(state, artwork().clipped, artwork().clippedPixels);
}
void BM_CopyClipped(benchmark::State& state) {
  copyCase(state, artwork().clipped, artwork().clippedPixels);
}

void BM_CopyBlock(benchmark::State& state) {
  const size_t n = static_cast<size_t>(artwork().fullPixels);
  std::vector<uint8_t> src(n, 7), dst(n);
  for (auto _ : state) {
    copyBlock(dst.data(), src.data(), n);
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(n));
}

BENCHMARK(BM_CopyFull)->Arg(+1)->Arg(-1);
BENCHMARK(BM_DecodeFull)->Arg(+1)->Arg(-1);
BENCHMARK(BM_CopyClipped)->Arg(+1)->Arg(-1);
BENCHMARK(BM_DecodeClipped)->Arg(+1)->Arg(-1);
BENCHMARK(BM_CopyBlock);

}  // namespace
