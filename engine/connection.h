// Wires (cConnection) and their bend points (cKnot).
//
// A wire joins one output pin to one input pin; values travel from the
// output end (source) to the input end (target), pulled by the reader. It is
// drawn as a polyline from the output pin through its knots to the input
// pin. Segment 0 runs from the output end to the first knot (or to the input
// end without knots), segment i from knot i-1 to knot i, the last from the
// last knot to the input end. An end that is not attached is drawn at
// freeEnd.
//
// Wire record of the invention file ("conn" chunk, big-endian):
//
//   offset  size  content
//   0       4     key of the gadget at the output end
//   4       4     key of the gadget at the input end
//   8       2     output pin number
//   10      2     input pin number
//   12      1     locked
//   13      1     0
//   14      2     number of knots n
//   16      4n    knots from the output end: v, h, signed 16-bit each
//
// Files of versions 1 and 2 have only the first 12 bytes.
#pragma once

#include <cstdint>
#include <span>

#include "shell/core/liveobjects.h"
#include "shell/core/ptrlist.h"
#include "shell/core/types.h"

class cConnection;
class cGadget;
class CWinGDib;
struct cSoundRecord;

inline constexpr uint16_t kFreePin = 0xFFFF;
inline constexpr int kWireRecordBase = 16;   // versions 3 and 4, without knots
inline constexpr int kWireRecordOld = 12;    // versions 1 and 2

struct cKnot : cLiveObject {
  cPoint point;
  cConnection* wire = nullptr;
  bool visible = true;
};

using cKnotList = cPtrList<cKnot, true>;
using cKnotNode = cKnotList::Node;

// A segment number, or none.
inline constexpr int kNoSegment = -1;

class cConnection : public cLiveObject {
 public:
  // For editing: one side null and kFreePin when a wire is started from a
  // pin. Call attachEnds afterwards.
  cConnection(cGadget* source, uint16_t sourcePin, cGadget* target, uint16_t targetPin);
  // Destruction detaches both ends and frees the knots.
  ~cConnection();
  cConnection(const cConnection&) = delete;
  cConnection& operator=(const cConnection&) = delete;

  // Enters each end into its gadget's pin; clears the signal and the hidden segments.
  void attachEnds();
  void attachSource(cGadget* gadget, uint16_t pin);
  void attachTarget(cGadget* gadget, uint16_t pin);
  void detachSource();
  void detachTarget();
  void setFreeEnd(cPoint point, bool snap);
  bool isComplete() const { return source && target; }

  // Where each end is drawn.
  cPoint sourcePoint() const;
  cPoint targetPoint() const;
  // Point i of the polyline: 0 the output end, 1..n the knots, n+1 the input end.
  cPoint polylinePoint(int i) const;
  int segmentCount() const { return knots.count() + 1; }

  // Bounding rectangle of both ends and every knot, grown by 3.
  cRect extent() const;
  void invalidate() const;

  // Hit tests; kNoSegment / null when nothing is hit.
  int hitSegment(cPoint point) const;
  cKnotNode* hitKnot(cPoint point) const;

  // Inserts a knot at the point into the nearest segment (appended when none
  // is near); returns its node.
  cKnotNode* insertKnot(cPoint point);
  // Appends a knot (file reading).
  cKnotNode* appendKnot(cPoint point);
  void removeKnot(cKnotNode* knot);
  void removeAllKnots();
  void moveKnotsBy(cPoint delta);
  void scaleKnots(double scaleH, double scaleV, double offsetH, double offsetV);
  cPoint positionOfKnot(int i) const;
  // The knot's index, or -2 when it is not on this wire.
  int indexOfKnot(const cKnot* knot) const;
  cKnotNode* knotNode(int i) const;

  // 0 for the output end, the number of knots for the input end, -1 otherwise.
  // A pin with bit 15 set matches any pin of the gadget.
  int endOfPin(const cGadget* gadget, uint16_t pin) const;

  // The value at the output end, read three ways.
  bool asBool() const;
  double asNumber() const;
  const cSoundRecord* asSound() const;

  // Drawing on the off-screen surface, clipped.
  void draw(CWinGDib& surface, const cRect& clip) const;
  void drawSelected(CWinGDib& surface, const cRect& clip, int segment) const;
  void drawKnots(CWinGDib& surface, const cRect& clip) const;
  static void drawSelectedKnot(CWinGDib& surface, const cRect& clip, const cKnot& knot);

  // ---- fields ----
  cGadget* source = nullptr;
  cGadget* target = nullptr;
  uint16_t sourcePin = kFreePin;
  uint16_t targetPin = kFreePin;
  cPoint freeEnd;
  bool snapped = false;
  cKnotList knots;
  bool locked = false;
  int16_t hiddenSegment1 = -1;
  int16_t hiddenSegment2 = -1;
  bool signal = false;

 private:
  // The segment nearest to the point within `bound`, as the hit test chooses it.
  int nearestSegment(cPoint point, double bound, double* distance) const;
  void drawSegment(CWinGDib& surface, const cRect& clip, int segment, uint8_t colour,
                   int thickness) const;
};

// Colours of wires and knots (0x00BBGGRR).
inline constexpr uint32_t kDarkGreen = 0x008000;
inline constexpr uint32_t kDarkRed = 0x000080;
inline constexpr uint32_t kDarkBlue = 0x800000;
