// Recording from the default input device. While the input is in use the
// output is closed, so recording and playback never share the devices.
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/platform.h"
#include "platform/wave.h"
#include "sound/soundsystem.h"

namespace {

cWaveDevices* devices() { return hasPlatform() ? platform().waveDevices() : nullptr; }

// Closes the sound output for the life of a recording and opens it again after.
class cOutputPause {
 public:
  cOutputPause() {
    cSoundOut* s = soundOut();
    if (s && s->engine().isOpen()) {
      engine_ = &s->engine();
      engine_->closeOutput();
    }
  }
  ~cOutputPause() {
    if (engine_) engine_->openOutput();
  }
  cOutputPause(const cOutputPause&) = delete;
  cOutputPause& operator=(const cOutputPause&) = delete;

 private:
  cSoundEngine* engine_ = nullptr;
};

// The one continuous recording.
struct cRecording {
  std::unique_ptr<cWaveIn> in;
  cWaveHeader header;
  std::unique_ptr<cOutputPause> pause;
};
cRecording gRecording;

}  // namespace

int32_t recordInto(uint8_t* buffer, uint32_t length, const std::function<int(int)>& progress) {
  cWaveDevices* d = devices();
  if (length == 0 || !buffer || !d || !d->hasInput()) return 0;
  cOutputPause pause;
  std::unique_ptr<cWaveIn> in = d->openInput();
  if (!in) return 0;
  std::memset(buffer, kSilence, length);
  cWaveHeader header;
  header.data = buffer;
  header.length = length;
  if (!in->prepare(header) || !in->addBuffer(header) || !in->start()) {
    in->reset();
    if (header.prepared) in->unprepare(header);
    return 0;
  }
  int32_t result = 0;
  uint32_t last = 0;
  int stalled = 0;
  for (;;) {
    const std::optional<uint32_t> p = in->position();
    if (!p) break;
    result = static_cast<int32_t>(std::min(*p, length));
    if (*p >= length) break;
    if (progress) {
      const int answer = progress(static_cast<int>((static_cast<uint64_t>(*p) * 105 + length / 2) / length));
      if (answer != 2) {
        if (answer != 0) result = -1;
        break;
      }
    } else if (*p == last) {
      // Nobody to ask: a device that stops delivering must not hold the program.
      if (++stalled > 3000) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } else {
      stalled = 0;
    }
    last = *p;
  }
  in->stop();
  in->reset();
  in->unprepare(header);
  return result;
}

bool startRecording(uint8_t* buffer, uint32_t length) {
  if (length == 0 || !buffer) return false;
  std::memset(buffer, kSilence, length);
  cRecording& r = gRecording;
  if (r.in) {
    // Running already: start again from the start of the buffer.
    r.in->stop();
    r.in->reset();
    r.in->unprepare(r.header);
    r.header = cWaveHeader{};
    r.header.data = buffer;
    r.header.length = length;
    return r.in->prepare(r.header) && r.in->addBuffer(r.header) && r.in->start();
  }
  cWaveDevices* d = devices();
  if (!d || !d->hasInput()) return false;
  r.pause = std::make_unique<cOutputPause>();
  r.in = d->openInput();
  r.header = cWaveHeader{};
  r.header.data = buffer;
  r.header.length = length;
  if (r.in && r.in->prepare(r.header) && r.in->addBuffer(r.header) && r.in->start()) return true;
  stopRecording();
  return false;
}

int32_t recordingPosition() {
  if (!gRecording.in) return -1;
  const std::optional<uint32_t> p = gRecording.in->position();
  return p ? static_cast<int32_t>(std::min(*p, gRecording.header.length)) : -1;
}

void stopRecording() {
  cRecording& r = gRecording;
  if (r.in) {
    r.in->stop();
    r.in->reset();
    if (r.header.prepared) r.in->unprepare(r.header);
    r.in.reset();
  }
  r.header = cWaveHeader{};
  r.pause.reset();
}
