// Printing the worksheet: its off-screen picture scaled to the page with its
// proportions kept and centred, for the print preview and the printer alike.
#pragma once

#include <wx/cmndata.h>
#include <wx/print.h>

#include "graphics/wingdib.h"

class wxDC;

// Copies blocks of 8-bit pixels to a device context through a colour table.
class CDcDrawTarget : public CWDrawTarget {
 public:
  explicit CDcDrawTarget(wxDC& dc) : dc_(dc) {}
  void copyPixels(int x, int y, int width, int height, const uint8_t* topRow, ptrdiff_t stride,
                  const cColourTable& colours) override;

 private:
  wxDC& dc_;
};

class CWorksheetPrintout : public wxPrintout {
 public:
  // The picture must outlive the printout; the margins come from the page set-up.
  CWorksheetPrintout(const CWinGDib& picture, const wxPageSetupDialogData& setup);

  bool OnPrintPage(int page) override;
  bool HasPage(int page) override { return page == 1; }
  void GetPageInfo(int* minPage, int* maxPage, int* fromPage, int* toPage) override;

 private:
  const CWinGDib& picture_;
  const wxPageSetupDialogData& setup_;
};
