// The calculators: numbers in, a number out after a short animation.
//
//   kind                code    artwork  bounds frame  pins
//   cAdder              "Addr"  1020     5             0 in (3,36) x, 1 in (49,3) y, 2 out (93,36)
//   cSubtracter         "Subr"  1020     5             as cAdder
//   cMultiplier         "Mulr"  1020     5             as cAdder
//   cDivider            "Divr"  1020     5             as cAdder
//   cOneNumberCruncher  "1ncr"  1024     1             0 in (4,27), 1 out (100,27)
//   cConversion         "Conv"  1026     1             as cOneNumberCruncher
//   cAreaVolume         "ArVo"  1025     1             pin table 1024
//
// A change or a signal on an input starts the computation: the animation
// runs seven steps of more than 9 ticks each (about 1.2 seconds) with sound
// 1020, and only then are the inputs read and the result stored; it is
// signalled on the output when the start came with a signal. Every kind here
// starts fresh, so Run computes once from whatever is wired. A result that a
// double cannot hold, or an input outside the function's range, puts the
// gadget in its error state: the error marker, and 0 on the output.
#pragma once

#include <cstdint>

#include "engine/gadget.h"
#include "gadgets/kindshare.h"

inline constexpr uint16_t kCrunchSound = 1020;

// The four two-input calculators: x on the left input, y on the top one.
class cNumberCruncher : public cGadget {
 public:
  enum : uint8_t { kAdd = 0, kSubtract = 1, kMultiply = 2, kDivide = 3 };

  void draw(CWinGDib& surface, const cRect& clip) override;
  bool hasNumberOutput(int pin) override;
  void step() override;

  uint8_t signalResult = 0;
  uint8_t operation;  // fixed by the kind, not saved

 protected:
  cNumberCruncher(uint8_t operation, cTypeCode code, cPoint dropPoint);
  cNumberCruncher(uint8_t operation, cTypeCode code, const cGadgetRecord& record);

 private:
  void compute(double x, double y);

  static inline cKindShare share_{{.artwork = 1020, .positionTable = 1020, .sound = kCrunchSound}};
  cKindHold hold_{share_};
};

class cAdder : public cNumberCruncher {
 public:
  explicit cAdder(cPoint dropPoint) : cNumberCruncher(kAdd, "Addr"_tc, dropPoint) {}
  explicit cAdder(const cGadgetRecord& record) : cNumberCruncher(kAdd, "Addr"_tc, record) {}
};

class cSubtracter : public cNumberCruncher {
 public:
  explicit cSubtracter(cPoint dropPoint) : cNumberCruncher(kSubtract, "Subr"_tc, dropPoint) {}
  explicit cSubtracter(const cGadgetRecord& record) : cNumberCruncher(kSubtract, "Subr"_tc, record) {}
};

class cMultiplier : public cNumberCruncher {
 public:
  explicit cMultiplier(cPoint dropPoint) : cNumberCruncher(kMultiply, "Mulr"_tc, dropPoint) {}
  explicit cMultiplier(const cGadgetRecord& record) : cNumberCruncher(kMultiply, "Mulr"_tc, record) {}
};

class cDivider : public cNumberCruncher {
 public:
  explicit cDivider(cPoint dropPoint) : cNumberCruncher(kDivide, "Divr"_tc, dropPoint) {}
  explicit cDivider(const cGadgetRecord& record) : cNumberCruncher(kDivide, "Divr"_tc, record) {}
};

// The one-input machines: a change or a signal on pin 0 starts the
// animation, the result goes out on pin 1. Each kind says what it computes.
class cOneInputCruncher : public cGadget {
 public:
  bool hasNumberOutput(int pin) override;
  void step() override;

  uint8_t signalResult = 0;

 protected:
  cOneInputCruncher() = default;
  explicit cOneInputCruncher(const cGadgetRecord& record) : cGadget(record) {}

 private:
  virtual void compute(double x) = 0;
};

// One input; values[0] chooses the function: 0 square root, 1 square,
// 2 factorial, 3 sine, 4 cosine, 5 tangent (of degrees), 6 integer part.
class cOneNumberCruncher : public cOneInputCruncher {
 public:
  explicit cOneNumberCruncher(cPoint dropPoint);
  explicit cOneNumberCruncher(const cGadgetRecord& record);
  void draw(CWinGDib& surface, const cRect& clip) override;

 private:
  void compute(double x) override;

  static inline cKindShare share_{{.artwork = 1024, .positionTable = 1024, .sound = kCrunchSound}};
  cKindHold hold_{share_};
};

// One input; values[0] chooses the conversion: 0 Celsius to Fahrenheit,
// 1 back, 2 metres to feet, 3 back, 4 kilograms to pounds, 5 back.
class cConversion : public cOneInputCruncher {
 public:
  explicit cConversion(cPoint dropPoint);
  explicit cConversion(const cGadgetRecord& record);
  void draw(CWinGDib& surface, const cRect& clip) override;

 private:
  void compute(double x) override;

  static inline cKindShare share_{{.artwork = 1026, .positionTable = 1026, .sound = kCrunchSound}};
  cKindHold hold_{share_};
};

// One input; bools[0] chooses the shape: 0 area of a square of side x,
// 1 area of a circle of radius x, 2 volume of a cube, 3 volume of a sphere.
class cAreaVolume : public cOneInputCruncher {
 public:
  explicit cAreaVolume(cPoint dropPoint);
  explicit cAreaVolume(const cGadgetRecord& record);
  void draw(CWinGDib& surface, const cRect& clip) override;

 private:
  void compute(double x) override;

  static inline cKindShare share_{{.artwork = 1025, .positionTable = 1025, .sound = kCrunchSound}};
  cKindHold hold_{share_};
};
