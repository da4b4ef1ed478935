#include "engine/gadget.h"

#include <bit>
#include <cstring>

#include "engine/connection.h"
#include "engine/gadgetdialog.h"
#include "engine/worksheet.h"
#include "graphics/frameset.h"
#include "graphics/wingdib.h"
#include "shell/core/byteio.h"
#include "shell/core/resources.h"
#include "sound/soundsystem.h"

namespace {

// The lock marker lives from the first gadget drawn with it to the last
// gadget; the error marker from its first use to releaseSharedPictures.
std::unique_ptr<cFrameSet> gLockMarker;
std::unique_ptr<cFrameSet> gErrorMarker;
uint32_t gNextKey = 1;

int64_t squaredDistance(cPoint a, cPoint b) {
  const int64_t dv = a.v - b.v, dh = a.h - b.h;
  return dv * dv + dh * dh;
}

}  // namespace

double inputSentinel() { return std::bit_cast<double>(kInputSentinelBits); }

// ---- construction ----

cGadget::cGadget() {
  id = freshKey();
  constructed();
}

cGadget::cGadget(const cGadgetRecord& record) {
  cByteReader r(record.body, cEndian::big);
  id = r.u32();
  position.v = r.s16();
  position.h = r.s16();
  settings.flags32 = r.u32();
  r.bytes(settings.bools, sizeof settings.bools);
  for (int32_t& v : settings.values) v = r.s32();
  r.bytes(settings.texts, sizeof settings.texts);
  locked = r.u8() != 0;
  constructed();
}

void cGadget::constructed() {
  inputCache.assign(8, 0.0);
  cGadget::reset();
  ++liveCount_;
}

cGadget::~cGadget() {
  cGadget::invalidate();
  cWorksheetPane* ws = theWorksheet();
  for (int i = 0; i < pinCount; ++i) {
    cConnection* wire = pins[size_t(i)].wire;
    if (!wire) continue;
    if (ws && ws->ownsWire(wire)) {
      ws->removeWire(wire);
    } else {
      // A wire outside any worksheet only lets go of this gadget.
      if (wire->source == this) wire->detachSource();
      if (wire->target == this) wire->detachTarget();
    }
  }
  pins.clear();
  pinCount = 0;
  if (--liveCount_ == 0) gLockMarker.reset();
}

uint32_t cGadget::freshKey() {
  const uint32_t key = 0xFF000000u | (gNextKey & 0x00FFFFFFu);
  gNextKey = (gNextKey + 1) & 0x00FFFFFFu;
  if (gNextKey == 0) gNextKey = 1;
  return key;
}

void cGadget::centreOn(cPoint point) {
  position.v = static_cast<int16_t>(point.v - bounds.height() / 2 - bounds.top);
  position.h = static_cast<int16_t>(point.h - bounds.width() / 2 - bounds.left);
}

// ---- pins ----

void cGadget::loadPins(uint16_t tableId) {
  const cResourceHandle handle = findResource(kPinTableResourceType, tableId);
  setPinsFromTable(lockResource(handle));
}

void cGadget::setPinsFromTable(std::span<const uint8_t> table) {
  for (int i = 0; i < pinCount; ++i)
    if (pins[size_t(i)].wire) detachWire(i);
  cByteReader r(table, cEndian::little);
  uint16_t n = r.u16();
  // A table shorter than its count gives only the pins it holds.
  if (size_t(n) * 6 > r.remaining()) n = static_cast<uint16_t>(r.remaining() / 6);
  pins.assign(n, cPin{});
  for (cPin& p : pins) {
    p.offset.v = r.s16();
    p.offset.h = r.s16();
    p.direction = r.s16();
  }
  pinCount = n;
  inputCache.assign(std::max<size_t>(8, n), 0.0);
}

cPoint cGadget::pinPosition(int pin) const {
  if (!validPin(pin)) return position;
  return position + pins[size_t(pin)].offset;
}

void cGadget::attachWire(cConnection* wire, int pin) {
  if (validPin(pin)) pins[size_t(pin)].wire = wire;
}

void cGadget::detachWire(int pin) {
  if (validPin(pin)) pins[size_t(pin)].wire = nullptr;
}

// ---- values ----

double cGadget::inputValue(int pin) {
  const cConnection* wire = wireAt(pin);
  if (!wire || !wire->source) return 0.0;
  cGadget& from = *wire->source;
  const int out = wire->sourcePin;
  if (from.hasSoundOutput(out)) return from.soundOutput(out) ? 1.0 : 0.0;
  if (from.hasNumberOutput(out)) return from.numberOutput(out);
  if (from.hasBoolOutput(out)) return from.boolOutput(out) ? 1.0 : 0.0;
  return -1.0;
}

bool cGadget::inputChanged(int pin) {
  if (!validPin(pin)) return false;
  const double now = inputValue(pin);
  double& cached = inputCache[size_t(pin)];
  if (cached == now) return false;
  cached = now;
  return pins[size_t(pin)].wire != nullptr;
}

bool cGadget::signalPin(int pin) {
  cConnection* wire = wireAt(pin);
  if (!wire) return false;
  wire->signal = true;
  return true;
}

bool cGadget::takeSignal(int pin) {
  cConnection* wire = wireAt(pin);
  if (!wire) return false;
  const bool was = wire->signal;
  wire->signal = false;
  return was;
}

void cGadget::clearSignal(int pin) {
  if (cConnection* wire = wireAt(pin)) wire->signal = false;
}

bool cGadget::intervalElapsed(uint32_t ticks) {
  const uint32_t now = runClock();
  if (now - lastChange > ticks) {
    lastChange = now;
    return true;
  }
  return false;
}

bool cGadget::copyInputToOutputs(int pin) {
  const cConnection* wire = wireAt(pin);
  if (!wire) {
    boolOut = false;
    numberOut = 0.0;
    soundOut = nullptr;
    return false;
  }
  boolOut = wire->asBool();
  numberOut = wire->asNumber();
  soundOut = wire->asSound();
  return true;
}

uint32_t cGadget::runClock() {
  const cWorksheetPane* ws = theWorksheet();
  return ws ? ws->runTicks : 0;
}

void cGadget::setLocked(bool on) {
  locked = on;
  invalidate();
}

// ---- nearest pins ----

cPinChoice cGadget::nearest(cPoint point, bool freeOnly, int direction) const {
  cPinChoice best;
  int64_t bestDistance = 0;
  for (int i = 0; i < pinCount; ++i) {
    const cPin& p = pins[size_t(i)];
    if (freeOnly && p.wire) continue;
    if (direction >= 0 && p.direction != direction) continue;
    const int64_t d = squaredDistance(pinPosition(i), point);
    if (!best.found() || d < bestDistance) {
      best = {i, p.direction};
      bestDistance = d;
    }
  }
  return best;
}

cPinChoice cGadget::nearestPin(cPoint point) const { return nearest(point, false, -1); }
cPinChoice cGadget::nearestFreePin(cPoint point) const { return nearest(point, true, -1); }
int cGadget::nearestFreeInput(cPoint point) const { return nearest(point, true, kPinInput).pin; }
int cGadget::nearestFreeOutput(cPoint point) const { return nearest(point, true, kPinOutput).pin; }

// ---- moving and drawing ----

void cGadget::invalidateWires() {
  for (int i = 0; i < pinCount; ++i)
    if (const cConnection* wire = pins[size_t(i)].wire) wire->invalidate();
}

void cGadget::moveBy(cPoint delta) {
  invalidate();
  invalidateWires();
  position += delta;
  invalidate();
  invalidateWires();
}

void cGadget::drawAt(CWinGDib& surface, cPoint point, bool withSelection) {
  const cPoint saved = position;
  position = point;
  const cRect clip = bounds.offsetBy(point);
  draw(surface, clip);
  if (withSelection) drawSelection(clip, surface);
  position = saved;
}

cFrameSet& cGadget::lockMarker() {
  if (!gLockMarker) gLockMarker = std::make_unique<cFrameSet>(kLockMarkerArtwork);
  return *gLockMarker;
}

cFrameSet& cGadget::errorMarker() {
  if (!gErrorMarker) gErrorMarker = std::make_unique<cFrameSet>(kErrorMarkerArtwork);
  return *gErrorMarker;
}

void cGadget::releaseSharedPictures() { gErrorMarker.reset(); }

// ---- the virtual operations ----

void cGadget::drawSelection(const cRect& clip, CWinGDib& surface) {
  const cRect r = worksheetRect();
  if (!r.intersects(clip)) return;
  wingInfo().frameRect(surface, r.toWin(), kDarkGreen);
  const cWorksheetPane* ws = theWorksheet();
  if (locked && ws && ws->lockEdit) {
    cFrameSet& marker = lockMarker();
    if (marker.frameCount() < 1) return;
    const cRect f = marker.frameRect(1);
    const int cv = r.top + r.height() / 2, ch = r.left + r.width() / 2;
    const cPoint at(cv - f.height() / 2 - f.top, ch - f.width() / 2 - f.left);
    marker.drawFrame(1, at, clip, surface);
  }
}

void cGadget::invalidate() {
  lastChange = runClock();
  if (cWorksheetPane* ws = theWorksheet()) ws->invalidate(worksheetRect());
}

void cGadget::drawErrorMarker(CWinGDib& surface, const cRect& clip) {
  cFrameSet& marker = errorMarker();
  if (marker.frameCount() < 1) return;
  int frame = 1;
  cRect f = marker.frameRect(1);
  if ((bounds.width() < f.width() || bounds.height() < f.height()) && marker.frameCount() >= 2) {
    frame = 2;
    f = marker.frameRect(2);
  }
  const cPoint at(position.v + (bounds.height() - f.height()) / 2,
                  position.h + (bounds.width() - f.width()) / 2);
  marker.drawFrame(frame, at, clip, surface);
}

void cGadget::mouseDown(cPoint, uint16_t, bool) {}

bool cGadget::hitTest(cPoint point) { return bounds.contains(point - position); }

void cGadget::reset() {
  boolOut = false;
  animationStep = 0;
  integerValue = 0;
  numberOut = 0.0;
  soundOut = nullptr;
  firstStep = true;
  if (inputError) {
    inputError = false;
    invalidate();
  }
  kindByte = 0;
}

void cGadget::readInputs() {
  if (!startFresh) {
    for (int i = 0; i < pinCount; ++i) inputCache[size_t(i)] = inputValue(i);
    return;
  }
  const double sentinel = inputSentinel();
  for (int i = 0; i < pinCount; ++i) {
    inputCache[size_t(i)] = sentinel;
    clearSignal(i);
  }
}

bool cGadget::hasBoolOutput(int) { return false; }
bool cGadget::boolOutput(int) { return boolOut; }
bool cGadget::hasNumberOutput(int) { return false; }
double cGadget::numberOutput(int) { return numberOut; }
bool cGadget::hasSoundOutput(int) { return false; }
const cSoundRecord* cGadget::soundOutput(int) { return soundOut; }

int cGadget::recordSize() { return kGadgetRecordSize; }

int cGadget::writeRecord(std::span<uint8_t> buffer) {
  writeCommonBody(buffer);
  return kGadgetRecordSize;
}

void cGadget::writeCommonBody(std::span<uint8_t> buffer) const {
  if (buffer.size() < size_t(kGadgetRecordSize)) return;
  uint8_t* p = buffer.data();
  std::memset(p, 0, kGadgetRecordSize);
  byteio::putU32BE(p + 0, id);
  byteio::putU16BE(p + 4, static_cast<uint16_t>(position.v));
  byteio::putU16BE(p + 6, static_cast<uint16_t>(position.h));
  byteio::putU32BE(p + 8, settings.flags32);
  std::memcpy(p + 12, settings.bools, 4);
  for (int i = 0; i < 4; ++i) byteio::putU32BE(p + 16 + 4 * i, static_cast<uint32_t>(settings.values[i]));
  std::memcpy(p + 32, settings.texts, sizeof settings.texts);
  p[272] = locked ? 1 : 0;
}

void cGadget::step() {}

void cGadget::loadDialog(cGadgetDialog& dialog) {
  for (int i = 0; i < 4; ++i)
    if (dialog.hasChoice(i)) dialog.setChoice(i, settings.bools[i]);
  for (int i = 0; i < 4; ++i)
    if (dialog.hasNumber(i)) dialog.setNumber(i, settings.values[i]);
  for (int i = 0; i < 32; ++i)
    if (dialog.hasOnOff(i)) dialog.setOnOff(i, settings.flag(i));
  if (singleText) {
    if (dialog.hasText(0))
      dialog.setText(0, std::string(settings.texts, strnlen(settings.texts, kSingleTextLength)));
  } else {
    for (int i = 0; i < kTextCount; ++i)
      if (dialog.hasText(i))
        dialog.setText(i, std::string(settings.text(i), strnlen(settings.text(i), kTextLength)));
  }
  if (dialogHook) dialog.attachHook(dialogHookControl, dialogHook);
}

namespace {

// Copies a dialog text into a settings text of `size` bytes when it differs
// in the first size - 1 characters; the rest is zero, the last byte too.
void storeText(char* into, int size, const std::string& text) {
  const size_t keep = static_cast<size_t>(size - 1);
  if (strncmp(into, text.c_str(), keep) == 0) return;
  std::memset(into, 0, static_cast<size_t>(size));
  std::memcpy(into, text.data(), std::min(keep, text.size()));
}

// The dialog's controls into the settings block.
void dialogToSettings(cGadgetDialog& dialog, cGadget& g) {
  cSettingsBlock& s = g.settings;
  for (int i = 0; i < 4; ++i) {
    s.bools[i] = dialog.hasChoice(i) ? static_cast<uint8_t>(dialog.choice(i)) : 0;
    s.values[i] = dialog.hasNumber(i) ? dialog.number(i) : 0;
  }
  for (int i = 0; i < 32; ++i) s.setFlag(i, dialog.hasOnOff(i) && dialog.onOff(i));
  if (g.singleText) {
    if (dialog.hasText(0)) storeText(s.texts, kSingleTextLength, dialog.text(0));
  } else {
    for (int i = 0; i < kTextCount; ++i)
      if (dialog.hasText(i)) storeText(s.text(i), kTextLength, dialog.text(i));
  }
}

}  // namespace

void cGadget::saveDialog(cGadgetDialog& dialog) {
  dialogToSettings(dialog, *this);
  if (cWorksheetPane* ws = theWorksheet()) ws->redrawAll();
}

void cGadget::settingsChanged(cGadgetDialog&) {}

void basePreview(cGadgetDialog& dialog, cGadget& gadget) {
  const cSettingsBlock saved = gadget.settings;
  dialogToSettings(dialog, gadget);
  gadget.settingsChanged(dialog);
  dialog.redrawGadgetPicture();
  gadget.settings = saved;
}
