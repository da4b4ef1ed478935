// Every sound of the sound library, made from nothing but arithmetic: the
// interface sounds, the gadget kinds' sounds, the animals and other sounds
// for the sound gadgets, the 220 Hz tones, the introduction's sounds and the
// background tune's instruments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace synth {

struct cSoundInfo {
  uint16_t id;
  const char* name;   // what it is, for people
  bool player;        // also in the player's own resources
  bool loop;          // played looping: must run on into its start without a click
};

// Every sound, in id order.
const std::vector<cSoundInfo>& soundList();
// The 8-bit unsigned samples of a sound at 11025 Hz (no header); empty for an unknown id.
std::vector<uint8_t> makeSound(uint16_t id);

}  // namespace synth
