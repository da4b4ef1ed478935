// The headless runner: an invention loaded into a worksheet of its own and
// run on the headless platform's virtual clock, as fast as the machine
// allows, with keys and clicks at given times. zanbel-cli run, the tests of
// the gadget kinds and the soak program use it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/invention.h"
#include "engine/worksheet.h"
#include "platform/headless/headless.h"
#include "shell/core/types.h"

class CWinGDib;
struct cSoundRecord;

// A key pressed at a moment of invention time and held for a while.
struct cKeyEvent {
  int virtualKey = 0;
  uint32_t atMs = 0;
  uint32_t holdMs = 100;
};
// A left click on the worksheet (x, y) at a moment of invention time.
struct cClickEvent {
  cPoint point;
  uint32_t atMs = 0;
  uint32_t holdMs = 100;
};

struct cRunPlan {
  uint32_t milliseconds = 10000;  // invention time
  uint32_t cycleMs = 1;           // clock step between two cycles
  std::vector<cKeyEvent> keys;
  std::vector<cClickEvent> clicks;
};

// The value on one output pin.
struct cPinValue {
  enum Kind : uint8_t { none, boolean, number, sound };
  int index = 0;          // the gadget's place in the list, front first
  cTypeCode code = 0;
  uint32_t key = 0;
  int pin = 0;
  Kind kind = none;
  bool flag = false;
  double value = 0.0;
  bool hasSound = false;
  uint32_t sampleCount = 0;
};

// "3 Addr ff000002 pin=2 number 12": index, code, key, pin, kind, value. A
// number has up to 17 significant digits, a sound is its sample count or
// "none", a pin without a value kind shows "-".
std::string formatPinValue(const cPinValue& v);
// Parses the key of --key: a letter or digit, a name (enter, esc, space, tab,
// left, right, up, down, shift, ctrl, f1..f12, and the Danish mellemrum,
// venstre, højre, op, ned), or a virtual-key number. -1 when unknown.
int parseKeyName(const std::string& name);

// What the reader met, in plain Danish (zanbel-cli check).
std::string describeReadNote(const cReadNote& note);
// Whether the note makes the file damaged, or only says what was left out.
bool readNoteIsError(const cReadNote& note);

class cInventionRunner : public cWorksheetHost {
 public:
  explicit cInventionRunner(cHeadlessPlatform& platform, int width = kWorksheetWidth,
                            int height = kWorksheetHeight);
  ~cInventionRunner() override;

  // Reads the image into the empty worksheet; false when it is no invention.
  bool load(std::span<const uint8_t> image, cReadReport* report = nullptr);

  // Runs the plan from Run on; stops early when the invention stops itself.
  // The values are taken when the run ends (before Stop resets the gadgets).
  void run(const cRunPlan& plan);
  // Ends the run (if it is still going) and keeps the values at that moment.
  void stop();
  bool stoppedByItself() const { return stoppedByItself_; }
  uint32_t ranMs() const { return ranMs_; }

  // The output pins' values: at the end of the last run, or now when the
  // invention is still running or never ran.
  std::vector<cPinValue> values();
  // The worksheet's whole picture, drawn now.
  const CWinGDib& picture();
  bool writePng(const std::string& path, std::string& error);

  cWorksheetPane& worksheet() { return *worksheet_; }
  cHeadlessPlatform& platform() { return platform_; }

  // cWorksheetHost
  void runStopping() override;

 private:
  std::vector<cPinValue> currentValues();

  cHeadlessPlatform& platform_;
  std::unique_ptr<CWinGDib> surface_;
  std::unique_ptr<cWorksheetPane> worksheet_;
  std::vector<cPinValue> lastValues_;
  bool haveLastValues_ = false;
  bool stoppedByItself_ = false;
  bool stopping_ = false;
  uint32_t ranMs_ = 0;
};
