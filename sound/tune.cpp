#include "sound/tune.h"

#include <algorithm>
#include <cmath>

namespace {

// --- the score ---
//
// 32 bars of 4/4 at 384 ticks a beat (about 126 beats a minute), in C major:
// A A' B A', the last A' doubled by the bells. The parts:
//   0 piano    the tune in the A sections
//   1 marimba  the tune in the B section
//   2 organ    the chords, one or two a bar
//   3 bass     root and fifth on the beats
//   4 drum     beats 1 and 3
//   5 shaker   beats 2 and 4
//   6 bells    the tune an octave up in the last section
//   7 pizzicato  broken chords in the B section

constexpr uint32_t kEighth = 192;
constexpr uint32_t kBar = 8 * kEighth;

struct cMelodyNote {
  uint8_t note;     // 0: a rest
  uint8_t eighths;
};

struct cChord {
  uint8_t root, fifth;      // bass notes
  uint8_t triad[3];         // organ notes
};

constexpr cChord kC{48, 43, {60, 64, 67}};
constexpr cChord kAm{45, 52, {57, 60, 64}};
constexpr cChord kF{41, 48, {57, 60, 65}};
constexpr cChord kG{43, 50, {55, 59, 62}};
constexpr cChord kDm{50, 45, {57, 62, 65}};
constexpr cChord kEm{52, 47, {55, 59, 64}};

// A bar holds one chord, or two for half a bar each.
struct cBar {
  cChord first;
  cChord second;
  bool split;
};

constexpr cBar kHarmonyA[8] = {{kC, kC, false},  {kAm, kAm, false}, {kF, kF, false},  {kG, kG, false},
                               {kC, kC, false},  {kAm, kAm, false}, {kDm, kG, true},  {kC, kC, false}};
constexpr cBar kHarmonyB[8] = {{kF, kF, false},  {kG, kG, false},  {kEm, kEm, false}, {kAm, kAm, false},
                               {kF, kF, false},  {kG, kG, false},  {kC, kF, true},    {kG, kG, false}};

// Bars 1 to 7 of the A tune, then its two endings.
constexpr cMelodyNote kTuneA[] = {
    {64, 2}, {67, 1}, {64, 1}, {60, 2}, {67, 2},  // C
    {69, 2}, {67, 1}, {65, 1}, {64, 4},           // Am
    {65, 2}, {69, 1}, {65, 1}, {62, 2}, {65, 2},  // F
    {67, 3}, {65, 1}, {64, 2}, {62, 2},           // G
    {64, 2}, {67, 1}, {72, 1}, {71, 2}, {67, 2},  // C
    {69, 2}, {72, 1}, {69, 1}, {67, 2}, {64, 2},  // Am
    {65, 2}, {64, 1}, {62, 1}, {59, 2}, {62, 2},  // Dm G
};
constexpr cMelodyNote kEndingFirst[] = {{60, 4}, {0, 4}};
constexpr cMelodyNote kEndingSecond[] = {{60, 2}, {55, 1}, {57, 1}, {59, 2}, {60, 2}};
constexpr cMelodyNote kTuneB[] = {
    {69, 3}, {67, 1}, {65, 2}, {69, 2},           // F
    {67, 3}, {65, 1}, {62, 2}, {67, 2},           // G
    {67, 2}, {64, 1}, {67, 1}, {71, 2}, {67, 2},  // Em
    {69, 6}, {64, 2},                             // Am
    {65, 1}, {67, 1}, {69, 2}, {72, 2}, {69, 2},  // F
    {71, 2}, {69, 1}, {67, 1}, {62, 4},           // G
    {64, 2}, {67, 2}, {69, 2}, {65, 2},           // C F
    {67, 2}, {62, 2}, {59, 2}, {62, 2},           // G
};

struct cScoreBuilder {
  std::array<cTuneNote, kTuneNotes> notes{};
  int count = 0;

  constexpr void add(uint8_t instrument, uint8_t note, uint32_t start, uint32_t duration) {
    // Beyond the table's size this stops the build: the score must fill it exactly.
    notes.at(static_cast<size_t>(count++)) = cTuneNote{instrument, note, 0, start, duration, 0};
  }

  // A melody from `start`; returns the tick after it. The instruments are
  // struck or plucked and die away by themselves, so a note rings on for two
  // beats past its step rather than being cut short.
  template <size_t N>
  constexpr uint32_t melody(uint8_t instrument, const cMelodyNote (&tune)[N], uint32_t start, int transpose) {
    for (const cMelodyNote& m : tune) {
      if (m.note) add(instrument, static_cast<uint8_t>(m.note + transpose), start, m.eighths * kEighth + 4 * kEighth);
      start += m.eighths * kEighth;
    }
    return start;
  }

  // The organ holds the chord a beat into the next one; the bass rings for two beats.
  constexpr void chord(const cChord& c, uint32_t start, uint32_t beats, bool pizzicato, int pizzicatoNotes) {
    for (uint8_t t : c.triad) add(2, t, start, (beats + 1) * 2 * kEighth);
    for (uint32_t b = 0; b < beats; ++b) add(3, b % 2 ? c.fifth : c.root, start + b * 2 * kEighth, 4 * kEighth);
    if (pizzicato)
      for (int i = 0; i < pizzicatoNotes; ++i)
        add(7, static_cast<uint8_t>(c.triad[i] + 12), start + (2 * static_cast<uint32_t>(i) + 1) * kEighth, 3 * kEighth);
  }

  constexpr void harmony(const cBar (&bars)[8], uint32_t start, bool pizzicato) {
    for (int b = 0; b < 8; ++b) {
      const cBar& bar = bars[b];
      const uint32_t at = start + static_cast<uint32_t>(b) * kBar;
      // The last bar of the B section leaves room for the tune's turn back.
      const int arpeggio = b == 7 ? 2 : 3;
      if (bar.split) {
        chord(bar.first, at, 2, pizzicato, 2);
        chord(bar.second, at + kBar / 2, 2, pizzicato, 1);
      } else {
        chord(bar.first, at, 4, pizzicato, arpeggio);
      }
      add(4, 48, at, 2 * kEighth);
      add(4, 48, at + 4 * kEighth, 2 * kEighth);
      add(5, 60, at + 2 * kEighth, kEighth);
      add(5, 60, at + 6 * kEighth, kEighth);
    }
  }
};

constexpr std::array<cTuneNote, kTuneNotes> buildScore() {
  cScoreBuilder s;
  uint32_t t = 0;
  // A
  s.harmony(kHarmonyA, t, false);
  s.melody(0, kEndingFirst, s.melody(0, kTuneA, t, 0), 0);
  t += 8 * kBar;
  // A'
  s.harmony(kHarmonyA, t, false);
  s.melody(0, kEndingSecond, s.melody(0, kTuneA, t, 0), 0);
  t += 8 * kBar;
  // B
  s.harmony(kHarmonyB, t, true);
  s.melody(1, kTuneB, t, 0);
  t += 8 * kBar;
  // A' with bells
  s.harmony(kHarmonyA, t, false);
  s.melody(0, kEndingSecond, s.melody(0, kTuneA, t, 0), 0);
  s.melody(6, kEndingSecond, s.melody(6, kTuneA, t, 12), 12);
  if (s.count != kTuneNotes) s.notes.at(kTuneNotes);  // the score must fill the table exactly
  // Nothing rings past the last bar: the tune starts again right there.
  for (cTuneNote& n : s.notes)
    if (n.start + n.duration > t + 8 * kBar) n.duration = t + 8 * kBar - n.start;
  // In order of their start; parts that start together keep their order.
  for (size_t i = 1; i < s.notes.size(); ++i)
    for (size_t j = i; j > 0 && s.notes[j - 1].start > s.notes[j].start; --j) std::swap(s.notes[j - 1], s.notes[j]);
  return s.notes;
}

constexpr std::array<cTuneNote, kTuneNotes> kScore = buildScore();

inline void mixSample(uint8_t& out, int sample) {
  const int v = out + sample - 128;
  out = static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace

const std::array<cTuneNote, kTuneNotes>& tuneScore() { return kScore; }

uint32_t tuneTicksToSamples(uint32_t ticks) {
  const uint64_t den = 4608ull * 1000;
  return static_cast<uint32_t>((static_cast<uint64_t>(ticks) * 5718 * 11025 + den / 2) / den);
}

cPitchStep pitchStep(int semitones) {
  const double ratio = std::pow(2.0, semitones / 12.0);
  if (ratio > 256) return {static_cast<uint32_t>(ratio), 0};
  if (ratio > 1) return {static_cast<uint32_t>(ratio * 128), 7};
  return {static_cast<uint32_t>(ratio * 16384), 14};
}

namespace {

// The 256 steps, for semitone offsets -128 ... 127.
const std::array<cPitchStep, 256>& pitchTable() {
  static const std::array<cPitchStep, 256> table = [] {
    std::array<cPitchStep, 256> t{};
    for (int s = -128; s < 128; ++s) t[static_cast<size_t>(s + 128)] = pitchStep(s);
    return t;
  }();
  return table;
}

}  // namespace

cTune::cTune(std::array<std::span<const uint8_t>, kTuneInstruments> instruments) : instruments_(instruments) {
  notes_ = kScore;
  for (cTuneNote& n : notes_) {
    const uint32_t end = tuneTicksToSamples(n.start + n.duration);
    n.start = tuneTicksToSamples(n.start);
    // The running offset is 16 bits wide: no note lasts longer than that.
    n.duration = std::min<uint32_t>(end - n.start, 65535);
    end_ = std::max(end_, n.start + n.duration);
  }
  restart();
}

void cTune::restart() {
  clock_ = 0;
  first_ = 0;
  finished_.fill(false);
  for (cTuneNote& n : notes_) n.offset = 0;
}

void cTune::mix(uint8_t* block, uint32_t length) {
  if (end_ == 0) return;
  while (length > 0) {
    if (clock_ >= end_) restart();
    const uint32_t n = std::min(length, end_ - clock_);
    mixSegment(block, n);
    clock_ += n;
    block += n;
    length -= n;
  }
}

void cTune::mixSegment(uint8_t* out, uint32_t length) {
  const uint32_t from = clock_, to = clock_ + length;
  while (first_ < kTuneNotes && finished_[static_cast<size_t>(first_)]) ++first_;
  for (int k = first_; k < kTuneNotes; ++k) {
    cTuneNote& n = notes_[static_cast<size_t>(k)];
    if (n.start >= to) break;
    if (finished_[static_cast<size_t>(k)]) continue;
    const std::span<const uint8_t> sample = instruments_[n.instrument];
    const int semitones = static_cast<int>(n.note) - kTuneBaseNotes[n.instrument];
    const cPitchStep step = pitchTable()[static_cast<size_t>(std::clamp(semitones, -128, 127) + 128)];
    uint32_t p = n.start > from ? n.start - from : 0;
    uint32_t i = n.offset;
    bool ended = false;
    for (; p < length; ++p, ++i) {
      if (i >= n.duration) break;
      const uint64_t source = semitones == 0 ? i : (static_cast<uint64_t>(step.step) * i) >> step.shift;
      if (source >= sample.size()) {
        ended = true;
        break;
      }
      mixSample(out[p], sample[source]);
    }
    n.offset = static_cast<uint16_t>(i);
    if (ended || i >= n.duration) {
      finished_[static_cast<size_t>(k)] = true;
      n.offset = static_cast<uint16_t>(std::min<size_t>(sample.size(), 65535));
    }
  }
}
