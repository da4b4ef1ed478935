// Sound devices without sound: the output "plays" into memory, the input
// "records" a signal the test chooses. Both follow the platform's clock by
// default (11025 samples per second of its milliseconds), so the headless
// program plays in step with its virtual time; a test can also move them
// by hand.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/wave.h"

class cTestWaveDevices;

class cTestWaveOut : public cWaveOut {
 public:
  explicit cTestWaveOut(cTestWaveDevices& owner);
  ~cTestWaveOut() override;

  bool prepare(cWaveHeader& header) override;
  void unprepare(cWaveHeader& header) override;
  bool write(cWaveHeader& header) override;
  void reset() override;
  std::optional<uint32_t> position() override;
  bool update() override;

  // Plays n samples from the queue now (whatever the clock says).
  void play(uint32_t n);
  // Blocks queued and not yet played.
  size_t queuedBlocks() const { return queue_.size(); }

 private:
  struct cQueued {
    cWaveHeader* header;
    std::vector<uint8_t> bytes;  // taken when the block was written
    size_t consumed = 0;
  };
  void followClock();
  uint64_t clockSamples() const;

  cTestWaveDevices& owner_;
  std::deque<cQueued> queue_;
  uint32_t position_ = 0;
  uint64_t clockMark_ = 0;  // clock samples already accounted for
};

class cTestWaveIn : public cWaveInQueue {
 public:
  explicit cTestWaveIn(cTestWaveDevices& owner);
  ~cTestWaveIn() override;

  bool start() override;
  void stop() override;
  void reset() override;
  std::optional<uint32_t> position() override;

 private:
  cTestWaveDevices& owner_;
  bool running_ = false;
  uint64_t clockMark_ = 0;
};

// The devices, and everything they were asked to do.
class cTestWaveDevices : public cWaveDevices {
 public:
  // Follows this clock (normally the headless platform's).
  explicit cTestWaveDevices(cClock& clock) : clock_(clock) {}

  int outputCount() override { return static_cast<int>(outputNames.size()); }
  std::optional<std::string> outputName(int device) override;
  std::unique_ptr<cWaveOut> openOutput(int device) override;
  bool hasInput() override { return inputPresent; }
  std::unique_ptr<cWaveIn> openInput() override;
  bool playWaveImage(std::span<const uint8_t> image) override;

  // --- what a test sets up ---
  std::vector<std::string> outputNames{"Testlyd"};
  bool failOpen = false;        // openOutput gives null
  int failPrepareAfter = -1;    // prepare fails once this many headers are prepared
  bool followClock = true;      // play (and record) at the clock's pace
  // Replaces the position the output reports (the block-length measurement
  // polls it); called once per position() query.
  std::function<std::optional<uint32_t>()> positionScript;
  bool inputPresent = true;
  bool failInputOpen = false;
  // Sample n of the input signal (default: silence).
  std::function<uint8_t(uint64_t n)> inputSignal;
  // Bytes the input records per position() query when it does not follow the clock.
  uint32_t inputBytesPerQuery = 0;

  // --- what the devices did ---
  std::vector<uint8_t> tape;          // every sample played, in order
  uint64_t underrunSamples = 0;       // clock time with nothing queued (silence on the tape)
  int opens = 0, closes = 0, resets = 0, writes = 0;
  int prepared = 0;                   // headers prepared now
  cTestWaveOut* openOut = nullptr;    // the output while it is open
  std::vector<std::vector<uint8_t>> imagesPlayed;  // the simple mode's WAV images
  int inputOpens = 0, inputCloses = 0, inputStarts = 0;
  bool inputOpen = false;

  cClock& clock() { return clock_; }

 private:
  cClock& clock_;
};
