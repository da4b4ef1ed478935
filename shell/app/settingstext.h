// A gadget's settings block as text, in the words of the invention sources
// (tools/invention): one line per setting, under the gadget's type code.
//
//   gadget AndG
//     choice 0 3          bools[0]
//     number 1 2          values[1]
//     flag 5              bit 5 of flags32 (only the bits that are set)
//     text 0 "Linie 1"    texts[0], UTF-8, with \" \\ \r \n escaped
//     longtext "..."      the one 240-byte text of a kind that has it
#pragma once

#include <string>

#include "engine/gadget.h"

std::string settingsText(const cGadget& gadget);
