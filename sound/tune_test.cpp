#include "sound/tune.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(TunePitch, StepsAndShifts) {
  struct Case {
    int semitones;
    uint32_t step;
    int shift;
  } cases[] = {
      {0, 16384, 14},   // a ratio of exactly 1 takes the finest steps
      {12, 256, 7},     {-12, 8192, 14}, {7, 191, 7},  {-1, 15464, 14},
      {96, 32768, 7},   // 256 exactly is still "above 1"
      {97, 271, 0},     // above 256: whole steps
      {127, 1534, 0},   {-128, 10, 14},
  };
  for (const Case& c : cases) {
    const cPitchStep s = pitchStep(c.semitones);
    EXPECT_EQ(s.step, c.step) << c.semitones;
    EXPECT_EQ(s.shift, c.shift) << c.semitones;
  }
}

TEST(TuneScore, NotesAreInOrderAndFitTheInstruments) {
  const auto& score = tuneScore();
  EXPECT_TRUE(std::is_sorted(score.begin(), score.end(),
                             [](const cTuneNote& a, const cTuneNote& b) { return a.start < b.start; }));
  for (const cTuneNote& n : score) {
    ASSERT_LT(n.instrument, kTuneInstruments);
    EXPECT_GT(n.duration, 0u);
    EXPECT_LE(tuneTicksToSamples(n.duration), 65535u);  // the running offset is 16 bits
  }
  EXPECT_EQ(tuneTicksToSamples(4608), 63041u);  // 4608 ticks are 5718 ms
}

// Instruments whose samples tell where they were read: sample i holds i mod 100, plus a mark.
std::array<std::vector<uint8_t>, kTuneInstruments> rampInstruments() {
  std::array<std::vector<uint8_t>, kTuneInstruments> r;
  for (int k = 0; k < kTuneInstruments; ++k) {
    r[static_cast<size_t>(k)].resize(20000);
    for (size_t i = 0; i < 20000; ++i) r[static_cast<size_t>(k)][i] = static_cast<uint8_t>(128 + (i % 7) - 3);
  }
  return r;
}

std::array<std::span<const uint8_t>, kTuneInstruments> spans(const std::array<std::vector<uint8_t>, kTuneInstruments>& v) {
  std::array<std::span<const uint8_t>, kTuneInstruments> s;
  for (size_t k = 0; k < v.size(); ++k) s[k] = v[k];
  return s;
}

std::vector<uint8_t> render(cTune& tune, size_t samples, size_t block) {
  std::vector<uint8_t> out(samples, 128);
  for (size_t at = 0; at < samples; at += block) tune.mix(out.data() + at, static_cast<uint32_t>(std::min(block, samples - at)));
  return out;
}

// Notes carry their place from block to block: the tune sounds the same
// whatever the block length, and starts again after its last note.
TEST(TuneMixing, BlockLengthDoesNotChangeTheTuneAndItLoops) {
  const auto instruments = rampInstruments();
  cTune a(spans(instruments)), b(spans(instruments)), c(spans(instruments));
  const uint32_t length = a.lengthInSamples();
  ASSERT_GT(length, 600000u);
  const size_t total = length + 30000;
  const std::vector<uint8_t> big = render(a, total, 16384);
  const std::vector<uint8_t> small = render(b, total, 1000);
  const std::vector<uint8_t> odd = render(c, total, 4097);
  EXPECT_TRUE(big == small);
  EXPECT_TRUE(big == odd);
  EXPECT_TRUE(std::equal(big.begin() + length, big.end(), big.begin()));
  EXPECT_NE(std::count(big.begin(), big.end(), 128), static_cast<std::ptrdiff_t>(total));
}

// One instrument with a recognisable sample, the others silent: the first
// notes of the tune at that instrument show the pitch steps.
TEST(TuneMixing, NotesAtTheBaseNotePlayTheSampleAsItIs) {
  std::array<std::vector<uint8_t>, kTuneInstruments> instruments;
  for (auto& v : instruments) v.assign(20000, 128);
  // The drum (instrument 4) plays its base note: every sample in order.
  for (size_t i = 0; i < 20000; ++i) instruments[4][i] = static_cast<uint8_t>(100 + i % 50);
  cTune tune(spans(instruments));
  // The first drum note lasts a quarter: 384 ticks, 5253 samples.
  std::vector<uint8_t> out(6000, 128);
  tune.mix(out.data(), 6000);
  for (size_t i = 0; i < 5253; ++i) ASSERT_EQ(out[i], 100 + i % 50) << i;
  EXPECT_EQ(out[5253], 128);
  // Restarting plays the same again.
  tune.restart();
  std::vector<uint8_t> again(6000, 128);
  tune.mix(again.data(), 6000);
  EXPECT_EQ(out, again);
}

TEST(TuneMixing, ANoteStopsWhenItsSampleEnds) {
  std::array<std::vector<uint8_t>, kTuneInstruments> instruments;
  for (auto& v : instruments) v.assign(10, 128);
  instruments[4].assign(300, 200);  // shorter than the drum's first note
  cTune tune(spans(instruments));
  std::vector<uint8_t> out(1000, 128);
  tune.mix(out.data(), 1000);
  EXPECT_EQ(std::count(out.begin(), out.end(), 200), 300);
}

}  // namespace
