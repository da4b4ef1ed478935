#include "player/printing.h"

#include <wx/dc.h>
#include <wx/image.h>

#include <algorithm>

#include "platform/desktop/wxview.h"
#include "player/playernames.h"

// Scaled pictures are made in memory at most this many times the picture's
// own size; the device context enlarges the rest of the way, so that a
// 1200 dpi page does not need a picture of a hundred million pixels.
constexpr int kLargestStretch = 4;

void CDcDrawTarget::copyPixels(int x, int y, int width, int height, const uint8_t* topRow, ptrdiff_t stride,
                               const cColourTable& colours) {
  if (width <= 0 || height <= 0 || !topRow) return;
  wxImage image(width, height, false);
  convertToRgb(topRow, stride, width, height, colours, image.GetData(), ptrdiff_t(width) * 3, cRgbLayout{});
  dc_.DrawBitmap(wxBitmap(image), x, y);
}

CWorksheetPrintout::CWorksheetPrintout(const CWinGDib& picture, const wxPageSetupDialogData& setup)
    : wxPrintout("Zanbel"), picture_(picture), setup_(setup) {}

void CWorksheetPrintout::GetPageInfo(int* minPage, int* maxPage, int* fromPage, int* toPage) {
  *minPage = *maxPage = *fromPage = *toPage = 1;
}

bool CWorksheetPrintout::OnPrintPage(int) {
  wxDC* dc = GetDC();
  if (!dc) return false;
  dc->SetUserScale(1, 1);
  dc->SetDeviceOrigin(0, 0);
  // The page less the margins of the page set-up, in this device's pixels
  // (the printer's, or the preview's at its zoom).
  const wxRect area = GetLogicalPageMarginsRect(setup_);
  const cPagePlace place =
      fitPictureToPage(picture_.width(), picture_.height(), {area.x, area.y, area.width, area.height});
  if (place.width <= 0) return true;
  const int most = kLargestStretch * picture_.width();
  const int scale = std::max(1, (place.width + most - 1) / most);
  dc->SetUserScale(scale, scale);
  CDcDrawTarget target(*dc);
  picture_.stretchToDC(&target, place.x / scale, place.y / scale, (place.x + place.width) / scale,
                       (place.y + place.height) / scale);
  return true;
}
