// The worksheet's background: drawn under the gadgets, its border over them.
#include "engine/worksheet.h"
#include "graphics/wingdib.h"

class cBackground {};

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


void cWorksheetPane::makeBackground() {}
void cWorksheetPane::resizeBackground() {}

void cWorksheetPane::setBackgroundQuietly(uint16_t number) { backgroundNumber_ = number; }

void cWorksheetPane::drawBackgroundUnder(const cRect& clip) {
  wingInfo().fillRect(*surface, clip.toWin(), rgb(255, 255, 255));
}

void cWorksheetPane::drawBorderOver(const cRect&) {}
