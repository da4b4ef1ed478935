// The resources made from the text source (textsource.h).
//
// Type 1020, id = text number: the text in Windows-1252, CR LF at each line
// break, ending in one zero byte.
//
// Type 1021, id = the kind's text number (= its dialog id), one link per
// description, 8 bytes, little-endian:
//
//   offset  size  field
//   0       2     kind id (the text number)
//   2       2     0 (unused)
//   4       2     description text id (the text number)
//   6       2     tip text id (text number + 2000)
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/resfile.h"
#include "tools/texts/textsource.h"

constexpr uint16_t kHelpTextType = 1020;
constexpr uint16_t kHelpLinkType = 1021;
constexpr uint16_t kCreditsTextId = 10000;
constexpr uint16_t kTipOffset = 2000;

// The resource bytes of one text; nothing when a character has no
// Windows-1252 form (error says which).
std::optional<std::vector<uint8_t>> encodeHelpText(std::string_view utf8, std::string& error);

std::array<uint8_t, 8> helpLinkRecord(uint16_t kindTextNumber);

// Descriptions without their tip and tips without their description;
// "file:line: message" each.
std::vector<std::string> checkTextPairs(const cTextSource& source, const std::string& fileName);

struct cTextResources {
  std::vector<cResEntry> entries;  // sorted by type, then id
  std::vector<std::string> errors;
  bool ok() const { return errors.empty(); }
};

// Every text and one link per description; with onlyId just that text and
// no links. The whole source is checked either way, so a fault anywhere
// stops every output made from it.
cTextResources buildTextResources(const cTextSource& source, const std::string& fileName,
                                  std::optional<uint16_t> onlyId = std::nullopt);
