#include <algorithm>

#include "shell/core/resources.h"
#include "sound/soundtest.h"
#include "sound/tune.h"

namespace {

class SoundOutTest : public cSoundTest {
 public:
  void SetUp() override {
    cSoundTest::SetUp();
    smallRing(2, 2048);
    auto own = std::make_unique<cMemoryResourceModule>("zanbel");
    own->add(kSoundResourceType, 1, {0x80, 0x80, 0x80, 0x80});
    resourceLibraries().setOwn(std::move(own));
    auto library = std::make_unique<cMemoryResourceModule>("ZBSOUND.DLL");
    library->add(kSoundResourceType, 128, waveImage(std::vector<uint8_t>(300, 140)));
    library->add(kSoundResourceType, 144, waveImage(std::vector<uint8_t>(400, 144)));
    library->add(kSoundResourceType, 145, waveImage(std::vector<uint8_t>(2205, 145)));  // 200 ms
    library->add(kSoundResourceType, 150, waveImage(std::vector<uint8_t>(100, 150)));
    library->add(kSoundResourceType, 999, {1, 2, 3, 4, 5});  // shorter than a header
    std::vector<uint8_t> tone(11025);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<uint8_t>(i % 251);
    library->add(kSoundResourceType, kSndTone, waveImage(tone));
    for (uint16_t id : kTuneInstrumentIds) library->add(kSoundResourceType, id, waveImage(std::vector<uint8_t>(3000, 160)));
    resourceLibraries().setSoundLibrary(std::move(library));
    loadToneSample();
  }
  void TearDown() override {
    resourceLibraries().release();
    cSoundTest::TearDown();
  }
  size_t countOnTape(uint8_t v) const { return static_cast<size_t>(std::count(devices().tape.begin(), devices().tape.end(), v)); }
};

TEST_F(SoundOutTest, SoundDataSkipsTheHeaderAndShortOrMissingSoundsArePlaceholders) {
  EXPECT_EQ(soundData(128, false).size(), 300u);
  EXPECT_EQ(soundData(128, true).size(), 344u);
  EXPECT_EQ(soundData(128, false)[0], 140);
  // Too short for a header: one sample of silence, with a proper header for the simple mode.
  const std::span<const uint8_t> shortOne = soundData(999, false);
  ASSERT_EQ(shortOne.size(), 1u);
  EXPECT_EQ(shortOne[0], kSilence);
  EXPECT_EQ(soundData(999, true).size(), 45u);
  // Without a sound library every sound is the editor's 4-byte silence: the placeholder.
  resourceLibraries().setSoundLibrary(nullptr);
  EXPECT_EQ(soundData(128, false).size(), 1u);
  EXPECT_TRUE(hp.scriptedUi().messages().empty());
}

TEST_F(SoundOutTest, WaveHeaderLayout) {
  const std::vector<uint8_t> h = waveHeader(1000);
  ASSERT_EQ(h.size(), 44u);
  const uint8_t want[44] = {'R', 'I', 'F', 'F', 0x0C, 0x04, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                            16, 0, 0, 0, 1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0,
                            1, 0, 8, 0, 'd', 'a', 't', 'a', 0xE8, 0x03, 0, 0};
  EXPECT_TRUE(std::equal(h.begin(), h.end(), want));
}

TEST_F(SoundOutTest, SoundsByNumber) {
  cSoundEngine engine;
  engine.startEngine();
  cSoundOut out(engine);
  EXPECT_EQ(soundOut(), &out);
  playSound(128);
  playSoundLooping(150);
  run(engine, 500);
  EXPECT_EQ(countOnTape(140 + 22), 300u);  // 128's samples over the looping 150
  EXPECT_GT(countOnTape(150), 4000u);
  stopSound(150);
  const size_t from = devices().tape.size();
  run(engine, 800);
  const std::vector<uint8_t> after = tapeFrom(from);
  EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](uint8_t v) { return v == 128; }));
}

TEST_F(SoundOutTest, EndTimesAndIsTimePast) {
  cSoundEngine engine;
  engine.startEngine();
  cSoundOut out(engine);
  hp.virtualClock().set(1000);
  EXPECT_EQ(soundEndTime(145), 1000u + 200u);
  EXPECT_EQ(soundEndTime(128), 1000u + 27u);  // 300 samples: 27.2 ms
  EXPECT_EQ(soundEndTime(4321), 1000u);       // missing: no time, and no question asked
  EXPECT_TRUE(hp.scriptedUi().messages().empty());
  EXPECT_TRUE(isTimePast(999));
  EXPECT_FALSE(isTimePast(1000));
}

TEST_F(SoundOutTest, NoSoundPleasePlaysNothingAndEveryTimeIsPast) {
  setCommandLine(std::vector<std::string>{"zanbel", "NoSoundPlease"});
  cSoundEngine engine;
  engine.startEngine();
  cSoundOut out(engine);
  EXPECT_TRUE(out.disabled());
  playSound(128);
  EXPECT_EQ(playSoundAtRate(128, 22050), nullptr);
  startTune();
  EXPECT_FALSE(out.tunePlaying());
  EXPECT_TRUE(isTimePast(0xFFFFFFFFu));
  EXPECT_EQ(devices().opens, 0);
}

TEST_F(SoundOutTest, TheSoundSwitch) {
  cSoundEngine engine;
  engine.startEngine();
  cSoundOut out(engine);
  out.setSoundSwitch(false);
  playSound(128);  // the switch is off: not started
  run(engine, 400);
  EXPECT_EQ(countOnTape(145), 2205u);
  EXPECT_EQ(countOnTape(140), 0u);
  EXPECT_FALSE(engine.isOpen());  // closed after 145
  out.setSoundSwitch(true);
  EXPECT_TRUE(engine.isOpen());
  run(engine, 200);
  EXPECT_EQ(countOnTape(144), 400u);
  playSound(128);
  run(engine, 200);
  EXPECT_EQ(countOnTape(140), 300u);
}

TEST_F(SoundOutTest, LosingTheFocusClosesOutputAndRegainingItReopens) {
  cSoundEngine engine;
  engine.startEngine();
  cSoundOut out(engine);
  out.activate(false);
  EXPECT_FALSE(engine.isOpen());
  out.activate(true);
  EXPECT_TRUE(engine.isOpen());
  out.setSoundSwitch(false);
  run(engine, 400);
  out.activate(false);
  out.activate(true);
  EXPECT_FALSE(engine.isOpen());  // the user's switch is off
}

TEST_F(SoundOutTest, SimpleModeHandsWholeImagesToTheDevice) {
  setCommandLine(std::vector<std::string>{"zanbel", "SimpleSoundPlease"});
  cSoundEngine engine;
  engine.startEngine();
  cSoundOut out(engine);
  playSound(128);
  playSound(999);
  ASSERT_EQ(devices().imagesPlayed.size(), 2u);
  EXPECT_EQ(devices().imagesPlayed[0], std::vector<uint8_t>(soundData(128, true).begin(), soundData(128, true).end()));
  EXPECT_EQ(devices().imagesPlayed[1].size(), 45u);  // the placeholder, as a whole image
}

TEST_F(SoundOutTest, ToneRecordsUseTheToneSampleOrItsEighthCopy) {
  const cToneSample& t = toneSample();
  ASSERT_EQ(t.full.size(), 11025u);
  ASSERT_EQ(t.eighth.size(), 1379u);
  for (size_t i = 0; i < t.eighth.size(); ++i) ASSERT_EQ(t.eighth[i], t.full[8 * i]) << i;

  const cSoundRecord a = toneRecord(440, 0.2);
  EXPECT_EQ(a.rate, 22050);
  EXPECT_EQ(a.count, 4410u);
  EXPECT_EQ(a.samples, t.full.data());
  const cSoundRecord high = toneRecord(2000, 0.2);  // 100227 per second: the copy at an eighth
  EXPECT_EQ(high.rate, 12528);
  EXPECT_EQ(high.count, 1379u);                     // at most the copy's length
  EXPECT_EQ(high.samples, t.eighth.data());
}

TEST_F(SoundOutTest, TuneStartsAndStops) {
  cSoundEngine engine;
  engine.startEngine();
  cSoundOut out(engine);
  startTune();
  EXPECT_TRUE(out.tunePlaying());
  run(engine, 1000);
  EXPECT_GT(devices().tape.size() - countOnTape(128), 1000u);
  stopTune();
  EXPECT_FALSE(out.tunePlaying());
  const size_t from = devices().tape.size();
  run(engine, 1000);
  const std::vector<uint8_t> after = tapeFrom(from);
  EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](uint8_t v) { return v == 128; }));
}

}  // namespace
