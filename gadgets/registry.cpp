#include "gadgets/registry.h"

#include "engine/factory.h"
#include "gadgets/comparison.h"
#include "gadgets/constants.h"
#include "gadgets/crunchers.h"
#include "gadgets/gates.h"

void registerGadgetKinds(cGadgetFactory& factory) {
  // One line per kind.
  factory.add<cAdder>("Addr"_tc);
  factory.add<cSubtracter>("Subr"_tc);
  factory.add<cMultiplier>("Mulr"_tc);
  factory.add<cDivider>("Divr"_tc);
  factory.add<cConstant>("cnst"_tc);
  factory.add<cOneNumberCruncher>("1ncr"_tc);
  factory.add<cAreaVolume>("ArVo"_tc);
  factory.add<cConversion>("Conv"_tc);
  factory.add<cComparison>("Comp"_tc);
  factory.add<cAndGate>("AndG"_tc);
  factory.add<cOrGate>("OrGa"_tc);
  factory.add<cXorGate>("XorG"_tc);
  factory.add<cNotGate>("NotG"_tc);
  factory.add<cMiniConstant>("MiCo"_tc);
}

void installGadgetKinds() {
  static const bool installed = [] {
    registerGadgetKinds(gadgetFactory());
    return true;
  }();
  (void)installed;
}
