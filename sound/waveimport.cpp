#include "sound/waveimport.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/platform.h"
#include "sound/soundsystem.h"

namespace {

uint32_t get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

std::string startFolder() {
  std::error_code ec;
  return std::filesystem::current_path(ec).string();
}

// Taken when the program starts.
std::string gImportFolder = startFolder();

struct cDataChunk {
  std::streamoff start = 44;
  uint64_t size = UINT64_MAX;  // up to the end of the file
};

// Finds the samples. Most files have them at byte 44; files written by
// other programs may put further chunks ("LIST", "fact", a longer "fmt ")
// before them, or after them, and those bytes are no sound.
cDataChunk findData(std::ifstream& in, uint64_t fileSize) {
  uint64_t at = 12;
  while (at + 8 <= fileSize) {
    uint8_t head[8];
    in.seekg(static_cast<std::streamoff>(at));
    if (!in.read(reinterpret_cast<char*>(head), 8)) break;
    const uint32_t size = get32(head + 4);
    if (std::memcmp(head, "data", 4) == 0) return {static_cast<std::streamoff>(at + 8), size};
    at += 8 + static_cast<uint64_t>(size) + (size & 1);
  }
  in.clear();
  return {};
}

}  // namespace

const std::string& waveImportFolder() { return gImportFolder; }

cWaveImportResult convertWaveFile(const std::string& path, uint8_t* buffer, uint32_t capacity) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return cWaveImportResult::cantOpen;
  uint8_t h[44];
  in.read(reinterpret_cast<char*>(h), sizeof h);
  if (in.gcount() != static_cast<std::streamsize>(sizeof h) || std::memcmp(h, "RIFF", 4) != 0 ||
      std::memcmp(h + 8, "WAVE", 4) != 0 || std::memcmp(h + 12, "fmt ", 4) != 0)
    return cWaveImportResult::badFormat;
  if (get16(h + 34) != 8) return cWaveImportResult::not8Bit;

  const uint32_t channels = std::max<uint16_t>(get16(h + 22), 1);
  const uint32_t rate = get32(h + 24);
  const uint32_t framesPerSample = 1 + (rate >= 22000) + (rate >= 30000) + (rate >= 44000);
  const uint32_t step = framesPerSample * channels;

  std::error_code ec;
  const uint64_t fileSize = std::filesystem::file_size(path, ec);
  const cDataChunk data = findData(in, ec ? 0 : fileSize);
  in.seekg(data.start);

  // One output sample per step: the last byte of its frames (the second
  // channel of a stereo file).
  uint64_t left = data.size;
  uint32_t filled = 0;
  std::vector<uint8_t> frames(step);
  while (filled < capacity && left >= step) {
    in.read(reinterpret_cast<char*>(frames.data()), step);
    if (in.gcount() != static_cast<std::streamsize>(step)) break;
    buffer[filled++] = frames[step - 1];
    left -= step;
  }
  std::memset(buffer + filled, kSilence, capacity - filled);
  return cWaveImportResult::ok;
}

std::string waveImportMessage(cWaveImportResult result, const std::string& path) {
  switch (result) {
    case cWaveImportResult::cantOpen: return path + "\nCan`t open file";
    case cWaveImportResult::badFormat: return path + "\nBad file format";
    case cWaveImportResult::not8Bit: return path + "\nCan't import non-8 bit sound";
    case cWaveImportResult::ok: break;
  }
  return {};
}

bool importWave(uint8_t* buffer, uint32_t capacity, std::string& fileName) {
  if (!hasPlatform()) return false;
  cFileDialogRequest dialog;
  dialog.title = "Import from Wave format file";
  dialog.filters = {{"Wave files (*.wav)", {"*.wav"}}};
  dialog.defaultExtension = "WAV";
  dialog.initialFolder = gImportFolder;
  const std::optional<std::string> chosen = platform().ui().fileDialog(dialog);
  if (!chosen) return false;
  gImportFolder = std::filesystem::path(*chosen).parent_path().string();
  fileName = *chosen;
  const cWaveImportResult r = convertWaveFile(*chosen, buffer, capacity);
  if (r == cWaveImportResult::ok) return true;
  cMessageRequest box;
  box.text = waveImportMessage(r, *chosen);
  box.icon = cMessageIcon::warning;
  platform().ui().messageBox(box);
  return false;
}
