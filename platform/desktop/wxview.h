// A window that shows an 8-bit surface through the program's colour table.
// The pictures stay in the program's memory; only the rectangles that
// changed are converted to RGB and copied to the window.
#pragma once

#include <wx/bitmap.h>
#include <wx/timer.h>
#include <wx/window.h>

#include <cstddef>
#include <cstdint>

#include "graphics/wingdib.h"

// Where the blue, green and red bytes of one pixel go in an RGB row.
struct cRgbLayout {
  int pixelSize = 3;
  int redAt = 0, greenAt = 1, blueAt = 2;
};
// Converts a width x height block of 8-bit pixels (row r at topRow + r *
// stride) through the colour table into RGB rows of outStride bytes.
void convertToRgb(const uint8_t* topRow, ptrdiff_t stride, int width, int height,
                  const cColourTable& colours, uint8_t* out, ptrdiff_t outStride, cRgbLayout layout);

// The view is the draw target of its surface: copyRectToDC(rect, point, view)
// puts that rectangle on the screen at once.
class CSurfaceView : public wxWindow, public CWDrawTarget {
 public:
  // Timer 1 starts with the window (every 1000 ms) and stops with it.
  explicit CSurfaceView(wxWindow* parent, wxWindowID id = wxID_ANY);
  ~CSurfaceView() override;

  // The surface shown at the window's top left corner and painted again
  // whenever the window needs it; the view does not own it. Null shows
  // only the margin colour.
  void setSurface(const CWinGDib* surface);
  const CWinGDib* surface() const { return surface_; }
  // The colour of the part of the window the surface does not cover.
  void setMarginColour(const wxColour& colour);

  // Copies a changed rectangle of the surface to the same place in the window.
  void present(const cRect& changed);

  // Converts the block and draws it at (x, y) now; the part outside the
  // window is skipped.
  void copyPixels(int x, int y, int width, int height, const uint8_t* topRow, ptrdiff_t stride,
                  const cColourTable& colours) override;

  // How many pixels were converted so far (what the copies cost).
  uint64_t convertedPixels() const { return converted_; }

 protected:
  // Every second while the window exists.
  virtual void timer1() {}
  // The window's first paint; return false to paint nothing that time.
  virtual bool firstPaint() { return true; }

 private:
  void onPaint(wxPaintEvent& event);
  void onTimer(wxTimerEvent& event);
  void drawBlock(wxDC& dc, int x, int y, int width, int height, const uint8_t* topRow,
                 ptrdiff_t stride, const cColourTable& colours);
  void paintArea(wxDC& dc, const wxRect& area);

  const CWinGDib* surface_ = nullptr;
  wxColour margin_{*wxBLACK};
  wxBitmap scratch_;
  wxTimer timer_;
  wxDC* paintDc_ = nullptr;  // set while a paint is drawn
  bool painted_ = false;
  uint64_t converted_ = 0;
};
