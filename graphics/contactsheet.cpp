#include "graphics/contactsheet.h"

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/textdraw.h"

namespace {
constexpr int kGap = 6;
}

std::unique_ptr<CWinGDib> renderContactSheet(const cFrameSet& set, const cContactSheetOptions& options) {
  const CWFont& font = CWFont::smallFonts11();
  const int labelHeight = font.height() + 2;
  struct cCell {
    int x, y, w, h;
  };
  std::vector<cCell> cells;
  int x = kGap, y = kGap, rowHeight = 0, width = kGap;
  for (int i = 1; i <= set.frameCount(); ++i) {
    const cRect r = set.frameRect(i);
    const int w = std::max({r.width() + 2, font.textWidth(std::to_string(i)), 8});
    const int h = std::max(r.height(), 0) + 2 + labelHeight;
    if (x > kGap && x + w + kGap > options.maxWidth) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    cells.push_back({x, y, w, h});
    x += w + kGap;
    rowHeight = std::max(rowHeight, h);
    width = std::max(width, x);
  }
  const int height = y + rowHeight + kGap;
  auto sheet = std::make_unique<CWinGDib>(std::max(width, 40), std::max(height, labelHeight + 2 * kGap), 1);
  const CWinGInfo& display = wingInfo();
  display.fillRect(*sheet, sheet->bounds().toWin(), options.background);
  if (options.pattern) {
    const cRect t = options.pattern->frameRect(options.patternFrame);
    if (t.width() > 0 && t.height() > 0)
      for (int ty = 0; ty < sheet->height(); ty += t.height())
        for (int tx = 0; tx < sheet->width(); tx += t.width())
          options.pattern->drawFrame(options.patternFrame, cPoint(ty - t.top, tx - t.left), sheet->bounds(), *sheet);
  }
  const cColorRef ink = options.background == rgb(0, 0, 0) ? rgb(255, 255, 255) : rgb(0, 0, 0);
  for (int i = 1; i <= set.frameCount(); ++i) {
    const cCell& c = cells[static_cast<size_t>(i - 1)];
    const cRect r = set.frameRect(i);
    // The outline lies one pixel outside the frame's rectangle.
    display.frameRect(*sheet, {c.x, c.y, c.x + r.width() + 2, c.y + r.height() + 2}, rgb(128, 128, 128));
    set.drawFrame(i, cPoint(c.y + 1 - r.top, c.x + 1 - r.left), sheet->bounds(), *sheet);
    const int labelTop = c.y + r.height() + 2;
    drawText(*sheet, font, std::to_string(i), {c.x, labelTop, c.x + c.w, labelTop + labelHeight}, ink,
             kTextLeft | kTextSingleLine | kTextNoPrefix);
  }
  return sheet;
}

std::unique_ptr<CWinGDib> enlarged(const CWinGDib& surface, int factor) {
  factor = std::max(factor, 1);
  auto big = std::make_unique<CWinGDib>(surface.width() * factor, surface.height() * factor, 1);
  for (int y = 0; y < big->height(); ++y)
    for (int x = 0; x < big->width(); ++x) *big->pixelAddress(x, y) = *surface.pixelAddress(x / factor, y / factor);
  return big;
}
