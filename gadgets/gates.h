// The logic gates: numbers in, true or false out.
//
//   kind      code    artwork  pins
//   cAndGate  "AndG"  1029     0 in (4,15), 1 in (4,31), 2 out (75,23)
//   cOrGate   "OrGa"  1030     as cAndGate
//   cXorGate  "XorG"  1031     as cAndGate
//   cNotGate  "NotG"  1032     0 in (4,23), 1 out (75,23)
//
// An input counts as true when it is a number other than 0. The result
// follows the inputs at once, every cycle; a signal goes out only in a cycle
// in which an input brought one. The gates have no settings and no sound, and
// their picture does not show the result.
#pragma once

#include "engine/gadget.h"
#include "gadgets/kindshare.h"

// The two-input gates' common part: the result on every pin is boolOut.
class cGate : public cGadget {
 public:
  bool hasBoolOutput(int pin) override;
  bool boolOutput(int pin) override;

 protected:
  cGate() = default;
  explicit cGate(const cGadgetRecord& record) : cGadget(record) {}

  // One cycle of a two-input gate with its rule.
  void stepTwoInputs(bool (*rule)(bool a, bool b));
};

class cAndGate : public cGate {
 public:
  explicit cAndGate(cPoint dropPoint);
  explicit cAndGate(const cGadgetRecord& record);
  void draw(CWinGDib& surface, const cRect& clip) override;
  void step() override;

 private:
  static inline cKindShare share_{{.artwork = 1029}};
  cKindHold hold_{share_};
};

class cOrGate : public cGate {
 public:
  explicit cOrGate(cPoint dropPoint);
  explicit cOrGate(const cGadgetRecord& record);
  void draw(CWinGDib& surface, const cRect& clip) override;
  void step() override;

 private:
  static inline cKindShare share_{{.artwork = 1030}};
  cKindHold hold_{share_};
};

class cXorGate : public cGate {
 public:
  explicit cXorGate(cPoint dropPoint);
  explicit cXorGate(const cGadgetRecord& record);
  void draw(CWinGDib& surface, const cRect& clip) override;
  void step() override;

 private:
  static inline cKindShare share_{{.artwork = 1031}};
  cKindHold hold_{share_};
};

// Not a cGate: one input, and an unwired NOT gate gives false.
class cNotGate : public cGadget {
 public:
  explicit cNotGate(cPoint dropPoint);
  explicit cNotGate(const cGadgetRecord& record);
  void draw(CWinGDib& surface, const cRect& clip) override;
  bool hasBoolOutput(int pin) override;
  bool boolOutput(int pin) override;
  void step() override;

 private:
  static inline cKindShare share_{{.artwork = 1032}};
  cKindHold hold_{share_};
};
