#include "gadgets/gates.h"

#include "engine/connection.h"

namespace {

constexpr cKindPlan kAndPlan{.typeCode = "AndG"_tc};
constexpr cKindPlan kOrPlan{.typeCode = "OrGa"_tc};
constexpr cKindPlan kXorPlan{.typeCode = "XorG"_tc};
constexpr cKindPlan kNotPlan{.typeCode = "NotG"_tc};

bool andRule(bool a, bool b) { return a && b; }
bool orRule(bool a, bool b) { return a || b; }
bool xorRule(bool a, bool b) { return a != b; }

}  // namespace

// ---- cGate ----

bool cGate::hasBoolOutput(int) { return true; }
bool cGate::boolOutput(int) { return boolOut; }

void cGate::stepTwoInputs(bool (*rule)(bool a, bool b)) {
  boolOut = rule(isTrue(inputValue(0)), isTrue(inputValue(1)));
  passSignals(*this, 2);
}

// ---- the three two-input gates ----

cAndGate::cAndGate(cPoint dropPoint) { completeKind(*this, share_, kAndPlan, &dropPoint); }
cAndGate::cAndGate(const cGadgetRecord& record) : cGate(record) { completeKind(*this, share_, kAndPlan, nullptr); }
void cAndGate::draw(CWinGDib& surface, const cRect& clip) { drawSingleFrame(*this, share_, 1, surface, clip); }
void cAndGate::step() { stepTwoInputs(andRule); }

cOrGate::cOrGate(cPoint dropPoint) { completeKind(*this, share_, kOrPlan, &dropPoint); }
cOrGate::cOrGate(const cGadgetRecord& record) : cGate(record) { completeKind(*this, share_, kOrPlan, nullptr); }
void cOrGate::draw(CWinGDib& surface, const cRect& clip) { drawSingleFrame(*this, share_, 1, surface, clip); }
void cOrGate::step() { stepTwoInputs(orRule); }

cXorGate::cXorGate(cPoint dropPoint) { completeKind(*this, share_, kXorPlan, &dropPoint); }
cXorGate::cXorGate(const cGadgetRecord& record) : cGate(record) { completeKind(*this, share_, kXorPlan, nullptr); }
void cXorGate::draw(CWinGDib& surface, const cRect& clip) { drawSingleFrame(*this, share_, 1, surface, clip); }
void cXorGate::step() { stepTwoInputs(xorRule); }

// ---- cNotGate ----

cNotGate::cNotGate(cPoint dropPoint) { completeKind(*this, share_, kNotPlan, &dropPoint); }
cNotGate::cNotGate(const cGadgetRecord& record) : cGadget(record) { completeKind(*this, share_, kNotPlan, nullptr); }

void cNotGate::draw(CWinGDib& surface, const cRect& clip) { drawSingleFrame(*this, share_, 1, surface, clip); }

bool cNotGate::hasBoolOutput(int) { return true; }
bool cNotGate::boolOutput(int) { return boolOut; }

void cNotGate::step() {
  const cConnection* wire = wireAt(0);
  if (!wire) {
    boolOut = false;
    return;
  }
  boolOut = !wire->asBool();
  if (takeSignal(0)) signalPin(1);
}
