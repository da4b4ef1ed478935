// Dialog templates (resource type 5) as the resource compiler writes them,
// and dialog units.
//
// Extended template (DIALOGEX), little-endian, UTF-16 texts:
//
//   offset  size  field
//   0       2     dlgVer = 1
//   2       2     signature = 0xFFFF
//   4       4     helpID
//   8       4     exStyle
//   12      4     style
//   16      2     item count
//   18      8     x, y, cx, cy (signed, dialog units; cx, cy the client size)
//   26      var   menu        (sz_Or_Ord)
//           var   class       (sz_Or_Ord)
//           var   title       (zero-terminated)
//           when style has DS_SETFONT (0x40):
//           2     point size
//           2     weight
//           1     italic
//           1     charset
//           var   typeface    (zero-terminated)
//   then each item, starting on a 4-byte boundary:
//           4     helpID      (our templates: the id of the control a click passes on to)
//           4     exStyle
//           4     style
//           8     x, y, cx, cy
//           4     id
//           var   class       (sz_Or_Ord; 0x80 Button, 0x81 Edit, 0x82 Static,
//                              0x83 ListBox, 0x84 ScrollBar, 0x85 ComboBox)
//           var   text        (sz_Or_Ord)
//           2     creation data size n, then n bytes on a 2-byte boundary
//
// Plain template (DIALOG): style, exStyle, item count, x, y, cx, cy, menu,
// class, title, and with DS_SETFONT the point size and typeface; items:
// style, exStyle, x, y, cx, cy, a 16-bit id, class, text, creation data.
//
// sz_Or_Ord: 0x0000 = nothing; 0xFFFF then a 16-bit number; otherwise a
// zero-terminated UTF-16 text.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/core/types.h"

inline constexpr uint16_t kDialogResourceType = 5;

// Window styles the framework looks at.
enum : uint32_t {
  kWsClipSiblings = 0x04000000,
  kWsDisabled = 0x08000000,
  kWsVisible = 0x10000000,
  kWsGroup = 0x00020000,
  kWsTabStop = 0x00010000,
  kWsVScroll = 0x00200000,
  kWsBorder = 0x00800000,
  kDsSetFont = 0x00000040,
};

struct cDialogItemTemplate {
  uint32_t helpId = 0;
  uint32_t exStyle = 0;
  uint32_t style = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  uint32_t id = 0;
  std::string className;     // UTF-8; the predefined classes by their names ("Button")
  std::string text;          // UTF-8; empty when the text is a number
  std::optional<uint16_t> textNumber;  // a text given as a resource number
  std::vector<uint8_t> creationData;
};

struct cDialogTemplate {
  bool extended = false;
  uint32_t helpId = 0;
  uint32_t exStyle = 0;
  uint32_t style = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::string title;     // UTF-8
  uint16_t pointSize = 0;  // 0: no font given
  uint16_t weight = 0;
  bool italic = false;
  std::string typeface;  // UTF-8
  std::vector<cDialogItemTemplate> items;

  // The item with this id, or null.
  const cDialogItemTemplate* item(uint32_t id) const;
};

// Window class names compare without regard to case, as Windows compares them.
bool isWindowClass(std::string_view className, std::string_view name);

// Reads a template; nothing when the bytes end early or hold no template.
std::optional<cDialogTemplate> parseDialogTemplate(std::span<const uint8_t> bytes);

// The dialog's base units in pixels: the average width of its font's
// letters and its height, as Windows measures them.
struct cDialogBaseUnits {
  int x = 6;
  int y = 13;
};
// From the width of "A".."Z" "a".."z" set in the dialog's font and the
// font's cell height, the way Windows rounds them.
cDialogBaseUnits dialogBaseUnits(int widthOf52Letters, int fontHeight);
// Dialog units to pixels: x * base.x / 4 and y * base.y / 8, rounded to the nearest.
int dialogXToPixels(int x, const cDialogBaseUnits& base);
int dialogYToPixels(int y, const cDialogBaseUnits& base);
// An item's rectangle in pixels within the dialog's client area.
cWinRect itemPixelRect(const cDialogItemTemplate& item, const cDialogBaseUnits& base);
