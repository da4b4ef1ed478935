// zanbel-cli sound: the sound system without the editor.
//
//   sound list [--fra FIL]                                  the sounds of the library
//   sound play NUMMER... [--fra FIL]                        through the machine's sound device
//   sound render NUMMER... --wav UD.wav [--mellemrum MS] [--fra FIL]
//                                                           mixed by the engine into a WAV file
//   sound tune --seconds N --wav UD.wav [--fra FIL]         the background tune
//
// The sounds come from ZBSOUND.DLL beside zanbel-cli, or from FIL (a .res
// file, or a program or library with resources).
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <thread>

#include "cli/commands.h"
#include "export/resfile.h"
#include "platform/headless/headless.h"
#include "platform/headless/wavetest.h"
#include "shell/core/resourcemodule.h"
#include "sound/soundsystem.h"
#include "sound/tune.h"
#if ZANBEL_HAVE_SDL_SOUND
#include "platform/desktop/sdlwave.h"
#endif

namespace {

struct cSoundArgs {
  std::vector<uint16_t> ids;
  std::string wav, from;
  long seconds = -1;
  long gapMs = 0;
};

bool parseLong(const std::string& text, long low, long high, long& out) {
  char* end = nullptr;
  out = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && out >= low && out <= high;
}

// Reads the arguments after the form's name; false (with a message) on a bad one.
bool parseArgs(cCliContext& c, size_t first, cSoundArgs& a) {
  for (size_t i = first; i < c.args.size(); ++i) {
    const std::string& s = c.args[i];
    const bool hasValue = i + 1 < c.args.size();
    long v = 0;
    if (s == "--wav" && hasValue) {
      a.wav = c.args[++i];
    } else if (s == "--fra" && hasValue) {
      a.from = c.args[++i];
    } else if (s == "--seconds" && hasValue) {
      if (!parseLong(c.args[++i], 1, 3600, a.seconds)) {
        c.err << "zanbel-cli sound: --seconds skal være et helt antal sekunder fra 1 til 3600\n";
        return false;
      }
    } else if (s == "--mellemrum" && hasValue) {
      if (!parseLong(c.args[++i], 0, 60000, a.gapMs)) {
        c.err << "zanbel-cli sound: --mellemrum skal være et antal millisekunder fra 0 til 60000\n";
        return false;
      }
    } else if (parseLong(s, 1, 65535, v)) {
      a.ids.push_back(static_cast<uint16_t>(v));
    } else {
      c.err << "zanbel-cli sound: " << s << " er hverken et lydnummer (1-65535) eller en kendt indstilling\n";
      return false;
    }
  }
  return true;
}

bool endsWithRes(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& ch : tail) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return tail == ".res";
}

// Installs the sound library: FIL, or ZBSOUND.DLL beside zanbel-cli.
bool openSounds(cCliContext& c, const std::string& from) {
  const std::string path = from.empty() ? folderOf(runningProgramPath()) + "/" + kSoundLibraryName : from;
  std::string error;
  std::unique_ptr<cResourceModule> module;
  if (endsWithRes(path)) {
    std::vector<uint8_t> bytes;
    if (loadFileBytes(path, bytes, error)) {
      const cResReadResult read = readResFile(bytes);
      if (read.ok()) {
        auto memory = std::make_unique<cMemoryResourceModule>(path);
        for (const cResEntry& e : read.entries) memory->add(e.type, e.name, e.data);
        module = std::move(memory);
      } else {
        error = read.error;
      }
    }
  } else {
    module = cFileResourceModule::open(path, &error);
  }
  if (!module) {
    c.err << "zanbel-cli sound: kan ikke læse lydene i " << path << ": " << error << "\n";
    return false;
  }
  resourceLibraries().setSoundLibrary(std::move(module));
  return true;
}

// Every asked-for sound must be in the library: no retry box in a script.
bool checkIds(cCliContext& c, const std::vector<uint16_t>& ids) {
  for (uint16_t id : ids) {
    const auto r = resourceLibraries().soundLibrary()->find(kSoundResourceType, id);
    if (!r) {
      c.err << "zanbel-cli sound: lyd nummer " << id << " findes ikke i " << resourceLibraries().soundLibrary()->name()
            << "\n";
      return false;
    }
    if (r->size() <= 44) {
      c.err << "zanbel-cli sound: lyd nummer " << id << " har ingen prøver\n";
      return false;
    }
  }
  return true;
}

cVirtualClock* virtualClock() {
  auto* headless = dynamic_cast<cHeadlessPlatform*>(&platform());
  return headless ? &headless->virtualClock() : nullptr;
}

uint32_t latestEnd(const std::vector<uint16_t>& ids, uint32_t gapMs) {
  uint32_t end = 0;
  for (size_t i = 0; i < ids.size(); ++i) end = std::max(end, soundEndTime(ids[i]) + gapMs * static_cast<uint32_t>(i));
  return end;
}

// Runs the engine on the test device for `ms` milliseconds of its clock,
// starting `start` (if any) at the given times.
void runFor(cSoundEngine& engine, cVirtualClock& clock, uint32_t until, const std::vector<std::pair<uint32_t, uint16_t>>& starts) {
  size_t next = 0;
  while (clock.milliseconds() < until) {
    while (next < starts.size() && starts[next].first <= clock.milliseconds()) playSound(starts[next++].second);
    clock.advance(5);
    engine.service();
  }
}

bool writeWav(cCliContext& c, const std::string& path, const std::vector<uint8_t>& tape) {
  std::string error;
  if (!saveFileBytes(path, waveImage(tape), error)) {
    c.err << "zanbel-cli sound: kan ikke skrive " << path << ": " << error << "\n";
    return false;
  }
  c.out << path << ": " << tape.size() << " prøver, " << tape.size() * 1000 / kSampleRate << " ms\n";
  return true;
}

int render(cCliContext& c, const cSoundArgs& a, bool tune) {
  cVirtualClock* clock = virtualClock();
  if (!clock) {
    c.err << "zanbel-cli sound: kan kun blande uden lydkort\n";
    return kCliFailed;
  }
  cTestWaveDevices devices(*clock);
  cSoundEngine engine;
  engine.startEngine(&devices);
  if (!engine.isOpen()) {
    c.err << "zanbel-cli sound: lydsystemet er slået fra (NoSoundPlease eller indstillingerne i "
          << "ZANBEL.INI)\n";
    return kCliFailed;
  }
  cSoundOut out(engine);
  const uint32_t start = clock->milliseconds();
  if (tune) {
    startTune();
    runFor(engine, *clock, start + static_cast<uint32_t>(a.seconds) * 1000, {});
  } else {
    std::vector<std::pair<uint32_t, uint16_t>> starts;
    for (size_t i = 0; i < a.ids.size(); ++i) starts.push_back({start + static_cast<uint32_t>(a.gapMs * i), a.ids[i]});
    runFor(engine, *clock, latestEnd(a.ids, static_cast<uint32_t>(a.gapMs)) + 50, starts);
  }
  // What is still queued when time is up plays out as it would on a real device.
  engine.closeOutput();
  std::vector<uint8_t> tape = devices.tape;
  const size_t wanted = static_cast<size_t>(clock->milliseconds() - start) * kSampleRate / 1000;
  tape.resize(std::min(tape.size(), wanted));
  return writeWav(c, a.wav, tape) ? kCliOk : kCliFailed;
}

int play(cCliContext& c, const cSoundArgs& a) {
#if ZANBEL_HAVE_SDL_SOUND
  cVirtualClock* clock = virtualClock();
  cSdlWaveDevices devices;
  if (!clock || devices.outputCount() == 0) {
    c.err << "zanbel-cli sound: der er intet lydkort at spille på\n";
    return kCliFailed;
  }
  cSoundEngine engine;
  engine.startEngine(&devices);
  if (!engine.isOpen() && !engine.simpleMode()) {
    c.err << "zanbel-cli sound: lydkortet kunne ikke åbnes\n";
    return kCliFailed;
  }
  cSoundOut out(engine);
  // The program's clock follows the wall clock here: the device plays in real time.
  const auto t0 = std::chrono::steady_clock::now();
  const uint32_t base = clock->milliseconds();
  auto sync = [&] {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    clock->set(base + static_cast<uint32_t>(ms));
  };
  std::vector<std::pair<uint32_t, uint16_t>> starts;
  for (size_t i = 0; i < a.ids.size(); ++i) starts.push_back({base + static_cast<uint32_t>(a.gapMs * i), a.ids[i]});
  const uint32_t until = latestEnd(a.ids, static_cast<uint32_t>(a.gapMs)) + 250;
  size_t next = 0;
  while (clock->milliseconds() < until) {
    while (next < starts.size() && starts[next].first <= clock->milliseconds()) playSound(starts[next++].second);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    sync();
    engine.service();
  }
  return kCliOk;
#else
  (void)a;
  c.err << "zanbel-cli sound: denne zanbel-cli er bygget uden lydkort (uden SDL2)\n";
  return kCliFailed;
#endif
}

int list(cCliContext& c) {
  cResourceModule* library = resourceLibraries().soundLibrary();
  for (uint32_t id = 1; id <= 65535; ++id) {
    const auto r = library->find(kSoundResourceType, static_cast<uint16_t>(id));
    if (!r) continue;
    const size_t n = r->size() >= 44 ? r->size() - 44 : 0;
    c.out << id << '\t' << n << " prøver\t" << n * 1000 / kSampleRate << " ms\n";
  }
  return kCliOk;
}

}  // namespace

int cmdSound(cCliContext& c) {
  const cCliCommand& self = *findCliCommand("sound");
  if (c.args.empty()) return cliUsage(self, c.err);
  const std::string form = c.args[0];
  cSoundArgs a;
  if (!parseArgs(c, 1, a)) return kCliUsage;
  const bool ok = (form == "list" && a.ids.empty() && a.wav.empty()) || (form == "play" && !a.ids.empty() && a.wav.empty()) ||
                  (form == "render" && !a.ids.empty() && !a.wav.empty()) ||
                  (form == "tune" && a.ids.empty() && a.seconds > 0 && !a.wav.empty());
  if (!ok) return cliUsage(self, c.err);
  if (!openSounds(c, a.from)) return kCliFailed;
  if (!checkIds(c, a.ids)) return kCliFailed;
  if (form == "tune" && !checkIds(c, {std::begin(kTuneInstrumentIds), std::end(kTuneInstrumentIds)})) return kCliFailed;
  if (form == "list") return list(c);
  if (form == "play") return play(c, a);
  return render(c, a, form == "tune");
}
