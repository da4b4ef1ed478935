// The wave-out and wave-in devices the sound system plays and records
// through. The format is always the program's one sample format: PCM,
// 1 channel, 11025 samples per second, 8 bits unsigned (128 = silence).
//
// The devices work with headers the caller owns, as the Windows wave
// services do: a header names a block of bytes, is prepared once, queued
// (written) any number of times, and marked done by the device when it has
// been played (or recorded) or when the device is reset. Nothing happens
// behind the caller's back: a device only looks at its queue when it is
// asked (update, position, reset), so every change of a header happens on
// the caller's thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

inline constexpr uint32_t kWaveRate = 11025;

// One block handed to a device.
struct cWaveHeader {
  uint8_t* data = nullptr;
  uint32_t length = 0;
  bool prepared = false;
  bool queued = false;  // written and not yet done
  bool done = false;    // played (or filled), or returned by a reset
};

// Preparing a header only marks it: neither device needs more.
inline bool markPrepared(cWaveHeader& header) {
  header.prepared = true;
  header.done = false;
  return true;
}

// An open output device.
class cWaveOut {
 public:
  virtual ~cWaveOut() = default;
  virtual bool prepare(cWaveHeader& header) = 0;
  virtual void unprepare(cWaveHeader& header) = 0;
  // Queues a prepared block behind the others; clears its done mark. The
  // device takes the block's bytes as they are at this moment.
  virtual bool write(cWaveHeader& header) = 0;
  // Stops at once: every queued block comes back done, the position is 0.
  virtual void reset() = 0;
  // Samples played since the device was opened or last reset; nothing when
  // the device cannot tell.
  virtual std::optional<uint32_t> position() = 0;
  // Marks the blocks that have been played since the last call as done.
  // Returns true when any was.
  virtual bool update() = 0;
};

// An open input device.
class cWaveIn {
 public:
  virtual ~cWaveIn() = default;
  virtual bool prepare(cWaveHeader& header) = 0;
  virtual void unprepare(cWaveHeader& header) = 0;
  // Queues an empty block to record into.
  virtual bool addBuffer(cWaveHeader& header) = 0;
  virtual bool start() = 0;
  virtual void stop() = 0;
  virtual void reset() = 0;
  // Bytes recorded since the start into the queued blocks (and copied into
  // them by this call); nothing on an error.
  virtual std::optional<uint32_t> position() = 0;
};

// What every input device keeps: the blocks queued to record into, filled
// in order, and the count of bytes recorded since the start.
class cWaveInQueue : public cWaveIn {
 public:
  bool prepare(cWaveHeader& header) override { return markPrepared(header); }
  void unprepare(cWaveHeader& header) override { header.prepared = false; }
  bool addBuffer(cWaveHeader& header) override;
  // Every queued block comes back done; the count starts again at 0.
  void reset() override;

 protected:
  // Fills the queued blocks with what fetch(destination, room) gives (it
  // returns how many bytes it wrote), at most `limit` bytes in all.
  void fill(const std::function<uint32_t(uint8_t* destination, uint32_t room)>& fetch, uint64_t limit);
  uint32_t recorded() const { return position_; }

 private:
  std::deque<cWaveHeader*> queue_;
  uint32_t filled_ = 0;    // bytes in the front block
  uint32_t position_ = 0;
};

// The sound devices of the machine. Device numbers run from 0 to
// outputCount() - 1; -1 is the default device.
class cWaveDevices {
 public:
  virtual ~cWaveDevices() = default;
  virtual int outputCount() = 0;
  // The device's product name ("default" for -1); nothing when its
  // capabilities cannot be read.
  virtual std::optional<std::string> outputName(int device) = 0;
  // Null when the device does not open.
  virtual std::unique_ptr<cWaveOut> openOutput(int device) = 0;
  virtual bool hasInput() = 0;
  virtual std::unique_ptr<cWaveIn> openInput() = 0;
  // Plays a whole WAV file image to its end before returning (the simple
  // mode's one-shot player). False when it could not be played.
  virtual bool playWaveImage(std::span<const uint8_t> image) = 0;
};
