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
  background->onRedraw = [this] { invalidate(area); };
}

void cWorksheetPane::resizeBackground() {
  if (background) background->setBounds(area);
}

void cWorksheetPane::setBackgroundQuietly(uint16_t number) {
  backgroundNumber_ = number;
  if (background) background->setPattern(number);
}

void cWorksheetPane::drawBackgroundUnder(const cRect& clip) {
  if (background) background->drawBackground(clip, *surface);
}

void cWorksheetPane::drawBorderOver(const cRect& clip) {
  if (background) background->drawBorder(clip, *surface);
}
