// The sound system on real SDL devices, through SDL's disk driver: what the
// program plays lands in a file, what it records comes from one.
#include "platform/desktop/sdlwave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

#include "platform/headless/headless.h"
#include "shell/core/settings.h"
#include "sound/soundsystem.h"

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> pattern(size_t n) {
  std::vector<uint8_t> s(n);
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<uint8_t>(129 + (i * 7) % 100);
  return s;
}

class SdlDiskTest : public ::testing::Test {
 public:
  void SetUp() override {
    const std::string base = "/tmp/zanbel-sdl-" + std::to_string(::getpid());
    outFile_ = base + ".out";
    inFile_ = base + ".in";
    ini_ = base + ".ini";
    std::remove(outFile_.c_str());
    std::remove(ini_.c_str());
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", outFile_.c_str(), 1);
    ::setenv("SDL_DISKAUDIOFILEIN", inFile_.c_str(), 1);
    setSettingsPath(ini_);
    setCommandLine(std::vector<std::string>{"zanbel"});
    writeSettingNumber("WaveBlocks", 2, "default");
    writeSettingNumber("WaveBlockLen", 2048, "default");
  }
  void TearDown() override {
    std::remove(outFile_.c_str());
    std::remove(inFile_.c_str());
    std::remove(ini_.c_str());
  }

  // The program's clock follows the wall clock for `ms`, servicing the engine.
  void live(cSoundEngine* engine, uint32_t ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(3));
      sync();
      if (engine) engine->service();
    }
  }
  void sync() {
    hp.virtualClock().set(static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0_).count()));
  }

  cHeadlessPlatform hp;
  std::string outFile_, inFile_, ini_;

 private:
  std::chrono::steady_clock::time_point t0_ = std::chrono::steady_clock::now();
};

TEST_F(SdlDiskTest, ASoundPlayedByTheEngineLandsWholeInTheDriversFile) {
  const std::vector<uint8_t> sound = pattern(6000);  // longer than the two blocks of the ring
  {
    cSdlWaveDevices devices;
    ASSERT_GT(devices.outputCount(), 0);
    EXPECT_EQ(devices.outputName(-1), "default");
    hp.setWaveDevices(&devices);
    cSoundEngine engine;
    engine.startEngine();
    ASSERT_TRUE(engine.isOpen());
    cSoundOut out(engine);
    live(&engine, 150);
    playSample(sound.data(), static_cast<uint32_t>(sound.size()), 0);
    live(&engine, 900);
    hp.setWaveDevices(nullptr);
  }
  const std::vector<uint8_t> written = readFile(outFile_);
  ASSERT_GT(written.size(), sound.size());
  EXPECT_NE(std::search(written.begin(), written.end(), sound.begin(), sound.end()), written.end());
  // Before the sound the device played silence.
  EXPECT_EQ(written.front(), 128);
}

TEST_F(SdlDiskTest, TheSimpleModePlaysAWholeImage) {
  const std::vector<uint8_t> sound = pattern(3000);
  {
    cSdlWaveDevices devices;
    EXPECT_TRUE(devices.playWaveImage(waveImage(sound)));
  }
  const std::vector<uint8_t> written = readFile(outFile_);
  EXPECT_NE(std::search(written.begin(), written.end(), sound.begin(), sound.end()), written.end());
}

TEST_F(SdlDiskTest, RecordingComesFromTheCaptureDevice) {
  std::vector<uint8_t> input(40000);
  for (size_t i = 0; i < input.size(); ++i) input[i] = static_cast<uint8_t>(20 + (i * 13) % 211);
  std::ofstream(inFile_, std::ios::binary).write(reinterpret_cast<const char*>(input.data()),
                                                 static_cast<std::streamsize>(input.size()));
  cSdlWaveDevices devices;
  hp.setWaveDevices(&devices);
  ASSERT_TRUE(devices.hasInput());
  std::vector<uint8_t> buffer(4000);
  int calls = 0;
  const int32_t got = recordInto(buffer.data(), 4000, [&](int) {
    ++calls;
    live(nullptr, 5);
    return 2;
  });
  hp.setWaveDevices(nullptr);
  EXPECT_EQ(got, 4000);
  EXPECT_GT(calls, 1);
  EXPECT_NE(std::search(input.begin(), input.end(), buffer.begin(), buffer.end()), input.end());
}

}  // namespace
