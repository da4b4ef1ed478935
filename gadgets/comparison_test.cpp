// The comparator in small inventions.
#include "gadgets/comparison.h"

#include "gadgets/gadgets_testing.h"

using namespace gadgettest;

namespace {

class Comparison : public GadgetTest {};

}  // namespace

TEST_F(Comparison, EveryRelationOnLessEqualAndGreater) {
  // For each relation: the answers for x < y, x = y and x > y.
  const struct {
    int relation;
    bool less, equal, greater;
  } cases[] = {{0, true, false, false}, {1, false, false, true}, {2, false, true, false},
               {3, true, false, true},  {4, true, true, false},  {5, false, true, true}};
  const double pairs[3][2] = {{-1.5, 2.0}, {2.0, 2.0}, {3.0, 2.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE("relation " + std::to_string(c.relation));
    ws->removeEverything();
    auto* comp = place<cComparison>("Comp"_tc);
    comp->settings.bools[0] = static_cast<uint8_t>(c.relation);
    cTestSource* x = source(0.0);
    cTestSource* y = source(0.0);
    wire(x, 0, comp, 0);
    wire(y, 0, comp, 1);
    cTestProbe* out = probe();
    wire(comp, 2, out, 0);
    reload(comp, x, y, out);
    ASSERT_TRUE(comp && x && y && out);
    const bool expected[3] = {c.less, c.equal, c.greater};
    for (int i = 0; i < 3; ++i) {
      x->value = pairs[i][0];
      y->value = pairs[i][1];
      runFor(10);
      EXPECT_EQ(comp->boolOutput(2), expected[i]) << pairs[i][0] << " against " << pairs[i][1];
      EXPECT_EQ(out->value, expected[i] ? 1.0 : 0.0);
    }
    EXPECT_EQ(out->signals, 0);
    stop();
  }
}

TEST_F(Comparison, NewOnesAskWhetherTheNumbersAreEqualAndUnwiredInputsReadZero) {
  auto* comp = place<cComparison>("Comp"_tc);
  EXPECT_EQ(comp->settings.bools[0], 2);
  runFor(10);
  EXPECT_TRUE(comp->boolOutput(2)) << "0 = 0";
}

TEST_F(Comparison, PassesASignalOnWhenEitherInputBringsOne) {
  auto* comp = place<cComparison>("Comp"_tc);
  cTestSource* x = source(1.0);
  cTestSource* y = source(2.0);
  wire(x, 0, comp, 0);
  wire(y, 0, comp, 1);
  cTestProbe* out = probe();
  wire(comp, 2, out, 0);
  runFor(50);
  x->emit();
  runFor(50);
  EXPECT_EQ(out->signals, 1);
  x->emit();
  y->emit();
  runFor(50);
  EXPECT_EQ(out->signals, 2) << "two signals in one cycle make one";
  EXPECT_FALSE(comp->wireAt(0)->signal);
  EXPECT_FALSE(comp->wireAt(1)->signal);
}
