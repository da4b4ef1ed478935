// Sound resources: WAV images by number, and the tone sample.
#include <cstring>

#include "shell/core/numbers.h"
#include "shell/core/resources.h"
#include "sound/soundsystem.h"

namespace {

constexpr size_t kHeaderSize = 44;

// What a missing sound plays: one sample of silence, with its header for the
// simple mode's player.
const std::vector<uint8_t>& placeholderImage() {
  static const std::vector<uint8_t> image = waveImage(std::vector<uint8_t>{kSilence});
  return image;
}

cToneSample gTone;

}  // namespace

std::vector<uint8_t> waveHeader(uint32_t n) {
  std::vector<uint8_t> h(kHeaderSize);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) h[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  auto put16 = [&](size_t at, uint16_t v) {
    h[at] = static_cast<uint8_t>(v);
    h[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  std::memcpy(&h[0], "RIFF", 4);
  put32(4, 36 + n);
  std::memcpy(&h[8], "WAVE", 4);
  std::memcpy(&h[12], "fmt ", 4);
  put32(16, 16);
  put16(20, 1);
  put16(22, 1);
  put32(24, kSampleRate);
  put32(28, kSampleRate);
  put16(32, 1);
  put16(34, 8);
  std::memcpy(&h[36], "data", 4);
  put32(40, n);
  return h;
}

std::vector<uint8_t> waveImage(std::span<const uint8_t> samples) {
  std::vector<uint8_t> image = waveHeader(static_cast<uint32_t>(samples.size()));
  image.insert(image.end(), samples.begin(), samples.end());
  return image;
}

std::span<const uint8_t> soundData(uint16_t id, bool withHeader) {
  const std::span<const uint8_t> placeholder =
      withHeader ? std::span<const uint8_t>(placeholderImage()) : std::span<const uint8_t>(placeholderImage()).last(1);
  cResourceLibraries& libs = resourceLibraries();
  // Nowhere to look (no module at all): the placeholder, without asking.
  if (!libs.moduleFor(kSoundResourceType) && !libs.own()) return placeholder;
  const std::span<const uint8_t> bytes = lockResource(findResource(kSoundResourceType, id));
  // Shorter than its header (the editor's 4-byte silence): as if missing.
  if (bytes.size() < kHeaderSize) return placeholder;
  return withHeader ? bytes : bytes.subspan(kHeaderSize);
}

void loadToneSample() {
  gTone.full = soundData(kSndTone, false);
  gTone.eighth.clear();
  for (size_t i = 0; i < gTone.full.size(); i += 8) gTone.eighth.push_back(gTone.full[i]);
}

const cToneSample& toneSample() {
  if (gTone.full.empty()) loadToneSample();
  return gTone;
}

cSoundRecord toneRecord(double frequency, double seconds) {
  const cToneSample& t = toneSample();
  const cToneRate r = toneRate(frequency, seconds, static_cast<uint32_t>(t.full.size()),
                               static_cast<uint32_t>(t.eighth.size()));
  cSoundRecord record;
  record.rate = r.rate;
  record.count = r.sampleCount;
  record.samples = r.useEighth ? t.eighth.data() : t.full.data();
  return record;
}
