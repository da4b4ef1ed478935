// The number sources of three digits.
//
//   cConstant      "cnst"  artwork 1021  bounds frame 4   pin 0 out (91,33)
//   cMiniConstant  "MiCo"  artwork 1063  bounds frame 11  pin 0 out (59,13)
//
// Both take their start value from texts[0] (0 ... 999; anything else is 0)
// and keep the current value in integerValue; Run signals the output when
// the value is not 0. The constant has an up and a down arrow over each
// digit with which the value is changed while the invention runs; a click
// that would leave 0 ... 999 is refused with sound 1027 (the output is
// signalled all the same). Its options, bits of flags32:
//
//   bit 0  "Lås tal"                 the arrows do nothing
//   bit 1  "Skjul tal"               the digits are not drawn
//   bit 2  "Automatisk nulstilling"  Stop puts the start value back
#pragma once

#include <cstdint>

#include "engine/gadget.h"
#include "gadgets/kindshare.h"

inline constexpr uint16_t kRefusalSound = 1027;

class cConstant : public cGadget {
 public:
  enum : int { kLockBit = 0, kHideBit = 1, kAutoResetBit = 2 };

  explicit cConstant(cPoint dropPoint);
  explicit cConstant(const cGadgetRecord& record);
  void draw(CWinGDib& surface, const cRect& clip) override;
  void mouseDown(cPoint point, uint16_t keys, bool doubleClick) override;
  void reset() override;
  void readInputs() override;
  bool hasNumberOutput(int pin) override;
  double numberOutput(int pin) override;
  void step() override;
  void settingsChanged(cGadgetDialog& dialog) override;

  // The feedback of a pressed arrow: its frame and its entry in the position table.
  uint8_t arrowPressed = 0;
  uint8_t arrowFrame = 0;
  uint8_t arrowPosition = 0;

 private:
  void takeStartValue();

  static inline cKindShare share_{{.artwork = 1021, .positionTable = 1021}};
  cKindHold hold_{share_};
};

class cMiniConstant : public cGadget {
 public:
  explicit cMiniConstant(cPoint dropPoint);
  explicit cMiniConstant(const cGadgetRecord& record);
  void draw(CWinGDib& surface, const cRect& clip) override;
  void reset() override;
  void readInputs() override;
  bool hasNumberOutput(int pin) override;
  double numberOutput(int pin) override;
  void settingsChanged(cGadgetDialog& dialog) override;

 private:
  void takeStartValue();

  static inline cKindShare share_{{.artwork = 1063, .positionTable = 1063}};
  cKindHold hold_{share_};
};
