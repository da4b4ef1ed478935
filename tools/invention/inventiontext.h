// Inventions written as text: the readable source of the example invention
// (and of test inventions), compiled into the invention file's bytes.
//
//   # a comment runs to the end of the line
//   version 4                       the file version (4 when left out)
//   background stål                 none, sand, bølger, stål, or 0, 700, 701, 702
//   gadget CODE NAME x X y Y [key K] [locked]
//     choice I N                    bools[I] := N          (I = 0..3)
//     number I N                    values[I] := N         (I = 0..3)
//     flag B                        bit B of flags32 set   (B = 0..31)
//     text I "..."                  texts[I], at most 59 bytes
//     longtext "..."                the one 240-byte text, at most 239 bytes
//   wire NAME.PIN -> NAME.PIN [via X,Y X,Y ...] [locked]
//   limit CODE N                    the tray offers N more parts of the kind
//
// Gadgets are listed in file order: the first is the back of the worksheet's
// list, the last its front. Positions are x (across) and y (down) of the
// gadget's top-left corner; knots are x,y too. NAME is any word that names
// the gadget in the wires. Keys are 0xFF000001, 0xFF000002, ... in file order
// unless given. Texts are UTF-8 here and Windows-1252 in the file; "\"" and
// "\\" escape. Settings lines belong to the gadget above them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct cInventionTextResult {
  std::vector<uint8_t> image;
  std::string error;  // "linje N: ..." in Danish; empty on success
  bool ok() const { return error.empty(); }
};

cInventionTextResult compileInventionText(const std::string& source);
