#include "platform/desktop/wxview.h"

#include <wx/dcclient.h>
#include <wx/rawbmp.h>
#include <wx/utils.h>

#include <algorithm>

cRgbPalette paletteFromColourTable(const uint8_t (&table)[1024]) {
  cRgbPalette palette;
  for (int i = 0; i < 256; ++i) palette[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i]};
  return palette;
}

void convertToRgb(const cIndexedPicture& picture, const cRgbPalette& palette, int x, int y, int w,
                  int h, uint8_t* out, ptrdiff_t outStride, cRgbLayout layout) {
  for (int row = 0; row < h; ++row) {
    const uint8_t* src = picture.topRow + (y + row) * picture.stride + x;
    uint8_t* dst = out + row * outStride;
    for (int col = 0; col < w; ++col, dst += layout.pixelSize) {
      const cRgb& c = palette[src[col]];
      dst[layout.redAt] = c.red;
      dst[layout.greenAt] = c.green;
      dst[layout.blueAt] = c.blue;
    }
  }
}

CSurfaceView::CSurfaceView(wxWindow* parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE),
      timer_(this, 1) {
  // Every pixel is ours: no background erase before a paint.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CSurfaceView::onPaint, this);
  Bind(wxEVT_TIMER, &CSurfaceView::onTimer, this, 1);
  timer_.Start(1000);
}

CSurfaceView::~CSurfaceView() { timer_.Stop(); }

void CSurfaceView::setPicture(const cIndexedPicture& picture) {
  picture_ = picture;
  Refresh(false);
}

void CSurfaceView::setPalette(const cRgbPalette& palette) {
  palette_ = palette;
  Refresh(false);
}

void CSurfaceView::setMarginColour(const wxColour& colour) {
  margin_ = colour;
  Refresh(false);
}

void CSurfaceView::present(const cRect& changed) {
  present(wxRect(changed.left, changed.top, changed.right - changed.left, changed.bottom - changed.top));
}

void CSurfaceView::present(const wxRect& changed) {
  const wxRect area = changed.Intersect(wxRect(0, 0, picture_.width, picture_.height));
  if (area.IsEmpty() || !IsShownOnScreen()) return;
  // GTK draws into X windows from outside a paint; on Wayland only the
  // paint may draw, so the area is painted at once instead.
  if (wxGetDisplayInfo().type == wxDisplayX11) {
    wxClientDC dc(this);
    drawArea(dc, area);
  } else {
    RefreshRect(area, false);
    Update();
  }
}

void CSurfaceView::drawArea(wxDC& dc, const wxRect& area) {
  const wxRect shown = area.Intersect(wxRect(0, 0, picture_.width, picture_.height));
  if (!shown.IsEmpty() && picture_.topRow) {
    if (!scratch_.IsOk() || scratch_.GetWidth() != shown.width || scratch_.GetHeight() != shown.height)
      scratch_.Create(shown.width, shown.height, 24);
    {
      wxNativePixelData data(scratch_);
      if (data) {
        wxNativePixelData::Iterator p(data);
        const cRgbLayout layout{wxNativePixelFormat::SizePixel, wxNativePixelFormat::RED,
                                wxNativePixelFormat::GREEN, wxNativePixelFormat::BLUE};
        convertToRgb(picture_, palette_, shown.x, shown.y, shown.width, shown.height,
                     reinterpret_cast<uint8_t*>(p.m_ptr), data.GetRowStride(), layout);
        converted_ += static_cast<uint64_t>(shown.width) * static_cast<uint64_t>(shown.height);
      }
    }
    dc.DrawBitmap(scratch_, shown.x, shown.y);
  }
  // The part of the area that the picture does not cover.
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(margin_));
  const int right = std::max(area.x, std::min(area.GetRight() + 1, picture_.width));
  const int bottom = std::max(area.y, std::min(area.GetBottom() + 1, picture_.height));
  if (right <= area.GetRight()) dc.DrawRectangle(right, area.y, area.GetRight() + 1 - right, area.height);
  if (bottom <= area.GetBottom()) dc.DrawRectangle(area.x, bottom, right - area.x, area.GetBottom() + 1 - bottom);
}

void CSurfaceView::onPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const bool first = !painted_;
  painted_ = true;
  if (first && !firstPaint()) return;
  for (wxRegionIterator it(GetUpdateRegion()); it; ++it) drawArea(dc, it.GetRect());
}

void CSurfaceView::onTimer(wxTimerEvent&) { timer1(); }
