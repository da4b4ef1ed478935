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
    const cRig r = rig("Comp"_tc, {0.0, 0.0}, [&](cGadget& g) { g.settings.bools[0] = uint8_t(c.relation); });
    ASSERT_TRUE(r);
    cGadget* comp = r.gadget;
    cTestSource *x = r.in[0], *y = r.in[1];
    cTestProbe* out = r.out;
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
  const cRig r = rig("Comp"_tc, {1.0, 2.0});
  ASSERT_TRUE(r);
  cGadget* comp = r.gadget;
  cTestSource *x = r.in[0], *y = r.in[1];
  cTestProbe* out = r.out;
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
