// The one list of the gadget kinds this program can make.
#pragma once

class cGadgetFactory;

// Enters every built kind into the factory, one line per kind.
void registerGadgetKinds(cGadgetFactory& factory);
// Enters them into the program's factory, once.
void installGadgetKinds();
