// The logic gates in small inventions: sources on the inputs, a probe on the
// output, saved and loaded before they run.
#include "gadgets/gates.h"

#include <cmath>
#include <optional>

#include "gadgets/gadgets_testing.h"

using namespace gadgettest;

namespace {

class Gates : public GadgetTest {};

constexpr double kNaN = NAN;

struct cTwoInputCase {
  cTypeCode kind;
  std::optional<double> a, b;  // none: the input has no wire
  bool result;
};

const cTwoInputCase kTwoInputCases[] = {
    {"AndG"_tc, 2.0, -0.5, true},
    {"AndG"_tc, 0.0, 5.0, false},
    {"AndG"_tc, 3.0, std::nullopt, false},
    {"AndG"_tc, kNaN, 1.0, false},  // a value that is not a number is false
    {"AndG"_tc, std::nullopt, std::nullopt, false},
    {"OrGa"_tc, 0.0, 0.0, false},
    {"OrGa"_tc, 0.0, -7.0, true},
    {"OrGa"_tc, 1e-300, std::nullopt, true},
    {"OrGa"_tc, std::nullopt, std::nullopt, false},
    {"XorG"_tc, 1.0, 2.0, false},
    {"XorG"_tc, 0.0, 0.0, false},
    {"XorG"_tc, 0.0, 4.0, true},
    {"XorG"_tc, -1.0, std::nullopt, true},
    {"XorG"_tc, std::nullopt, std::nullopt, false},
};

}  // namespace

TEST_F(Gates, TwoInputGatesTreatEveryNumberButZeroAsTrue) {
  for (const cTwoInputCase& c : kTwoInputCases) {
    SCOPED_TRACE(typeCodeText(c.kind) + " " + (c.a ? std::to_string(*c.a) : "-") + " " +
                 (c.b ? std::to_string(*c.b) : "-"));
    ws->removeEverything();
    const cRig r = rig(c.kind, {c.a, c.b});
    ASSERT_TRUE(r);
    cGadget* gate = r.gadget;
    runFor(20);
    EXPECT_TRUE(gate->hasBoolOutput(2));
    EXPECT_EQ(gate->boolOutput(2), c.result);
    EXPECT_EQ(r.out->value, c.result ? 1.0 : 0.0) << "a number input reads true as 1 and false as 0";
    EXPECT_EQ(r.out->signals, 0) << "no input brought a signal";
    stop();
    EXPECT_FALSE(gate->boolOutput(2)) << "Stop clears the result";
  }
}

TEST_F(Gates, NotGateInvertsItsWireAndGivesFalseWithoutOne) {
  const struct {
    std::optional<double> input;
    bool result;
  } cases[] = {{std::nullopt, false}, {0.0, true}, {3.0, false}, {-0.25, false}, {kNaN, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input ? std::to_string(*c.input) : "no wire");
    ws->removeEverything();
    const cRig r = rig("NotG"_tc, {c.input});
    ASSERT_TRUE(r);
    runFor(20);
    EXPECT_EQ(r.gadget->boolOutput(1), c.result);
    EXPECT_EQ(r.out->value, c.result ? 1.0 : 0.0);
    stop();
  }
}

TEST_F(Gates, NotGateReadsTrueAndFalseSourcesAsTheyAre) {
  // A gate's output on the input of a NOT gate: the NOT of an AND.
  auto* andGate = place<cAndGate>("AndG"_tc);
  cTestSource* a = source(1.0);
  wire(a, 0, andGate, 0);
  wire(source(1.0), 0, andGate, 1);
  auto* notGate = place<cNotGate>("NotG"_tc);
  wire(andGate, 2, notGate, 0);
  runFor(20);
  EXPECT_FALSE(notGate->boolOutput(1));
  a->value = 0.0;
  runFor(20);
  EXPECT_TRUE(notGate->boolOutput(1));
}

TEST_F(Gates, SignalsPassOnlyInTheCycleAnInputBroughtOne) {
  for (cTypeCode kind : {"AndG"_tc, "OrGa"_tc, "XorG"_tc}) {
    SCOPED_TRACE(typeCodeText(kind));
    ws->removeEverything();
    const cRig r = rig(kind, {0.0, 0.0});
    ASSERT_TRUE(r);
    cGadget* gate = r.gadget;
    cTestSource *a = r.in[0], *b = r.in[1];
    cTestProbe* out = r.out;
    const cConnection* wa = gate->wireAt(0);
    const cConnection* wb = gate->wireAt(1);
    runFor(20);

    // A new value without a signal: the output follows at once, silently.
    a->value = 1.0;
    b->value = 1.0;
    cycle();
    EXPECT_EQ(gate->boolOutput(2), kind != "XorG"_tc);
    runFor(100);
    EXPECT_EQ(out->signals, 0);

    // One signal in: one signal out.
    b->emit();
    runFor(100);
    EXPECT_EQ(out->signals, 1);

    // Signals on both inputs in one cycle: both are taken, one goes out.
    a->emit();
    b->emit();
    cycle();
    EXPECT_FALSE(wa->signal);
    EXPECT_FALSE(wb->signal);
    runFor(100);
    EXPECT_EQ(out->signals, 2);
    stop();
  }
}

TEST_F(Gates, NotGatePassesASignalOn) {
  const cRig r = rig("NotG"_tc, {0.0});
  ASSERT_TRUE(r);
  cGadget* gate = r.gadget;
  cTestSource* in = r.in[0];
  cTestProbe* out = r.out;
  runFor(50);
  EXPECT_EQ(out->signals, 0);
  in->value = 5.0;
  runFor(50);
  EXPECT_FALSE(gate->boolOutput(1));
  EXPECT_EQ(out->signals, 0) << "a change without a signal sends none";
  in->emit();
  runFor(50);
  EXPECT_EQ(out->signals, 1);
}
