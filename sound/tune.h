// The background tune: a fixed score of 567 notes played by eight sampled
// instruments, mixed into each output block by the engine's block filter.
//
// A note of the score:
//
//   field       size  meaning
//   instrument  u8    0 ... 7, the instrument table below
//   note        u8    note number (60 = middle C)
//   unused      u8    0
//   start       u32   in ticks of 5718/4608 ms from the start of the tune
//   duration    u32   in ticks
//   offset      u16   running offset into the note while it plays (0 at each start)
//
// Notes are in order of their start. An instrument sample sounds at its base
// note at 11025 samples per second; another note is played by stepping
// through the sample at 2^((note - base)/12) with the fixed-point steps of
// pitchStep().
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

struct cTuneNote {
  uint8_t instrument = 0;
  uint8_t note = 0;
  uint8_t unused = 0;
  uint32_t start = 0;
  uint32_t duration = 0;
  uint16_t offset = 0;
};

inline constexpr int kTuneNotes = 567;
inline constexpr int kTuneInstruments = 8;
// Sound ids and base notes of the instruments.
inline constexpr uint16_t kTuneInstrumentIds[kTuneInstruments] = {18304, 28375, 9043, 9040, 9035, 9053, 16256, 15361};
inline constexpr uint8_t kTuneBaseNotes[kTuneInstruments] = {60, 60, 60, 48, 48, 60, 60, 61};

// The score, in ticks.
const std::array<cTuneNote, kTuneNotes>& tuneScore();
// Ticks of 5718/4608 ms as samples at 11025 Hz, rounded.
uint32_t tuneTicksToSamples(uint32_t ticks);

// The fixed-point step for a semitone offset s (-128 ... 127): source sample
// (step * i) >> shift for output sample i.
struct cPitchStep {
  uint32_t step = 1;
  int shift = 0;
};
cPitchStep pitchStep(int semitones);

class cTune {
 public:
  // The instruments' samples, in the order of kTuneInstrumentIds.
  explicit cTune(std::array<std::span<const uint8_t>, kTuneInstruments> instruments);

  // Back to the first note: the clock and every note's offset to 0.
  void restart();
  // Mixes the next `length` samples of the tune into the block, with
  // saturation; starts again from the beginning when the score has ended.
  void mix(uint8_t* block, uint32_t length);

  // Samples from the start of the tune to the end of its last note.
  uint32_t lengthInSamples() const { return end_; }
  uint32_t clock() const { return clock_; }

 private:
  void mixSegment(uint8_t* out, uint32_t length);

  std::array<std::span<const uint8_t>, kTuneInstruments> instruments_;
  std::array<cTuneNote, kTuneNotes> notes_;  // start and duration in samples
  std::array<bool, kTuneNotes> finished_{};
  int first_ = 0;        // the first unfinished note
  uint32_t clock_ = 0;   // samples since the start
  uint32_t end_ = 0;
};
