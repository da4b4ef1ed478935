// The switchboard: sounds by number, the user's switch, the background tune.
#include <array>

#include "platform/platform.h"
#include "shell/core/resources.h"
#include "shell/core/settings.h"
#include "sound/soundsystem.h"
#include "sound/tune.h"

namespace {

cSoundOut* gSoundOut = nullptr;

// Four bytes of silence: what the tune plays to wake the output.
const uint8_t kWakeUp[4] = {kSilence, kSilence, kSilence, kSilence};

uint32_t nowMs() { return hasPlatform() ? platform().clock().milliseconds() : 0; }

}  // namespace

cSoundOut::cSoundOut(cSoundEngine& engine) : engine_(engine), previous_(gSoundOut) {
  disabled_ = isOptionSet("NoSoundPlease");
  gSoundOut = this;
  // Sounds 128 ... 150, 220 and 224 need no preloading: they are read when played.
  if (!disabled_) engine_.openOutput();
}

cSoundOut::~cSoundOut() {
  if (tune_) engine_.setBlockFilter(nullptr);
  engine_.closeOutput();
  gSoundOut = previous_;
}

void cSoundOut::playSound(uint16_t id, bool closeAfter) {
  if (!mayStart()) return;
  if (engine_.simpleMode()) {
    engine_.playWaveImage(soundData(id, true));
    return;
  }
  const std::span<const uint8_t> s = soundData(id, false);
  engine_.playSample(s.data(), static_cast<uint32_t>(s.size()), closeAfter ? kSoundCloseAfter : 0);
}

void cSoundOut::playSoundLooping(uint16_t id) {
  if (!mayStart()) return;
  const std::span<const uint8_t> s = soundData(id, false);
  engine_.playSample(s.data(), static_cast<uint32_t>(s.size()), kSoundLoop);
}

void cSoundOut::stopSound(uint16_t id) {
  if (disabled_) return;
  engine_.stopSample(soundData(id, false).data());
}

uint32_t cSoundOut::soundEndTime(uint16_t id) {
  // Only the length matters here: a missing sound lasts no time and asks nothing.
  uint64_t length = 0;
  if (std::optional<std::span<const uint8_t>> r = peekResource(kSoundResourceType, id); r && r->size() >= 44)
    length = r->size() - 44;
  return nowMs() + static_cast<uint32_t>((length * 1000 + kSampleRate / 2) / kSampleRate);
}

bool cSoundOut::isTimePast(uint32_t t) { return disabled_ || t < nowMs(); }

const uint8_t* cSoundOut::playSampleAtRate(const uint8_t* data, uint32_t length, uint32_t rate, bool loop) {
  if (!mayStart()) return nullptr;
  return engine_.playSampleAtRate(data, length, rate, loop);
}

const uint8_t* cSoundOut::playSoundAtRate(uint16_t id, uint32_t rate) {
  if (!mayStart()) return nullptr;
  const std::span<const uint8_t> s = soundData(id, false);
  return engine_.playSampleAtRate(s.data(), static_cast<uint32_t>(s.size()), rate, true);
}

void cSoundOut::setSoundSwitch(bool on) {
  if (on == switchOn_) return;
  if (!on) {
    playSound(kSndSoundOff, true);
    switchOn_ = false;
    return;
  }
  switchOn_ = true;
  if (disabled_) return;
  engine_.reopenOutput();
  playSound(kSndSoundOn, false);
}

void cSoundOut::activate(bool active) {
  if (disabled_) return;
  if (!active) {
    engine_.closeOutput();
    tune_.reset();
  } else if (switchOn_) {
    engine_.reopenOutput();
  }
}

void cSoundOut::startTune() {
  if (!mayStart()) return;
  std::array<std::span<const uint8_t>, kTuneInstruments> instruments;
  for (int i = 0; i < kTuneInstruments; ++i) instruments[static_cast<size_t>(i)] = soundData(kTuneInstrumentIds[i], false);
  if (!tune_) tune_ = std::make_unique<cTune>(instruments);
  tune_->restart();
  engine_.playSample(kWakeUp, sizeof kWakeUp, 0);
  cTune* tune = tune_.get();
  engine_.setBlockFilter([tune](uint8_t* block, uint32_t length) { tune->mix(block, length); });
  // Closing the output drops the filter; without an open output nothing plays.
  if (!engine_.isOpen()) tune_.reset();
}

void cSoundOut::stopTune() {
  if (disabled_ || !tune_) return;
  engine_.setBlockFilter(nullptr);
  engine_.silenceQueuedBlocks();
  tune_.reset();
}

bool cSoundOut::tunePlaying() const { return tune_ != nullptr && engine_.hasBlockFilter(); }

cSoundOut* soundOut() { return gSoundOut; }

// --- the calls of the rest of the program ---

void playSound(uint16_t id, bool closeAfter) {
  if (gSoundOut) gSoundOut->playSound(id, closeAfter);
}
void playSoundLooping(uint16_t id) {
  if (gSoundOut) gSoundOut->playSoundLooping(id);
}
void stopSound(uint16_t id) {
  if (gSoundOut) gSoundOut->stopSound(id);
}
uint32_t soundEndTime(uint16_t id) { return gSoundOut ? gSoundOut->soundEndTime(id) : nowMs(); }
bool isTimePast(uint32_t t) { return gSoundOut ? gSoundOut->isTimePast(t) : true; }
void playSample(const uint8_t* data, uint32_t length, int flags) {
  if (gSoundOut && !gSoundOut->disabled()) gSoundOut->engine().playSample(data, length, flags);
}
void stopSample(const uint8_t* data) {
  if (gSoundOut && !gSoundOut->disabled()) gSoundOut->engine().stopSample(data);
}
const uint8_t* playSampleAtRate(const uint8_t* data, uint32_t length, uint32_t rate, bool loop) {
  return gSoundOut ? gSoundOut->playSampleAtRate(data, length, rate, loop) : nullptr;
}
const uint8_t* playSoundAtRate(uint16_t id, uint32_t rate) {
  return gSoundOut ? gSoundOut->playSoundAtRate(id, rate) : nullptr;
}
void startTune() {
  if (gSoundOut) gSoundOut->startTune();
}
void stopTune() {
  if (gSoundOut) gSoundOut->stopTune();
}
void soundService() {
  if (gSoundOut) gSoundOut->engine().service();
}
