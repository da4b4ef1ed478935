// The mixer: eight voices mixed into a ring of output blocks.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/platform.h"
#include "platform/wave.h"
#include "shell/core/settings.h"
#include "sound/soundsystem.h"

namespace {

constexpr int kRingCap = 65280;
constexpr int kProbe = 7777;
constexpr const char* kShowCaption = "Zanbel Sound System";

// a * b / c with a 64-bit product, rounded to the nearest integer.
int64_t scaled(int64_t a, int64_t b, int64_t c) {
  const int64_t p = a * b;
  return p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c);
}

int clampTo(int v, int lo, int hi) { return std::max(lo, std::min(hi, v)); }

// out = block byte + (sample - 128), kept within 0 ... 255. Seen as signed
// bytes (x - 128) this is a saturating signed add, which SSE2 does sixteen
// bytes at a time.
inline void mixInto(uint8_t* out, const uint8_t* in, uint32_t count) {
  uint32_t i = 0;
#if defined(__SSE2__)
  const __m128i bias = _mm_set1_epi8(static_cast<char>(0x80));
  for (; i + 16 <= count; i += 16) {
    const __m128i o = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i)), bias);
    const __m128i v = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)), bias);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_xor_si128(_mm_adds_epi8(o, v), bias));
  }
#endif
  for (; i < count; ++i) {
    const int v = out[i] + in[i] - 128;
    out[i] = static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
  }
}

// Mixes `count` bytes of a looping sound from `pos`, wrapping at `length`.
uint32_t mixLooping(uint8_t* out, uint32_t count, const uint8_t* data, uint32_t length, uint32_t pos) {
  while (count > 0) {
    const uint32_t n = std::min(count, length - pos);
    mixInto(out, data + pos, n);
    out += n;
    count -= n;
    pos += n;
    if (pos == length) pos = 0;
  }
  return pos;
}

}  // namespace

// --- settings ---

void capSoundRing(int& waveBlocks, int& waveBlockLen) {
  while (waveBlockLen * waveBlocks > kRingCap) {
    if (waveBlocks < 3)
      waveBlockLen /= 2;
    else
      --waveBlocks;
  }
}

cSoundSettings readSoundSettings(const std::string& deviceName, const std::function<int()>& measure) {
  // A key the device's own section lacks comes from the section "default".
  auto read = [&](const char* key, int fallback) {
    const int32_t v = readSettingNumber(key, kProbe, deviceName.c_str());
    return v != kProbe ? static_cast<int>(v) : static_cast<int>(readSettingNumber(key, fallback, "default"));
  };
  cSoundSettings s;
  read("SamplesPerSec", 11);  // read as it always was; the rate is 11025 whatever it says
  s.remix = clampTo(read("Remix", 1), 1, 2);
  s.goodWavePos = clampTo(read("GoodWavePos", 0), 0, 1);
  s.waveBlocks = clampTo(read("WaveBlocks", 2), 2, 6);
  const int len = read("WaveBlockLen", 16384);
  if (len == -1) {
    const int measured = measure ? measure() : 0;
    // A driver that reports odd positions must not give a block of a few bytes.
    s.waveBlockLen = measured > 0 ? clampTo(measured, 512, 32000) : 8192;
  } else {
    s.waveBlockLen = clampTo(len, 512, 32000);
  }
  capSoundRing(s.waveBlocks, s.waveBlockLen);
  return s;
}

// --- the engine ---

cSoundEngine::cSoundEngine() = default;

cSoundEngine::~cSoundEngine() { stopEngine(); }

uint32_t cSoundEngine::now() const { return hasPlatform() ? platform().clock().milliseconds() : 0; }

void cSoundEngine::show(const std::string& text) const {
  if (!showDevices_ || !hasPlatform()) return;
  cMessageRequest box;
  box.text = text;
  box.caption = kShowCaption;
  box.modality = cModality::system;
  platform().ui().messageBox(box);
}

void cSoundEngine::startEngine(cWaveDevices* devices) {
  if (started_) return;
  if (!devices && hasPlatform()) devices = platform().waveDevices();
  if (isOptionSet("NoSoundPlease") || !devices || devices->outputCount() <= 0) return;
  const int device = readSettingNumber("WaveOutDevice", -1, "general");
  if (device >= devices->outputCount()) return;
  showDevices_ = readSettingNumber("ShowDevices", 0, "general") != 0;
  const std::optional<std::string> name = devices->outputName(device);
  if (!name) return;
  show("Device name:\n" + *name + "\n");
  if (readSettingNumber(name->c_str(), 0, "not compatible") == 1) {
    show("Incompatible sound driver");
    return;
  }
  devices_ = devices;
  device_ = device;
  started_ = true;
  if (readSettingNumber(name->c_str(), 0, "No Low Level") == 1 || isOptionSet("SimpleSoundPlease")) {
    simple_ = true;
    show("Low level sound is disabled");
    return;
  }
  settings_ = readSoundSettings(*name, [&] { return measureBlockLength(device, showDevices_); });
  char text[160];
  std::snprintf(text, sizeof text, "Remix=%i GoodWavePos=%i SamplesPer11K=%i\nWaveBlocks=%i WaveBlockLen=%i \n ",
                settings_.remix, settings_.goodWavePos, 1, settings_.waveBlocks, settings_.waveBlockLen);
  show(text);
  ring_.assign(static_cast<size_t>(settings_.waveBlocks) * settings_.waveBlockLen, kSilence);
  headers_.assign(static_cast<size_t>(settings_.waveBlocks), cWaveHeader{});
  extra_ = std::make_unique<cWaveHeader>();
  openOutput();
}

void cSoundEngine::stopEngine() {
  closeOutput();
  ring_.clear();
  ring_.shrink_to_fit();
  headers_.clear();
  extra_.reset();
  started_ = false;
  simple_ = false;
  devices_ = nullptr;
}

// Queues a block of silence and watches the position grow: drivers that move
// it in steps of half a block show the block length they like.
int cSoundEngine::measureBlockLength(int device, bool showValues) {
  std::unique_ptr<cWaveOut> out = devices_->openOutput(device);
  if (!out) return 0;
  std::vector<uint8_t> silence(32768, kSilence);
  cWaveHeader header;
  header.data = silence.data();
  header.length = static_cast<uint32_t>(silence.size());
  std::vector<int64_t> values{0};
  if (out->prepare(header) && out->write(header)) {
    const uint32_t start = now();
    int64_t last = 0;
    int unchanged = 0;
    // A device whose position never moves must not hold the program: give up
    // after about the block's playing time.
    while (values.size() < 6 && unchanged < 4000 && now() - start < 4000) {
      const std::optional<uint32_t> p = out->position();
      if (!p) break;
      if (*p == last) {
        ++unchanged;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        continue;
      }
      unchanged = 0;
      last = *p;
      if (*p > 31768) break;
      values.push_back(*p);
    }
  }
  out->reset();
  out->unprepare(header);
  out.reset();
  if (showValues) {
    std::string text = "Subsequent play positions\n";
    for (int64_t v : values) text += std::to_string(v) + " ";
    show(text);
  }
  if (values.size() < 4) return 0;
  const int64_t step = values[2] - values[1];
  for (size_t i = 2; i + 1 < values.size(); ++i)
    if (values[i + 1] - values[i] != step) return 0;
  return static_cast<int>(step * 2 + 4);
}

void cSoundEngine::openOutput() {
  if (!started_ || simple_) return;
  if (open_) {
    stopTime_ = 0;
    return;
  }
  busy_ = true;
  current_ = 0;
  next_ = 1;
  filter_ = nullptr;
  stopTime_ = 0;
  for (cVoice& v : voices_) freeVoice(v);
  out_ = devices_->openOutput(device_);
  if (!out_) {
    busy_ = false;
    return;
  }
  const uint32_t len = static_cast<uint32_t>(settings_.waveBlockLen);
  for (int n = 0; n < settings_.waveBlocks; ++n) {
    std::memset(block(n), kSilence, len);
    cWaveHeader& h = headers_[static_cast<size_t>(n)];
    h = cWaveHeader{};
    h.data = block(n);
    h.length = len;
    if (!out_->prepare(h)) {
      for (cWaveHeader& p : headers_)
        if (p.prepared) out_->unprepare(p);
      out_.reset();
      busy_ = false;
      return;
    }
  }
  *extra_ = cWaveHeader{};
  if (!out_->write(headers_[0])) {
    closeOutput();
    return;
  }
  setPlayBase(0);
  if (!out_->write(headers_[1])) {
    closeOutput();
    return;
  }
  busy_ = false;
  open_ = true;
}

void cSoundEngine::closeOutput() {
  if (!out_) {
    open_ = false;
    return;
  }
  out_->reset();
  busy_ = true;
  for (cWaveHeader& h : headers_)
    if (h.prepared) out_->unprepare(h);
  if (extra_ && extra_->prepared) out_->unprepare(*extra_);
  out_.reset();
  for (cVoice& v : voices_) freeVoice(v);
  open_ = false;
  stopTime_ = 0;
  filter_ = nullptr;
}

void cSoundEngine::reopenOutput() {
  closeOutput();
  openOutput();
}

int64_t cSoundEngine::playPosition(bool absolute) {
  const int64_t len = settings_.waveBlockLen;
  int64_t p;
  if (settings_.goodWavePos) {
    const std::optional<uint32_t> device = out_ ? out_->position() : std::nullopt;
    p = static_cast<int64_t>(device.value_or(0)) + playBase_;
  } else {
    p = scaled(now(), kSampleRate, 1000) - playBase_;
  }
  if (absolute) return p;
  return ((p % len) + len) % len;
}

void cSoundEngine::setPlayBase(int64_t p) {
  playBase_ = settings_.goodWavePos ? p : scaled(now(), kSampleRate, 1000) - p;
}

void cSoundEngine::service() {
  if (!open_) return;
  out_->update();
  // One pass per finished block: after a long pause several may be waiting.
  for (int pass = 0; pass < settings_.waveBlocks; ++pass) {
    if (!headers_[static_cast<size_t>(current_)].done) break;
    const int k = (current_ + 2) % settings_.waveBlocks;
    if (busy_ || playPosition(true) < settings_.waveBlockLen) break;
    mixBlock(k);
    current_ = (current_ + 1) % settings_.waveBlocks;
    next_ = (current_ + 1) % settings_.waveBlocks;
    cWaveHeader& h = headers_[static_cast<size_t>(k)];
    if ((h.done || h.prepared) && !h.queued) out_->write(h);
  }
  if (stopTime_ != 0 && stopTime_ < now()) closeOutput();
}

bool cSoundEngine::mixVoice(cVoice& v, uint8_t* out, uint32_t count) {
  if (v.flags & kSoundLoop) {
    v.position = mixLooping(out, count, v.data, v.length, v.position);
    return false;
  }
  const uint32_t rest = v.length - v.position;
  if (rest <= count) {
    mixInto(out, v.data + v.position, rest);
    v.position = v.length;
    return true;
  }
  mixInto(out, v.data + v.position, count);
  v.position += count;
  return false;
}

void cSoundEngine::mixBlock(int n) {
  uint8_t* b = block(n);
  const uint32_t len = static_cast<uint32_t>(settings_.waveBlockLen);
  std::memset(b, kSilence, len);
  for (cVoice& v : voices_)
    if (v.inUse && !v.finished && mixVoice(v, b, len)) v.finished = true;
  if (filter_) filter_(b, len);
}

void cSoundEngine::freeVoice(cVoice& v) { v = cVoice{}; }

void cSoundEngine::freeFinishedVoices() {
  for (cVoice& v : voices_)
    if (v.inUse && v.finished) freeVoice(v);
}

int cSoundEngine::voicesInUse() const {
  return static_cast<int>(std::count_if(std::begin(voices_), std::end(voices_), [](const cVoice& v) { return v.inUse; }));
}

void cSoundEngine::restartAt(uint32_t a) {
  busy_ = true;
  out_->reset();
  if (extra_->prepared) out_->unprepare(*extra_);
  const uint32_t len = static_cast<uint32_t>(settings_.waveBlockLen);
  *extra_ = cWaveHeader{};
  extra_->data = block(current_) + a;
  extra_->length = len - a;
  if (out_->prepare(*extra_)) out_->write(*extra_);
  setPlayBase(a);
  out_->write(headers_[static_cast<size_t>(next_)]);
  busy_ = false;
}

void cSoundEngine::startVoice(const uint8_t* data, std::unique_ptr<uint8_t[]> owned, uint32_t length, int flags) {
  if (!open_ || length == 0) return;
  service();
  freeFinishedVoices();
  if (!open_ || stopTime_ != 0) return;
  cVoice* voice = nullptr;
  for (cVoice& v : voices_)
    if (!v.inUse) {
      voice = &v;
      break;
    }
  const bool loop = (flags & kSoundLoop) != 0;
  uint32_t position = 0;
  if (settings_.remix == 1) {
    const uint32_t len = static_cast<uint32_t>(settings_.waveBlockLen);
    const uint32_t a = static_cast<uint32_t>(playPosition(false));
    const uint32_t room = 2 * len - a;
    const bool fits = !loop && length <= room;
    // With every voice busy a sound that needs one is not heard at all.
    if (!fits && !voice) return;
    uint8_t* cur = block(current_) + a;
    uint8_t* nxt = block(next_);
    if (loop) {
      position = mixLooping(cur, len - a, data, length, 0);
      position = mixLooping(nxt, len, data, length, position);
    } else {
      const uint32_t first = std::min(length, len - a);
      mixInto(cur, data, first);
      mixInto(nxt, data + first, std::min(length - first, len));
      position = std::min(length, room);
    }
    if (flags & kSoundCloseAfter) stopTime_ = now() + static_cast<uint32_t>(scaled(length, 1000, kSampleRate));
    restartAt(a);
    if (fits) return;
  }
  if (!voice) return;
  voice->inUse = true;
  voice->data = data;
  voice->owned = std::move(owned);
  voice->length = length;
  voice->position = position;
  voice->flags = flags & (kSoundLoop | kSoundCloseAfter | (voice->owned ? kSoundOwned : 0));
  voice->finished = false;
}

void cSoundEngine::playSample(const uint8_t* data, uint32_t length, int flags) {
  if (!data) return;
  startVoice(data, nullptr, length, flags & ~kSoundOwned);
}

const uint8_t* cSoundEngine::playSample(std::unique_ptr<uint8_t[]> data, uint32_t length, int flags) {
  const uint8_t* p = data.get();
  if (!p) return nullptr;
  startVoice(p, std::move(data), length, flags | kSoundOwned);
  return p;
}

void cSoundEngine::stopSample(const uint8_t* data) {
  if (!open_) return;
  service();
  if (!open_) return;
  for (cVoice& v : voices_)
    if (v.inUse && v.data == data) freeVoice(v);
  // The voices' sound is already in the queued blocks: clear them, which
  // silences every other sound too until the next refill.
  if (settings_.remix == 1) silenceQueuedBlocks();
}

void cSoundEngine::silenceQueuedBlocks() {
  if (!open_) return;
  const uint32_t len = static_cast<uint32_t>(settings_.waveBlockLen);
  std::memset(block(current_), kSilence, len);
  std::memset(block(next_), kSilence, len);
  restartAt(static_cast<uint32_t>(playPosition(false)));
}

void cSoundEngine::setBlockFilter(cBlockFilter filter) {
  if (!open_) {
    filter_ = nullptr;
    return;
  }
  filter_ = std::move(filter);
  if (settings_.remix == 1 && filter_) {
    const uint32_t len = static_cast<uint32_t>(settings_.waveBlockLen);
    const uint32_t a = static_cast<uint32_t>(playPosition(false));
    filter_(block(current_) + a, len - a);
    filter_(block(next_), len);
    restartAt(a);
  }
}

const uint8_t* cSoundEngine::playSampleAtRate(const uint8_t* data, uint32_t length, uint32_t rate, bool loop) {
  if (!data || length == 0 || rate < 172) return nullptr;
  if (simple_) {
    std::vector<uint8_t> samples(data, data + length);
    if (rate != kSampleRate) {
      const uint32_t n = static_cast<uint32_t>(scaled(length, kSampleRate, rate));
      samples.resize(n);
      for (uint32_t i = 0; i < n; ++i)
        samples[i] = data[std::min<int64_t>(scaled(i, length, n), length - 1)];
    }
    playWaveImage(waveImage(samples));
    return nullptr;
  }
  if (!open_) return nullptr;
  if (rate == kSampleRate) {
    playSample(data, length, loop ? kSoundLoop : 0);
    return data;
  }
  const uint32_t n = static_cast<uint32_t>(scaled(length, kSampleRate, rate));
  if (n == 0) return nullptr;
  auto copy = std::make_unique<uint8_t[]>(n);
  for (uint32_t i = 0; i < n; ++i) copy[i] = data[std::min<int64_t>(scaled(i, length, n), length - 1)];
  return playSample(std::move(copy), n, loop ? kSoundLoop : 0);
}

void cSoundEngine::playWaveImage(std::span<const uint8_t> image) {
  if (started_ && devices_) devices_->playWaveImage(image);
}
