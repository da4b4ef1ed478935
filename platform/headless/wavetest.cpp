#include "platform/headless/wavetest.h"

#include <algorithm>

namespace {

uint64_t samplesOf(uint32_t ms) { return static_cast<uint64_t>(ms) * kWaveRate / 1000; }

}  // namespace

// --- output ---

cTestWaveOut::cTestWaveOut(cTestWaveDevices& owner) : owner_(owner), clockMark_(clockSamples()) {
  ++owner_.opens;
  owner_.openOut = this;
}

cTestWaveOut::~cTestWaveOut() {
  ++owner_.closes;
  if (owner_.openOut == this) owner_.openOut = nullptr;
}

uint64_t cTestWaveOut::clockSamples() const { return samplesOf(owner_.clock().milliseconds()); }

bool cTestWaveOut::prepare(cWaveHeader& header) {
  if (owner_.failPrepareAfter >= 0 && owner_.prepared >= owner_.failPrepareAfter) return false;
  if (!header.prepared) ++owner_.prepared;
  return markPrepared(header);
}

void cTestWaveOut::unprepare(cWaveHeader& header) {
  if (header.prepared) --owner_.prepared;
  header.prepared = false;
}

bool cTestWaveOut::write(cWaveHeader& header) {
  if (!header.prepared || header.queued) return false;
  followClock();
  header.queued = true;
  header.done = false;
  queue_.push_back({&header, std::vector<uint8_t>(header.data, header.data + header.length)});
  ++owner_.writes;
  return true;
}

void cTestWaveOut::reset() {
  for (cQueued& q : queue_) {
    q.header->queued = false;
    q.header->done = true;
  }
  queue_.clear();
  position_ = 0;
  clockMark_ = clockSamples();
  ++owner_.resets;
}

void cTestWaveOut::play(uint32_t n) {
  while (n > 0 && !queue_.empty()) {
    cQueued& q = queue_.front();
    const size_t take = std::min<size_t>(n, q.bytes.size() - q.consumed);
    owner_.tape.insert(owner_.tape.end(), q.bytes.begin() + static_cast<std::ptrdiff_t>(q.consumed),
                       q.bytes.begin() + static_cast<std::ptrdiff_t>(q.consumed + take));
    q.consumed += take;
    position_ += static_cast<uint32_t>(take);
    n -= static_cast<uint32_t>(take);
    if (q.consumed == q.bytes.size()) {
      q.header->queued = false;
      q.header->done = true;
      queue_.pop_front();
    }
  }
  // A real device plays silence when it runs dry, and its position stands still.
  if (n > 0) {
    owner_.tape.insert(owner_.tape.end(), n, 128);
    owner_.underrunSamples += n;
  }
}

void cTestWaveOut::followClock() {
  if (!owner_.followClock) return;
  const uint64_t now = clockSamples();
  if (now > clockMark_) play(static_cast<uint32_t>(now - clockMark_));
  clockMark_ = now;
}

std::optional<uint32_t> cTestWaveOut::position() {
  if (owner_.positionScript) return owner_.positionScript();
  followClock();
  return position_;
}

bool cTestWaveOut::update() {
  const size_t before = queue_.size();
  followClock();
  return queue_.size() != before;
}

// --- input ---

cTestWaveIn::cTestWaveIn(cTestWaveDevices& owner) : owner_(owner) {
  ++owner_.inputOpens;
  owner_.inputOpen = true;
}

cTestWaveIn::~cTestWaveIn() {
  ++owner_.inputCloses;
  owner_.inputOpen = false;
}

bool cTestWaveIn::start() {
  running_ = true;
  clockMark_ = samplesOf(owner_.clock().milliseconds());
  ++owner_.inputStarts;
  return true;
}

void cTestWaveIn::stop() { running_ = false; }

void cTestWaveIn::reset() {
  running_ = false;
  cWaveInQueue::reset();
}

std::optional<uint32_t> cTestWaveIn::position() {
  if (running_) {
    uint64_t n = owner_.inputBytesPerQuery;
    if (owner_.followClock) {
      const uint64_t now = samplesOf(owner_.clock().milliseconds());
      n = now > clockMark_ ? now - clockMark_ : 0;
      clockMark_ = now;
    }
    fill(
        [&](uint8_t* out, uint32_t room) {
          for (uint32_t i = 0; i < room; ++i) out[i] = owner_.inputSignal ? owner_.inputSignal(recorded() + i) : 128;
          return room;
        },
        n);
  }
  return recorded();
}

// --- the devices ---

std::optional<std::string> cTestWaveDevices::outputName(int device) {
  if (device == -1) return std::string("default");
  if (device < 0 || device >= outputCount()) return std::nullopt;
  return outputNames[static_cast<size_t>(device)];
}

std::unique_ptr<cWaveOut> cTestWaveDevices::openOutput(int device) {
  if (failOpen || device < -1 || device >= outputCount()) return nullptr;
  return std::make_unique<cTestWaveOut>(*this);
}

std::unique_ptr<cWaveIn> cTestWaveDevices::openInput() {
  if (!inputPresent || failInputOpen) return nullptr;
  return std::make_unique<cTestWaveIn>(*this);
}

bool cTestWaveDevices::playWaveImage(std::span<const uint8_t> image) {
  imagesPlayed.emplace_back(image.begin(), image.end());
  return true;
}
