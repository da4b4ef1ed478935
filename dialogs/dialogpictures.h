// What the owner-drawn items of a property dialog show: the picture or the
// gadget graphic of item 102, the help text of item 103 with its toggle
// button 150, and the progress bar of item 160. Everything is drawn on
// 8-bit surfaces in the program palette; the toolkit only copies them.
//
// Point resource, type 1011 (little-endian): v, h, signed 16-bit each.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "graphics/frameset.h"
#include "graphics/textdraw.h"
#include "graphics/wingdib.h"
#include "shell/core/liveobjects.h"
#include "shell/core/types.h"

class cGadget;

inline constexpr uint16_t kPinArrowArtwork = 504;
inline constexpr uint16_t kHelpToggleArtwork = 505;
inline constexpr uint16_t kPointResourceType = 1011;
inline constexpr uint16_t kHelpTextResourceType = 1020;
inline constexpr uint16_t kHelpLinkResourceType = 1021;

// The grey of dialogs and of the pictures in them.
inline constexpr cColorRef kDialogGrey = rgb(192, 192, 192);

// Item 102 with the caption "Pic<n>": frame 1 of frame set n at the origin
// of a grey surface of the item's size.
std::unique_ptr<CWinGDib> makeFramePicture(uint16_t frameSetId, cSpriteSize size);

// Item 102 with the caption "Pic": the gadget's picture on grey, and for each
// pin a red line from the pin to an arrow (frame 1 of set 504 for an input,
// frame 2 for an output). Inputs come in from the left, outputs leave to the
// right; a pin on the top or bottom edge reaches its side along a lane above
// or below the picture. Frame 3 of set 504 stands at the point of resource
// 1011/1 when it fits in the surface clear of the picture, its lines and arrows.
class cDialogGadgetGraphic : public cLiveObject {
 public:
  cDialogGadgetGraphic(cGadget& gadget, cSpriteSize size);

  // Draws the gadget as its settings are now.
  void render();
  const CWinGDib& surface() const { return surface_; }
  // Where the gadget's position lies on the surface.
  cPoint gadgetOrigin() const { return origin_; }
  bool showsExtraPicture() const { return extraShown_; }

 private:
  void layOut();

  cGadget& gadget_;
  CWinGDib surface_;
  cFrameSet arrows_;
  cPoint origin_;
  std::optional<cPoint> extraPoint_;
  bool extraShown_ = false;
};

// The help text of a gadget kind: its description, or its tip once the
// toggle button has been pressed. The item spans items 103 and 150: a frame,
// inside it a rounded rectangle (corners 20 x 20), and the text word-wrapped
// in item 103's part shrunk by 4 pixels, in "MS Sans Serif" of a ninth of
// that height, or of a twelfth when the text does not fit. The texts come
// from the link 1021/kindId; without it the item is blank.
class cDialogDocItem : public cLiveObject {
 public:
  // textItem and toggleItem: the two items in the dialog's client area.
  cDialogDocItem(uint16_t kindId, const cWinRect& textItem, const cWinRect& toggleItem);

  void toggle();
  bool showingTip() const { return showingTip_; }
  const std::string& description() const { return description_; }
  const std::string& tip() const { return tip_; }
  // Height of the font the current text is drawn in (0 with no text).
  int fontHeight() const { return fontHeight_; }

  // The picture of item 103, and of the toggle button 150.
  void drawTextItem(CWinGDib& out);
  void drawToggle(CWinGDib& out, bool pressed);

 private:
  void render();
  void copyPart(const cWinRect& part, CWinGDib& out);
  const CWFont& fontOfHeight(int height);

  cWinRect area_;       // the union, in the dialog's client area
  cWinRect textPart_;   // item 103 within the surface
  cWinRect togglePart_; // item 150 within the surface
  CWinGDib surface_;
  cFrameSet toggleFrames_;
  std::string description_, tip_;
  bool showingTip_ = false;
  bool rendered_ = false;
  int fontHeight_ = 0;
  int fontRequested_ = 0;
  std::unique_ptr<CWFont> font_;
};

// Item 160: the left part, percent x width / 100, blue; the rest yellow.
void drawProgressBar(CWUnpackedSprite& surface, int percent);

// A rounded rectangle: a one-pixel outline in `pen`, filled with `fill`;
// the corners are quarters of an ellipse cornerWidth x cornerHeight.
void drawRoundRect(CWUnpackedSprite& surface, const cWinRect& rect, int cornerWidth,
                   int cornerHeight, cColorRef pen, cColorRef fill);
