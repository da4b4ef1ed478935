// The machine's sound devices through SDL2: blocks are queued to an SDL
// audio device, and a block is done once SDL has taken all of it. Recording
// uses an SDL capture device the same way.
//
// Nothing runs behind the program's back: SDL's own thread only drains the
// queue, and the blocks are marked done when the program asks (update,
// position), so every refill happens on the program's thread, between its
// play and stop calls.
//
// SDL is started with its signal handlers off (Ctrl+C stays the program's).
// Without a working audio driver there are no devices, and the program
// plays no sound, silently. SDL_AUDIODRIVER chooses the driver ("disk" with
// SDL_DISKAUDIOFILE writes the samples to a file; tests use it).
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "platform/wave.h"

class cSdlWaveOut : public cWaveOut {
 public:
  explicit cSdlWaveOut(uint32_t device) : device_(device) {}
  ~cSdlWaveOut() override;

  bool prepare(cWaveHeader& header) override;
  void unprepare(cWaveHeader& header) override;
  bool write(cWaveHeader& header) override;
  void reset() override;
  std::optional<uint32_t> position() override;
  bool update() override;

 private:
  struct cQueued {
    cWaveHeader* header;
    uint64_t end;  // bytes queued since the reset, this block included
  };
  uint64_t played() const;

  uint32_t device_;
  std::deque<cQueued> queue_;
  uint64_t queuedTotal_ = 0;
};

class cSdlWaveIn : public cWaveInQueue {
 public:
  explicit cSdlWaveIn(uint32_t device) : device_(device) {}
  ~cSdlWaveIn() override;

  bool start() override;
  void stop() override;
  void reset() override;
  std::optional<uint32_t> position() override;

 private:
  uint32_t device_;
};

class cSdlWaveDevices : public cWaveDevices {
 public:
  cSdlWaveDevices();
  ~cSdlWaveDevices() override;
  cSdlWaveDevices(const cSdlWaveDevices&) = delete;
  cSdlWaveDevices& operator=(const cSdlWaveDevices&) = delete;

  int outputCount() override;
  std::optional<std::string> outputName(int device) override;
  std::unique_ptr<cWaveOut> openOutput(int device) override;
  bool hasInput() override;
  std::unique_ptr<cWaveIn> openInput() override;
  bool playWaveImage(std::span<const uint8_t> image) override;

 private:
  bool started_ = false;
};
