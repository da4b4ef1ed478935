#include "gadgets/comparison.h"

namespace {

constexpr cKindPlan kPlan{.typeCode = "Comp"_tc};
constexpr uint8_t kEqual = 2;
constexpr uint8_t kRelations = 6;
// The frame of each relation.
constexpr int kRelationFrames[kRelations] = {2, 1, 4, 3, 6, 5};

}  // namespace

cComparison::cComparison(cPoint dropPoint) {
  settings.bools[0] = kEqual;
  completeKind(*this, share_, kPlan, &dropPoint);
}

cComparison::cComparison(const cGadgetRecord& record) : cGadget(record) { completeKind(*this, share_, kPlan, nullptr); }

bool cComparison::hasBoolOutput(int) { return true; }
bool cComparison::boolOutput(int) { return boolOut; }

void cComparison::step() {
  const double x = inputValue(0), y = inputValue(1);
  switch (settings.bools[0]) {
    case 0: boolOut = x < y; break;
    case 1: boolOut = x > y; break;
    case 2: boolOut = x == y; break;
    case 3: boolOut = x != y; break;
    case 4: boolOut = x <= y; break;
    case 5: boolOut = x >= y; break;
    default: break;  // a relation this gadget does not know leaves the answer as it was
  }
  passSignals(*this, 2);
}

void cComparison::draw(CWinGDib& surface, const cRect& clip) {
  const uint8_t relation = settings.bools[0];
  // A relation this gadget does not know still shows the gadget.
  drawSingleFrame(*this, share_, relation < kRelations ? kRelationFrames[relation] : 1, surface, clip);
}
