#include "tools/synth/sounds.h"

#include <algorithm>
#include <map>

#include "tools/synth/dsp.h"

namespace synth {
namespace {

// --- timbres ---

// Ends a note softly: a ringing note cut short would click.
cSignal fadeOut(cSignal s, double seconds) {
  const size_t n = std::min(s.size(), samplesFor(seconds));
  for (size_t i = 0; i < n; ++i) s[s.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(n);
  return s;
}

// A small bell or chime: a few partials that die away.
cSignal bellNote(double frequency, double decay, double seconds) {
  cSignal s = partials(seconds, frequency, {{1, 1, decay}, {2.0, 0.22, decay * 0.5}, {3.0, 0.07, decay * 0.3}});
  shape(s, strike(0.002, 1e9));
  return fadeOut(s, seconds / 3);
}

// A wooden bar struck with a soft mallet.
cSignal marimbaNote(double frequency, double seconds) {
  cSignal s = partials(seconds, frequency, {{1, 1, 0.32}, {3.93, 0.22, 0.06}, {9.2, 0.04, 0.02}});
  shape(s, strike(0.003, 1e9));
  return fadeOut(s, seconds / 3);
}

// A piano-like string: harmonics that fade the faster the higher they are.
cSignal pianoNote(double frequency, double seconds, double decay = 0.6) {
  std::vector<cPartial> list;
  for (int k = 1; k <= 7; ++k) {
    const double kk = static_cast<double>(k);
    list.push_back({kk * std::sqrt(1 + 0.0004 * kk * kk), 1.0 / std::pow(kk, 1.4), decay / (1 + 0.45 * (kk - 1))});
  }
  cSignal s = partials(seconds, frequency, list);
  shape(s, strike(0.004, 1e9));
  return fadeOut(s, seconds / 4);
}

// A woodblock or tick: a short knock with a touch of noise at the attack.
cSignal knock(double frequency, double decay, double seconds, cRandom& random) {
  cSignal s = partials(seconds, frequency, {{1, 1, decay}, {2.6, 0.35, decay * 0.45}, {4.1, 0.12, decay * 0.3}});
  cSignal n = bandPass(noise(seconds, random), constant(std::min(frequency * 2.5, 4500.0)), 2.0);
  shape(n, strike(0.0003, 0.002));
  mixAt(s, n, 0, 0.35);
  return fadeOut(s, seconds / 3);
}

// A short tone whose pitch slides.
cSignal blip(double seconds, const cCurve& frequency, double attack, double decay, std::vector<double> harmonicSet = {1, 0.15}) {
  cSignal s = harmonics(seconds, frequency, harmonicSet);
  shape(s, strike(attack, decay));
  return fadeOut(s, seconds / 4);
}

// Brass: the brighter the louder, as a real horn; vibrato on long notes.
cSignal brass(double seconds, const cCurve& frequency, double attack, double release, double vibrato) {
  std::vector<double> saw;
  for (int k = 1; k <= 30; ++k) saw.push_back(1.0 / k);
  const cCurve wobble = [=](double t) {
    return frequency(t) * (1 + vibrato * std::min(1.0, t / 0.3) * std::sin(2 * kPi * 5.5 * t));
  };
  const cSignal source = harmonics(seconds, wobble, saw);
  const cCurve env = swell(attack, seconds, release);
  cSignal s = lowPass(source, [&](double t) { return 350 + 2600 * env(t); }, 0.9);
  shape(s, env);
  return s;
}

// A voice sound: a buzz through moving formants, under an envelope.
cSignal voice(double seconds, const cCurve& pitch, const cFormants& formants, double tilt, double breath,
              const cCurve& envelope, cRandom& random) {
  cSignal s = formantFilter(glottal(seconds, pitch, tilt, breath, random), formants);
  shape(s, envelope);
  return s;
}

cCurve withVibrato(cCurve pitch, double rate, double depth) {
  return [=](double t) { return pitch(t) * (1 + depth * std::sin(2 * kPi * rate * t)); };
}

cSignal softNoiseBurst(double seconds, double centre, double q, double attack, double decay, cRandom& random) {
  cSignal n = bandPass(noise(seconds, random), constant(centre), q);
  shape(n, strike(attack, decay));
  return n;
}

// A spring: a low tone that wobbles and settles.
cSignal boing(double frequency, double seconds) {
  cSignal s = harmonics(
      seconds,
      [=](double t) { return frequency * (1 + 0.45 * std::exp(-t / 0.12) * std::sin(2 * kPi * 13 * t)); },
      {1, 0.35, 0.1});
  shape(s, strike(0.003, seconds / 3));
  return fadeOut(s, seconds / 4);
}

// A tone that sounds at exactly 220 Hz and repeats every second without a seam.
cSignal tone220(double seconds) {
  cSignal s = harmonics(seconds, constant(220), {0.8, 0.2, 0.08});
  return s;
}

double pentatonic(cRandom& random, double low) {
  static const double steps[] = {0, 2, 4, 7, 9, 12, 14, 16};
  return noteFrequency(low + steps[random.next() % 8]);
}

// --- the interface ---

cSignal buttonClick() {
  cRandom r(128);
  cSignal s = knock(1400, 0.006, 0.05, r);
  mixAt(s, blip(0.05, constant(350), 0.001, 0.012, {1}), 0, 0.5);
  return s;
}

cSignal chimePair(double first, double second) {
  cSignal s = bellNote(first, 0.09, 0.32);
  mixAt(s, bellNote(second, 0.12, 0.3), 0.07);
  return s;
}

cSignal chimeRun(std::vector<double> notes, double step, double decay) {
  cSignal s;
  for (size_t i = 0; i < notes.size(); ++i) mixAt(s, bellNote(noteFrequency(notes[i]), decay, 0.25), step * static_cast<double>(i));
  return s;
}

cSignal marimbaRun(std::vector<double> notes, double step) {
  cSignal s;
  for (size_t i = 0; i < notes.size(); ++i) {
    const bool last = i + 1 == notes.size();
    mixAt(s, marimbaNote(noteFrequency(notes[i]), last ? 0.55 : 0.4), step * static_cast<double>(i), last ? 1.0 : 0.8);
  }
  return s;
}

cSignal swish(double seconds, const cCurve& centre, double q, double seed) {
  cRandom r(static_cast<uint32_t>(seed));
  cSignal s = bandPass(noise(seconds, r), centre, q);
  shape(s, swell(seconds * 0.25, seconds, seconds * 0.55));
  return s;
}

cSignal dragLoop() {
  cRandom r(150);
  // Filtered noise made longer than the loop, then folded onto itself.
  cSignal rumble = lowPass(bandPass(noise(1.3, r), constant(420), 1.1), constant(900));
  cSignal s = crossfadeLoop(rumble, 1.0, 0.25);
  // A gentle roll six times a second and a low hum: whole cycles in the second, so the loop is seamless.
  shape(s, [](double t) { return 0.65 + 0.35 * std::sin(2 * kPi * 6 * t); });
  const cSignal hum = harmonics(1.0, constant(110), {1, 0.3});
  const double p = peak(s);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>(s[i] / p + 0.25 * hum[i]);
  return s;
}

// --- the gadget kinds ---

cSignal landing() {
  cRandom r(1001);
  cSignal s = blip(0.4, glide(170, 60, 0.15), 0.002, 0.09, {1, 0.3, 0.1});
  mixAt(s, lowPass(softNoiseBurst(0.2, 500, 0.7, 0.001, 0.03, r), constant(700)), 0, 0.6);
  return s;
}

cSignal release() {
  cRandom r(1101);
  cSignal s = partials(0.2, 1300, {{1, 1, 0.03}, {1.52, 0.6, 0.025}, {2.9, 0.3, 0.01}});
  mixAt(s, softNoiseBurst(0.05, 2500, 1.5, 0.0003, 0.003, r), 0, 0.4);
  cSignal whistle = harmonics(0.35, glide(1400, 500, 0.35), {1, 0.1});
  shape(whistle, swell(0.03, 0.35, 0.15));
  mixAt(s, whistle, 0.06, 0.35);
  return s;
}

cSignal boom(double seconds, double seed, double size) {
  cRandom r(static_cast<uint32_t>(seed));
  cSignal s = lowPass(noise(seconds, r), glide(1800, 160, seconds * 0.4), 0.8);
  shape(s, strike(0.003, 0.16 * size));
  cSignal low = harmonics(seconds, glide(110, 42, seconds * 0.5), {1, 0.5, 0.25});
  shape(low, strike(0.005, 0.2 * size));
  mixAt(s, low, 0, 0.9);
  mixAt(s, softNoiseBurst(0.1, 2600, 1.0, 0.0005, 0.02, r), 0, 0.35);
  return s;
}

cSignal detonation() {
  cRandom r(1048);
  cSignal s;
  cSignal crack = noise(0.05, r);
  shape(crack, strike(0.0005, 0.008));
  mixAt(s, crack, 0, 0.7);
  mixAt(s, boom(1.0, 1049, 2.0), 0.005);
  cSignal rumble = lowPass(noise(1.6, r), constant(260));
  shape(rumble, swell(0.05, 1.6, 1.1));
  mixAt(s, rumble, 0, 0.6);
  return s;
}

cSignal coinToss() {
  // A ting that flutters as the coin spins, slower and slower.
  cSignal s = partials(0.9, 2200, {{1, 1, 0.35}, {1.63, 0.5, 0.22}, {2.21, 0.22, 0.12}});
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = timeOf(i);
    phase += 2 * kPi * (18 - 11 * std::min(1.0, t / 0.8)) / kRate;
    s[i] = static_cast<float>(s[i] * (0.55 + 0.45 * std::cos(phase)));
  }
  shape(s, strike(0.001, 1e9));
  return s;
}

cSignal diceRattle() {
  cRandom r(1007);
  cSignal s = silence(0.75);
  for (int i = 0; i < 16; ++i) {
    const double at = r.uniform() * 0.48;
    mixAt(s, softNoiseBurst(0.03, 1500 + 2000 * r.uniform(), 4.0, 0.0003, 0.004, r), at, 0.4 + 0.6 * r.uniform());
  }
  mixAt(s, knock(1100, 0.012, 0.08, r), 0.55, 0.9);
  mixAt(s, knock(1300, 0.01, 0.08, r), 0.63, 0.7);
  return s;
}

cSignal tuningFork() {
  cSignal s = partials(2.0, 440, {{1, 1, 0.9}, {6.27, 0.12, 0.04}});
  shape(s, strike(0.003, 1e9));
  return s;
}

cSignal switchClick() {
  cRandom r(1012);
  cSignal s = softNoiseBurst(0.03, 3000, 2.0, 0.0002, 0.002, r);
  mixAt(s, partials(0.02, 2000, {{1, 1, 0.004}}), 0, 0.6);
  mixAt(s, softNoiseBurst(0.04, 1500, 2.0, 0.0002, 0.004, r), 0.018, 0.8);
  mixAt(s, partials(0.04, 900, {{1, 1, 0.01}}), 0.018, 0.6);
  return s;
}

cSignal heartBeat() {
  cRandom r(1017);
  cSignal s = blip(0.22, glide(95, 55, 0.12), 0.01, 0.05, {1, 0.8, 0.6, 0.4, 0.25, 0.12});
  mixAt(s, lowPass(softNoiseBurst(0.1, 200, 0.7, 0.005, 0.03, r), constant(300)), 0, 0.3);
  return s;
}

cSignal computing() {
  cRandom r(1020);
  cSignal s = silence(1.2);
  for (int i = 0; i < 12; ++i) mixAt(s, blip(0.07, constant(pentatonic(r, 72)), 0.003, 0.03), 0.095 * i, 0.8 + 0.2 * r.uniform());
  return s;
}

cSignal refusal() {
  // "Uh-uh": two low, hollow notes going down.
  cSignal s;
  for (int i = 0; i < 2; ++i) {
    cSignal n = harmonics(0.14, constant(i ? 262 : 330), {1, 0.05, 0.3, 0.03, 0.12});
    shape(n, swell(0.01, 0.14, 0.05));
    mixAt(s, n, 0.17 * i);
  }
  return s;
}

cSignal trackChange() {
  cRandom r(1036);
  cSignal s = softNoiseBurst(0.03, 2500, 2.0, 0.0002, 0.003, r);
  mixAt(s, blip(0.18, constant(230), 0.002, 0.04, {1, 0.4}), 0.02);
  mixAt(s, partials(0.1, 1600, {{1, 1, 0.03}}), 0.02, 0.3);
  return s;
}

cSignal fanfare() {
  cSignal s;
  const double notes[] = {67, 72, 76, 79};
  for (int i = 0; i < 4; ++i) mixAt(s, brass(0.14, constant(noteFrequency(notes[i])), 0.015, 0.04, 0), 0.14 * i, 0.8);
  mixAt(s, brass(0.95, constant(noteFrequency(84)), 0.03, 0.35, 0.006), 0.56);
  mixAt(s, brass(0.95, constant(noteFrequency(76)), 0.05, 0.35, 0.004), 0.56, 0.45);
  mixAt(s, brass(0.95, constant(noteFrequency(79)), 0.05, 0.35, 0.004), 0.56, 0.45);
  return s;
}

cSignal sadTrombone() {
  cRandom r(1151);
  cSignal s;
  const double notes[] = {58, 57, 56};
  for (int i = 0; i < 3; ++i) {
    const double f = noteFrequency(notes[i]);
    cSignal n = brass(0.42, constant(f), 0.03, 0.08, 0.004);
    // The mute opens on every note: "wah".
    n = formantFilter(n, {glide(350, 850, 0.25), glide(800, 1250, 0.25), constant(2500), 120, 200, 300});
    mixAt(s, n, 0.45 * i);
  }
  cSignal last = brass(1.05, path({{0, noteFrequency(55)}, {0.6, noteFrequency(55)}, {1.05, noteFrequency(54)}}), 0.03,
                       0.35, 0.012);
  last = formantFilter(last, {path({{0, 350}, {0.3, 850}, {1.05, 450}}), path({{0, 800}, {0.3, 1250}, {1.05, 900}}),
                              constant(2500), 120, 200, 300});
  mixAt(s, last, 1.35);
  return s;
}

// --- animals ---

cSignal dog() {
  cRandom r(200);
  cSignal s;
  for (int i = 0; i < 2; ++i) {
    const double len = 0.17;
    cCurve pitch = path({{0, 380}, {0.03, 470}, {len, 290}});
    cFormants f{path({{0, 450}, {0.03, 750}, {len, 550}}), path({{0, 950}, {0.03, 1350}, {len, 1100}}), constant(2600), 140,
                220, 320};
    cSignal bark = voice(len, pitch, f, 0.8, 0.35, swell(0.008, len, 0.1), r);
    // A bark is rough: its loudness flutters a few dozen times a second.
    const cSignal flutter = lowPass(noise(len, r), constant(70));
    const double fp = peak(flutter);
    for (size_t k = 0; k < bark.size(); ++k) bark[k] = static_cast<float>(bark[k] * (0.7 + 0.3 * flutter[k] / fp));
    bark = lowPass(bark, constant(3200));
    mixAt(s, bark, 0.32 * i, i ? 0.9 : 1.0);
  }
  return s;
}

cSignal cat() {
  cRandom r(201);
  const double len = 0.95;
  cCurve pitch = withVibrato(path({{0, 470}, {0.15, 610}, {0.45, 690}, {0.75, 520}, {len, 420}}), 6, 0.015);
  cFormants f{path({{0, 300}, {0.1, 360}, {0.35, 820}, {0.65, 760}, {len, 420}}),
              path({{0, 1100}, {0.1, 2300}, {0.35, 1500}, {0.65, 1300}, {len, 900}}),
              path({{0, 2700}, {0.1, 3100}, {len, 2500}}), 70, 110, 170};
  const cCurve env = [len](double t) {
    const double m = t < 0.1 ? 0.35 : (t < 0.2 ? 0.35 + 6.5 * (t - 0.1) : 1.0);
    return m * swell(0.04, len, 0.3)(t);
  };
  return voice(len, pitch, f, 1.0, 0.08, env, r);
}

cSignal hen() {
  cRandom r(202);
  cSignal s;
  const cFormants o{constant(480), constant(900), constant(2500), 90, 140, 200};
  const double clucks[] = {0, 0.21, 0.4};
  for (double at : clucks) {
    cSignal c = voice(0.09, glide(390, 330, 0.09), o, 0.9, 0.2, strike(0.005, 0.03), r);
    mixAt(c, softNoiseBurst(0.02, 2500, 1.5, 0.0003, 0.003, r), 0, 0.4);
    mixAt(s, c, at, 0.8);
  }
  const cFormants a{constant(850), constant(1500), constant(2600), 110, 170, 250};
  mixAt(s, voice(0.08, constant(430), a, 0.9, 0.2, strike(0.005, 0.03), r), 0.62, 0.8);
  mixAt(s, voice(0.5, path({{0, 600}, {0.1, 860}, {0.38, 800}, {0.5, 610}}), a, 0.8, 0.35, swell(0.02, 0.5, 0.16), r), 0.75);
  return s;
}

cSignal cow() {
  cRandom r(203);
  const double len = 1.8;
  cCurve pitch = withVibrato(path({{0, 105}, {0.3, 125}, {1.2, 120}, {len, 92}}), 4, 0.01);
  cFormants f{path({{0, 280}, {0.35, 500}, {1.0, 660}, {1.5, 450}, {len, 300}}),
              path({{0, 800}, {0.35, 950}, {1.0, 1150}, {1.5, 900}, {len, 800}}), path({{0, 2200}, {1.0, 2500}, {len, 2200}}),
              90, 150, 200};
  return voice(len, pitch, f, 0.7, 0.15, swell(0.25, len, 0.5), r);
}

// --- other sounds ---

cSignal alarmClock() {
  // A hammer between two little bells, in three bursts.
  cSignal s;
  const double bursts[] = {0, 0.95, 1.9};
  for (double b : bursts)
    for (int hit = 0; hit < 24; ++hit) {
      const double f = hit % 2 ? 1480 : 1400;
      cSignal ting = partials(0.08, f, {{1, 1, 0.05}, {1.47, 0.5, 0.035}, {2.3, 0.25, 0.02}});
      shape(ting, strike(0.0015, 1e9));
      mixAt(s, fadeOut(ting, 0.02), b + hit / 34.0, 0.6);
    }
  return s;
}

cSignal siren() {
  cSignal s;
  for (int i = 0; i < 3; ++i) {
    cSignal w = harmonics(0.7, path({{0, 500}, {0.55, 1100}, {0.7, 620}}), {1, 0.25, 0.12, 0.05});
    shape(w, swell(0.03, 0.7, 0.08));
    mixAt(s, w, 0.7 * i);
  }
  return s;
}

cSignal clockStrike() {
  cRandom r(302);
  cSignal s;
  // The partials of a church bell: hum, prime, minor third, fifth, nominal and above.
  const std::vector<cPartial> bell = {{0.5, 0.5, 2.2}, {1.0, 1.0, 1.4}, {1.19, 0.45, 1.0}, {1.5, 0.3, 0.8},
                                      {2.0, 0.55, 0.7}, {2.52, 0.25, 0.45}, {3.0, 0.15, 0.35}};
  for (int i = 0; i < 3; ++i) {
    // Each stroke rings on under the next one.
    cSignal dong = partials(i == 2 ? 1.3 : 1.7, 262, bell);
    shape(dong, strike(0.002, 1e9));
    dong = fadeOut(dong, 0.5);
    mixAt(dong, softNoiseBurst(0.05, 1500, 1.0, 0.0003, 0.005, r), 0, 0.15);
    mixAt(s, dong, 1.15 * i);
  }
  return s;
}

cSignal applause() {
  cRandom r(303);
  const double len = 2.6;
  cSignal s = silence(len);
  // Fifteen people clapping, each at their own pace, joining in and stopping.
  for (int p = 0; p < 15; ++p) {
    const double rate = 3.2 + 1.8 * r.uniform();
    double t = 0.25 * r.uniform();
    const double stop = len - 0.1 - 0.5 * r.uniform();
    const double centre = 900 + 1400 * r.uniform();
    while (t < stop) {
      mixAt(s, softNoiseBurst(0.04, centre * (0.9 + 0.2 * r.uniform()), 1.6, 0.0005, 0.008 + 0.006 * r.uniform(), r), t,
            0.6 + 0.4 * r.uniform());
      t += (1 / rate) * (0.9 + 0.2 * r.uniform());
    }
  }
  shape(s, swell(0.3, len, 0.6));
  return s;
}

cSignal breathing() {
  cRandom r(304);
  cSignal s;
  cSignal in = bandPass(noise(1.1, r), glide(1200, 2200, 1.1), 0.8);
  shape(in, swell(0.4, 1.1, 0.45));
  mixAt(s, in, 0, 0.7);
  cSignal out = lowPass(bandPass(noise(1.5, r), glide(1500, 700, 1.5), 0.8), constant(2500));
  shape(out, swell(0.2, 1.5, 0.8));
  mixAt(s, out, 1.3);
  return s;
}

cSignal laughter() {
  cRandom r(305);
  cSignal s;
  const cFormants a{constant(800), constant(1250), constant(2600), 100, 150, 220};
  for (int i = 0; i < 8; ++i) {
    const double p = 300 - 9.0 * i;
    const double at = 0.165 * i;
    const double voiced = i == 7 ? 0.2 : 0.09;
    // The breath of the "h", then the "a".
    cSignal h = formantFilter(noise(0.04, r), a);
    shape(h, swell(0.01, 0.04, 0.02));
    mixAt(s, h, at, 0.25);
    mixAt(s, voice(voiced, glide(p, p - 35, voiced), a, 1.0, 0.12, swell(0.01, voiced, voiced * 0.6), r), at + 0.03);
  }
  return s;
}

cSignal cuckoo() {
  cRandom r(306);
  cSignal s;
  auto pipe = [&](double f, double len) {
    cSignal n = harmonics(len, constant(f), {1, 0.12, 0.03});
    mixAt(n, bandPass(noise(len, r), constant(f), 6), 0, 0.15);
    shape(n, swell(0.03, len, 0.08));
    return n;
  };
  for (int i = 0; i < 2; ++i) {
    mixAt(s, pipe(740, 0.22), 0.85 * i);
    mixAt(s, pipe(587, 0.32), 0.85 * i + 0.26);
  }
  return s;
}

cSignal crazy() {
  cRandom r(307);
  cSignal s = boing(180, 0.5);
  cSignal whistle = harmonics(0.8, withVibrato(path({{0, 500}, {0.35, 1700}, {0.8, 400}}), 7, 0.02), {1, 0.08});
  mixAt(whistle, bandPass(noise(0.8, r), path({{0, 500}, {0.35, 1700}, {0.8, 400}}), 8), 0, 0.1);
  shape(whistle, swell(0.04, 0.8, 0.1));
  mixAt(s, whistle, 0.45, 0.7);
  mixAt(s, blip(0.12, glide(300, 900, 0.08), 0.003, 0.05, {1, 0.2}), 1.3);
  mixAt(s, blip(0.12, glide(300, 900, 0.08), 0.003, 0.05, {1, 0.2}), 1.45);
  return s;
}

cSignal spooky() {
  cRandom r(308);
  const double len = 3.0;
  cSignal s = harmonics(len, withVibrato(path({{0, 300}, {1.0, 460}, {1.8, 420}, {2.8, 230}}), 5, 0.025), {1, 0.2, 0.05});
  shape(s, swell(0.8, len, 1.0));
  cSignal wind = bandPass(noise(len, r), path({{0, 400}, {1.5, 900}, {len, 350}}), 3);
  shape(wind, swell(1.0, len, 1.0));
  mixAt(s, wind, 0, 0.5);
  cSignal drone = harmonics(len, constant(110), {1, 0.3});
  mixAt(drone, harmonics(len, constant(130.8), {1, 0.2}), 0, 0.6);
  shape(drone, swell(0.6, len, 0.9));
  mixAt(s, drone, 0, 0.3);
  return s;
}

cSignal chord() {
  cSignal s;
  const double notes[] = {60, 64, 67, 72};
  for (int i = 0; i < 4; ++i) mixAt(s, pianoNote(noteFrequency(notes[i]), 2.2, 0.9), 0.012 * i);
  return s;
}

// --- the introduction ---

cSignal introWhoosh() {
  cRandom r(1280);
  cSignal s = swish(1.0, glide(300, 3000, 0.9), 2.0, 1280);
  scale(s, 0.6);
  for (int i = 0; i < 8; ++i) mixAt(s, bellNote(pentatonic(r, 84), 0.2, 0.3), 0.25 + 0.1 * i, 0.5);
  return s;
}

cSignal introBoings() {
  cSignal s;
  const double notes[] = {60, 64, 67};
  for (int i = 0; i < 3; ++i) mixAt(s, boing(noteFrequency(notes[i]), 0.45), 0.35 * i);
  return s;
}

cSignal introTaDa() {
  cRandom r(1282);
  cSignal s;
  const double scale[] = {0, 2, 4, 5, 7, 9, 11};
  for (int i = 0; i < 15; ++i) {
    const double note = 72 + 12 * (i / 7) + scale[i % 7];
    mixAt(s, fadeOut(lowPass(pluck(0.5, noteFrequency(note), 0.7, r), constant(3000)), 0.15), 0.035 * i, 0.6);
  }
  for (double n : {84.0, 88.0, 91.0}) mixAt(s, bellNote(noteFrequency(n), 0.5, 1.4), 0.6, 0.5);
  return s;
}

// --- the background tune's instruments ---

cSignal tunePiano() { return fadeOut(pianoNote(noteFrequency(60), 1.4, 0.35), 0.3); }
cSignal tuneMarimba() { return fadeOut(marimbaNote(noteFrequency(60), 1.0), 0.2); }
cSignal tuneOrgan() {
  cSignal s = harmonics(2.6, constant(noteFrequency(60)), {1, 0.5, 0.25, 0.12});
  shape(s, strike(0.05, 0.55));
  return fadeOut(s, 0.4);
}
cSignal tuneBass() {
  cRandom r(9040);
  cSignal s = lowPass(pluck(1.1, noteFrequency(48), 0.5, r), constant(1100));
  const double p = peak(s);
  cSignal body = harmonics(1.1, constant(noteFrequency(48)), {1, 0.5, 0.3});
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>(s[i] / p + 0.6 * body[i]);
  shape(s, strike(0.005, 0.25));
  return fadeOut(s, 0.2);
}
cSignal tuneDrum() {
  cRandom r(9035);
  cSignal s = blip(0.35, glide(140, 70, 0.15), 0.002, 0.08, {1, 0.3});
  mixAt(s, lowPass(softNoiseBurst(0.05, 800, 0.7, 0.001, 0.01, r), constant(1000)), 0, 0.3);
  return fadeOut(s, 0.05);
}
cSignal tuneShaker() {
  cRandom r(9053);
  cSignal s = bandPass(noise(0.1, r), constant(4000), 1.0);
  shape(s, swell(0.015, 0.1, 0.07));
  return s;
}
cSignal tuneBells() {
  cSignal s = partials(1.5, noteFrequency(60), {{1, 1, 0.55}, {2.76, 0.35, 0.22}, {2.0, 0.12, 0.35}});
  shape(s, strike(0.002, 1e9));
  return fadeOut(s, 0.3);
}
cSignal tunePizzicato() {
  cRandom r(15361);
  cSignal s = lowPass(pluck(1.0, noteFrequency(61), 0.6, r), constant(2000));
  shape(s, strike(0.002, 0.22));
  return fadeOut(s, 0.2);
}

// --- the catalogue ---

struct cEntry {
  cSoundInfo info;
  cSignal (*make)();
  double peakDb;
};

// Loudness: interface sounds are soft, the hover tick softest (it comes
// often), gadget and animal sounds fuller; the tune's instruments leave room
// for one another.
const std::vector<cEntry>& entries() {
  static const std::vector<cEntry> list = {
      {{128, "knap-klik", true, false}, buttonClick, -10},
      {{129, "ledning løsnet", false, false}, [] { return blip(0.07, glide(900, 450, 0.07), 0.002, 0.025, {1, 0.2}); }, -12},
      {{130, "ledning sat på", false, false}, [] { return blip(0.07, glide(450, 900, 0.07), 0.002, 0.03, {1, 0.2}); }, -12},
      {{131, "ledning klikker på plads", false, false},
       [] { return partials(0.04, 1800, {{1, 1, 0.006}, {2.0, 0.2, 0.004}}); }, -14},
      {{132, "markering", false, false}, [] { return partials(0.025, 2400, {{1, 1, 0.004}}); }, -22},
      {{133, "del løftes", false, false},
       [] {
         cSignal s = swish(0.1, glide(400, 1200, 0.1), 3.0, 133);
         mixAt(s, blip(0.1, glide(300, 500, 0.1), 0.01, 0.04, {1}), 0, 0.5);
         return s;
       },
       -14},
      {{134, "del sat ned", false, false},
       [] {
         cRandom r(134);
         cSignal s = blip(0.08, glide(260, 140, 0.08), 0.002, 0.03, {1, 0.3});
         mixAt(s, lowPass(softNoiseBurst(0.03, 500, 0.7, 0.001, 0.01, r), constant(800)), 0, 0.3);
         return s;
       },
       -12},
      {{135, "del slettet", false, false},
       [] {
         cRandom r(135);
         cSignal s = bandPass(noise(0.3, r), glide(1800, 300, 0.25), 1.2);
         shape(s, strike(0.01, 0.08));
         mixAt(s, blip(0.2, glide(300, 120, 0.2), 0.005, 0.06, {1, 0.2}), 0, 0.4);
         return s;
       },
       -8},
      {{136, "ledning slettet", false, false},
       [] {
         cRandom r(136);
         cSignal s = knock(2500, 0.003, 0.03, r);
         mixAt(s, knock(2500, 0.003, 0.03, r), 0.045);
         mixAt(s, blip(0.1, glide(1200, 500, 0.1), 0.003, 0.04, {1, 0.1}), 0.05, 0.5);
         return s;
       },
       -10},
      {{137, "knæk slettet", false, false},
       [] {
         cRandom r(137);
         cSignal s = blip(0.08, glide(900, 300, 0.05), 0.001, 0.02, {1, 0.15});
         mixAt(s, softNoiseBurst(0.02, 2000, 2.0, 0.0002, 0.002, r), 0, 0.3);
         return s;
       },
       -11},
      {{138, "vindue åbnes", false, false}, [] { return chimePair(noteFrequency(84), noteFrequency(91)); }, -12},
      {{139, "vindue lukkes", false, false}, [] { return chimePair(noteFrequency(91), noteFrequency(84)); }, -12},
      {{140, "lys tændt", true, false}, [] { return chimeRun({88, 91, 96}, 0.05, 0.1); }, -12},
      {{141, "lys slukket", true, false}, [] { return chimeRun({96, 91, 88}, 0.05, 0.1); }, -12},
      {{142, "start", true, false}, [] { return marimbaRun({72, 76, 79, 84}, 0.07); }, -8},
      {{143, "stop", true, false}, [] { return marimbaRun({84, 79, 76, 72}, 0.07); }, -8},
      {{144, "lyd til", true, false}, [] { return marimbaRun({79, 84}, 0.1); }, -8},
      {{145, "lyd fra", true, false}, [] { return marimbaRun({84, 79}, 0.1); }, -8},
      {{146, "del sat på arbejdsarket", false, false},
       [] { return blip(0.14, glide(700, 220, 0.09), 0.002, 0.04, {1, 0.2}); }, -9},
      {{147, "del taget fra skuffen", false, false},
       [] { return blip(0.1, glide(300, 800, 0.06), 0.002, 0.03, {1, 0.15}); }, -11},
      {{148, "side bladres", false, false},
       [] { return swish(0.28, path({{0, 500}, {0.12, 2500}, {0.28, 1200}}), 2.0, 148); }, -12},
      {{149, "skuffe glider", false, false},
       [] {
         cRandom r(149);
         cSignal s = swish(0.35, glide(300, 1500, 0.3), 1.5, 149);
         mixAt(s, knock(500, 0.03, 0.09, r), 0.33, 0.8);
         return s;
       },
       -10},
      {{150, "del trækkes (gentages)", false, true}, dragLoop, -18},
      {{200, "hund", false, false}, dog, -3},
      {{201, "kat", false, false}, cat, -4},
      {{202, "høne", false, false}, hen, -4},
      {{203, "ko", false, false}, cow, -3},
      {{205, "tone 220 Hz (toneværdi)", true, true}, [] { return tone220(6.0); }, -9},
      {{220, "tone 220 Hz (højttaler)", false, true}, [] { return tone220(1.0); }, -9},
      {{224, "hver 8. prøve af 220", false, true}, nullptr, -6},
      {{300, "vækkeur", false, false}, alarmClock, -6},
      {{301, "alarm", false, false}, siren, -8},
      {{302, "klokkeslag", false, false}, clockStrike, -4},
      {{303, "bifald", false, false}, applause, -5},
      {{304, "åndedrag", false, false}, breathing, -8},
      {{305, "latter", false, false}, laughter, -4},
      {{306, "kukur", false, false}, cuckoo, -7},
      {{307, "skør", false, false}, crazy, -5},
      {{308, "uhyggelig", false, false}, spooky, -5},
      {{309, "akkord", false, false}, chord, -4},
      {{1000, "pendul", false, false},
       [] {
         cRandom r(1000);
         return knock(900, 0.018, 0.09, r);
       },
       -10},
      {{1001, "tyngdekammer: lander", false, false}, landing, -4},
      {{1002, "kanon: nedslag", false, false}, [] { return boom(1.0, 1002, 1.0); }, -3},
      {{1006, "mønt", false, false}, coinToss, -7},
      {{1007, "tilfældigt tal", false, false}, diceRattle, -6},
      {{1008, "stemmegaffel", false, false}, tuningFork, -6},
      {{1011, "metronom", false, false},
       [] {
         cRandom r(1011);
         return knock(1700, 0.01, 0.07, r);
       },
       -6},
      {{1012, "kontakt", false, false}, switchClick, -7},
      {{1017, "hjerte", false, false}, heartBeat, -3},
      {{1020, "regner", false, false}, computing, -12},
      {{1027, "afvist", false, false}, refusal, -11},
      {{1036, "sporskifte", false, false}, trackChange, -8},
      {{1048, "detonator", false, false}, detonation, -2},
      {{1051, "vinderlyd", false, false}, fanfare, -3},
      {{1101, "tyngdekammer: slipper", false, false}, release, -6},
      {{1151, "taberlyd", false, false}, sadTrombone, -4},
      {{1280, "intro: sus", false, false}, introWhoosh, -5},
      {{1281, "intro: fjedre", false, false}, introBoings, -5},
      {{1282, "intro: ta-da", false, false}, introTaDa, -4},
      {{9035, "melodi: tromme", true, false}, tuneDrum, -13},
      {{9040, "melodi: bas", true, false}, tuneBass, -12},
      {{9043, "melodi: orgel", true, false}, tuneOrgan, -20},
      {{9053, "melodi: rasleæg", true, false}, tuneShaker, -20},
      {{15361, "melodi: pizzicato", true, false}, tunePizzicato, -16},
      {{16256, "melodi: klokkespil", true, false}, tuneBells, -18},
      {{18304, "melodi: klaver", true, false}, tunePiano, -12},
      {{20682, "melodi: pizzicato (kopi)", true, false}, tunePizzicato, -16},
      {{28375, "melodi: marimba", true, false}, tuneMarimba, -12},
  };
  return list;
}

}  // namespace

const std::vector<cSoundInfo>& soundList() {
  static const std::vector<cSoundInfo> list = [] {
    std::vector<cSoundInfo> l;
    for (const cEntry& e : entries()) l.push_back(e.info);
    return l;
  }();
  return list;
}

std::vector<uint8_t> makeSound(uint16_t id) {
  if (id == 224) {
    // Sample i is sample 8 i of 220.
    const std::vector<uint8_t> full = makeSound(220);
    std::vector<uint8_t> eighth;
    for (size_t i = 0; i < full.size(); i += 8) eighth.push_back(full[i]);
    return eighth;
  }
  for (const cEntry& e : entries())
    if (e.info.id == id) return toSamples(e.make(), e.peakDb, e.info.loop);
  return {};
}

}  // namespace synth
