// What the tests of the gadget kinds share: the headless program with the
// real artwork (the built artwork library's resources), a sound library that
// notes every sound asked for, the program's factory with every built kind,
// and the headless runner, on whose worksheet small inventions are built,
// saved, loaded and run.
//
// Two fixture kinds stand in for the parts around the kind under test: a
// number source whose value the test sets, and a probe that notes what
// reaches its input. They take the codes of kinds that are not built yet
// ("Sldr", "disp") and live only in the tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "engine/connection.h"
#include "engine/cycle.h"
#include "engine/factory.h"
#include "engine/gadget.h"
#include "engine/gadgetdialog.h"
#include "engine/invention.h"
#include "engine/runner.h"
#include "engine/worksheet.h"
#include "graphics/wingdib.h"
#include "platform/headless/headless.h"
#include "shell/core/resources.h"
#include "sound/soundsystem.h"

namespace gadgettest {

// A module that notes every (type, id) it is asked for.
class cAskedModule : public cMemoryResourceModule {
 public:
  explicit cAskedModule(std::string name) : cMemoryResourceModule(std::move(name)) {}
  std::optional<std::span<const uint8_t>> find(uint16_t type, uint16_t id) override;
  // How often the resource was asked for since the last forget().
  int asked(uint16_t type, uint16_t id) const;
  void forget() { asked_.clear(); }

 private:
  std::vector<std::pair<uint16_t, uint16_t>> asked_;
};

// The sound library: every sound is a short click.
class cSoundLibrary : public cAskedModule {
 public:
  cSoundLibrary() : cAskedModule("ZBSOUND.DLL") {}
  std::optional<std::span<const uint8_t>> find(uint16_t type, uint16_t id) override;
  int played(uint16_t id) const { return asked(kSoundResourceType, id); }
};

// The fixture kinds' common part: a plain box of one colour with one pin.
class cFixtureKind : public cGadget {
 public:
  void draw(CWinGDib& surface, const cRect& clip) override;

 protected:
  cFixtureKind(cTypeCode code, int16_t direction, uint8_t colour);
  cFixtureKind(cTypeCode code, int16_t direction, uint8_t colour, const cGadgetRecord& record);

 private:
  void kind(cTypeCode code, int16_t direction);
  uint8_t colour_;
};

// A number source, pin 0 out. Its value is kept in texts[0], so it survives saving.
class cTestSource : public cFixtureKind {
 public:
  static constexpr cTypeCode kCode = makeTypeCode('S', 'l', 'd', 'r');
  explicit cTestSource(cPoint dropPoint);
  explicit cTestSource(const cGadgetRecord& record);
  bool hasNumberOutput(int pin) override { return pin == 0; }
  double numberOutput(int) override { return value; }

  void set(double x);
  // Raises the signal on the output wire.
  void emit() { signalPin(0); }
  double value = 0.0;
};

// A probe, pin 0 in: each cycle it keeps the value arriving and takes the signal.
class cTestProbe : public cFixtureKind {
 public:
  static constexpr cTypeCode kCode = makeTypeCode('d', 'i', 's', 'p');
  explicit cTestProbe(cPoint dropPoint);
  explicit cTestProbe(const cGadgetRecord& record);
  void step() override;
  void reset() override;

  double value = 0.0;
  int signals = 0;                    // signals taken since Run
  std::vector<uint32_t> signalTicks;  // the run clock at each
};

// A gadget under test with what the rig put around it.
struct cRig {
  cGadget* gadget = nullptr;
  cTestSource* in[2] = {};  // the sources on inputs 0 and 1, where there are any
  cTestProbe* out = nullptr;
  explicit operator bool() const { return gadget && out; }
};

// A property dialog with text control 0 and the on/off controls 0 to 2.
class cTestDialog : public cGadgetDialog {
 public:
  std::string text0;
  bool onOff_[3] = {};

  bool hasChoice(int) const override { return false; }
  int choice(int) const override { return 0; }
  void setChoice(int, int) override {}
  bool hasNumber(int) const override { return false; }
  int32_t number(int) const override { return 0; }
  void setNumber(int, int32_t) override {}
  bool hasOnOff(int i) const override { return i >= 0 && i < 3; }
  bool onOff(int i) const override { return onOff_[i]; }
  void setOnOff(int i, bool on) override { onOff_[i] = on; }
  bool hasText(int i) const override { return i == 0; }
  std::string text(int) const override { return text0; }
  void setText(int, const std::string& t) override { text0 = t; }
  void attachHook(int, cDialogHook) override {}
  void redrawGadgetPicture() override {}
};

class GadgetTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new gadget from the factory, placed on the next free spot of a grid
  // and added to the worksheet.
  cGadget* place(cTypeCode code);
  template <class Kind>
  Kind* place(cTypeCode code) {
    auto* g = dynamic_cast<Kind*>(place(code));
    EXPECT_NE(g, nullptr) << "the factory made another class for this code";
    return g;
  }
  cTestSource* source(double value);
  cTestProbe* probe();
  cConnection* wire(cGadget* from, int outputPin, cGadget* to, int inputPin);
  // A gadget of the kind with a source on each input that is given a value
  // (none leaves the input without a wire) and a probe on its output, its
  // last pin; `setUp` changes its settings first. Saved and loaded.
  cRig rig(cTypeCode kind, const std::vector<std::optional<double>>& inputs,
           const std::function<void(cGadget&)>& setUp = {});

  // Saves the invention and loads it into the emptied worksheet, so that
  // every gadget is made again from its record; the pointers are moved to
  // the gadgets made from their records.
  template <class... Kind>
  void reload(Kind*&... gadgets) {
    const uint32_t keys[] = {gadgets->id..., 0};
    reloadImage();
    size_t i = 0;
    ((gadgets = dynamic_cast<Kind*>(ws->gadgetByKey(keys[i++]))), ...);
  }
  void reloadImage();

  // An invention written as text (testdata/gadgets/NAME.txt), loaded by the runner.
  void loadText(const std::string& name);
  // The output pin's value at the end of the runner's last run, by the gadget's key.
  cPinValue valueOf(uint32_t key, int pin);

  // Runs cycles of 5 ms for `ms` milliseconds of the clock, starting the run first if need be.
  void runFor(uint32_t ms);
  // One cycle after `ms` milliseconds.
  void cycle(uint32_t ms = 5);
  void stop() { stopRun(); }

  cHeadlessPlatform hp;
  cAskedModule* artwork = nullptr;  // owned by the resource libraries
  cSoundLibrary* sounds = nullptr;
  std::unique_ptr<cSoundEngine> soundEngine;
  std::unique_ptr<cSoundOut> soundOutput;
  std::unique_ptr<cInventionRunner> runner;
  cWorksheetPane* ws = nullptr;  // the runner's

 private:
  int placed_ = 0;
};

// The image of an invention written as text (a failure when it does not compile).
std::vector<uint8_t> inventionFromText(const std::string& path);

// The artwork library as the build makes it.
std::unique_ptr<cAskedModule> builtArtwork();

}  // namespace gadgettest
