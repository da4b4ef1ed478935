#include "platform/desktop/sdlwave.h"

#include <SDL.h>

#include <algorithm>

namespace {

// The program's one format: 8-bit unsigned mono at 11025 Hz.
SDL_AudioSpec programFormat() {
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(kWaveRate);
  want.format = AUDIO_U8;
  want.channels = 1;
  // A short device buffer: when output restarts in the middle of a block,
  // what SDL already took plays once more, for at most this long (23 ms).
  want.samples = 256;
  return want;
}

}  // namespace

// --- output ---

cSdlWaveOut::~cSdlWaveOut() { SDL_CloseAudioDevice(device_); }

bool cSdlWaveOut::prepare(cWaveHeader& header) { return markPrepared(header); }

void cSdlWaveOut::unprepare(cWaveHeader& header) { header.prepared = false; }

bool cSdlWaveOut::write(cWaveHeader& header) {
  if (!header.prepared || header.queued) return false;
  if (SDL_QueueAudio(device_, header.data, header.length) != 0) return false;
  queuedTotal_ += header.length;
  queue_.push_back({&header, queuedTotal_});
  header.queued = true;
  header.done = false;
  return true;
}

uint64_t cSdlWaveOut::played() const {
  const uint64_t waiting = SDL_GetQueuedAudioSize(device_);
  return queuedTotal_ > waiting ? queuedTotal_ - waiting : 0;
}

bool cSdlWaveOut::update() {
  const uint64_t p = played();
  bool any = false;
  while (!queue_.empty() && queue_.front().end <= p) {
    queue_.front().header->queued = false;
    queue_.front().header->done = true;
    queue_.pop_front();
    any = true;
  }
  return any;
}

void cSdlWaveOut::reset() {
  SDL_ClearQueuedAudio(device_);
  for (cQueued& q : queue_) {
    q.header->queued = false;
    q.header->done = true;
  }
  queue_.clear();
  queuedTotal_ = 0;
}

std::optional<uint32_t> cSdlWaveOut::position() { return static_cast<uint32_t>(played()); }

// --- input ---

cSdlWaveIn::~cSdlWaveIn() { SDL_CloseAudioDevice(device_); }

bool cSdlWaveIn::start() {
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void cSdlWaveIn::stop() { SDL_PauseAudioDevice(device_, 1); }

void cSdlWaveIn::reset() {
  SDL_PauseAudioDevice(device_, 1);
  SDL_ClearQueuedAudio(device_);
  cWaveInQueue::reset();
}

std::optional<uint32_t> cSdlWaveIn::position() {
  // What SDL has recorded goes into the blocks now.
  fill([&](uint8_t* out, uint32_t room) { return SDL_DequeueAudio(device_, out, room); }, UINT64_MAX);
  return recorded();
}

// --- the devices ---

cSdlWaveDevices::cSdlWaveDevices() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  started_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

cSdlWaveDevices::~cSdlWaveDevices() {
  if (started_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int cSdlWaveDevices::outputCount() {
  if (!started_) return 0;
  // Some drivers cannot list their devices (-1) but have a default one.
  const int n = SDL_GetNumAudioDevices(0);
  return n < 0 ? 1 : n;
}

std::optional<std::string> cSdlWaveDevices::outputName(int device) {
  if (!started_) return std::nullopt;
  if (device == -1) return std::string("default");
  const char* name = SDL_GetAudioDeviceName(device, 0);
  if (name) return std::string(name);
  // A driver without a list: its one device carries the driver's name.
  if (device == 0 && SDL_GetNumAudioDevices(0) < 0 && SDL_GetCurrentAudioDriver())
    return std::string(SDL_GetCurrentAudioDriver());
  return std::nullopt;
}

std::unique_ptr<cWaveOut> cSdlWaveDevices::openOutput(int device) {
  if (!started_) return nullptr;
  const char* name = device >= 0 ? SDL_GetAudioDeviceName(device, 0) : nullptr;
  const SDL_AudioSpec want = programFormat();
  SDL_AudioSpec have{};
  const SDL_AudioDeviceID id = SDL_OpenAudioDevice(name, 0, &want, &have, 0);
  if (id == 0) return nullptr;
  SDL_PauseAudioDevice(id, 0);
  return std::make_unique<cSdlWaveOut>(id);
}

bool cSdlWaveDevices::hasInput() { return started_ && SDL_GetNumAudioDevices(1) != 0; }

std::unique_ptr<cWaveIn> cSdlWaveDevices::openInput() {
  if (!started_) return nullptr;
  const SDL_AudioSpec want = programFormat();
  SDL_AudioSpec have{};
  const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 1, &want, &have, 0);
  if (id == 0) return nullptr;
  return std::make_unique<cSdlWaveIn>(id);
}

bool cSdlWaveDevices::playWaveImage(std::span<const uint8_t> image) {
  if (!started_) return false;
  SDL_AudioSpec format{};
  Uint8* samples = nullptr;
  Uint32 length = 0;
  SDL_RWops* rw = SDL_RWFromConstMem(image.data(), static_cast<int>(image.size()));
  if (!rw || !SDL_LoadWAV_RW(rw, 1, &format, &samples, &length)) return false;
  format.callback = nullptr;
  format.samples = 512;
  const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &format, nullptr, 0);
  bool ok = false;
  if (id != 0) {
    ok = SDL_QueueAudio(id, samples, length) == 0;
    SDL_PauseAudioDevice(id, 0);
    // Played to its end before returning, as the one-shot player does.
    while (ok && SDL_GetQueuedAudioSize(id) > 0) SDL_Delay(5);
    SDL_Delay(static_cast<Uint32>(1000 * format.samples / std::max(format.freq, 1)) + 20);
    SDL_CloseAudioDevice(id);
  }
  SDL_FreeWAV(samples);
  return ok;
}
