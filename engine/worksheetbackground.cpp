// The worksheet's life and its background: drawn under the gadgets, its
// border over them.
#include "engine/worksheet.h"
#include "graphics/background.h"
#include "graphics/wingdib.h"

namespace {
cWorksheetPane* gWorksheet = nullptr;
}  // namespace

cWorksheetPane* theWorksheet() { return gWorksheet; }

cWorksheetPane::cWorksheetPane(CWinGDib* surface_, cWorksheetHost* host)
    : cAbstractPane(surface_, cRect(0, 0, kWorksheetHeight, kWorksheetWidth)),
      host_(host ? host : &quietHost()) {
  previous_ = gWorksheet;
  gWorksheet = this;
  makeBackground();
}

cWorksheetPane::~cWorksheetPane() {
  removeEverything();
  background.reset();
  if (gWorksheet == this) gWorksheet = previous_;
}

void cWorksheetPane::makeBackground() {
  background = std::make_unique<cBackground>(area);
  // A new tile (another pattern, light or dark) shows everywhere at once.
  background->onRedraw = [this] {
    backgroundLayerStale_ = true;
    invalidate(area);
  };
}

void cWorksheetPane::resizeBackground() {
  // Windows report their size again and again; the tiles are laid anew only
  // when the area really moved or changed its size.
  if (background && background->bounds() == area) return;
  if (background) background->setBounds(area);
  backgroundLayerStale_ = true;
}

void cWorksheetPane::setBackgroundQuietly(uint16_t number) {
  backgroundNumber_ = number;
  if (background) background->setPattern(number);
}

void cWorksheetPane::drawBackgroundUnder(const cRect& clip) {
  if (!background) return;
  // The tiles are laid once into a layer of the area's size; a redraw then
  // copies whole rows of it instead of laying every tile again.
  if (backgroundLayerStale_ || !backgroundLayer_) {
    if (!backgroundLayer_) backgroundLayer_ = std::make_unique<CWinGDib>(1, 1, +1);
    if (backgroundLayer_->width() != area.width() || backgroundLayer_->height() != area.height())
      backgroundLayer_->resize(area.width(), area.height());
    if (!backgroundLayer_->fallenBack()) background->drawBackground(area, *backgroundLayer_);
    backgroundLayerStale_ = false;
  }
  if (backgroundLayer_->fallenBack() || area.top != 0 || area.left != 0) {
    background->drawBackground(clip, *surface);
    return;
  }
  const cRect source = clip & backgroundLayer_->bounds();
  CWinGDib::clippedBlit(*backgroundLayer_, *surface, source.left, source.top, &source, false);
}

void cWorksheetPane::drawBorderOver(const cRect& clip) {
  if (background) background->drawBorder(clip, *surface);
}
