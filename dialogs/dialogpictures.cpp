#include "dialogs/dialogpictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/gadget.h"
#include "shell/core/byteio.h"
#include "shell/core/resources.h"

namespace {

constexpr cColorRef kPinLineRed = rgb(255, 0, 0);
constexpr cColorRef kBlack = rgb(0, 0, 0);
constexpr cColorRef kWhite = rgb(255, 255, 255);
constexpr cColorRef kShadow = rgb(128, 128, 128);
constexpr cColorRef kNotePaper = rgb(255, 255, 204);
constexpr cColorRef kProgressDone = 0xFF0000;  // blue, as a colour value 0x00BBGGRR
constexpr cColorRef kProgressLeft = 0x00FFFF;  // yellow

// How far arrows stand from the picture, and lanes run above or below it.
constexpr int kArrowGap = 8;
constexpr int kArrowLength = 14;
constexpr int kLaneGap = 8;
// A pin this close to an edge of the picture sits on that edge.
constexpr int kEdgeSlack = 6;

void hLine(CWUnpackedSprite& s, int x0, int x1, int y, cColorRef c) {
  if (x1 < x0) std::swap(x0, x1);
  wingInfo().fillRect(s, {x0, y, x1 + 1, y + 1}, c);
}

void vLine(CWUnpackedSprite& s, int x, int y0, int y1, cColorRef c) {
  if (y1 < y0) std::swap(y0, y1);
  wingInfo().fillRect(s, {x, y0, x + 1, y1 + 1}, c);
}

cRect wholeSurface(const CWinGDib& s) { return {0, 0, s.height(), s.width()}; }

// A zero-terminated Windows-1252 text resource, without its terminating zero.
std::string textResource(uint16_t id) {
  const auto bytes = peekResource(kHelpTextResourceType, id);
  if (!bytes) return {};
  const char* p = reinterpret_cast<const char*>(bytes->data());
  return std::string(p, strnlen(p, bytes->size()));
}

}  // namespace

std::unique_ptr<CWinGDib> makeFramePicture(uint16_t frameSetId, cSpriteSize size) {
  auto surface = std::make_unique<CWinGDib>(std::max(size.width, 1), std::max(size.height, 1));
  wingInfo().fillRect(*surface, {0, 0, surface->width(), surface->height()}, kDialogGrey);
  cFrameSet frames(frameSetId);
  frames.drawFrame(1, cPoint(0, 0), wholeSurface(*surface), *surface);
  return surface;
}

// ---- the gadget graphic ----

cDialogGadgetGraphic::cDialogGadgetGraphic(cGadget& gadget, cSpriteSize size)
    : gadget_(gadget),
      surface_(std::max(size.width, 1), std::max(size.height, 1)),
      arrows_(kPinArrowArtwork) {
  if (const auto point = peekResource(kPointResourceType, 1); point && point->size() >= 4)
    extraPoint_ = cPoint(static_cast<int16_t>(byteio::getU16LE(point->data())),
                         static_cast<int16_t>(byteio::getU16LE(point->data() + 2)));
  layOut();
  render();
}

namespace {

enum class cEdge { left, right, top, bottom };

cEdge edgeOf(const cPin& pin, const cRect& b) {
  const int h = pin.offset.h, v = pin.offset.v;
  if (h - b.left <= kEdgeSlack) return cEdge::left;
  if (b.right - h <= kEdgeSlack) return cEdge::right;
  if (v - b.top <= kEdgeSlack) return cEdge::top;
  if (b.bottom - v <= kEdgeSlack) return cEdge::bottom;
  return pin.direction == kPinOutput ? cEdge::right : cEdge::left;
}

}  // namespace

void cDialogGadgetGraphic::layOut() {
  const cRect& b = gadget_.bounds;
  bool laneAbove = false, laneBelow = false;
  for (const cPin& pin : gadget_.pins) {
    const cEdge e = edgeOf(pin, b);
    laneAbove |= e == cEdge::top;
    laneBelow |= e == cEdge::bottom;
  }
  const int above = laneAbove ? kLaneGap + 1 : 0, below = laneBelow ? kLaneGap + 1 : 0;
  const int blockHeight = b.height() + above + below;
  origin_ = cPoint((surface_.height() - blockHeight) / 2 + above - b.top,
                   (surface_.width() - b.width()) / 2 - b.left);

  extraShown_ = false;
  if (!extraPoint_) return;
  const cRect extra = arrows_.frameRect(3).offsetBy(*extraPoint_);
  const int side = gadget_.pins.empty() ? 0 : kArrowGap + kArrowLength;
  const cRect block = cRect(b.top - above, b.left - side, b.bottom + below, b.right + side).offsetBy(origin_);
  extraShown_ = !extra.isEmpty() && (extra & wholeSurface(surface_)) == extra && !extra.intersects(block);
}

void cDialogGadgetGraphic::render() {
  wingInfo().fillRect(surface_, {0, 0, surface_.width(), surface_.height()}, kDialogGrey);
  const cRect b = gadget_.bounds.offsetBy(origin_);
  const int inX = b.left - kArrowGap, outX = b.right - 1 + kArrowGap;
  const int laneTop = b.top - 1 - kLaneGap, laneBottom = b.bottom + kLaneGap;

  struct cArrow {
    int frame;
    cPoint at;
  };
  std::vector<cArrow> arrows;
  for (const cPin& pin : gadget_.pins) {
    const cPoint p = pin.offset + origin_;
    const bool input = pin.direction != kPinOutput;
    const int endX = input ? inX : outX;
    int y = p.v;
    switch (edgeOf(pin, gadget_.bounds)) {
      case cEdge::left:
      case cEdge::right:
        break;
      case cEdge::top:
        y = laneTop;
        vLine(surface_, p.h, p.v, y, kPinLineRed);
        break;
      case cEdge::bottom:
        y = laneBottom;
        vLine(surface_, p.h, p.v, y, kPinLineRed);
        break;
    }
    hLine(surface_, p.h, endX, y, kPinLineRed);
    arrows.push_back({input ? 1 : 2, cPoint(y, endX)});
  }
  // The picture over the lines' ends, so that they run into its pins.
  gadget_.drawAt(surface_, origin_, false);
  for (const cArrow& a : arrows) arrows_.drawFrame(a.frame, a.at, wholeSurface(surface_), surface_);
  if (extraShown_) arrows_.drawFrame(3, *extraPoint_, wholeSurface(surface_), surface_);
}

// ---- the help text ----

namespace {

// An empty rectangle adds nothing (a dialog without the toggle button).
cWinRect unionOf(const cWinRect& a, const cWinRect& b) {
  if (b.right <= b.left || b.bottom <= b.top) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

cWinRect offsetRect(const cWinRect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

cDialogDocItem::cDialogDocItem(uint16_t kindId, const cWinRect& textItem, const cWinRect& toggleItem)
    : area_(unionOf(textItem, toggleItem)),
      textPart_(offsetRect(textItem, -area_.left, -area_.top)),
      togglePart_(offsetRect(toggleItem, -area_.left, -area_.top)),
      surface_(std::max(area_.right - area_.left, 1), std::max(area_.bottom - area_.top, 1)),
      toggleFrames_(kHelpToggleArtwork) {
  if (const auto link = peekResource(kHelpLinkResourceType, kindId); link && link->size() >= 8) {
    description_ = textResource(byteio::getU16LE(link->data() + 4));
    tip_ = textResource(byteio::getU16LE(link->data() + 6));
  }
}

void cDialogDocItem::toggle() {
  showingTip_ = !showingTip_;
  rendered_ = false;
}

const CWFont& cDialogDocItem::fontOfHeight(int height) {
  if (!font_ || fontRequested_ != height) {
    font_ = std::make_unique<CWFont>("MS Sans Serif", height);
    fontRequested_ = height;
  }
  return *font_;
}

void cDialogDocItem::render() {
  rendered_ = true;
  const int w = surface_.width(), h = surface_.height();
  CWinGInfo& info = wingInfo();
  info.fillRect(surface_, {0, 0, w, h}, kDialogGrey);
  // The frame: sunk into the dialog, as Windows draws a static frame.
  hLine(surface_, 0, w - 1, 0, kShadow);
  vLine(surface_, 0, 0, h - 1, kShadow);
  hLine(surface_, 0, w - 1, h - 1, kWhite);
  vLine(surface_, w - 1, 0, h - 1, kWhite);
  drawRoundRect(surface_, {1, 1, w - 1, h - 1}, 20, 20, kBlack, kNotePaper);

  const std::string& text = showingTip_ ? tip_ : description_;
  fontHeight_ = 0;
  const cWinRect area{textPart_.left + 4, textPart_.top + 4, textPart_.right - 4, textPart_.bottom - 4};
  const int areaHeight = area.bottom - area.top, areaWidth = area.right - area.left;
  if (text.empty() || areaHeight <= 0 || areaWidth <= 0) return;
  const unsigned flags = kTextWordBreak | kTextNoPrefix;
  int height = std::max(areaHeight / 9, 1);
  if (textExtent(fontOfHeight(height), text, areaWidth, flags).height > areaHeight)
    height = std::max(areaHeight / 12, 1);
  drawText(surface_, fontOfHeight(height), text, area, kBlack, flags);
  fontHeight_ = height;
}

void cDialogDocItem::copyPart(const cWinRect& part, CWinGDib& out) {
  if (!rendered_) render();
  const cRect source = cRect::fromWin(part);
  CWinGDib::clippedBlit(surface_, out, 0, 0, &source, false);
}

void cDialogDocItem::drawTextItem(CWinGDib& out) { copyPart(textPart_, out); }

void cDialogDocItem::drawToggle(CWinGDib& out, bool pressed) {
  copyPart(togglePart_, out);
  const int frame = (showingTip_ ? 3 : 1) + (pressed ? 1 : 0);
  // The button's picture in the middle of the item.
  const cRect f = toggleFrames_.frameRect(frame);
  const cPoint at((out.height() - f.height()) / 2 - f.top, (out.width() - f.width()) / 2 - f.left);
  toggleFrames_.drawFrame(frame, at, wholeSurface(out), out);
}

// ---- progress and shapes ----

void drawProgressBar(CWUnpackedSprite& surface, int percent) {
  const cSpriteSize size = surface.size();
  const int done = std::clamp(static_cast<int>(static_cast<long long>(percent) * size.width / 100), 0,
                              size.width);
  CWinGInfo& info = wingInfo();
  if (done > 0) info.fillRect(surface, {0, 0, done, size.height}, kProgressDone);
  if (done < size.width) info.fillRect(surface, {done, 0, size.width, size.height}, kProgressLeft);
}

namespace {

// How far row y of a rounded rectangle starts inside its left edge.
int cornerInset(int y, int height, double rx, double ry) {
  const double fromTop = y + 0.5, fromBottom = height - y - 0.5;
  const double d = std::min(fromTop, fromBottom);
  if (d >= ry) return 0;
  const double t = (ry - d) / ry;
  return static_cast<int>(std::lround(rx - rx * std::sqrt(std::max(0.0, 1.0 - t * t))));
}

void fillRounded(CWUnpackedSprite& s, const cWinRect& r, double rx, double ry, cColorRef c) {
  const int height = r.bottom - r.top;
  for (int y = 0; y < height; ++y) {
    const int inset = cornerInset(y, height, rx, ry);
    if (r.left + inset < r.right - inset)
      wingInfo().fillRect(s, {r.left + inset, r.top + y, r.right - inset, r.top + y + 1}, c);
  }
}

}  // namespace

void drawRoundRect(CWUnpackedSprite& surface, const cWinRect& rect, int cornerWidth, int cornerHeight,
                   cColorRef pen, cColorRef fill) {
  if (rect.right - rect.left < 2 || rect.bottom - rect.top < 2) return;
  const double rx = cornerWidth / 2.0, ry = cornerHeight / 2.0;
  fillRounded(surface, rect, rx, ry, pen);
  fillRounded(surface, {rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1},
              std::max(rx - 1, 0.0), std::max(ry - 1, 0.0), fill);
}
