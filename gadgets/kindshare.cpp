#include "gadgets/kindshare.h"

#include <algorithm>
#include <cassert>

#include "engine/kinds.h"
#include "graphics/frameset.h"
#include "shell/core/byteio.h"
#include "shell/core/resources.h"
#include "sound/soundsystem.h"

cKindShare::cKindShare(cKindArt art) : art_(art) {}
cKindShare::~cKindShare() = default;

void cKindShare::acquire() {
  if (instances_++ > 0) return;
  frames_ = std::make_unique<cFrameSet>(art_.artwork);
  if (art_.positionTable) {
    cByteReader r(lockResource(findResource(kPositionTableResourceType, art_.positionTable)), cEndian::little);
    // A table shorter than its count gives only the points it holds.
    const size_t n = std::min<size_t>(r.u16(), r.remaining() / 4);
    positions_.resize(n);
    for (cPoint& p : positions_) {
      p.v = r.s16();
      p.h = r.s16();
    }
  }
  // Loading the sound now keeps the first play from waiting for the library.
  if (art_.sound) soundData(art_.sound, false);
}

void cKindShare::release() {
  assert(instances_ > 0);
  if (--instances_ > 0) return;
  frames_.reset();
  positions_.clear();
}

cRect cKindShare::frameRect(int frame) const { return frames_->frameRect(frame); }

cPoint cKindShare::position(int i) const {
  return i >= 0 && size_t(i) < positions_.size() ? positions_[size_t(i)] : cPoint();
}

void cKindShare::draw(const cGadget& g, int frame, CWinGDib& surface, const cRect& clip) const {
  frames_->drawFrame(frame, g.position, clip, surface);
}

void cKindShare::drawAt(const cGadget& g, int frame, int entry, CWinGDib& surface, const cRect& clip) const {
  frames_->drawFrame(frame, g.position + position(entry), clip, surface);
}

void completeKind(cGadget& g, const cKindShare& share, const cKindPlan& plan, const cPoint* dropPoint) {
  const cKindInfo* info = kindByCode(plan.typeCode);
  assert(info && "a kind's plan names a code of the kind table");
  g.typeCode = plan.typeCode;
  g.bounds = share.frameRect(plan.boundsFrame);
  g.textNumber = static_cast<int16_t>(info->textNumber);
  if (plan.startFresh) g.startFresh = true;
  if (dropPoint) g.centreOn(*dropPoint);
  if (info->pinTable) g.loadPins(info->pinTable);
  g.invalidate();
}

void drawSingleFrame(cGadget& g, const cKindShare& share, int frame, CWinGDib& surface, const cRect& clip) {
  share.draw(g, frame, surface, clip);
  if (g.inputError) g.drawErrorMarker(surface, clip);
}

void passSignals(cGadget& g, int outputPin) {
  const bool first = g.takeSignal(0);
  const bool second = g.takeSignal(1);
  if (first || second) g.signalPin(outputPin);
}
