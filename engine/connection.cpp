#include "engine/connection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/gadget.h"
#include "engine/worksheet.h"
#include "graphics/linewalk.h"
#include "graphics/wingdib.h"

namespace {

int64_t squaredDistance(cPoint a, cPoint b) {
  const int64_t dv = a.v - b.v, dh = a.h - b.h;
  return dv * dv + dh * dh;
}

void fillClipped(CWinGDib& surface, const cRect& r, const cRect& clip, uint8_t colour) {
  const cRect c = r & clip & surface.bounds();
  for (int y = c.top; y < c.bottom; ++y) {
    uint8_t* row = surface.pixelAddress(0, y);
    std::fill(row + c.left, row + c.right, colour);
  }
}

}  // namespace

cConnection::cConnection(cGadget* source_, uint16_t sourcePin_, cGadget* target_, uint16_t targetPin_)
    : source(source_), target(target_), sourcePin(sourcePin_), targetPin(targetPin_) {}

cConnection::~cConnection() {
  invalidate();
  detachSource();
  detachTarget();
  knots.clear();
}

namespace {

// An end can hold on to a pin the gadget has and that no other wire holds:
// a wire that pointed at a pin which does not point back would be left
// pointing at the gadget once the gadget is gone.
bool pinIsFreeFor(const cGadget* g, uint16_t pin, const cConnection* wire) {
  return g && g->validPin(pin) && (!g->wireAt(pin) || g->wireAt(pin) == wire);
}

}  // namespace

void cConnection::attachEnds() {
  signal = false;
  attachSource(source, sourcePin);
  attachTarget(target, targetPin);
  hiddenSegment1 = hiddenSegment2 = -1;
  invalidate();
}

void cConnection::attachSource(cGadget* gadget, uint16_t pin) {
  if (gadget && !pinIsFreeFor(gadget, pin, this)) {
    source = nullptr;
    sourcePin = 0;
    return;
  }
  source = gadget;
  sourcePin = pin;
  if (gadget) gadget->attachWire(this, pin);
}

void cConnection::attachTarget(cGadget* gadget, uint16_t pin) {
  if (gadget && !pinIsFreeFor(gadget, pin, this)) {
    target = nullptr;
    targetPin = 0;
    return;
  }
  target = gadget;
  targetPin = pin;
  if (gadget) gadget->attachWire(this, pin);
}

void cConnection::detachSource() {
  if (source && source->wireAt(sourcePin) == this) source->detachWire(sourcePin);
  source = nullptr;
  sourcePin = 0;
}

void cConnection::detachTarget() {
  if (target && target->wireAt(targetPin) == this) target->detachWire(targetPin);
  target = nullptr;
  targetPin = 0;
}

void cConnection::setFreeEnd(cPoint point, bool snap) {
  freeEnd = point;
  snapped = snap;
}

cPoint cConnection::sourcePoint() const { return source ? source->pinPosition(sourcePin) : freeEnd; }
cPoint cConnection::targetPoint() const { return target ? target->pinPosition(targetPin) : freeEnd; }

cPoint cConnection::polylinePoint(int i) const {
  if (i <= 0) return sourcePoint();
  if (i > knots.count()) return targetPoint();
  return positionOfKnot(i - 1);
}

cRect cConnection::extent() const {
  const cPoint a = sourcePoint(), b = targetPoint();
  int top = std::min(a.v, b.v), bottom = std::max(a.v, b.v);
  int left = std::min(a.h, b.h), right = std::max(a.h, b.h);
  for (const cKnot* k : knots) {
    top = std::min<int>(top, k->point.v);
    bottom = std::max<int>(bottom, k->point.v);
    left = std::min<int>(left, k->point.h);
    right = std::max<int>(right, k->point.h);
  }
  return cRect(top, left, bottom, right).grownBy(3);
}

void cConnection::invalidate() const {
  if (cWorksheetPane* ws = theWorksheet()) ws->invalidate(extent());
}

// ---- hit tests ----

int cConnection::nearestSegment(cPoint point, double bound, double* distance) const {
  int best = kNoSegment;
  double bestDistance = bound;
  const int n = segmentCount();
  cPoint a = sourcePoint();
  for (int s = 0; s < n; ++s) {
    const cPoint b = polylinePoint(s + 1);
    const cRect box = cRect(std::min(a.v, b.v), std::min(a.h, b.h), std::max(a.v, b.v),
                            std::max(a.h, b.h)).grownBy(5);
    if (box.contains(point)) {
      // The line through a and b as A*h + B*v + C = 0.
      const double A = double(b.v) - a.v, B = double(a.h) - b.h;
      const double C = -(A * a.h + B * a.v);
      const double norm = std::sqrt(A * A + B * B);
      const double d = norm == 0.0 ? 0.0 : std::fabs(A * point.h + B * point.v + C) / norm;
      if (d < bestDistance) {
        bestDistance = d;
        best = s;
      }
    }
    a = b;
  }
  if (distance) *distance = bestDistance;
  return best;
}

int cConnection::hitSegment(cPoint point) const {
  if (!extent().contains(point)) return kNoSegment;
  double d = 0;
  const int s = nearestSegment(point, 10.0, &d);
  return s != kNoSegment && d < 5.0 ? s : kNoSegment;
}

cKnotNode* cConnection::hitKnot(cPoint point) const {
  if (!extent().contains(point)) return nullptr;
  cKnotNode* best = nullptr;
  int64_t bestDistance = 37;
  for (cKnotNode* n = knots.head(); n; n = n->next) {
    const int64_t d = squaredDistance(n->data->point, point);
    if (d < bestDistance) {
      bestDistance = d;
      best = n;
    }
  }
  return best;
}

// ---- knots ----

cKnotNode* cConnection::insertKnot(cPoint point) {
  auto knot = std::make_unique<cKnot>();
  knot->point = point;
  knot->wire = this;
  const int s = nearestSegment(point, 10.0, nullptr);
  // Segment s ends at knot s; the last segment ends at the input end.
  cKnotNode* before = (s == kNoSegment || s >= knots.count()) ? nullptr : knotNode(s);
  cKnotNode* node = knots.insertBefore(before, knot.get());
  if (node) knot.release();
  invalidate();
  return node;
}

cKnotNode* cConnection::appendKnot(cPoint point) {
  auto knot = std::make_unique<cKnot>();
  knot->point = point;
  knot->wire = this;
  cKnotNode* node = knots.append(std::move(knot));
  return node;
}

void cConnection::removeKnot(cKnotNode* knot) {
  invalidate();
  knots.remove(knot);
}

void cConnection::removeAllKnots() {
  invalidate();
  knots.clear();
}

void cConnection::moveKnotsBy(cPoint delta) {
  for (cKnot* k : knots) k->point += delta;
}

void cConnection::scaleKnots(double scaleH, double scaleV, double offsetH, double offsetV) {
  for (cKnot* k : knots) {
    k->point.v = static_cast<int16_t>(static_cast<int32_t>(offsetV + scaleV * k->point.v));
    k->point.h = static_cast<int16_t>(static_cast<int32_t>(offsetH + scaleH * k->point.h));
  }
}

cKnotNode* cConnection::knotNode(int i) const {
  cKnotNode* n = knots.head();
  while (n && i-- > 0) n = n->next;
  return i < 0 ? n : nullptr;
}

cPoint cConnection::positionOfKnot(int i) const {
  const cKnotNode* n = knotNode(i);
  return n ? n->data->point : cPoint();
}

int cConnection::indexOfKnot(const cKnot* knot) const {
  int i = 0;
  for (const cKnot* k : knots) {
    if (k == knot) return i;
    ++i;
  }
  return -2;
}

int cConnection::endOfPin(const cGadget* gadget, uint16_t pin) const {
  const bool any = (pin & 0x8000) != 0;
  if (source == gadget && (any || sourcePin == pin)) return 0;
  if (target == gadget && (any || targetPin == pin)) return knots.count();
  return -1;
}

// ---- values ----

bool cConnection::asBool() const {
  if (!source) return false;
  if (source->hasBoolOutput(sourcePin)) return source->boolOutput(sourcePin);
  if (source->hasNumberOutput(sourcePin)) {
    const double x = source->numberOutput(sourcePin);
    return x < 0.0 || x > 0.0;  // NaN reads false
  }
  if (source->hasSoundOutput(sourcePin)) return source->soundOutput(sourcePin) != nullptr;
  return false;
}

double cConnection::asNumber() const {
  if (!source) return 0.0;
  if (source->hasNumberOutput(sourcePin)) return source->numberOutput(sourcePin);
  if (source->hasBoolOutput(sourcePin)) return source->boolOutput(sourcePin) ? 1.0 : 0.0;
  if (source->hasSoundOutput(sourcePin)) return source->soundOutput(sourcePin) ? 1.0 : 0.0;
  return 0.0;
}

const cSoundRecord* cConnection::asSound() const {
  if (!source || !source->hasSoundOutput(sourcePin)) return nullptr;
  return source->soundOutput(sourcePin);
}

// ---- drawing ----

void cConnection::drawSegment(CWinGDib& surface, const cRect& clip, int segment, uint8_t colour,
                              int thickness) const {
  const cPoint a = polylinePoint(segment), b = polylinePoint(segment + 1);
  const cRect c = clip & surface.bounds();
  if (c.isEmpty()) return;
  // Wholly inside the clip (as in a full redraw): the walk needs no test per pixel.
  const cRect box(std::min(a.v, b.v), std::min(a.h, b.h), std::max(a.v, b.v) + thickness,
                  std::max(a.h, b.h) + thickness);
  if ((box & c) == box) {
    for (int t = 0; t < thickness; ++t) drawLine(surface, a.h + t, a.v + t, b.h + t, b.v + t, colour);
    return;
  }
  const uint8_t* bits = surface.bits();
  const ptrdiff_t stride = surface.rowStride() < 0 ? -surface.rowStride() : surface.rowStride();
  const int height = surface.height();
  const bool topDown = surface.isTopDown();
  for (int t = 0; t < thickness; ++t) {
    // A thicker pen is the line again one pixel lower and to the right.
    walkLine(surface, a.h + t, a.v + t, b.h + t, b.v + t, [&](uint8_t& pixel) {
      // The walk hands out pixels; their place tells whether they lie in the clip.
      const ptrdiff_t offset = &pixel - bits;
      const int row = static_cast<int>(offset / stride), x = static_cast<int>(offset % stride);
      const int y = topDown ? row : height - 1 - row;
      if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) pixel = colour;
    });
  }
}

void cConnection::draw(CWinGDib& surface, const cRect& clip) const {
  if (!(extent() & clip).isEmpty()) {
    const uint8_t colour = nearestIndex(snapped || isComplete() ? kDarkGreen : kDarkRed);
    const int n = segmentCount();
    for (int s = 0; s < n; ++s)
      if (s != hiddenSegment1 && s != hiddenSegment2) drawSegment(surface, clip, s, colour, 1);
  }
  drawKnots(surface, clip);
}

void cConnection::drawSelected(CWinGDib& surface, const cRect& clip, int segment) const {
  if (segment >= 0 && segment < segmentCount())
    drawSegment(surface, clip, segment, nearestIndex(locked ? kDarkRed : kDarkGreen), 2);
  drawKnots(surface, clip);
}

void cConnection::drawKnots(CWinGDib& surface, const cRect& clip) const {
  if (knots.isEmpty()) return;
  const uint8_t colour = nearestIndex(kDarkBlue);
  for (const cKnot* k : knots)
    if (k->visible)
      fillClipped(surface, cRect(k->point.v - 2, k->point.h - 2, k->point.v + 3, k->point.h + 3),
                  clip, colour);
}

void cConnection::drawSelectedKnot(CWinGDib& surface, const cRect& clip, const cKnot& knot) {
  const cRect r(knot.point.v - 3, knot.point.h - 3, knot.point.v + 4, knot.point.h + 4);
  const uint8_t colour = nearestIndex(kDarkGreen);
  fillClipped(surface, cRect(r.top, r.left, r.top + 1, r.right), clip, colour);
  fillClipped(surface, cRect(r.bottom - 1, r.left, r.bottom, r.right), clip, colour);
  fillClipped(surface, cRect(r.top, r.left, r.bottom, r.left + 1), clip, colour);
  fillClipped(surface, cRect(r.top, r.right - 1, r.bottom, r.right), clip, colour);
}
