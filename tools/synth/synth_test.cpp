#include "tools/synth/sounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "export/resfile.h"
#include "shell/core/resourcemodule.h"
#include "shell/core/resources.h"
#include "sound/soundsystem.h"
#include "sound/tune.h"

namespace {

// The sounds the programs play, by number.
const std::vector<uint16_t> kLibrarySounds = {
    128,  129,  130,  131,  132,  133,  134,  135,  136,  137,  138,  139,  140,   141,   142,   143,   144,
    145,  146,  147,  148,  149,  150,  200,  201,  202,  203,  205,  220,  224,   300,   301,   302,   303,
    304,  305,  306,  307,  308,  309,  1000, 1001, 1002, 1006, 1007, 1008, 1011,  1012,  1017,  1020,  1027,
    1036, 1048, 1051, 1101, 1151, 1280, 1281, 1282, 9035, 9040, 9043, 9053, 15361, 16256, 18304, 20682, 28375};
const std::vector<uint16_t> kPlayerSounds = {128,  140,  141,  142,  143,   144,   145,   205,  9035,
                                             9040, 9043, 9053, 15361, 16256, 18304, 20682, 28375};

std::vector<cResEntry> readRes(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(loadFileBytes(path, bytes, error)) << error;
  const cResReadResult r = readResFile(bytes);
  EXPECT_TRUE(r.ok()) << r.error;
  return r.entries;
}

std::set<uint16_t> idsOf(const std::vector<cResEntry>& entries) {
  std::set<uint16_t> ids;
  for (const cResEntry& e : entries) {
    EXPECT_EQ(e.type, kSoundResourceType);
    ids.insert(e.name);
  }
  return ids;
}

TEST(SynthLibrary, EverySoundIsThereAsAWaveImage) {
  const std::vector<cResEntry> library = readRes(ZANBEL_SYNTH_DIR "/sounds.res");
  EXPECT_EQ(idsOf(library), std::set<uint16_t>(kLibrarySounds.begin(), kLibrarySounds.end()));
  for (const cResEntry& e : library) {
    ASSERT_GT(e.data.size(), 44u) << e.name;
    const std::vector<uint8_t> header = waveHeader(static_cast<uint32_t>(e.data.size() - 44));
    EXPECT_TRUE(std::equal(header.begin(), header.end(), e.data.begin())) << e.name;
  }
  const std::vector<cResEntry> player = readRes(ZANBEL_SYNTH_DIR "/player-sounds.res");
  EXPECT_EQ(idsOf(player), std::set<uint16_t>(kPlayerSounds.begin(), kPlayerSounds.end()));
}

// What the build attached to the library itself, read as the editor reads it.
TEST(SynthLibrary, ZbsoundDllCarriesEverySound) {
  std::string error;
  const auto library = cFileResourceModule::open(ZANBEL_BIN_DIR "/ZBSOUND.DLL", &error);
  ASSERT_TRUE(library) << error;
  for (uint16_t id : kLibrarySounds) {
    const auto bytes = library->find(kSoundResourceType, id);
    ASSERT_TRUE(bytes) << id;
    EXPECT_EQ(std::vector<uint8_t>(bytes->begin(), bytes->end()), waveImage(synth::makeSound(id))) << id;
  }
}

int deviation(uint8_t v) { return std::abs(static_cast<int>(v) - 128); }

// Loud enough to hear, never clipped, and starting and ending in silence
// (a loop instead runs on into its start without a jump).
TEST(SynthLibrary, LevelsAndEnds) {
  for (const synth::cSoundInfo& info : synth::soundList()) {
    const std::vector<uint8_t> s = synth::makeSound(info.id);
    ASSERT_FALSE(s.empty()) << info.id;
    const int loudest = deviation(*std::max_element(s.begin(), s.end(), [](uint8_t a, uint8_t b) {
      return deviation(a) < deviation(b);
    }));
    EXPECT_GE(loudest, 8) << info.id << " " << info.name;
    EXPECT_LE(loudest, 112) << info.id << " " << info.name;  // at least 1 dB of headroom
    if (info.loop) {
      int steepest = 0;
      for (size_t i = 1; i < s.size(); ++i) steepest = std::max(steepest, std::abs(s[i] - s[i - 1]));
      EXPECT_LE(std::abs(s.front() - s.back()), steepest) << info.id;
    } else {
      EXPECT_LE(deviation(s.front()), 2) << info.id << " " << info.name;
      EXPECT_LE(deviation(s.back()), 2) << info.id << " " << info.name;
    }
  }
}

// How many samples one period lasts, by autocorrelation within a range of lags.
double period(const std::vector<uint8_t>& s, size_t from, size_t length, int minLag, int maxLag) {
  double best = -1e300;
  int bestLag = minLag;
  for (int lag = minLag; lag <= maxLag; ++lag) {
    double sum = 0;
    for (size_t i = from; i < from + length; ++i) sum += (s[i] - 128.0) * (s[i + static_cast<size_t>(lag)] - 128.0);
    if (sum > best) {
      best = sum;
      bestLag = lag;
    }
  }
  return bestLag;
}

TEST(SynthLibrary, TheTonesAre220HzAndTheCopyIsEveryEighthSample) {
  for (uint16_t id : {205, 220}) {
    const std::vector<uint8_t> s = synth::makeSound(id);
    // 220 periods a second: 220 upward crossings of the middle in the first
    // second, the one into the next second (or into the start of the loop) included.
    int crossings = 0;
    for (size_t i = 1; i <= 11025; ++i) crossings += s[i - 1] < 128 && s[i % s.size()] >= 128;
    EXPECT_EQ(crossings, 220) << id;
  }
  EXPECT_EQ(synth::makeSound(220).size(), 11025u);
  EXPECT_GE(synth::makeSound(205).size(), 13107u);  // the tuning fork's 0.2 s at the highest rate
  const std::vector<uint8_t> full = synth::makeSound(220), eighth = synth::makeSound(224);
  ASSERT_EQ(eighth.size(), 1379u);
  for (size_t i = 0; i < eighth.size(); ++i) ASSERT_EQ(eighth[i], full[8 * i]) << i;
}

TEST(SynthLibrary, TuneInstrumentsSoundAtTheirBaseNote) {
  for (int k = 0; k < kTuneInstruments; ++k) {
    const uint16_t id = kTuneInstrumentIds[k];
    if (id == 9035 || id == 9053) continue;  // the drum and the shaker have no pitch
    const std::vector<uint8_t> s = synth::makeSound(id);
    ASSERT_LE(s.size(), 65535u) << id;  // the tune's offsets are 16 bits
    const double want = 11025.0 / (440.0 * std::pow(2.0, (kTuneBaseNotes[k] - 69) / 12.0));
    EXPECT_NEAR(period(s, 300, 1500, static_cast<int>(want * 0.75), static_cast<int>(want * 1.3)), want, 1.0) << id;
  }
}

TEST(SynthLibrary, TheSameBuildMakesTheSameBytes) {
  for (uint16_t id : {128, 200, 303, 1007, 15361}) EXPECT_EQ(synth::makeSound(id), synth::makeSound(id)) << id;
  EXPECT_TRUE(synth::makeSound(4321).empty());
}

}  // namespace
