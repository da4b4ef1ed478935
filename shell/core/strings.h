// String tables: the texts of the numbered strings (alerts, kind names, the
// document template) in resources of type 6, as the resource compiler makes them.
//
// String n lives in block n / 16 + 1 at index n % 16. A block holds 16
// strings one after the other, each a u16 count of UTF-16 units (little-
// endian) followed by that many units; an absent string has count 0.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/core/resources.h"

inline constexpr uint16_t kStringResourceType = 6;

// String id in the module, as UTF-8; nothing when the block or the string is missing.
std::optional<std::string> loadString(cResourceModule& module, uint16_t id);
// String id of the program's own module; a missing block shows the retry box.
std::string loadString(uint16_t id);

// Blocks (block id -> bytes) that hold the given strings.
std::map<uint16_t, std::vector<uint8_t>> makeStringTable(const std::map<uint16_t, std::string>& strings);

// UTF-16 little-endian units to UTF-8; a lone surrogate becomes U+FFFD.
std::string utf16leToUtf8(const uint8_t* units, size_t count);
std::u16string utf8ToUtf16(std::string_view text);
