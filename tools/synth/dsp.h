// The building blocks of our sounds: signals of floats at 11025 samples per
// second, oscillators that stay below the Nyquist frequency, envelopes,
// filters, noise, and the step to 8-bit unsigned samples.
//
// Everything is deterministic: the same build makes the same bytes.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace synth {

inline constexpr double kRate = 11025.0;
inline constexpr double kPi = 3.14159265358979323846;
// Partials above this are left out: they would fold back as harsh tones.
inline constexpr double kTopFrequency = 5000.0;

using cSignal = std::vector<float>;
using cCurve = std::function<double(double t)>;  // a value over time in seconds

inline size_t samplesFor(double seconds) { return static_cast<size_t>(std::lround(seconds * kRate)); }
inline double timeOf(size_t i) { return static_cast<double>(i) / kRate; }
inline cCurve constant(double v) {
  return [v](double) { return v; };
}
// From a to b over `seconds`, then b.
cCurve glide(double a, double b, double seconds);
// Through the points (time, value), straight between them, flat beyond.
cCurve path(std::vector<std::pair<double, double>> points);

// A small, fixed pseudo-random generator.
class cRandom {
 public:
  explicit cRandom(uint32_t seed) : state_(seed ? seed : 1) {}
  uint32_t next();
  double uniform();  // 0 ... 1
  double signedUnit();  // -1 ... 1

 private:
  uint32_t state_;
};

cSignal silence(double seconds);

// A tone of harmonics: amplitudes[k] for harmonic k + 1, at the frequency
// curve; partials that would rise above kTopFrequency fade out.
cSignal harmonics(double seconds, const cCurve& frequency, const std::vector<double>& amplitudes);
inline cSignal sine(double seconds, const cCurve& frequency) { return harmonics(seconds, frequency, {1.0}); }
// Partials at free ratios of the frequency (bells, bars), each with its own decay time.
struct cPartial {
  double ratio, amplitude, decay;
};
cSignal partials(double seconds, double frequency, const std::vector<cPartial>& list);
// A plucked string (Karplus-Strong), decaying on its own.
cSignal pluck(double seconds, double frequency, double brightness, cRandom& random);

cSignal noise(double seconds, cRandom& random);

// Envelopes multiply the signal by a curve.
void shape(cSignal& s, const cCurve& gain);
// Rises in `attack`, then decays with time constant `decay`.
cCurve strike(double attack, double decay);
// Rises in `attack`, holds, falls in `release` at the end of `length`.
cCurve swell(double attack, double length, double release);

// Filters. Q is the width: higher is narrower.
struct cBiquad {
  double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  void bandPass(double frequency, double q);
  void lowPass(double frequency, double q);
  void highPass(double frequency, double q);
  float run(float x);
};
// Band-pass with a centre that moves over time.
cSignal bandPass(const cSignal& s, const cCurve& frequency, double q);
cSignal lowPass(const cSignal& s, const cCurve& frequency, double q = 0.707);
cSignal highPass(const cSignal& s, double frequency, double q = 0.707);

// A voice: a buzzing source shaped by three formants that move over time.
struct cFormants {
  cCurve f1, f2, f3;
  double bandwidth1 = 80, bandwidth2 = 120, bandwidth3 = 180;
};
cSignal formantFilter(const cSignal& source, const cFormants& formants);
// The buzz of vocal folds: harmonics falling off by `tilt` per octave, plus breath.
cSignal glottal(double seconds, const cCurve& pitch, double tilt, double breath, cRandom& random);

// Mixes src into dst from `at` seconds on (dst grows as needed).
void mixAt(cSignal& dst, const cSignal& src, double at, double gain = 1.0);
void scale(cSignal& s, double gain);
double peak(const cSignal& s);

// To 8-bit unsigned samples, 128 = silence: scaled so that the loudest
// sample reaches `peakDb` below full scale, with short fades at the ends
// unless the sound is a loop.
std::vector<uint8_t> toSamples(cSignal s, double peakDb, bool loop = false);

// Makes a loop of `seconds` from a longer signal by cross-fading its tail
// into its start, so that the end runs on into the beginning.
cSignal crossfadeLoop(const cSignal& longer, double seconds, double fade);

// The frequency of a note number (60 = middle C, 69 = A at 440 Hz).
inline double noteFrequency(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

}  // namespace synth
