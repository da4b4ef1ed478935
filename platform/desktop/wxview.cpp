#include "platform/desktop/wxview.h"

#include <wx/dcclient.h>
#include <wx/rawbmp.h>
#include <wx/utils.h>

#include <algorithm>

void convertToRgb(const uint8_t* topRow, ptrdiff_t stride, int width, int height,
                  const cColourTable& colours, uint8_t* out, ptrdiff_t outStride, cRgbLayout layout) {
  for (int row = 0; row < height; ++row) {
    const uint8_t* src = topRow + row * stride;
    uint8_t* dst = out + row * outStride;
    for (int col = 0; col < width; ++col, dst += layout.pixelSize) {
      const cRGBQuad& c = colours[src[col]];
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

void CSurfaceView::setSurface(const CWinGDib* surface) {
  surface_ = surface;
  Refresh(false);
}

void CSurfaceView::setMarginColour(const wxColour& colour) {
  margin_ = colour;
  Refresh(false);
}

void CSurfaceView::present(const cRect& changed) {
  if (surface_) surface_->copyRectToDC(changed, cPoint(changed.top, changed.left), this);
}

void CSurfaceView::copyPixels(int x, int y, int width, int height, const uint8_t* topRow,
                              ptrdiff_t stride, const cColourTable& colours) {
  // Only what the window shows is converted.
  const wxRect block(x, y, width, height);
  const wxRect shown = block.Intersect(wxRect(GetClientSize()));
  if (shown.IsEmpty() || !topRow) return;
  topRow += (shown.y - y) * stride + (shown.x - x);
  if (paintDc_) {
    drawBlock(*paintDc_, shown.x, shown.y, shown.width, shown.height, topRow, stride, colours);
    return;
  }
  if (!IsShownOnScreen()) return;
  // GTK draws into X windows from outside a paint; on Wayland only a paint
  // may draw, so the area is painted at once instead.
  if (wxGetDisplayInfo().type == wxDisplayX11) {
    wxClientDC dc(this);
    drawBlock(dc, shown.x, shown.y, shown.width, shown.height, topRow, stride, colours);
  } else {
    RefreshRect(shown, false);
    Update();
  }
}

void CSurfaceView::drawBlock(wxDC& dc, int x, int y, int width, int height, const uint8_t* topRow,
                             ptrdiff_t stride, const cColourTable& colours) {
  if (!scratch_.IsOk() || scratch_.GetWidth() != width || scratch_.GetHeight() != height)
    scratch_.Create(width, height, 24);
  {
    wxNativePixelData data(scratch_);
    if (!data) return;
    wxNativePixelData::Iterator p(data);
    const cRgbLayout layout{wxNativePixelFormat::SizePixel, wxNativePixelFormat::RED,
                            wxNativePixelFormat::GREEN, wxNativePixelFormat::BLUE};
    convertToRgb(topRow, stride, width, height, colours, reinterpret_cast<uint8_t*>(p.m_ptr),
                 data.GetRowStride(), layout);
  }
  converted_ += static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  dc.DrawBitmap(scratch_, x, y);
}

void CSurfaceView::paintArea(wxDC& dc, const wxRect& area) {
  int coveredRight = area.x, coveredBottom = area.y;
  if (surface_) {
    const wxRect covered = area.Intersect(wxRect(0, 0, surface_->width(), surface_->height()));
    if (!covered.IsEmpty()) {
      present(cRect(covered.y, covered.x, covered.GetBottom() + 1, covered.GetRight() + 1));
      coveredRight = covered.GetRight() + 1;
      coveredBottom = covered.GetBottom() + 1;
    }
  }
  // The rest of the area: a strip right of the surface and one below it.
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(margin_));
  const int right = area.GetRight() + 1, bottom = area.GetBottom() + 1;
  if (coveredRight < right) dc.DrawRectangle(coveredRight, area.y, right - coveredRight, area.height);
  if (coveredBottom < bottom) dc.DrawRectangle(area.x, coveredBottom, coveredRight - area.x, bottom - coveredBottom);
}

void CSurfaceView::onPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const bool first = !painted_;
  painted_ = true;
  if (first && !firstPaint()) return;
  paintDc_ = &dc;
  for (wxRegionIterator it(GetUpdateRegion()); it; ++it) paintArea(dc, it.GetRect());
  paintDc_ = nullptr;
}

void CSurfaceView::onTimer(wxTimerEvent&) { timer1(); }
