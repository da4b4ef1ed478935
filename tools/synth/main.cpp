// zanbel-synth: makes the sounds of the sound library and of the player.
//
//   zanbel-synth res OUT.res [--player]   every sound, or the player's own, as WAV images (type 1006)
//   zanbel-synth wav FOLDER [ID...]       each sound as FOLDER/ID.wav, to listen to and measure
//   zanbel-synth list                     the sounds, what they are and where they go
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "export/resfile.h"
#include "shell/core/resources.h"
#include "sound/soundsystem.h"
#include "tools/synth/sounds.h"

namespace {

int usage() {
  std::cerr << "brug: zanbel-synth res UD.res [--player]\n"
               "      zanbel-synth wav MAPPE [NUMMER...]\n"
               "      zanbel-synth list\n";
  return 2;
}

std::vector<uint8_t> imageOf(uint16_t id) { return waveImage(synth::makeSound(id)); }

int writeRes(const std::string& out, bool player) {
  std::vector<cResEntry> entries;
  for (const synth::cSoundInfo& s : synth::soundList()) {
    if (player && !s.player) continue;
    cResEntry e;
    e.type = kSoundResourceType;
    e.name = s.id;
    e.data = imageOf(s.id);
    entries.push_back(std::move(e));
  }
  std::string error;
  if (!saveFileBytes(out, writeResFile(entries), error)) {
    std::cerr << "zanbel-synth: " << error << '\n';
    return 1;
  }
  return 0;
}

int writeWavs(const std::string& folder, const std::vector<std::string>& ids) {
  std::vector<uint16_t> wanted;
  for (const std::string& a : ids) wanted.push_back(static_cast<uint16_t>(std::stoi(a)));
  if (wanted.empty())
    for (const synth::cSoundInfo& s : synth::soundList()) wanted.push_back(s.id);
  for (uint16_t id : wanted) {
    const std::vector<uint8_t> samples = synth::makeSound(id);
    if (samples.empty()) {
      std::cerr << "zanbel-synth: der er ingen lyd nummer " << id << '\n';
      return 1;
    }
    std::string error;
    if (!saveFileBytes(folder + "/" + std::to_string(id) + ".wav", waveImage(samples), error)) {
      std::cerr << "zanbel-synth: " << error << '\n';
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> a(argv + 1, argv + argc);
  if (a.size() >= 2 && a[0] == "res" && (a.size() == 2 || (a.size() == 3 && a[2] == "--player")))
    return writeRes(a[1], a.size() == 3);
  if (a.size() >= 2 && a[0] == "wav") return writeWavs(a[1], {a.begin() + 2, a.end()});
  if (a.size() == 1 && a[0] == "list") {
    for (const synth::cSoundInfo& s : synth::soundList()) {
      const size_t n = synth::makeSound(s.id).size();
      std::printf("%5u  %6zu prøver  %5.2f s  %s%s  %s\n", s.id, n, n / 11025.0, s.player ? "P" : "-",
                  s.loop ? "L" : "-", s.name);
    }
    return 0;
  }
  return usage();
}
