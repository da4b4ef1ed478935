#include "gadgets/registry.h"

#include "engine/factory.h"

void registerGadgetKinds(cGadgetFactory& factory) {
  // One line per kind, as each kind is built:
  //   factory.add<cAndGate>("AndG"_tc);
  (void)factory;
}

void installGadgetKinds() {
  static const bool installed = [] {
    registerGadgetKinds(gadgetFactory());
    return true;
  }();
  (void)installed;
}
