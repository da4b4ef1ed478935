// What the engine's tests share: a headless program with small resource
// modules, and a few test kinds entered into the factory under codes of the
// kind table. The test kinds are fixtures of the tests only; the program's
// factory knows just the kinds of gadgets/registry.cpp.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/connection.h"
#include "engine/cycle.h"
#include "engine/factory.h"
#include "engine/gadget.h"
#include "engine/invention.h"
#include "engine/memoryprobe.h"
#include "engine/undo.h"
#include "engine/worksheet.h"
#include "graphics/hrencoder.h"
#include "graphics/wingdib.h"
#include "platform/headless/headless.h"
#include "shell/core/byteio.h"
#include "shell/core/resources.h"
#include "shell/core/strings.h"
#include "sound/soundsystem.h"

namespace enginetest {

// A pin table resource: count, then v, h, direction for each pin.
struct cPinSpec {
  int v, h, direction;
};
inline std::vector<uint8_t> pinTable(const std::vector<cPinSpec>& pins) {
  std::vector<uint8_t> t(2 + 6 * pins.size());
  byteio::putU16LE(t.data(), static_cast<uint16_t>(pins.size()));
  for (size_t i = 0; i < pins.size(); ++i) {
    byteio::putU16LE(&t[2 + 6 * i], static_cast<uint16_t>(pins[i].v));
    byteio::putU16LE(&t[4 + 6 * i], static_cast<uint16_t>(pins[i].h));
    byteio::putU16LE(&t[6 + 6 * i], static_cast<uint16_t>(pins[i].direction));
  }
  return t;
}

// A frame set of plain rectangles, each filled with one index.
struct cFrameSpec {
  cRect rect;
  int16_t index;
};
inline std::vector<uint8_t> frameSet(const std::vector<cFrameSpec>& frames) {
  std::vector<cFramePicture> pictures;
  for (const cFrameSpec& f : frames) {
    cFramePicture p;
    p.rect = f.rect;
    p.pixels.assign(static_cast<size_t>(f.rect.width() * f.rect.height()), f.index);
    pictures.push_back(p);
  }
  return encodeFrameSet(pictures).bytes;
}

// Palette indices the test pictures use.
inline constexpr int16_t kLockIndex = 77, kBigErrorIndex = 88, kSmallErrorIndex = 99;
inline constexpr int16_t kBorderIndex = 66;
inline constexpr int16_t kPatternIndex = 20;  // 700 light is 20, 701 is 21, 702 is 22; dark ones 23..25

// Test kinds. Each keeps the kind pattern: bounds, pin table, a place.
// "MiCo": a number source, pin 0 out; its value is numberOut.
// "AndG": pins 0 and 1 in, pin 2 out (true/false); steps like an OR gate
//         and passes a signal on; keeps what it saw in each step.
// "Stop": pin 0 in; stops the run when its input is not 0.
// "Tape": a sound source, pin 0 out; its sound is soundOut.
// "Coin": a true/false source, pin 0 out; its value is boolOut.
// "Stk1": no pins; 12 x 12 (narrower than the big error marker).
class cTestKind : public cGadget {
 public:
  cTestKind(cTypeCode code, cPoint drop);
  cTestKind(cTypeCode code, const cGadgetRecord& record);
  void draw(CWinGDib& surface, const cRect& clip) override;
  bool hasBoolOutput(int pin) override;
  bool hasNumberOutput(int pin) override;
  bool hasSoundOutput(int pin) override;
  void step() override;

  struct cSeen {
    double input0;
    bool changed0;
    bool signal0;
  };
  std::vector<cSeen> seen;
  int16_t colour = 40;

 private:
  void kind(cTypeCode code);
};

template <char A, char B, char C, char D>
class cTestKindOf : public cTestKind {
 public:
  explicit cTestKindOf(cPoint p) : cTestKind(makeTypeCode(A, B, C, D), p) {}
  explicit cTestKindOf(const cGadgetRecord& r) : cTestKind(makeTypeCode(A, B, C, D), r) {}
};

// Enters a test kind for every code of the table that the factory cannot
// make yet; kinds without a pin layout of their own get 22 pins, inputs and
// outputs by turns, so that any wire of a file finds its pins.
void enterEveryKind();

// A sound library that keeps the number of every sound asked for.
class cSoundLog : public cMemoryResourceModule {
 public:
  cSoundLog() : cMemoryResourceModule("ZBSOUND.DLL") {}
  std::optional<std::span<const uint8_t>> find(uint16_t type, uint16_t id) override;
  std::vector<uint16_t> asked;
  // Whether the sound was asked for since the last forget().
  bool played(uint16_t id) const;
  void forget() { asked.clear(); }
};

// The headless program with the test modules and kinds, in edit mode.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A gadget of a test kind, added to the worksheet, centred on the point.
  cTestKind* add(cTypeCode code, cPoint at);
  // A wire from (a, pin pa) to (b, pin pb), added to the worksheet.
  cConnection* wire(cGadget* a, int pa, cGadget* b, int pb, const std::vector<cPoint>& knots = {});
  // The worksheet written and read back into an emptied worksheet.
  std::vector<uint8_t> save() { return writeInvention(*ws); }
  size_t load(const std::vector<uint8_t>& image, bool quiet = true, cReadReport* report = nullptr);
  cTestKind* gadgetAt(int index);
  int countGadgets() const { return ws->gadgets.count(); }
  void advance(uint32_t ms) { hp.virtualClock().advance(ms); }

  cHeadlessPlatform hp;
  cSoundLog* sounds = nullptr;  // owned by the resource libraries
  std::unique_ptr<cSoundEngine> soundEngine;
  std::unique_ptr<cSoundOut> soundOutput;
  std::unique_ptr<CWinGDib> surface;
  std::unique_ptr<cWorksheetPane> ws;
};

// An image built by hand, chunk by chunk.
class cImageBuilder {
 public:
  explicit cImageBuilder(uint16_t version = 4, bool withFver = true);
  cImageBuilder& chunk(const char* id, const std::vector<uint8_t>& body);
  cImageBuilder& gadget(const char* code, uint32_t key, int v, int h, size_t size = kGadgetRecordSize);
  cImageBuilder& wire(uint32_t from, int fromPin, uint32_t to, int toPin,
                      const std::vector<cPoint>& knots = {}, bool locked = false);
  cImageBuilder& oldWire(uint32_t from, int fromPin, uint32_t to, int toPin);
  std::vector<uint8_t> bytes() const;

 private:
  std::vector<uint8_t> chunks_;
  uint16_t version_;
  bool withFver_;
};

}  // namespace enginetest
