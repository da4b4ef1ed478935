#include "engine/runner.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>

#include "engine/cycle.h"
#include "graphics/png.h"
#include "graphics/wingdib.h"
#include "platform/input.h"
#include "sound/soundsystem.h"

std::string formatPinValue(const cPinValue& v) {
  char head[64];
  std::snprintf(head, sizeof head, "%d %s %08x pin=%d ", v.index, typeCodeText(v.code).c_str(), v.key, v.pin);
  std::string out = head;
  switch (v.kind) {
    case cPinValue::boolean:
      return out + "bool " + (v.flag ? "true" : "false");
    case cPinValue::number: {
      char number[32];
      const auto r = std::to_chars(number, number + sizeof number, v.value);
      return out + "number " + std::string(number, r.ptr);
    }
    case cPinValue::sound:
      return out + "sound " + (v.hasSound ? std::to_string(v.sampleCount) : std::string("none"));
    case cPinValue::none:
      break;
  }
  return out + "none -";
}

std::string describeReadNote(const cReadNote& n) {
  const std::string where = "ved byte " + std::to_string(n.offset) + ": ";
  const std::string code = "\"" + typeCodeText(n.chunkId) + "\"";
  const std::string end = n.detail == 0 ? "udgangsenden" : "indgangsenden";
  char key[16];
  std::snprintf(key, sizeof key, "%08x", n.detail2);
  switch (n.kind) {
    case cReadNote::notAnInvention:
      return "filen er ikke en Zanbel-opfindelse: den begynder ikke med FORM, Gadf og fver";
    case cReadNote::unknownVersion:
      return "filens version er " + std::to_string(n.detail) + ", men Zanbel kender kun version 1 til 4";
    case cReadNote::chunkPastEnd:
      if (n.chunkId == 0)
        return where + "de sidste " + std::to_string(n.detail) + " byte er ikke et helt stykke; filen er skåret af her";
      return where + "stykket " + code + " er længere end resten af filen; filen er skåret af her";
    case cReadNote::unknownKind:
      return where + "stykket " + code + " er ikke en dims, Zanbel kender, og springes over";
    case cReadNote::kindNotAvailable:
      return where + "dimsen " + code + " findes ikke i denne udgave af Zanbel endnu og springes over";
    case cReadNote::gadgetTooShort:
      return where + "dimsen " + code + " fylder " + std::to_string(n.detail) + " byte, men skal fylde " +
             std::to_string(n.detail2) + "; den springes over";
    case cReadNote::wireTooShort:
      return where + "en ledning fylder " + std::to_string(n.detail) + " byte, men skal fylde " +
             std::to_string(n.detail2) + "; den springes over";
    case cReadNote::wireEndMissing:
      return where + "en lednings " + end + " peger på dims " + key + ", som ikke findes";
    case cReadNote::wirePinInvalid:
      return where + "en lednings " + end + " peger på ben " + std::to_string(n.detail2) +
             ", som dimsen ikke har";
    case cReadNote::wirePinTaken:
      return where + "en lednings " + end + " peger på ben " + std::to_string(n.detail2) +
             ", der allerede har en ledning";
    case cReadNote::duplicateKey: {
      char k[16];
      std::snprintf(k, sizeof k, "%08x", n.detail);
      return where + "to dimser har nøglen " + std::string(k) + "; ledningerne går til den første";
    }
    case cReadNote::badBackground:
      return where + "baggrunden " + std::to_string(n.detail) + " findes ikke; der bruges ingen baggrund";
    case cReadNote::shortChunk:
      return where + "stykket " + code + " er for kort";
    case cReadNote::outOfMemory:
      return "der var for lidt hukommelse til at læse filen";
  }
  return where + "ukendt fejl";
}

bool readNoteIsError(const cReadNote& n) {
  return n.kind != cReadNote::kindNotAvailable && n.kind != cReadNote::unknownKind;
}

int parseKeyName(const std::string& name) {
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  }
  std::string lower;
  for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  static const std::map<std::string, int> names = {
      {"enter", vk::return_}, {"return", vk::return_}, {"esc", vk::escape}, {"escape", vk::escape},
      {"space", vk::space}, {"mellemrum", vk::space}, {"tab", vk::tab}, {"shift", vk::shift},
      {"ctrl", vk::control}, {"control", vk::control}, {"left", vk::left}, {"venstre", vk::left},
      {"right", vk::right}, {"højre", vk::right}, {"up", vk::up}, {"op", vk::up}, {"down", vk::down},
      {"ned", vk::down}, {"delete", vk::delete_}, {"back", vk::back}, {"plus", vk::add},
      {"minus", vk::subtract},
  };
  if (auto it = names.find(lower); it != names.end()) return it->second;
  if (lower.size() >= 2 && lower[0] == 'f') {
    int n = 0;
    const auto r = std::from_chars(lower.data() + 1, lower.data() + lower.size(), n);
    if (r.ec == std::errc() && r.ptr == lower.data() + lower.size() && n >= 1 && n <= 12) return vk::f1 + n - 1;
  }
  int code = 0;
  const auto r = std::from_chars(name.data(), name.data() + name.size(), code);
  if (r.ec == std::errc() && r.ptr == name.data() + name.size() && code > 0 && code < vk::count) return code;
  return -1;
}

cInventionRunner::cInventionRunner(cHeadlessPlatform& platform, int width, int height) : platform_(platform) {
  surface_ = std::make_unique<CWinGDib>(width, height, +1);
  worksheet_ = std::make_unique<cWorksheetPane>(surface_.get(), this);
  worksheet_->setSize(width, height);
  // The run clock treats 0 as "not started": keep the clock away from it.
  if (platform_.virtualClock().milliseconds() == 0) platform_.virtualClock().set(1000);
}

cInventionRunner::~cInventionRunner() {
  stop();
  worksheet_.reset();
}

bool cInventionRunner::load(std::span<const uint8_t> image, cReadReport* report) {
  worksheet_->removeEverything();
  worksheet_->limits.clear();
  const bool ok = readInvention(*worksheet_, image, true, report) != 0;
  worksheet_->redrawAll();
  return ok;
}

void cInventionRunner::run(const cRunPlan& plan) {
  struct cAction {
    uint32_t at;
    int key;       // -1: a click
    cPoint point;
  };
  std::vector<cAction> actions;
  cVirtualClock& clock = platform_.virtualClock();
  cScriptedInput& input = platform_.scriptedInput();
  const uint32_t start = clock.milliseconds();
  for (const cKeyEvent& k : plan.keys) {
    input.scheduleTap(start + k.atMs, k.virtualKey, k.holdMs);
    actions.push_back({k.atMs, k.virtualKey, {}});
  }
  for (const cClickEvent& c : plan.clicks) {
    input.scheduleMove(start + c.atMs, c.point);
    input.scheduleTap(start + c.atMs, vk::lbutton, c.holdMs);
    actions.push_back({c.atMs, -1, c.point});
  }
  std::stable_sort(actions.begin(), actions.end(), [](const cAction& a, const cAction& b) { return a.at < b.at; });

  haveLastValues_ = false;
  stoppedByItself_ = false;
  ranMs_ = 0;
  startRun();
  const uint32_t step = std::max<uint32_t>(plan.cycleMs, 1);
  size_t next = 0;
  while (ranMs_ < plan.milliseconds && isRunning()) {
    clock.advance(step);
    ranMs_ += step;
    for (; next < actions.size() && actions[next].at <= ranMs_ && isRunning(); ++next) {
      const cAction& a = actions[next];
      if (a.key >= 0) worksheet_->handleKey(a.key);
      else worksheet_->mouseDown(a.point, 1, false);
    }
    if (isRunning()) runCycle();
  }
  stoppedByItself_ = !isRunning();
}

void cInventionRunner::stop() {
  if (isRunning()) stopRun();
}

void cInventionRunner::runStopping() {
  lastValues_ = currentValues();
  haveLastValues_ = true;
}

std::vector<cPinValue> cInventionRunner::values() {
  if (isRunning() || !haveLastValues_) return currentValues();
  return lastValues_;
}

std::vector<cPinValue> cInventionRunner::currentValues() {
  std::vector<cPinValue> out;
  int index = 0;
  for (cGadget* g : worksheet_->gadgets) {
    for (int pin = 0; pin < g->pinCount; ++pin) {
      if (g->pins[size_t(pin)].direction != kPinOutput) continue;
      cPinValue v;
      v.index = index;
      v.code = g->typeCode;
      v.key = g->id;
      v.pin = pin;
      if (g->hasSoundOutput(pin)) {
        v.kind = cPinValue::sound;
        const cSoundRecord* s = g->soundOutput(pin);
        v.hasSound = s != nullptr;
        v.sampleCount = s ? s->count : 0;
      } else if (g->hasNumberOutput(pin)) {
        v.kind = cPinValue::number;
        v.value = g->numberOutput(pin);
      } else if (g->hasBoolOutput(pin)) {
        v.kind = cPinValue::boolean;
        v.flag = g->boolOutput(pin);
      }
      out.push_back(v);
    }
    ++index;
  }
  return out;
}

const CWinGDib& cInventionRunner::picture() {
  worksheet_->redrawAll();
  return *surface_;
}

bool cInventionRunner::writePng(const std::string& path, std::string& error) {
  return ::writePng(path, picture(), surface_->colourTable(), error);
}
