// A window that shows an 8-bit picture through a 256-colour palette. The
// picture stays in the program's memory; only the rectangles that changed
// are converted to RGB and copied to the window.
#pragma once

#include <wx/bitmap.h>
#include <wx/timer.h>
#include <wx/window.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "shell/core/types.h"

// An 8-bit picture in memory: row y starts at topRow + y * stride (a
// negative stride for pictures stored bottom-up).
struct cIndexedPicture {
  const uint8_t* topRow = nullptr;
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;
};

struct cRgb {
  uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const cRgb&, const cRgb&) = default;
};
using cRgbPalette = std::array<cRgb, 256>;

// The palette from a Windows colour table: 256 entries of blue, green, red
// and an unused byte (the layout of the program palette resource).
cRgbPalette paletteFromColourTable(const uint8_t (&table)[1024]);

// Converts a w x h block of the picture, starting at (x, y), into RGB rows
// laid out as redAt/greenAt/blueAt say within pixelSize bytes per pixel.
// The block must lie inside the picture.
struct cRgbLayout {
  int pixelSize = 3;
  int redAt = 0, greenAt = 1, blueAt = 2;
};
void convertToRgb(const cIndexedPicture& picture, const cRgbPalette& palette, int x, int y, int w,
                  int h, uint8_t* out, ptrdiff_t outStride, cRgbLayout layout);

class CSurfaceView : public wxWindow {
 public:
  // Timer 1 starts with the window (every 1000 ms) and stops with it.
  explicit CSurfaceView(wxWindow* parent, wxWindowID id = wxID_ANY);
  ~CSurfaceView() override;

  // The picture shown, at the window's top left corner; the view does not
  // own its pixels, which must stay valid while it is shown. Everything is
  // drawn again.
  void setPicture(const cIndexedPicture& picture);
  const cIndexedPicture& picture() const { return picture_; }
  void setPalette(const cRgbPalette& palette);
  const cRgbPalette& palette() const { return palette_; }
  // The colour of the part of the window the picture does not cover.
  void setMarginColour(const wxColour& colour);

  // Copies a changed rectangle of the picture to the window at once. The
  // rectangle is in picture coordinates, clipped to the picture.
  void present(const wxRect& changed);
  void present(const cRect& changed);

  // How many picture pixels were converted so far (what the copies cost).
  uint64_t convertedPixels() const { return converted_; }

 protected:
  // Every second while the window exists.
  virtual void timer1() {}
  // The window's first paint; return false to paint nothing that time.
  virtual bool firstPaint() { return true; }

 private:
  void onPaint(wxPaintEvent& event);
  void onTimer(wxTimerEvent& event);
  // Draws the part of `area` that the picture covers; the rest gets the margin colour.
  void drawArea(wxDC& dc, const wxRect& area);

  cIndexedPicture picture_;
  cRgbPalette palette_{};
  wxColour margin_{*wxBLACK};
  wxBitmap scratch_;
  wxTimer timer_;
  bool painted_ = false;
  uint64_t converted_ = 0;
};
