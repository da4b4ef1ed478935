// The services the program takes from its platform, gathered in one place.
// Each process installs one platform (desktop, or headless for zanbel-cli and
// tests) before the core starts; the core reaches the services through it.
#pragma once

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/launcher.h"
#include "platform/userinterface.h"

class cWaveDevices;

class cPlatform {
 public:
  virtual ~cPlatform() = default;
  virtual cClock& clock() = 0;
  virtual cInputState& input() = 0;
  virtual cUserInterface& ui() = 0;
  virtual cLauncher& launcher() = 0;
  // Bits per pixel of the display the pictures go to.
  virtual int displayDepth() { return 8; }
  // The sound devices (platform/wave.h); none means a machine without sound.
  virtual cWaveDevices* waveDevices() { return waveDevices_; }
  void setWaveDevices(cWaveDevices* devices) { waveDevices_ = devices; }

 private:
  cWaveDevices* waveDevices_ = nullptr;
};

// The installed platform. Calling this before a platform is installed is a
// programming error and ends the process with a message on standard error.
cPlatform& platform();
bool hasPlatform();

// Installs a platform for the lifetime of the scope; the previous one comes back after.
class cPlatformScope {
 public:
  explicit cPlatformScope(cPlatform& p);
  ~cPlatformScope();
  cPlatformScope(const cPlatformScope&) = delete;
  cPlatformScope& operator=(const cPlatformScope&) = delete;

 private:
  cPlatform* previous_;
};
