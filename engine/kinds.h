// The 64 gadget kinds: what the factory, the tray, the file reader and the
// export know of each kind without building one.
//
// Kind numbers run from 1 to 64 in the order of the tray's tables; string
// 2500 + kind number holds the kind's short name. The artwork number names
// the kind's frame set (resource type 1004); the pin table is a resource of
// type 1014 (0 = the kind has no pins); the text number is the id of the
// kind's property dialog and of its description text.
#pragma once

#include <cstdint>
#include <span>

#include "shell/core/types.h"

struct cKindInfo {
  uint8_t number;          // 1..64
  cTypeCode typeCode;      // chunk id in the invention file; letter case counts
  const char* className;   // "cPendulum"
  const char* name;        // dialog title, UTF-8 ("Pendul")
  uint16_t artwork;        // frame set id; 0 = none (the text label)
  uint16_t pinTable;       // pin table id; 0 = no pins
  uint16_t textNumber;     // property dialog and description text
};

inline constexpr int kKindCount = 64;
// String-table id of a kind's short name.
inline constexpr int kKindNameStringBase = 2500;

// All kinds, in kind-number order (entry i is kind number i + 1).
std::span<const cKindInfo> kindTable();
// Exact comparison of the code; null for a code that names no kind.
const cKindInfo* kindByCode(cTypeCode code);
// Null outside 1..64.
const cKindInfo* kindByNumber(int number);

// The seven drawers of the tray: each a zero-terminated list of kind numbers
// in which kPageBreak forces a new page.
inline constexpr int kDrawerCount = 7;
inline constexpr int8_t kPageBreak = -2;
std::span<const int8_t> drawerKinds(int drawer);  // drawer 0..6, without the terminating 0
