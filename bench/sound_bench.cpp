// The mixer: eight voices mixed into a block of the ring, against memcpy of
// the same bytes (the eight voices' samples copied into the block). The
// "x_realtime" counter says how many seconds of sound are mixed per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/headless/wavetest.h"
#include "shell/core/resources.h"
#include "shell/core/settings.h"
#include "sound/soundsystem.h"
#include "sound/tune.h"

namespace {

constexpr uint32_t kBlock = 16384;  // the default block length

// An engine on the test device with the default ring (2 blocks of 16384),
// whatever the user's settings file says.
struct cBenchEngine {
  cBenchEngine() {
    setSettingsPath("/tmp/zanbel-sound-bench-" + std::to_string(::getpid()) + ".ini");
    setCommandLine(std::vector<std::string>{"zanbel"});
    engine.startEngine(&devices);
  }
  ~cBenchEngine() { std::remove(settings().path().c_str()); }
  cHeadlessPlatform platform;
  cTestWaveDevices devices{platform.clock()};
  cSoundEngine engine;
};

std::vector<uint8_t> voiceSamples(int voice) {
  std::vector<uint8_t> s(40000);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<uint8_t>(128 + ((i * (3 + voice)) % 64) - 32);
  return s;
}

void realtime(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBlock);
  state.counters["x_realtime"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kBlock / kSampleRate, benchmark::Counter::kIsRate);
}

}  // namespace

static void BM_MixEightVoices(benchmark::State& state) {
  cBenchEngine b;
  std::vector<std::vector<uint8_t>> voices;
  for (int v = 0; v < kVoiceCount; ++v) voices.push_back(voiceSamples(v));
  // Looping sounds keep their voices busy for ever.
  for (const auto& v : voices) b.engine.playSample(v.data(), static_cast<uint32_t>(v.size()), kSoundLoop);
  if (b.engine.voicesInUse() != kVoiceCount) state.SkipWithError("not every voice plays");
  for (auto _ : state) {
    b.engine.mixBlockForMeasurement(0);
    benchmark::DoNotOptimize(b.engine.blockForMeasurement(0));
    benchmark::ClobberMemory();
  }
  realtime(state);
}
BENCHMARK(BM_MixEightVoices);

static void BM_MixBaselineMemcpy(benchmark::State& state) {
  std::vector<std::vector<uint8_t>> voices;
  for (int v = 0; v < kVoiceCount; ++v) voices.push_back(voiceSamples(v));
  std::vector<uint8_t> block(kBlock);
  for (auto _ : state) {
    for (const auto& v : voices) std::memcpy(block.data(), v.data(), kBlock);
    benchmark::DoNotOptimize(block.data());
    benchmark::ClobberMemory();
  }
  realtime(state);
}
BENCHMARK(BM_MixBaselineMemcpy);

// The background tune mixed into a block, with instruments of typical length.
static void BM_TuneBlock(benchmark::State& state) {
  std::array<std::vector<uint8_t>, kTuneInstruments> samples;
  std::array<std::span<const uint8_t>, kTuneInstruments> spans;
  for (int k = 0; k < kTuneInstruments; ++k) {
    samples[static_cast<size_t>(k)] = voiceSamples(k);
    spans[static_cast<size_t>(k)] = samples[static_cast<size_t>(k)];
  }
  cTune tune(spans);
  std::vector<uint8_t> block(kBlock, 128);
  for (auto _ : state) {
    tune.mix(block.data(), kBlock);
    benchmark::DoNotOptimize(block.data());
    benchmark::ClobberMemory();
  }
  realtime(state);
}
BENCHMARK(BM_TuneBlock);
