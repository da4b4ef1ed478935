// The kind pattern: what every gadget kind is made of.
//
// A kind is one class derived from cGadget (directly or through one
// intermediate base) with two constructors, a new gadget at a drop point and
// a gadget read from its file record. Both end in completeKind, which runs
// the kind's initialisation in the order every kind keeps: type code, bounds
// from the kind's bounds frame, text number, startFresh where the kind sets
// it, a new gadget centred on its drop point, the pin table, invalidate.
//
// All gadgets of a kind share one cKindShare, a class-wide member of the
// kind: its frame set, its position table and its own sound. The share counts
// the gadgets of the kind; the first one loads what the share holds and the
// last one frees it. A gadget takes part in the count through a cKindHold
// member, so the count is right in both constructors and in the destructor.
//
// A kind's class reads like this:
//
//   class cAndGate : public cGate {
//    public:
//     explicit cAndGate(cPoint dropPoint);
//     explicit cAndGate(const cGadgetRecord& record);
//     void draw(CWinGDib& surface, const cRect& clip) override;
//     void step() override;
//    private:
//     static inline cKindShare share_{{.artwork = 1029}};
//     cKindHold hold_{share_};
//   };
//
// Position table, resource type 1010 (little-endian), where a kind draws the
// parts of its picture (digits, symbols, pressed buttons):
//
//   offset  size  content
//   0       2     count n (unsigned)
//   2 + 4i  2     point i: v (signed), relative to the gadget's position
//   4 + 4i  2     point i: h (signed)
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/gadget.h"
#include "shell/core/types.h"

class cFrameSet;

inline constexpr uint16_t kPositionTableResourceType = 1010;

// The resources a kind shares; 0 where the kind has none.
struct cKindArt {
  uint16_t artwork = 0;        // frame set, type 1004
  uint16_t positionTable = 0;  // type 1010
  uint16_t sound = 0;          // the kind's own sound, loaded with the first gadget
};

class cKindShare {
 public:
  explicit cKindShare(cKindArt art);
  ~cKindShare();
  cKindShare(const cKindShare&) = delete;
  cKindShare& operator=(const cKindShare&) = delete;

  // One gadget more or fewer: the first loads the shared resources, the last frees them.
  void acquire();
  void release();
  int instances() const { return instances_; }

  // Valid while a gadget of the kind lives.
  const cFrameSet& frames() const { return *frames_; }
  cRect frameRect(int frame) const;
  // Entry i of the position table; (0, 0) for an entry the table lacks.
  cPoint position(int i) const;

  // Draws a frame with its origin at the gadget's position.
  void draw(const cGadget& g, int frame, CWinGDib& surface, const cRect& clip) const;
  // Draws a frame at entry `entry` of the position table.
  void drawAt(const cGadget& g, int frame, int entry, CWinGDib& surface, const cRect& clip) const;

 private:
  cKindArt art_;
  int instances_ = 0;
  std::unique_ptr<cFrameSet> frames_;
  std::vector<cPoint> positions_;
};

// A gadget's place in its kind's count, for the gadget's lifetime.
class cKindHold {
 public:
  explicit cKindHold(cKindShare& share) : share_(share) { share_.acquire(); }
  ~cKindHold() { share_.release(); }
  cKindHold(const cKindHold&) = delete;
  cKindHold& operator=(const cKindHold&) = delete;

 private:
  cKindShare& share_;
};

// What completeKind needs to know of a kind beyond the kind table.
struct cKindPlan {
  cTypeCode typeCode = 0;
  int boundsFrame = 1;
  bool startFresh = false;
};

// The kind's part of both constructors (see the top of this file). The text
// number and the pin table come from the kind table; dropPoint is null for a
// gadget read from a file, which keeps the position of its record.
void completeKind(cGadget& g, const cKindShare& share, const cKindPlan& plan, const cPoint* dropPoint);

// A picture of one frame: the frame at the gadget's position, then the error
// marker when the gadget is in error.
void drawSingleFrame(cGadget& g, const cKindShare& share, int frame, CWinGDib& surface, const cRect& clip);

// Takes the signals of inputs 0 and 1 (both, so that one arriving with the
// other does not wait for a later cycle) and signals `outputPin` when either
// had one.
void passSignals(cGadget& g, int outputPin);

// The truth of a number on a wire: anything other than 0 is true, and a
// value that is not a number is false.
inline bool isTrue(double x) { return x < 0.0 || x > 0.0; }
