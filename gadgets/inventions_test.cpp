// Whole inventions, written as text in testdata/gadgets/, run by the
// headless runner as zanbel-cli runs them; and the example invention that
// comes with the program.
#include <algorithm>
#include <cmath>
#include <vector>

#include "gadgets/constants.h"
#include "gadgets/gadgets_testing.h"

using namespace gadgettest;

namespace {

class Inventions : public GadgetTest {};

// What one output pin holds when the run ends. Gadgets are named by their
// place in the file (keys 0xFF000001, 0xFF000002, ...).
struct cWant {
  int gadget;
  int pin;
  double value;  // true and false as 1 and 0
  bool error = false;
  double tolerance = 0.0;  // relative
};

struct cInventionCase {
  const char* file;
  uint32_t ms;
  std::vector<cClickEvent> clicks;
  std::vector<cWant> wants;
};

cClickEvent click(int x, int y, uint32_t atMs) { return {cPoint(y, x), atMs}; }

const cInventionCase kCases[] = {
    {"porte",
     3000,
     {},
     {{3, 2, 1},      // 2 and 5
      {6, 2, 0},      // 0 and 5
      {9, 2, 0},      // 0 or 0
      {0xc, 2, 0},    // 2 xor 5
      {0xf, 2, 1},    // 0 xor 5
      {0x11, 1, 1},   // not 0
      {0x13, 1, 0},   // not 5
      {0x14, 1, 0},   // not, without a wire
      {0x19, 2, -0.5},
      {0x1b, 2, 1}}},  // 2 and -0.5
    {"regnemaskiner",
     2000,
     {},
     {{3, 2, 15},
      {6, 2, 7},
      {9, 2, 42},
      {0xc, 2, 0.25},
      {0xf, 2, 0, true},  // 5 / 0
      {0x11, 1, 1.4142135623730951},
      {0x13, 1, 120},
      {0x15, 1, 0.5, false, 1e-12},  // sine of 30 degrees
      {0x17, 1, 7},
      {0x19, 1, 212},
      {0x1b, 1, 32.80839895013123},
      {0x1d, 1, 22.046244201837773},
      {0x1f, 1, 27 * 4.188790204785333},
      {0x21, 1, 4 * 3.141592653589}}},
    {"regnekaeder",
     5000,
     {},
     {{2, 1, 7.257415615307994e306, false, 1e-13},  // 170!
      {4, 2, 0, true},                              // 170! x 999
      {0xa, 1, -3},                                 // integer part of -2.5
      {0xe, 1, 0, true},                            // -300 degrees Celsius
      {0x12, 1, 0, true},                           // -10 metres
      {0x16, 1, 0, true}}},                         // a sphere of radius -1
    {"konstanter",
     6000,
     {click(72, 33, 1000), click(96, 158, 1000), click(216, 258, 2000), click(216, 258, 2300),
      click(216, 258, 2600), click(216, 258, 2900)},
     {{1, 0, 995},   // the tens arrow refused
      {3, 2, 1},     // 995 = 995
      {4, 0, 6},     // 5 and one up
      {6, 2, 16},    // 6 + 10
      {7, 0, 4},     // 0 and four up
      {9, 2, 0.25},  // 1 / 4, the error gone
      {0xb, 1, 0}}},
};

}  // namespace

TEST_F(Inventions, EachFamilyGivesItsResults) {
  for (const cInventionCase& c : kCases) {
    SCOPED_TRACE(c.file);
    loadText(c.file);
    sounds->forget();
    cRunPlan plan;
    plan.milliseconds = c.ms;
    plan.cycleMs = 5;
    plan.clicks = c.clicks;
    runner->run(plan);
    for (const cWant& w : c.wants) {
      const uint32_t key = 0xFF000000u | uint32_t(w.gadget);
      SCOPED_TRACE("gadget " + std::to_string(w.gadget) + " pin " + std::to_string(w.pin));
      const cPinValue v = valueOf(key, w.pin);
      const double got = v.kind == cPinValue::boolean ? (v.flag ? 1.0 : 0.0) : v.value;
      if (w.tolerance > 0) EXPECT_NEAR(got, w.value, std::fabs(w.value) * w.tolerance);
      else EXPECT_EQ(got, w.value);
      const cGadget* g = ws->gadgetByKey(key);
      ASSERT_NE(g, nullptr);
      EXPECT_EQ(g->inputError, w.error);
    }
    if (c.file == std::string("konstanter")) {
      EXPECT_EQ(sounds->played(kRefusalSound), 1) << "only the click on 995 is refused";
    }
    runner->stop();
  }
}

TEST_F(Inventions, TheExamplesComparatorAndSmallConstantsWork) {
  const std::vector<uint8_t> image =
      inventionFromText(std::string(ZANBEL_SOURCE_DIR) + "/resources/examples/eksempel.txt");
  cReadReport report;
  ASSERT_TRUE(runner->load(image, &report));
  for (const cReadNote& n : report.notes)
    EXPECT_TRUE(n.chunkId != "Comp"_tc && n.chunkId != "MiCo"_tc) << describeReadNote(n);

  cRunPlan plan;
  plan.milliseconds = 12000;
  plan.cycleMs = 5;
  runner->run(plan);
  std::vector<double> constants;
  int comparators = 0;
  for (cGadget* g : ws->gadgets) {
    if (g->typeCode == "MiCo"_tc) constants.push_back(g->numberOutput(0));
    if (g->typeCode != "Comp"_tc) continue;
    ++comparators;
    EXPECT_EQ(g->settings.bools[0], 5) << "greater than or equal";
    EXPECT_EQ(g->boolOutput(2), g->inputValue(0) >= g->inputValue(1));
  }
  EXPECT_EQ(comparators, 1);
  std::sort(constants.begin(), constants.end());
  EXPECT_EQ(constants, (std::vector<double>{0, 1, 10}));
}
