// cComparison ("Comp", artwork 1028): compares the left input x with the top
// input y, every cycle, and offers the answer as true or false.
//
//   pins: 0 in (4,36) x, 1 in (39,4) y, 2 out (72,36)
//   bools[0], the relation: 0 x < y, 1 x > y, 2 x = y (the default),
//                           3 x != y, 4 x <= y, 5 x >= y
//
// Like the gates it passes a signal on only in a cycle in which an input
// brought one. Its picture is one whole frame per relation.
#pragma once

#include "engine/gadget.h"
#include "gadgets/kindshare.h"

class cComparison : public cGadget {
 public:
  explicit cComparison(cPoint dropPoint);
  explicit cComparison(const cGadgetRecord& record);
  void draw(CWinGDib& surface, const cRect& clip) override;
  bool hasBoolOutput(int pin) override;
  bool boolOutput(int pin) override;
  void step() override;

 private:
  static inline cKindShare share_{{.artwork = 1028}};
  cKindHold hold_{share_};
};
