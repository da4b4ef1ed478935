#include "tools/synth/dsp.h"

#include <algorithm>

namespace synth {

cCurve glide(double a, double b, double seconds) {
  return [=](double t) { return t >= seconds ? b : a + (b - a) * (t / seconds); };
}

cCurve path(std::vector<std::pair<double, double>> points) {
  return [points = std::move(points)](double t) {
    if (t <= points.front().first) return points.front().second;
    for (size_t i = 1; i < points.size(); ++i) {
      if (t <= points[i].first) {
        const auto& [t0, v0] = points[i - 1];
        const auto& [t1, v1] = points[i];
        return v0 + (v1 - v0) * (t - t0) / (t1 - t0);
      }
    }
    return points.back().second;
  };
}

uint32_t cRandom::next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double cRandom::uniform() { return next() / 4294967296.0; }
double cRandom::signedUnit() { return uniform() * 2.0 - 1.0; }

cSignal silence(double seconds) { return cSignal(samplesFor(seconds), 0.0f); }

namespace {

// 1 well below the top frequency, falling to 0 at it.
double partialFade(double frequency) {
  const double start = kTopFrequency * 0.85;
  if (frequency <= start) return 1.0;
  if (frequency >= kTopFrequency) return 0.0;
  return (kTopFrequency - frequency) / (kTopFrequency - start);
}

}  // namespace

cSignal harmonics(double seconds, const cCurve& frequency, const std::vector<double>& amplitudes) {
  cSignal s(samplesFor(seconds));
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double f = frequency(timeOf(i));
    double v = 0;
    for (size_t k = 0; k < amplitudes.size(); ++k) {
      const double fk = f * static_cast<double>(k + 1);
      const double fade = partialFade(fk);
      if (fade == 0) break;
      v += amplitudes[k] * fade * std::sin(phase * static_cast<double>(k + 1));
    }
    s[i] = static_cast<float>(v);
    phase += 2 * kPi * f / kRate;
    if (phase > 2 * kPi * 1000) phase = std::fmod(phase, 2 * kPi);
  }
  return s;
}

cSignal partials(double seconds, double frequency, const std::vector<cPartial>& list) {
  cSignal s(samplesFor(seconds));
  for (const cPartial& p : list) {
    const double f = p.ratio * frequency;
    const double fade = partialFade(f);
    if (fade == 0) continue;
    for (size_t i = 0; i < s.size(); ++i) {
      const double t = timeOf(i);
      s[i] += static_cast<float>(p.amplitude * fade * std::exp(-t / p.decay) * std::sin(2 * kPi * f * t));
    }
  }
  return s;
}

cSignal pluck(double seconds, double frequency, double brightness, cRandom& random) {
  cSignal y(samplesFor(seconds));
  // Averaging two neighbours in the loop delays by half a sample more.
  const double delay = kRate / frequency - 0.5;
  const size_t burst = static_cast<size_t>(std::lround(kRate / frequency));
  const double alpha = std::clamp(brightness, 0.05, 1.0);
  auto at = [&](double pos) {
    if (pos < 0) return 0.0;
    const size_t i = static_cast<size_t>(pos);
    const double frac = pos - static_cast<double>(i);
    return y[i] * (1 - frac) + (i + 1 < y.size() ? y[i + 1] : 0.0) * frac;
  };
  double smooth = 0;
  for (size_t n = 0; n < y.size(); ++n) {
    double x = 0;
    if (n < burst) {
      // A soft burst: noise smoothed the more, the darker the string.
      smooth += alpha * (random.signedUnit() - smooth);
      x = smooth;
    }
    const double back = static_cast<double>(n) - delay;
    const double fed = back >= 1 ? 0.5 * (at(back) + at(back - 1)) : 0.0;
    y[n] = static_cast<float>(x + 0.996 * fed);
  }
  return y;
}

cSignal noise(double seconds, cRandom& random) {
  cSignal s(samplesFor(seconds));
  for (float& v : s) v = static_cast<float>(random.signedUnit());
  return s;
}

void shape(cSignal& s, const cCurve& gain) {
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>(s[i] * gain(timeOf(i)));
}

cCurve strike(double attack, double decay) {
  return [=](double t) {
    if (t < attack) {
      const double x = std::sin(0.5 * kPi * t / attack);
      return x * x;
    }
    return std::exp(-(t - attack) / decay);
  };
}

cCurve swell(double attack, double length, double release) {
  return [=](double t) {
    if (t < 0 || t >= length) return 0.0;
    double g = 1.0;
    if (t < attack) g = std::sin(0.5 * kPi * t / attack);
    if (t > length - release) g = std::min(g, std::sin(0.5 * kPi * (length - t) / release));
    return g * g;
  };
}

namespace {

double clampFrequency(double f) { return std::clamp(f, 20.0, kRate * 0.45); }

}  // namespace

namespace {

// The terms every filter of the cookbook starts from.
struct cFilterTerms {
  double alpha, c, a0;
  cFilterTerms(double frequency, double q) {
    const double w = 2 * kPi * clampFrequency(frequency) / kRate;
    alpha = std::sin(w) / (2 * q);
    c = std::cos(w);
    a0 = 1 + alpha;
  }
};

}  // namespace

void cBiquad::bandPass(double frequency, double q) {
  const cFilterTerms t(frequency, q);
  b0 = t.alpha / t.a0;
  b1 = 0;
  b2 = -t.alpha / t.a0;
  a1 = -2 * t.c / t.a0;
  a2 = (1 - t.alpha) / t.a0;
}

void cBiquad::lowPass(double frequency, double q) {
  const cFilterTerms t(frequency, q);
  b0 = (1 - t.c) / 2 / t.a0;
  b1 = (1 - t.c) / t.a0;
  b2 = b0;
  a1 = -2 * t.c / t.a0;
  a2 = (1 - t.alpha) / t.a0;
}

void cBiquad::highPass(double frequency, double q) {
  const cFilterTerms t(frequency, q);
  b0 = (1 + t.c) / 2 / t.a0;
  b1 = -(1 + t.c) / t.a0;
  b2 = b0;
  a1 = -2 * t.c / t.a0;
  a2 = (1 - t.alpha) / t.a0;
}

float cBiquad::run(float x) {
  const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
  x2 = x1;
  x1 = x;
  y2 = y1;
  y1 = y;
  return static_cast<float>(y);
}

namespace {

// Runs a filter whose coefficients follow the time, set every few samples.
template <class Set>
cSignal runMoving(const cSignal& s, Set set) {
  cSignal out(s.size());
  cBiquad f;
  for (size_t i = 0; i < s.size(); ++i) {
    if (i % 8 == 0) set(f, timeOf(i));
    out[i] = f.run(s[i]);
  }
  return out;
}

}  // namespace

cSignal bandPass(const cSignal& s, const cCurve& frequency, double q) {
  return runMoving(s, [&](cBiquad& f, double t) { f.bandPass(frequency(t), q); });
}

cSignal lowPass(const cSignal& s, const cCurve& frequency, double q) {
  return runMoving(s, [&](cBiquad& f, double t) { f.lowPass(frequency(t), q); });
}

cSignal highPass(const cSignal& s, double frequency, double q) {
  return runMoving(s, [&](cBiquad& f, double) { f.highPass(frequency, q); });
}

cSignal formantFilter(const cSignal& source, const cFormants& formants) {
  const cSignal a = runMoving(source, [&](cBiquad& f, double t) {
    const double fr = formants.f1(t);
    f.bandPass(fr, fr / formants.bandwidth1);
  });
  const cSignal b = runMoving(source, [&](cBiquad& f, double t) {
    const double fr = formants.f2(t);
    f.bandPass(fr, fr / formants.bandwidth2);
  });
  const cSignal c = runMoving(source, [&](cBiquad& f, double t) {
    const double fr = formants.f3(t);
    f.bandPass(fr, fr / formants.bandwidth3);
  });
  cSignal out(source.size());
  for (size_t i = 0; i < out.size(); ++i) out[i] = a[i] + 0.6f * b[i] + 0.3f * c[i];
  return out;
}

cSignal glottal(double seconds, const cCurve& pitch, double tilt, double breath, cRandom& random) {
  std::vector<double> amplitudes;
  for (int k = 1; k <= 60; ++k) amplitudes.push_back(1.0 / std::pow(static_cast<double>(k), tilt));
  cSignal s = harmonics(seconds, pitch, amplitudes);
  const double p = peak(s);
  if (p > 0) scale(s, 1.0 / p);
  if (breath > 0) {
    const cSignal n = highPass(noise(seconds, random), 600);
    for (size_t i = 0; i < s.size(); ++i) s[i] += static_cast<float>(breath * n[i]);
  }
  return s;
}

void mixAt(cSignal& dst, const cSignal& src, double at, double gain) {
  const size_t start = samplesFor(at);
  if (dst.size() < start + src.size()) dst.resize(start + src.size(), 0.0f);
  for (size_t i = 0; i < src.size(); ++i) dst[start + i] += static_cast<float>(src[i] * gain);
}

void scale(cSignal& s, double gain) {
  for (float& v : s) v = static_cast<float>(v * gain);
}

double peak(const cSignal& s) {
  double p = 0;
  for (float v : s) p = std::max(p, static_cast<double>(std::fabs(v)));
  return p;
}

std::vector<uint8_t> toSamples(cSignal s, double peakDb, bool loop) {
  if (!loop && !s.empty()) {
    // In within half a millisecond (an attack keeps its snap) and out over a
    // few, so that no sound starts or ends with a click.
    const size_t in = std::min(s.size() / 2, samplesFor(0.0005));
    const size_t out = std::min(s.size() / 2, samplesFor(0.004));
    for (size_t i = 0; i < in; ++i) s[i] *= static_cast<float>(i) / static_cast<float>(in);
    for (size_t i = 0; i < out; ++i) s[s.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(out);
  }
  const double p = peak(s);
  if (p > 0) scale(s, std::pow(10.0, peakDb / 20.0) / p);
  std::vector<uint8_t> out(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const long v = std::lround(128.0 + 127.0 * s[i]);
    out[i] = static_cast<uint8_t>(std::clamp(v, 0L, 255L));
  }
  return out;
}

cSignal crossfadeLoop(const cSignal& longer, double seconds, double fade) {
  const size_t length = samplesFor(seconds);
  const size_t f = std::min(samplesFor(fade), longer.size() - std::min(longer.size(), length));
  cSignal out(longer.begin(), longer.begin() + static_cast<std::ptrdiff_t>(std::min(length, longer.size())));
  for (size_t i = 0; i < f; ++i) {
    const double w = std::sin(0.5 * kPi * static_cast<double>(i) / static_cast<double>(f));
    out[i] = static_cast<float>(longer[i] * w + longer[length + i] * std::sqrt(1 - w * w));
  }
  return out;
}

}  // namespace synth
