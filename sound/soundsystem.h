// The sound system: an eight-voice software mixer that plays 8-bit
// unsigned mono samples at 11025 Hz through one wave-out device, by mixing
// them into a small ring of output blocks.
//
// Two objects carry it. cSoundEngine is the mixer and its ring: voices,
// blocks, the play position, the block filter. cSoundOut is the program's
// sound switchboard: it knows whether sound is disabled ("NoSoundPlease"),
// holds the user's sound switch, and plays sounds by number (ids of sound
// resources, type 1006). The free functions at the end are what the gadget
// kinds, the worksheet and the editing tools call; they go to the installed
// cSoundOut and do nothing when there is none.
//
// Everything runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "shell/core/liveobjects.h"

class cWaveDevices;
class cWaveOut;
struct cWaveHeader;

inline constexpr uint32_t kSampleRate = 11025;
inline constexpr uint8_t kSilence = 128;
inline constexpr int kVoiceCount = 8;

// The value a sound wire carries. The producing gadget owns it and the
// samples it points to; both stay valid while that gadget lives.
struct cSoundRecord {
  uint32_t count = 0;       // samples
  uint16_t rate = kSampleRate;
  const uint8_t* samples = nullptr;  // 8-bit unsigned mono, 128 = silence
};

// Flags of playSample.
enum : int {
  kSoundOwned = 1,       // the voice owns the data and frees it when it ends
  kSoundLoop = 2,
  kSoundCloseAfter = 4,  // close the output when this sound has played
};

// The interface sounds by number.
enum : uint16_t {
  kSndButtonClick = 128,
  kSndWireDetach = 129,
  kSndWireAttach = 130,
  kSndWireSnap = 131,
  kSndHover = 132,
  kSndDragStart = 133,
  kSndDragEnd = 134,
  kSndGadgetDeleted = 135,
  kSndWireDeleted = 136,
  kSndKnotDeleted = 137,
  kSndDialogOpen = 138,
  kSndDialogClose = 139,
  kSndLightOn = 140,
  kSndLightOff = 141,
  kSndRunStart = 142,
  kSndRunStop = 143,
  kSndSoundOn = 144,
  kSndSoundOff = 145,
  kSndGadgetDropped = 146,
  kSndPartTaken = 147,
  kSndPageSlide = 148,
  kSndDrawerSlide = 149,
  kSndDragLoop = 150,
  kSndTone = 205,         // 220 Hz at 11025 Hz: the tone-rate sample
  kSndSpeakerTone = 220,  // 220 Hz at 11025 Hz, loops cleanly
  kSndSpeakerEighth = 224,  // every 8th sample of 220
};

// The engine's settings after clamping (see cSoundEngine::startEngine).
struct cSoundSettings {
  int remix = 1;          // 1: mix new sounds into the queued blocks; 2: from the next refill
  int goodWavePos = 0;    // 1: the play position comes from the device; 0: from the clock
  int waveBlocks = 2;     // blocks in the ring, 2 ... 6
  int waveBlockLen = 16384;  // bytes per block
};

// Reads a device's settings (the per-device section, falling back to
// "default"), measures the block length when asked to, clamps, and applies
// the 65280-byte cap on the whole ring. `measure` stands for the block-length
// measurement and returns 0 when it failed.
cSoundSettings readSoundSettings(const std::string& deviceName, const std::function<int()>& measure);
// The cap alone: blocks above 2 are dropped first, then the length is halved.
void capSoundRing(int& waveBlocks, int& waveBlockLen);

// Routine called with each freshly mixed block.
using cBlockFilter = std::function<void(uint8_t* block, uint32_t length)>;

class cSoundEngine : public cLiveObject {
 public:
  cSoundEngine();
  ~cSoundEngine();
  cSoundEngine(const cSoundEngine&) = delete;
  cSoundEngine& operator=(const cSoundEngine&) = delete;

  // Reads the settings and allocates the ring, then opens output. Uses the
  // platform's devices unless others are given. Stays off (silently, or with
  // the "ShowDevices" boxes) when there is no usable device.
  void startEngine(cWaveDevices* devices = nullptr);
  // Closes output and frees the ring.
  void stopEngine();

  void openOutput();
  void closeOutput();
  void reopenOutput();

  // Refills and requeues played blocks; closes output when a close-after
  // sound has ended. Call it often (every cycle, and in long loops).
  void service();

  // Starts a sample (flags kSoundLoop, kSoundCloseAfter). The data must stay
  // valid while it plays.
  void playSample(const uint8_t* data, uint32_t length, int flags);
  // The same for data the engine takes over and frees when the sound ends.
  // Returns the data's address, for stopSample.
  const uint8_t* playSample(std::unique_ptr<uint8_t[]> data, uint32_t length, int flags);
  // Stops every voice that plays this data.
  void stopSample(const uint8_t* data);

  // Fills the playing and the next block with silence and restarts output
  // where it plays.
  void silenceQueuedBlocks();

  // Installs (or, with null, removes) the block filter.
  void setBlockFilter(cBlockFilter filter);

  // Samples played since the play base, or (absolute false) the position
  // inside the current block.
  int64_t playPosition(bool absolute);

  // Plays a sample at another rate: rates below 172 are refused; other rates
  // than 11025 play a nearest-sample resampled copy. Returns the buffer that
  // plays (for stopSample), or null when nothing plays.
  const uint8_t* playSampleAtRate(const uint8_t* data, uint32_t length, uint32_t rate, bool loop);

  // Plays a whole WAV file image through the device's one-shot player
  // (the simple mode), synchronously.
  void playWaveImage(std::span<const uint8_t> image);

  // Mixes the voices (and the filter) into block n of the ring as a refill
  // does, without queueing it: for measuring the mixer.
  void mixBlockForMeasurement(int n) {
    if (n >= 0 && n < settings_.waveBlocks && !ring_.empty()) mixBlock(n);
  }
  uint8_t* blockForMeasurement(int n) { return block(n); }

  bool hasBlockFilter() const { return static_cast<bool>(filter_); }
  bool started() const { return started_; }
  bool isOpen() const { return open_; }
  bool simpleMode() const { return simple_; }
  const cSoundSettings& settings() const { return settings_; }
  // Voices in use (finished ones not yet freed count).
  int voicesInUse() const;

 private:
  struct cVoice {
    bool inUse = false;
    const uint8_t* data = nullptr;
    std::unique_ptr<uint8_t[]> owned;
    uint32_t length = 0;
    uint32_t position = 0;
    int flags = 0;
    bool finished = false;
  };

  uint8_t* block(int n) { return ring_.data() + static_cast<size_t>(n) * settings_.waveBlockLen; }
  void mixBlock(int n);
  // Mixes a voice into bytes [from, to) of a block; returns true when the voice ended there.
  bool mixVoice(cVoice& v, uint8_t* out, uint32_t count);
  void startVoice(const uint8_t* data, std::unique_ptr<uint8_t[]> owned, uint32_t length, int flags);
  void freeVoice(cVoice& v);
  void freeFinishedVoices();
  void restartAt(uint32_t a);
  void setPlayBase(int64_t p);
  uint32_t now() const;
  int measureBlockLength(int device, bool show);
  void show(const std::string& text) const;

  cWaveDevices* devices_ = nullptr;
  std::unique_ptr<cWaveOut> out_;
  int device_ = -1;
  cSoundSettings settings_;
  bool showDevices_ = false;
  bool started_ = false;
  bool simple_ = false;
  bool open_ = false;
  bool busy_ = false;
  std::vector<uint8_t> ring_;
  std::vector<cWaveHeader> headers_;   // one per block
  std::unique_ptr<cWaveHeader> extra_; // restarts in the middle of a block
  int current_ = 0;
  int next_ = 1;
  int64_t playBase_ = 0;
  uint32_t stopTime_ = 0;
  cBlockFilter filter_;
  cVoice voices_[kVoiceCount];
};

class cTune;

// The program's sound switchboard. Creating it installs it as the process's
// (the free functions below reach it); destroying it closes output and
// uninstalls it.
class cSoundOut : public cLiveObject {
 public:
  explicit cSoundOut(cSoundEngine& engine);
  ~cSoundOut();
  cSoundOut(const cSoundOut&) = delete;
  cSoundOut& operator=(const cSoundOut&) = delete;

  cSoundEngine& engine() { return engine_; }
  // Set by "NoSoundPlease": nothing plays at all.
  bool disabled() const { return disabled_; }

  void playSound(uint16_t id, bool closeAfter);
  void playSoundLooping(uint16_t id);
  void stopSound(uint16_t id);
  uint32_t soundEndTime(uint16_t id);
  bool isTimePast(uint32_t t);
  const uint8_t* playSampleAtRate(const uint8_t* data, uint32_t length, uint32_t rate, bool loop);
  const uint8_t* playSoundAtRate(uint16_t id, uint32_t rate);

  // The user's switch: turning it off plays 145 and closes output after it;
  // turning it on reopens output and plays 144.
  bool soundSwitch() const { return switchOn_; }
  void setSoundSwitch(bool on);
  // The program lost (false) or regained (true) the focus.
  void activate(bool active);

  void startTune();
  void stopTune();
  bool tunePlaying() const;

 private:
  bool mayStart() const { return !disabled_ && switchOn_; }

  cSoundEngine& engine_;
  bool disabled_ = false;
  bool switchOn_ = true;
  std::unique_ptr<cTune> tune_;
  cSoundOut* previous_ = nullptr;
};

// The installed switchboard, or null.
cSoundOut* soundOut();

// --- what the rest of the program calls ---

void playSound(uint16_t id, bool closeAfter = false);
void playSoundLooping(uint16_t id);
void stopSound(uint16_t id);
// Milliseconds on the platform clock when the sound would end if started now.
uint32_t soundEndTime(uint16_t id);
// t lies before now (always true without sound).
bool isTimePast(uint32_t t);
void playSample(const uint8_t* data, uint32_t length, int flags);
void stopSample(const uint8_t* data);
const uint8_t* playSampleAtRate(const uint8_t* data, uint32_t length, uint32_t rate, bool loop);
// Always looping.
const uint8_t* playSoundAtRate(uint16_t id, uint32_t rate);
void startTune();
void stopTune();
// The engine's refill; the worksheet cycle and long loops (drags) call it.
void soundService();
inline void soundIdle() { soundService(); }

// --- sound resources ---

// The bytes of sound resource (1006, id): the whole WAV image when
// withHeader, else the samples after the 44-byte header. A missing sound, or
// one shorter than its header, gives a 1-byte placeholder of silence.
std::span<const uint8_t> soundData(uint16_t id, bool withHeader);

// The 44-byte WAV header the program writes before n samples.
std::vector<uint8_t> waveHeader(uint32_t n);
// A whole WAV image: the header and the samples.
std::vector<uint8_t> waveImage(std::span<const uint8_t> samples);

// The tone sample 205 and its copy holding every 8th sample, made at start-up.
struct cToneSample {
  std::span<const uint8_t> full;
  std::vector<uint8_t> eighth;
};
// Loads 205 and makes its copy (again after the sound library changed).
void loadToneSample();
const cToneSample& toneSample();
// A record that plays the tone sample at `frequency` for `seconds`.
cSoundRecord toneRecord(double frequency, double seconds);

// --- WAV import and recording ---

// Asks for a WAV file and converts it into the buffer (8-bit mono 11025 Hz,
// the rest filled with 128). The file's name goes to fileName. False on
// cancel or error (the error shown in a message box).
bool importWave(uint8_t* buffer, uint32_t capacity, std::string& fileName);

// Records synchronously into the buffer. progress gets 0 ... 105 and answers
// 2 to go on. Returns the bytes recorded, 0 when nothing could be recorded,
// -1 when the progress routine stopped it.
int32_t recordInto(uint8_t* buffer, uint32_t length, const std::function<int(int percent)>& progress);
// Continuous recording into the buffer, polled with recordingPosition.
bool startRecording(uint8_t* buffer, uint32_t length);
// Bytes recorded so far, or -1.
int32_t recordingPosition();
void stopRecording();
