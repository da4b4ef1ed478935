// The calculators in small inventions: sources on the inputs, a probe on the
// output, saved and loaded before they run.
#include "gadgets/crunchers.h"

#include <cmath>
#include <optional>

#include "gadgets/gadgets_testing.h"

using namespace gadgettest;

namespace {

// More than the seven steps of more than 9 ticks (70 ticks, 1167 ms) take.
constexpr uint32_t kComputeMs = 1300;

class Crunchers : public GadgetTest {
 protected:
  // A calculator with its setting and a source on each input it is given.
  cGadget* build(cTypeCode kind, int setting, double x, std::optional<double> y = std::nullopt) {
    const cRig r = rig(kind, {x, y}, [&](cGadget& g) {
      if (setting < 0) return;
      if (kind == "ArVo"_tc) g.settings.bools[0] = static_cast<uint8_t>(setting);
      else g.settings.values[0] = setting;
    });
    left = r.in[0];
    top = r.in[1];
    out = r.out;
    return r.gadget;
  }
  double result(cGadget* g) { return g->numberOutput(g->pinCount - 1); }

  cTestSource* left = nullptr;
  cTestSource* top = nullptr;
  cTestProbe* out = nullptr;
};

struct cCrunchCase {
  cTypeCode kind;
  int setting;  // values[0] (bools[0] for "ArVo"); -1 keeps the default
  double x;
  std::optional<double> y;
  double result;
  bool error;
  double tolerance = 0.0;  // relative; 0 asks for the exact double
};

const cCrunchCase kCases[] = {
    // The two-input calculators: x on the left input, y on the top one.
    {"Addr"_tc, -1, 2.0, 3.0, 5.0, false},
    {"Addr"_tc, -1, 1e308, 1e308, 0.0, true},  // beyond the largest double
    {"Subr"_tc, -1, 10.0, 3.0, 7.0, false},
    {"Subr"_tc, -1, -1e308, 1e308, 0.0, true},
    {"Mulr"_tc, -1, 6.0, -7.0, -42.0, false},
    {"Mulr"_tc, -1, 1e200, 1e200, 0.0, true},
    {"Mulr"_tc, -1, 1e300, 0.5, 5e299, false},
    {"Divr"_tc, -1, 1.0, 4.0, 0.25, false},
    {"Divr"_tc, -1, 5.0, -0.5, -10.0, false},
    {"Divr"_tc, -1, 7.0, 0.0, 0.0, true},
    {"Divr"_tc, -1, 1e308, 1e-10, 0.0, true},
    // The function machine.
    {"1ncr"_tc, 0, 2.0, {}, 1.4142135623730951, false},
    {"1ncr"_tc, 0, -4.0, {}, 0.0, true},
    {"1ncr"_tc, 1, 12.0, {}, 144.0, false},
    {"1ncr"_tc, 1, 1.5e154, {}, 0.0, true},
    {"1ncr"_tc, 2, 3.9, {}, 6.0, false},
    {"1ncr"_tc, 2, 0.0, {}, 1.0, false},
    {"1ncr"_tc, 2, -1.0, {}, 0.0, true},
    {"1ncr"_tc, 2, 170.0, {}, 7.257415615307994e306, false, 1e-13},
    {"1ncr"_tc, 2, 171.0, {}, 0.0, true},
    {"1ncr"_tc, 3, 30.0, {}, 0.5, false, 1e-12},
    {"1ncr"_tc, 4, 60.0, {}, 0.5, false, 1e-12},
    {"1ncr"_tc, 5, 45.0, {}, 1.0, false, 1e-12},
    {"1ncr"_tc, 6, -2.5, {}, -3.0, false},
    {"1ncr"_tc, 6, 7.9, {}, 7.0, false},
    {"1ncr"_tc, 9, 5.0, {}, 0.0, false},  // a function it does not know computes nothing
    // The converter.
    {"Conv"_tc, 0, 100.0, {}, 212.0, false},
    {"Conv"_tc, 0, -40.0, {}, -40.0, false},
    {"Conv"_tc, 0, -300.0, {}, 0.0, true},  // below absolute zero
    {"Conv"_tc, 1, 212.0, {}, 100.0, false, 1e-15},
    {"Conv"_tc, 1, -460.0, {}, 0.0, true},
    {"Conv"_tc, 2, 10.0, {}, 32.80839895013123, false},
    {"Conv"_tc, 2, -10.0, {}, 0.0, true},  // a negative length
    {"Conv"_tc, 3, 10.0, {}, 3.048, false},
    {"Conv"_tc, 4, 1.0, {}, 2.2046244201837775, false},
    {"Conv"_tc, 5, 10.0, {}, 4.53592, false},
    {"Conv"_tc, 5, -1.0, {}, 0.0, true},
    {"Conv"_tc, 7, -1.0, {}, 0.0, true},  // no conversion, but still no negative quantity
    // Area and volume; the sphere is the default.
    {"ArVo"_tc, -1, 3.0, {}, 27 * 4.188790204785333, false},
    {"ArVo"_tc, -1, -1.0, {}, 0.0, true},
    {"ArVo"_tc, 0, 4.0, {}, 16.0, false},
    {"ArVo"_tc, 1, 2.0, {}, 12.566370614356, false, 1e-15},
    {"ArVo"_tc, 2, 3.0, {}, 27.0, false},
    {"ArVo"_tc, 2, 1e120, {}, 0.0, true},
};

}  // namespace

TEST_F(Crunchers, ComputeTheirFunctionsAndRefuseWhatHasNoAnswer) {
  for (const cCrunchCase& c : kCases) {
    SCOPED_TRACE(typeCodeText(c.kind) + " setting " + std::to_string(c.setting) + " x " + std::to_string(c.x) +
                 (c.y ? " y " + std::to_string(*c.y) : ""));
    ws->removeEverything();
    cGadget* g = build(c.kind, c.setting, c.x, c.y);
    ASSERT_TRUE(g && out);
    runFor(kComputeMs);
    if (c.tolerance > 0.0)
      EXPECT_NEAR(result(g), c.result, std::fabs(c.result) * c.tolerance);
    else
      EXPECT_EQ(result(g), c.result);
    EXPECT_EQ(out->value, result(g)) << "the wire carries the result";
    EXPECT_EQ(g->inputError, c.error);
    stop();
    EXPECT_EQ(result(g), 0.0) << "Stop clears the result";
    EXPECT_FALSE(g->inputError) << "and the error";
  }
}

TEST_F(Crunchers, TheResultComesAfterSevenStepsOfMoreThanNineTicks) {
  cGadget* adder = build("Addr"_tc, -1, 2.0, 3.0);
  sounds->forget();
  startRun();
  std::vector<uint32_t> stepTicks;
  uint8_t lastStep = 0;
  uint32_t readyTick = 0;
  for (int ms = 0; ms < 2000 && !readyTick; ms += 5) {
    cycle();
    if (adder->animationStep != lastStep) {
      lastStep = adder->animationStep;
      if (lastStep) stepTicks.push_back(runTicks());
    }
    if (result(adder) == 5.0) readyTick = runTicks();
    if (!readyTick) {
      EXPECT_EQ(result(adder), 0.0) << "no result during the animation";
    }
  }
  ASSERT_EQ(stepTicks.size(), 7u) << "steps 1 to 7";
  for (size_t i = 1; i < stepTicks.size(); ++i) EXPECT_GE(stepTicks[i] - stepTicks[i - 1], 10u);
  EXPECT_GE(readyTick - stepTicks.back(), 10u);
  EXPECT_GE(readyTick, 70u);
  EXPECT_LE(readyTick, 72u) << "about 1.2 seconds";
  EXPECT_EQ(adder->animationStep, 0);
  EXPECT_EQ(sounds->played(kCrunchSound), 1) << "one sound as the computation starts";
  EXPECT_EQ(out->signals, 0) << "Run's computation brought no signal";
}

TEST_F(Crunchers, EveryKindComputesOnceAtRunFromWhatIsWired) {
  // Even an input of 0 counts as changed at Run; an unwired gadget stays idle.
  const struct {
    cTypeCode kind;
    int setting;
    std::optional<double> y;
    double result;
  } cases[] = {{"Addr"_tc, -1, 0.0, 0.0},      {"Subr"_tc, -1, 0.0, 0.0}, {"Mulr"_tc, -1, 0.0, 0.0},
               {"1ncr"_tc, 4, {}, 1.0}, {"Conv"_tc, 0, {}, 32.0}, {"ArVo"_tc, -1, {}, 0.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(typeCodeText(c.kind));
    ws->removeEverything();
    cGadget* g = build(c.kind, c.setting, 0.0, c.y);
    sounds->forget();
    runFor(kComputeMs);
    EXPECT_EQ(sounds->played(kCrunchSound), 1);
    EXPECT_EQ(result(g), c.result);
    stop();

    ws->removeEverything();
    cGadget* alone = place(c.kind);
    sounds->forget();
    runFor(200);
    EXPECT_EQ(alone->animationStep, 0);
    EXPECT_EQ(sounds->played(kCrunchSound), 0);
    stop();
  }
}

TEST_F(Crunchers, ASignalledStartSignalsTheResultAndAChangeAloneDoesNot) {
  for (cTypeCode kind : {"Subr"_tc, "1ncr"_tc, "Conv"_tc, "ArVo"_tc}) {
    SCOPED_TRACE(typeCodeText(kind));
    ws->removeEverything();
    const bool twoInputs = kind == "Subr"_tc;
    cGadget* g = build(kind, -1, 1.0, twoInputs ? std::optional<double>(1.0) : std::nullopt);
    runFor(kComputeMs);
    const double first = result(g);

    // A change alone: computed and shown, not signalled.
    left->value = 4.0;
    runFor(kComputeMs);
    EXPECT_NE(result(g), first);
    EXPECT_EQ(out->signals, 0);

    // A signal with an unchanged value: computed again, and signalled when the result is there.
    left->emit();
    runFor(1000);
    EXPECT_EQ(out->signals, 0) << "not before the animation ends";
    runFor(300);
    EXPECT_EQ(out->signals, 1);
    stop();
  }
}

TEST_F(Crunchers, InputsAreReadWhenTheAnimationEndsAndLateSignalsWait) {
  cGadget* adder = build("Addr"_tc, -1, 1.0, 1.0);
  runFor(kComputeMs);
  ASSERT_EQ(result(adder), 2.0);

  left->emit();
  runFor(500);
  ASSERT_NE(adder->animationStep, 0);
  left->value = 10.0;  // changes during the animation count
  top->emit();         // and a signal then waits on its wire
  runFor(10);
  EXPECT_TRUE(adder->wireAt(1)->signal);
  runFor(800);
  EXPECT_EQ(result(adder), 11.0);
  EXPECT_EQ(out->signals, 1);
  EXPECT_FALSE(adder->wireAt(1)->signal) << "taken by the next computation";
  EXPECT_NE(adder->animationStep, 0);
  runFor(kComputeMs);
  EXPECT_EQ(out->signals, 2);
  EXPECT_EQ(adder->animationStep, 0);
}

TEST_F(Crunchers, DivisionByZeroRecoversOnTheNextGoodDivision) {
  cGadget* divider = build("Divr"_tc, -1, 1.0, 0.0);
  runFor(kComputeMs);
  EXPECT_TRUE(divider->inputError);
  EXPECT_EQ(result(divider), 0.0);

  top->value = 4.0;
  runFor(300);
  ASSERT_NE(divider->animationStep, 0);
  EXPECT_TRUE(divider->inputError) << "the marker stays during the next computation";
  EXPECT_EQ(result(divider), 0.0);
  runFor(kComputeMs);
  EXPECT_FALSE(divider->inputError);
  EXPECT_EQ(result(divider), 0.25);
}

TEST_F(Crunchers, OverflowLastsUntilStopEvenWhenTheInputsBecomeSmall) {
  for (cTypeCode kind : {"Mulr"_tc, "Addr"_tc}) {
    SCOPED_TRACE(typeCodeText(kind));
    ws->removeEverything();
    const double large = kind == "Mulr"_tc ? 1e200 : 1.7e308;
    cGadget* g = build(kind, -1, large, large);
    runFor(kComputeMs);
    EXPECT_TRUE(g->inputError);
    left->value = 2.0;
    top->value = 3.0;
    runFor(2 * kComputeMs);
    EXPECT_TRUE(g->inputError);
    EXPECT_EQ(result(g), 0.0);
    stop();
    EXPECT_FALSE(g->inputError);
    runFor(kComputeMs);
    EXPECT_EQ(result(g), kind == "Mulr"_tc ? 6.0 : 5.0);
    stop();
  }
}
