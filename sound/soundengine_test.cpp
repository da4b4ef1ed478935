#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "sound/soundtest.h"

namespace {

using EngineTest = cSoundTest;

// --- settings ---

TEST(SoundRingCap, BlocksGoFirstThenTheLengthIsHalved) {
  struct Case {
    int blocks, length, wantBlocks, wantLength;
  } cases[] = {
      {6, 16384, 3, 16384},  // the count drops while it is above 2
      {2, 32000, 2, 32000},  // 64000 fits
      {2, 40000, 2, 20000},  // two blocks that still do not fit: the length is halved
      {6, 32000, 2, 32000},
      {4, 16320, 4, 16320},  // exactly 65280
      {3, 30000, 2, 30000},
  };
  for (const Case& c : cases) {
    int blocks = c.blocks, length = c.length;
    capSoundRing(blocks, length);
    EXPECT_EQ(blocks, c.wantBlocks) << c.blocks << " x " << c.length;
    EXPECT_EQ(length, c.wantLength) << c.blocks << " x " << c.length;
  }
}

TEST_F(EngineTest, SettingsAreClampedAndMissingKeysComeFromTheDefaultSection) {
  setting("Testlyd", "WaveBlocks", 4);
  setting("Testlyd", "Remix", 9);
  setting("Testlyd", "GoodWavePos", -3);
  setting("default", "WaveBlockLen", 100);
  setting("default", "WaveBlocks", 6);  // hidden by the device's own value
  const cSoundSettings s = readSoundSettings("Testlyd", nullptr);
  EXPECT_EQ(s.waveBlocks, 4);
  EXPECT_EQ(s.waveBlockLen, 512);
  EXPECT_EQ(s.remix, 2);
  EXPECT_EQ(s.goodWavePos, 0);

  const cSoundSettings d = readSoundSettings("default", nullptr);
  EXPECT_EQ(d.waveBlocks, 6);
  EXPECT_EQ(d.waveBlockLen, 512);
  EXPECT_EQ(d.remix, 1);
}

TEST_F(EngineTest, AMeasuredLengthIsKeptWithinTheRange) {
  setting("default", "WaveBlockLen", -1);
  struct Case {
    int measured, want;
  } cases[] = {{0, 8192}, {8004, 8004}, {6, 512}, {-40, 8192}, {60000, 32000}};
  for (const Case& c : cases) EXPECT_EQ(readSoundSettings("x", [&] { return c.measured; }).waveBlockLen, c.want);
}

// The block-length measurement watches the position of a block of silence.
TEST_F(EngineTest, MeasuringTheBlockLength) {
  struct Case {
    std::vector<uint32_t> positions;
    int want;
  } cases[] = {
      {{0, 0, 4000, 4000, 8000, 12000, 16000, 20000}, 2 * 4000 + 4},
      {{0, 0, 4000, 8000, 12000, 32000}, 2 * 4000 + 4},    // a value past 31768 ends it, not counted
      {{0, 0, 3000, 8000, 12000, 16000, 20000}, 8192},    // uneven steps: failed
      {{0, 4000, 8000, 32000}, 8192},                     // too few values: failed
  };
  setting("default", "WaveBlockLen", -1);
  setting("general", "ShowDevices", 1);
  for (const Case& c : cases) {
    size_t next = 0;
    devices().positionScript = [&]() -> std::optional<uint32_t> {
      return next < c.positions.size() ? c.positions[next++] : c.positions.back();
    };
    hp.scriptedUi().forget();
    cSoundEngine engine;
    engine.startEngine();
    devices().positionScript = nullptr;
    EXPECT_EQ(engine.settings().waveBlockLen, c.want);
    // The positions are shown with ShowDevices, after the device's name.
    const auto& boxes = hp.scriptedUi().messages();
    ASSERT_GE(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].request.text, "Device name:\ndefault\n");
    EXPECT_EQ(boxes[0].request.caption, "Zanbel Sound System");
    EXPECT_EQ(boxes[0].request.modality, cModality::system);
    EXPECT_EQ(boxes[1].request.text.rfind("Subsequent play positions\n0 ", 0), 0u);
  }
}

TEST_F(EngineTest, ShowDevicesReportsTheSettings) {
  setting("general", "ShowDevices", 1);
  setting("default", "WaveBlocks", 6);
  cSoundEngine engine;
  engine.startEngine();
  const auto& boxes = hp.scriptedUi().messages();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].request.text, "Remix=1 GoodWavePos=0 SamplesPer11K=1\nWaveBlocks=3 WaveBlockLen=16384 \n ");
  EXPECT_TRUE(engine.isOpen());
}

// --- when there is no sound ---

TEST_F(EngineTest, WhenTheEngineStaysOff) {
  struct Case {
    const char* what;
    std::function<void(EngineTest&)> arrange;
    bool started, simple;
    const char* lastBox;
  } cases[] = {
      {"no devices", [](EngineTest& t) { t.devices().outputNames.clear(); }, false, false, nullptr},
      {"NoSoundPlease", [](EngineTest&) { setCommandLine(std::vector<std::string>{"zanbel", "NoSoundPlease"}); },
       false, false, nullptr},
      {"device number too high", [](EngineTest& t) { t.setting("general", "WaveOutDevice", 1); }, false, false,
       nullptr},
      {"not compatible",
       [](EngineTest& t) {
         t.setting("general", "ShowDevices", 1);
         t.setting("not compatible", "default", 1);
       },
       false, false, "Incompatible sound driver"},
      {"No Low Level",
       [](EngineTest& t) {
         t.setting("general", "ShowDevices", 1);
         t.setting("No Low Level", "default", 1);
       },
       true, true, "Low level sound is disabled"},
      {"SimpleSoundPlease", [](EngineTest&) { setCommandLine(std::vector<std::string>{"zanbel", "SimpleSoundPlease"}); },
       true, true, nullptr},
      {"named device listed",
       [](EngineTest& t) {
         t.setting("general", "WaveOutDevice", 0);
         t.setting("not compatible", "Testlyd", 1);
       },
       false, false, nullptr},
  };
  for (const Case& c : cases) {
    SetUp();
    c.arrange(*this);
    cSoundEngine engine;
    engine.startEngine();
    EXPECT_EQ(engine.started(), c.started) << c.what;
    EXPECT_EQ(engine.simpleMode(), c.simple) << c.what;
    EXPECT_FALSE(engine.isOpen()) << c.what;
    EXPECT_EQ(devices().opens, 0) << c.what;
    if (c.lastBox) {
      ASSERT_FALSE(hp.scriptedUi().messages().empty()) << c.what;
      EXPECT_EQ(hp.scriptedUi().messages().back().request.text, c.lastBox) << c.what;
    } else {
      EXPECT_TRUE(hp.scriptedUi().messages().empty()) << c.what;
    }
    hp.scriptedUi().forget();
    TearDown();
  }
}

TEST_F(EngineTest, AFailedOpenLeavesOutputClosedAndPlaysNothing) {
  for (int failAt : {-2, 1}) {  // the device does not open; the second header does not prepare
    SetUp();
    devices().failOpen = failAt == -2;
    devices().failPrepareAfter = failAt;
    cSoundEngine engine;
    engine.startEngine();
    EXPECT_TRUE(engine.started());
    EXPECT_FALSE(engine.isOpen());
    EXPECT_EQ(devices().prepared, 0);
    EXPECT_EQ(devices().opens, devices().closes);
    const std::vector<uint8_t> s = patternSound(100);
    engine.playSample(s.data(), 100, 0);
    run(engine, 100);
    EXPECT_EQ(engine.voicesInUse(), 0);
    EXPECT_TRUE(devices().tape.empty());
    TearDown();
  }
}

// --- mixing ---

TEST_F(EngineTest, MixingSaturates) {
  struct Case {
    uint8_t a, b, want;
  } cases[] = {{200, 255, 255}, {50, 0, 0}, {200, 128, 200}, {100, 140, 112}, {0, 0, 0}, {255, 255, 255}};
  smallRing();
  for (const Case& c : cases) {
    SetUp();
    cSoundEngine engine;
    engine.startEngine();
    const std::vector<uint8_t> a(500, c.a), b(500, c.b);
    engine.playSample(a.data(), 500, 0);
    engine.playSample(b.data(), 500, 0);
    run(engine, 200);
    const size_t at = firstNotSilent();
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(devices().tape[at + 10], c.want) << int(c.a) << " + " << int(c.b);
    TearDown();
  }
}

// Every pair of byte values, through the sixteen-at-a-time path and the tail.
TEST_F(EngineTest, MixingSaturatesEveryPairOfValues) {
  smallRing(2, 2048);
  cSoundEngine engine;
  engine.startEngine();
  run(engine, 10);
  std::vector<uint8_t> a(1003), b(1003);
  for (size_t i = 0; i < a.size(); ++i) {
    a[i] = static_cast<uint8_t>(i % 256);
    b[i] = static_cast<uint8_t>((i * 97 + 13) % 256);
  }
  // Both start in the same instant.
  engine.playSample(a.data(), 1003, 0);
  engine.playSample(b.data(), 1003, 0);
  run(engine, 200);
  std::vector<uint8_t> want(1003);
  for (size_t i = 0; i < want.size(); ++i) want[i] = static_cast<uint8_t>(std::clamp(a[i] + b[i] - 128, 0, 255));
  EXPECT_NE(std::search(devices().tape.begin(), devices().tape.end(), want.begin(), want.end()), devices().tape.end());
}

// A long sound comes out whole, in order, across every refill of the ring,
// whichever way the position is taken.
TEST_F(EngineTest, ALongSoundPlaysWithoutGapsOrRepeats) {
  struct Case {
    int remix, goodWavePos, blocks, length;
  } cases[] = {{1, 0, 2, 2048}, {1, 1, 2, 2048}, {2, 0, 2, 2048}, {1, 0, 3, 1024},
               {2, 1, 5, 512},  {1, 0, 2, 16384}, {1, 1, 6, 4000}};
  const std::vector<uint8_t> sound = patternSound(30000);
  for (const Case& c : cases) {
    SetUp();
    smallRing(c.blocks, c.length);
    setting("default", "Remix", c.remix);
    setting("default", "GoodWavePos", c.goodWavePos);
    cSoundEngine engine;
    engine.startEngine();
    run(engine, 37);  // start somewhere inside a block
    engine.playSample(sound.data(), static_cast<uint32_t>(sound.size()), 0);
    run(engine, 4000, 7);
    const size_t at = firstNotSilent();
    ASSERT_NE(at, std::string::npos);
    const std::vector<uint8_t> heard(devices().tape.begin() + static_cast<std::ptrdiff_t>(at),
                                     devices().tape.begin() + static_cast<std::ptrdiff_t>(at + sound.size()));
    EXPECT_EQ(heard, sound) << "remix " << c.remix << " goodWavePos " << c.goodWavePos << " " << c.blocks << " x "
                            << c.length;
    EXPECT_EQ(devices().underrunSamples, 0u);
    TearDown();
  }
}

TEST_F(EngineTest, RemixStartsASoundWhereOutputIsNotAtTheNextBlock) {
  smallRing(2, 16384);
  cSoundEngine engine;
  engine.startEngine();
  run(engine, 300);
  const size_t now = devices().tape.size();
  const std::vector<uint8_t> s = patternSound(200);
  engine.playSample(s.data(), 200, 0);
  run(engine, 100);
  const size_t at = firstNotSilent();
  ASSERT_NE(at, std::string::npos);
  EXPECT_LE(at - now, 2u);
}

TEST_F(EngineTest, RemixTwoWaitsForTheNextRefilledBlock) {
  smallRing(2, 2048);
  setting("default", "Remix", 2);
  cSoundEngine engine;
  engine.startEngine();
  run(engine, 50);
  const size_t now = devices().tape.size();
  const std::vector<uint8_t> s = patternSound(200);
  engine.playSample(s.data(), 200, kSoundCloseAfter);  // close-after has no effect in this mode
  run(engine, 1000);
  const size_t at = firstNotSilent();
  ASSERT_NE(at, std::string::npos);
  EXPECT_GT(at, now + 2048 - 551);
  EXPECT_EQ(at % 2048, 0u);
  EXPECT_TRUE(engine.isOpen());
}

TEST_F(EngineTest, ANinthSoundIsNotHeard) {
  for (int remix : {1, 2}) {
    SetUp();
    smallRing(2, 1024);
    setting("default", "Remix", remix);
    cSoundEngine engine;
    engine.startEngine();
    const std::vector<uint8_t> plusOne(10000, 129);
    for (int i = 0; i < 9; ++i) engine.playSample(plusOne.data(), 10000, 0);
    EXPECT_EQ(engine.voicesInUse(), 8);
    run(engine, 500);
    EXPECT_EQ(*std::max_element(devices().tape.begin(), devices().tape.end()), 128 + 8) << "remix " << remix;
    TearDown();
  }
}

TEST_F(EngineTest, ShortSoundsNeedNoVoiceInRemix) {
  smallRing(2, 2048);
  cSoundEngine engine;
  engine.startEngine();
  const std::vector<uint8_t> s = patternSound(1500);
  for (int i = 0; i < 12; ++i) engine.playSample(s.data(), 1500, 0);
  EXPECT_EQ(engine.voicesInUse(), 0);
}

TEST_F(EngineTest, CloseAfterKeepsOtherSoundsOutUntilOutputCloses) {
  smallRing(2, 2048);
  cSoundEngine engine;
  engine.startEngine();
  const std::vector<uint8_t> first(5000, 140), second(3000, 160);
  engine.playSample(first.data(), 5000, kSoundCloseAfter);
  engine.playSample(second.data(), 3000, 0);
  EXPECT_EQ(engine.voicesInUse(), 1);
  run(engine, 440);  // 5000 samples last 454 ms
  EXPECT_TRUE(engine.isOpen());
  run(engine, 40);
  EXPECT_FALSE(engine.isOpen());
  EXPECT_EQ(devices().closes, 1);
  EXPECT_EQ(std::count(devices().tape.begin(), devices().tape.end(), 140), 5000);
  EXPECT_EQ(std::count(devices().tape.begin(), devices().tape.end(), 160), 0);
  // Closed output plays nothing; opening it again plays as before.
  engine.playSample(second.data(), 3000, 0);
  EXPECT_EQ(engine.voicesInUse(), 0);
  engine.openOutput();
  engine.playSample(second.data(), 3000, 0);
  run(engine, 400);
  EXPECT_EQ(std::count(devices().tape.begin(), devices().tape.end(), 160), 3000);
}

TEST_F(EngineTest, StopSampleInRemixSilencesEverySoundUntilTheNextRefill) {
  smallRing(2, 2048);
  cSoundEngine engine;
  engine.startEngine();
  const std::vector<uint8_t> a(1000, 140), b(1000, 150);
  engine.playSample(a.data(), 1000, kSoundLoop);
  engine.playSample(b.data(), 1000, kSoundLoop);
  run(engine, 300);
  EXPECT_EQ(devices().tape.back(), 128 + 12 + 22);
  const size_t stoppedAt = devices().tape.size();
  engine.stopSample(a.data());
  run(engine, 600);
  const std::vector<uint8_t> after = tapeFrom(stoppedAt);
  const size_t silent = static_cast<size_t>(std::find_if(after.begin(), after.end(), [](uint8_t v) { return v != 128; }) - after.begin());
  EXPECT_GT(silent, 2048u);       // the rest of the playing block and the whole next one
  EXPECT_LE(silent, 2u * 2048);
  ASSERT_LT(silent, after.size());
  EXPECT_TRUE(std::all_of(after.begin() + static_cast<std::ptrdiff_t>(silent), after.end(), [](uint8_t v) { return v == 150; }));
  EXPECT_EQ(engine.voicesInUse(), 1);
}

TEST_F(EngineTest, StopSampleInRemixTwoStopsOnlyThatSound) {
  smallRing(2, 2048);
  setting("default", "Remix", 2);
  cSoundEngine engine;
  engine.startEngine();
  const std::vector<uint8_t> a(1000, 140), b(1000, 150);
  engine.playSample(a.data(), 1000, kSoundLoop);
  engine.playSample(b.data(), 1000, kSoundLoop);
  run(engine, 600);
  engine.stopSample(a.data());
  const size_t stoppedAt = devices().tape.size();
  run(engine, 600);
  const std::vector<uint8_t> after = tapeFrom(stoppedAt);
  // The queued blocks still hold both; after them, only the other one.
  EXPECT_EQ(after.front(), 162);
  EXPECT_EQ(after.back(), 150);
  EXPECT_EQ(std::count(after.begin(), after.end(), 128), 0);
}

TEST_F(EngineTest, LoopingSoundWrapsAndOwnedDataIsFreedWithItsVoice) {
  smallRing(2, 512);
  cSoundEngine engine;
  engine.startEngine();
  auto owned = std::make_unique<uint8_t[]>(300);
  for (int i = 0; i < 300; ++i) owned[i] = static_cast<uint8_t>(129 + i % 100);
  const std::vector<uint8_t> expect(owned.get(), owned.get() + 300);
  const uint8_t* p = engine.playSample(std::move(owned), 300, kSoundLoop);
  run(engine, 500);
  const size_t at = firstNotSilent();
  for (size_t i = 0; i < 3000; ++i) ASSERT_EQ(devices().tape[at + i], expect[i % 300]) << i;
  engine.stopSample(p);
  EXPECT_EQ(engine.voicesInUse(), 0);
}

TEST_F(EngineTest, BlockFilterSeesEveryMixedBlock) {
  smallRing(2, 1024);
  cSoundEngine engine;
  engine.startEngine();
  run(engine, 100);
  const size_t from = devices().tape.size();
  engine.setBlockFilter([](uint8_t* block, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) block[i] = static_cast<uint8_t>(block[i] + 10);
  });
  EXPECT_TRUE(engine.hasBlockFilter());
  run(engine, 500);
  const std::vector<uint8_t> after = tapeFrom(from + 2);
  EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](uint8_t v) { return v == 138; }));
  // Closing output drops the filter.
  engine.closeOutput();
  EXPECT_FALSE(engine.hasBlockFilter());
  engine.setBlockFilter([](uint8_t*, uint32_t) {});
  EXPECT_FALSE(engine.hasBlockFilter());
}

TEST_F(EngineTest, PlayPositionFollowsThePlayBase) {
  for (int good : {0, 1}) {
    SetUp();
    smallRing(2, 2048);
    setting("default", "GoodWavePos", good);
    cSoundEngine engine;
    engine.startEngine();
    run(engine, 100, 100);
    EXPECT_EQ(engine.playPosition(true), 1103 - good) << good;  // rounded, or as the device counts
    run(engine, 200, 100);
    EXPECT_EQ(engine.playPosition(false), engine.playPosition(true) % 2048);
    // A restart puts the base where output stands inside the block.
    const int64_t inBlock = engine.playPosition(false);
    const std::vector<uint8_t> s(10, 130);
    engine.playSample(s.data(), 10, 0);
    EXPECT_EQ(engine.playPosition(true), inBlock);
    TearDown();
  }
}

// --- other rates ---

TEST_F(EngineTest, PlayingAtOtherRates) {
  smallRing(2, 2048);
  const std::vector<uint8_t> ramp{10, 20, 30, 40};
  struct Case {
    uint32_t rate;
    std::vector<uint8_t> want;  // empty: nothing plays
  } cases[] = {
      {171, {}},
      {172, {}},  // checked below: 256 samples
      {11025, {10, 20, 30, 40}},
      {22050, {10, 30}},
      {8000, {10, 20, 20, 30, 40, 40}},
  };
  for (const Case& c : cases) {
    SetUp();
    cSoundEngine engine;
    engine.startEngine();
    const uint8_t* p = engine.playSampleAtRate(ramp.data(), 4, c.rate, false);
    run(engine, 100);
    const size_t at = firstNotSilent();
    if (c.rate == 172) {
      EXPECT_NE(p, nullptr);
      run(engine, 100);
      EXPECT_EQ(std::count_if(devices().tape.begin(), devices().tape.end(), [](uint8_t v) { return v != 128; }), 256);
    } else if (c.want.empty()) {
      EXPECT_EQ(p, nullptr) << c.rate;
      EXPECT_EQ(at, std::string::npos) << c.rate;
    } else {
      ASSERT_NE(at, std::string::npos) << c.rate;
      std::vector<uint8_t> heard = tapeFrom(at);
      heard.resize(c.want.size() + 1);
      std::vector<uint8_t> want = c.want;
      want.push_back(128);
      EXPECT_EQ(heard, want) << c.rate;
    }
    if (c.rate == 11025) {
      EXPECT_EQ(p, ramp.data());  // unchanged and not copied
    }
    TearDown();
  }
}

TEST_F(EngineTest, SimpleModePlaysWaveImagesWholeAndAtOtherRates) {
  setCommandLine(std::vector<std::string>{"zanbel", "SimpleSoundPlease"});
  cSoundEngine engine;
  engine.startEngine();
  ASSERT_TRUE(engine.simpleMode());
  const std::vector<uint8_t> ramp{10, 20, 30, 40};
  EXPECT_EQ(engine.playSampleAtRate(ramp.data(), 4, 22050, true), nullptr);
  ASSERT_EQ(devices().imagesPlayed.size(), 1u);
  const std::vector<uint8_t>& image = devices().imagesPlayed[0];
  std::vector<uint8_t> want = waveHeader(2);
  want.push_back(10);
  want.push_back(30);
  EXPECT_EQ(image, want);
  EXPECT_EQ(image[4], 36 + 2);
  EXPECT_EQ(image[40], 2);
}

}  // namespace
