// Small utilities the gadget kinds share: the number formatter of the
// displays, the number parser of the text fields, the tick clock and the
// rate of the tone sample.
#pragma once

#include <cstdint>

// A 10-character, right-aligned text of x in a buffer shared by all callers
// (valid until the next call). `decimals` is the caller's remembered count of
// decimals: it only grows, so a display never shows fewer decimals than it
// did before, and never more than the value needs. Very large and very
// small values take the exponent form.
const char* formatNumber(double x, int& decimals);

// One number scanned from the text: none (or 0) gives 0; magnitudes are kept
// between 1e-300 and 1e300. A text that is not a number ("nan") gives 0.
double parseNumber(const char* text);

// Ticks of 1/60 second on the platform's millisecond clock.
uint32_t ticks();
// The same from a given millisecond count.
constexpr uint32_t ticksFromMilliseconds(uint32_t ms) {
  return static_cast<uint32_t>(static_cast<double>(ms) * 0.06);
}

// How to play the tone sample so that it sounds at a frequency.
struct cToneRate {
  uint16_t rate = 10;        // samples per second
  uint32_t sampleCount = 0;  // samples to play
  bool useEighth = false;    // play the copy holding every 8th sample
};

// The tone sample sounds at 220 Hz at 11025 samples per second. fullLength
// and eighthLength are the sample counts of the tone and of its every-8th copy.
cToneRate toneRate(double frequency, double seconds, uint32_t fullLength, uint32_t eighthLength);
