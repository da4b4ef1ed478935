// What the sound tests share: a headless platform with test sound devices,
// a settings file of their own, and a way to let time pass.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/headless/wavetest.h"
#include "shell/core/settings.h"
#include "sound/soundsystem.h"

class cSoundTest : public ::testing::Test {
 public:
  void SetUp() override {
    iniPath_ = "/tmp/zanbel-sound-test-" + std::to_string(::getpid()) + ".ini";
    std::remove(iniPath_.c_str());
    setSettingsPath(iniPath_);
    setCommandLine(std::vector<std::string>{"zanbel"});
    hp.virtualClock().set(0);
    devices_ = std::make_unique<cTestWaveDevices>(hp.clock());
    hp.setWaveDevices(devices_.get());
  }
  void TearDown() override {
    hp.setWaveDevices(nullptr);
    std::remove(iniPath_.c_str());
  }

  void setting(const char* section, const char* key, int value) { writeSettingNumber(key, value, section); }
  // Small blocks keep the tests quick; the defaults are tested on their own.
  void smallRing(int blocks = 2, int length = 2048) {
    setting("default", "WaveBlocks", blocks);
    setting("default", "WaveBlockLen", length);
  }

  // Lets ms milliseconds pass in steps, servicing the engine as the program's cycle does.
  void run(cSoundEngine& engine, uint32_t ms, uint32_t step = 5) {
    for (uint32_t t = 0; t < ms; t += step) {
      hp.virtualClock().advance(step);
      engine.service();
    }
  }

  // The tape from `from` on.
  std::vector<uint8_t> tapeFrom(size_t from) const {
    if (from >= devices().tape.size()) return {};
    return {devices().tape.begin() + static_cast<std::ptrdiff_t>(from), devices().tape.end()};
  }
  size_t firstNotSilent(size_t from = 0) const {
    for (size_t i = from; i < devices().tape.size(); ++i)
      if (devices().tape[i] != kSilence) return i;
    return std::string::npos;
  }

  // Fresh for every SetUp (table tests call SetUp again for each case).
  cTestWaveDevices& devices() { return *devices_; }
  const cTestWaveDevices& devices() const { return *devices_; }

  cHeadlessPlatform hp;

 private:
  std::string iniPath_;
  std::unique_ptr<cTestWaveDevices> devices_;
};

// A sound that never holds 128, so that its start is easy to find.
inline std::vector<uint8_t> patternSound(size_t n, int seed = 0) {
  std::vector<uint8_t> s(n);
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<uint8_t>(129 + (i * 7 + static_cast<size_t>(seed)) % 100);
  return s;
}
