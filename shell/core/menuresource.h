// Menu resources (type 4), as the resource compiler writes a MENU: the menu
// bars of the programs are built from them.
//
//   offset  size  field
//   0       2     version, 0
//   2       2     bytes of header after this field, 0
//   4       ...   items, one after the other:
//                   u16 flags
//                   u16 command id        (not for a pop-up)
//                   UTF-16LE text, ending in a 0 unit
//
// Flags: 0x0001 greyed, 0x0002 inactive, 0x0008 checked, 0x0010 pop-up (its
// items follow it up to one marked 0x0080, the last of its list), 0x0080 the
// last item of its list. A separator is an item with flags 0, id 0 and an
// empty text. All numbers are little-endian.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

inline constexpr uint16_t kMenuResourceType = 4;

struct cMenuItem {
  std::string text;  // UTF-8, with "&" before the mnemonic and "\t" before an accelerator
  uint16_t command = 0;
  bool popup = false;
  bool separator = false;
  bool greyed = false;
  bool checked = false;
  std::vector<cMenuItem> items;  // a pop-up's items
};

// The menu bar's items; nothing (with the reason in Danish) when the bytes
// are not a whole menu of this kind.
std::optional<std::vector<cMenuItem>> parseMenuResource(std::span<const uint8_t> bytes, std::string* error = nullptr);
// The same for menu `id` of the program's own module (the retry box when it is missing).
std::optional<std::vector<cMenuItem>> ownMenu(uint16_t id);
