// Benchmarks of the core helpers that run in every simulation cycle.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "shell/core/byteio.h"
#include "shell/core/numbers.h"

// Formatting a number for a display, against copying its ten characters.
static void BM_FormatNumber(benchmark::State& state) {
  double x = 0.125;
  int decimals = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(formatNumber(x, decimals));
    x += 1.0;
  }
}
BENCHMARK(BM_FormatNumber);

static void BM_FormatBaselineCopy(benchmark::State& state) {
  char from[11] = "     0.125", to[11];
  for (auto _ : state) {
    std::memcpy(to, from, sizeof to);
    benchmark::DoNotOptimize(to);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FormatBaselineCopy);

// Reading big-endian records through the checked reader, against memcpy.
static void BM_ReaderRecords(benchmark::State& state) {
  std::vector<uint8_t> data(336 * 1000, 7);
  for (auto _ : state) {
    cByteReader r(data, cEndian::big);
    uint64_t sum = 0;
    while (r.remaining() >= 4) sum += r.u32();
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
}
BENCHMARK(BM_ReaderRecords);

static void BM_ReaderBaselineMemcpy(benchmark::State& state) {
  std::vector<uint8_t> data(336 * 1000, 7), copy(data.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), data.data(), data.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
}
BENCHMARK(BM_ReaderBaselineMemcpy);
