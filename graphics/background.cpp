#include "graphics/background.h"

#include <algorithm>

namespace {
bool gDark = false;
}

bool backgroundIsDark() { return gDark; }
void setBackgroundDark(bool dark) { gDark = dark; }

cBackground::cBackground(const cRect& bounds) : bounds_(bounds), border_(kBorderFrameSet) {}

cBackground::cBackground(const cRect& bounds, cResourceModule& module)
    : bounds_(bounds), module_(&module), border_(kBorderFrameSet, module) {}

void cBackground::setPattern(uint16_t id) {
  if (id == pattern_) return;
  patternSet_.reset();
  pattern_ = id;
  if (id != 0)
    patternSet_ = module_ ? std::make_unique<cFrameSet>(id, *module_) : std::make_unique<cFrameSet>(id);
  else
    tile_.resize(1, 1);
  rebuildTile();
}

void cBackground::rebuildTile() {
  if (patternSet_) {
    const int frame = gDark ? 2 : 1;
    const cRect r = patternSet_->frameRect(frame);
    tile_.resize(std::max(r.width(), 1), std::max(r.height(), 1));
    tile_.fill(0);
    patternSet_->drawFrame(frame, cPoint(-r.top, -r.left), tile_.bounds(), tile_);
  }
  if (onRedraw) onRedraw();
}

void cBackground::drawBackground(const cRect& area, CWUnpackedSprite& surface) const {
  if (!patternSet_) {
    wingInfo().fillRect(surface, area.toWin(), gDark ? rgb(0, 0, 0) : rgb(255, 255, 255));
    return;
  }
  const int tw = tile_.width(), th = tile_.height();
  // Only the tiles that meet the area: the first column and row at or before its corner.
  const int firstI = std::max(0, (area.left - bounds_.left) / tw);
  const int firstJ = std::max(0, (area.top - bounds_.top) / th);
  for (int y = bounds_.top + firstJ * th; y < bounds_.bottom && y < area.bottom; y += th)
    for (int x = bounds_.left + firstI * tw; x < bounds_.right && x < area.right; x += tw) {
      const cRect visible = area & cRect(y, x, y + th, x + tw);
      if (visible.isEmpty()) continue;
      const cRect source = visible.offsetBy(cPoint(-y, -x));
      CWinGDib::clippedBlit(tile_, surface, visible.left, visible.top, &source, false);
    }
}

void cBackground::drawBorder(const cRect& area, CWUnpackedSprite& surface) const {
  const cFrameSet& b = border_;
  const cRect top = b.frameRect(2), right = b.frameRect(4), bottom = b.frameRect(6), left = b.frameRect(8);
  const int L = bounds_.left, T = bounds_.top, R = bounds_.right, B = bounds_.bottom;
  if (area.top < T + top.height() && top.width() > 0)
    for (int x = L; x < R; x += top.width()) b.drawFrame(2, cPoint(T, x), area, surface);
  if (B - bottom.height() < area.bottom && bottom.width() > 0)
    for (int x = L; x < R; x += bottom.width()) b.drawFrame(6, cPoint(B - bottom.height(), x), area, surface);
  if (area.left < L + left.width() && left.height() > 0)
    for (int y = T; y < B; y += left.height()) b.drawFrame(8, cPoint(y, L), area, surface);
  if (R - right.width() < area.right && right.height() > 0)
    for (int y = T; y < B; y += right.height()) b.drawFrame(4, cPoint(y, R - right.width()), area, surface);
  const cRect tr = b.frameRect(3), br = b.frameRect(5), bl = b.frameRect(7);
  b.drawFrame(1, cPoint(T, L), area, surface);
  b.drawFrame(3, cPoint(T, R - tr.width()), area, surface);
  b.drawFrame(7, cPoint(B - bl.height(), L), area, surface);
  b.drawFrame(5, cPoint(B - br.height(), R - br.width()), area, surface);
}
