// Combo texts: the entries of a property dialog's lists, resource type 1022,
// with the id of the dialog template, in the editor's own module.
//
// A sequence of records without padding, little-endian:
//
//   offset  size  field
//   0       2     control id (0 ends the list)
//   2       2     message: 1027 adds the text to a combo box, 1025 to a
//                 list box; other messages go to the control unchanged
//   4       4     text length n in bytes, the terminating zero included
//   8       n     the text, Windows-1252, zero-terminated
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr uint16_t kComboTextResourceType = 1022;
inline constexpr uint16_t kMessageAddComboString = 1027;
inline constexpr uint16_t kMessageAddListString = 1025;

struct cComboText {
  uint16_t control = 0;
  uint16_t message = kMessageAddComboString;
  std::string text;  // Windows-1252, without the terminating zero

  friend bool operator==(const cComboText&, const cComboText&) = default;
};

// The records up to the end marker. A record that runs past the end of the
// resource, or whose length is 0, ends the list there; the text stops at
// its first zero byte.
std::vector<cComboText> parseComboTexts(std::span<const uint8_t> bytes);
// The resource bytes of the records, with the end marker.
std::vector<uint8_t> comboTextBytes(const std::vector<cComboText>& records);
