#include "engine/worksheet.h"

#include <algorithm>

#include "engine/cycle.h"
#include "engine/keyboard.h"
#include "engine/kinds.h"
#include "engine/undo.h"
#include "graphics/wingdib.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "sound/soundsystem.h"

namespace {


int64_t squaredDistance(cPoint a, cPoint b) {
  const int64_t dv = a.v - b.v, dh = a.h - b.h;
  return dv * dv + dh * dh;
}

int kindNumberOf(const cGadget* g) {
  const cKindInfo* k = kindByCode(g->typeCode);
  return k ? k->number : 0;
}

}  // namespace


cWorksheetHost& quietHost() {
  static cWorksheetHost host;
  return host;
}

bool cWorksheetHost::cursorOverWorksheet(cPoint& point) {
  if (!hasPlatform()) return false;
  point = cKeyboard::toWorksheet(platform().input().cursorPosition());
  return true;
}

// ---- cAbstractPane: the hooks a pane may take ----

void cAbstractPane::mouseDown(cPoint, uint16_t, bool) {}
bool cAbstractPane::keyDown(int, uint32_t) { return false; }
void cAbstractPane::charTyped(int key, uint32_t flags) { keyDown(key & 0xFF, flags); }
void cAbstractPane::mouseMoved(cPoint, uint16_t) {}
void cAbstractPane::mouseUp(cPoint, uint16_t) {}
void cAbstractPane::rightMouseDown(cPoint, uint16_t) {}

// ---- life ----

void cWorksheetPane::setHost(cWorksheetHost* host) { host_ = host ? host : &quietHost(); }

void cWorksheetPane::setSize(int width, int height) {
  area = cRect(0, 0, height, width);
  resizeBackground();
}

void cWorksheetPane::changed() { host_->documentChanged(); }

// ---- lists ----

void cWorksheetPane::addGadget(std::unique_ptr<cGadget> gadget) {
  cGadget* g = gadget.get();
  if (!gadgets.insertBefore(gadgets.head(), g)) return;  // the list is full: the gadget goes
  gadget.release();
  g->invalidate();
}

void cWorksheetPane::addWire(std::unique_ptr<cConnection> wire) {
  cConnection* w = wire.get();
  if (!wires.insertBefore(wires.head(), w)) return;
  wire.release();
  w->invalidate();
}

void cWorksheetPane::removeGadget(cGadget* gadget) {
  cGadgetList::Node* node = gadgets.find(gadget);
  if (!node) return;
  if (selectedGadget == gadget) clearSelection();
  const int kind = kindNumberOf(gadget);
  gadgets.remove(node);  // its destructor removes its wires
  if (limits.hasLimit(kind)) {
    limits.returnPart(kind);
    host_->limitsChanged();
  }
}

void cWorksheetPane::removeWire(cConnection* wire) {
  cWireList::Node* node = wires.find(wire);
  if (!node) return;
  if (selectedWire == wire || (selectedKnot && selectedKnot->data->wire == wire)) clearSelection();
  wires.remove(node);
}

void cWorksheetPane::removeEverything() {
  clearSelection();
  while (!gadgets.isEmpty()) gadgets.remove(gadgets.head());
  // Wires that lost both ends in a file do not go with any gadget.
  while (!wires.isEmpty()) wires.remove(wires.head());
  setBackgroundQuietly(kBackgroundNone);
}

cGadget* cWorksheetPane::gadgetByKey(uint32_t key) const {
  for (cGadgetList::Node* n = gadgets.tail(); n; n = n->previous)
    if (n->data->id == key) return n->data;
  return nullptr;
}

cGadget* cWorksheetPane::gadgetAt(cPoint point) const {
  for (cGadget* g : gadgets)
    if (g->hitTest(point)) return g;
  return nullptr;
}

cConnection* cWorksheetPane::wireAt(cPoint point, int* segment) const {
  for (cConnection* w : wires) {
    const int s = w->hitSegment(point);
    if (s != kNoSegment) {
      if (segment) *segment = s;
      return w;
    }
  }
  if (segment) *segment = kNoSegment;
  return nullptr;
}

cKnotNode* cWorksheetPane::knotAt(cPoint point) const {
  for (cConnection* w : wires)
    if (cKnotNode* k = w->hitKnot(point)) return k;
  return nullptr;
}

void cWorksheetPane::bringToFront(cGadget* gadget) {
  cGadgetList::Node* node = gadgets.find(gadget);
  if (!node || node == gadgets.head()) return;
  gadgets.moveToHead(node);
  gadget->invalidate();
  for (int i = 0; i < gadget->pinCount; ++i)
    if (gadget->pins[size_t(i)].direction == kPinOutput)
      if (const cConnection* w = gadget->pins[size_t(i)].wire) w->invalidate();
}

// ---- dirty rectangle and drawing ----

void cWorksheetPane::invalidate(const cRect& rect) {
  if (rect.isEmpty()) return;
  dirty = dirtyPending && !dirty.isEmpty() ? (dirty | rect) : rect;
  dirtyPending = true;
}

void cWorksheetPane::flush(int how) {
  if (!dirtyPending) return;
  const cRect r = dirty;
  if (how >= 0) host_->invalidateWindow(r);
  dirtyPending = false;
  dirty = cRect();
  if (how != 2) render(r);
  if (how == 1 || how == 2) host_->updateWindow();
}

void cWorksheetPane::redrawAll() {
  invalidate(area);
  flush(0);
}

void cWorksheetPane::render(const cRect& rect) {
  if (!surface) return;
  const cRect clip = rect & area & surface->bounds();
  if (clip.isEmpty()) return;
  const bool editing = isEditing();
  drawBackgroundUnder(clip);
  for (cGadgetList::Node* n = gadgets.tail(); n; n = n->previous) {
    cGadget* g = n->data;
    if (editing && !g->visible) continue;
    if (!g->worksheetRect().intersects(clip)) continue;
    g->draw(*surface, clip);
    if (editing && g == selectedGadget) g->drawSelection(clip, *surface);
  }
  for (cWireList::Node* n = wires.tail(); n; n = n->previous) {
    const cConnection* w = n->data;
    w->draw(*surface, clip);
    if (!editing) continue;
    if (w == selectedWire) w->drawSelected(*surface, clip, selectedSegment);
    if (selectedKnot && selectedKnot->data->wire == w)
      cConnection::drawSelectedKnot(*surface, clip, *selectedKnot->data);
  }
  drawBorderOver(clip);
}

// ---- selection ----

void cWorksheetPane::invalidateSelection() {
  if (selectedGadget) selectedGadget->invalidate();
  if (selectedWire) selectedWire->invalidate();
  if (selectedKnot) selectedKnot->data->wire->invalidate();
}

void cWorksheetPane::select(cGadget* g, cConnection* w, int segment, cKnotNode* k) {
  if (g == selectedGadget && w == selectedWire && k == selectedKnot && segment == selectedSegment)
    return;
  const bool sameItem = g == selectedGadget && w == selectedWire && k == selectedKnot;
  invalidateSelection();
  selectedGadget = g;
  selectedWire = w;
  selectedSegment = static_cast<int16_t>(segment);
  selectedKnot = k;
  invalidateSelection();
  if (!sameItem && (g || w || k)) playSound(kSndHover);
  if (g && !sameItem) host_->showKindName(kindNumberOf(g));
}

void cWorksheetPane::clearSelection() { select(nullptr, nullptr, kNoSegment, nullptr); }

void cWorksheetPane::updateHover(cPoint point) {
  if (cKnotNode* k = knotAt(point)) {
    if (isEditable(k->data->wire)) select(nullptr, nullptr, kNoSegment, k);
    else clearSelection();
    return;
  }
  int segment = kNoSegment;
  if (cConnection* w = wireAt(point, &segment)) {
    if (isEditable(w)) select(nullptr, w, segment, nullptr);
    else clearSelection();
    return;
  }
  if (cGadget* g = gadgetAt(point)) {
    if (isEditable(g)) select(g, nullptr, kNoSegment, nullptr);
    else clearSelection();
    return;
  }
  clearSelection();
}

// ---- mouse ----

void cWorksheetPane::mouseDown(cPoint point, uint16_t keys, bool doubleClick) {
  pressAt(point, keys, doubleClick);
}

void cWorksheetPane::startWire(cEditAction& a, cGadget* g, int pin) {
  cEditAction::cWireDrag& d = a.wireDrag;
  cConnection* existing = g->wireAt(pin);
  undoStore().snapshot(*this);
  changed();
  if (!existing) {
    // Rule 1: a new wire from this pin; its other end follows the mouse.
    const bool fromOutput = g->pins[size_t(pin)].direction == kPinOutput;
    auto wire = fromOutput ? std::make_unique<cConnection>(g, uint16_t(pin), nullptr, kFreePin)
                           : std::make_unique<cConnection>(nullptr, kFreePin, g, uint16_t(pin));
    d.wire = wire.get();
    d.isNew = true;
    d.freeIsSource = !fromOutput;
    wire->setFreeEnd(g->pinPosition(pin), false);
    wire->attachEnds();
    addWire(std::move(wire));
    playSound(kSndWireAttach);
  } else {
    // Rule 2: the end of the wire on this pin comes loose.
    d.wire = existing;
    d.isNew = false;
    d.freeIsSource = existing->source == g && existing->sourcePin == pin;
    d.oldGadget = g;
    d.oldPin = uint16_t(pin);
    existing->invalidate();
    existing->setFreeEnd(g->pinPosition(pin), false);
    if (d.freeIsSource) existing->detachSource(); else existing->detachTarget();
    playSound(kSndWireDetach);
  }
  a.kind = cEditAction::dragWireEnd;
}

cEditAction cWorksheetPane::pressAt(cPoint point, uint16_t keys, bool doubleClick) {
  cEditAction a;
  const int tool = host_->currentTool();
  if (tool == kHandTool) {
    undoStore().snapshot(*this);
    a.kind = cEditAction::dragHand;
    return a;
  }
  if (!isEditing()) {
    if (cGadget* g = gadgetAt(point)) {
      g->mouseDown(point, keys, doubleClick);
      a.kind = cEditAction::gadgetClick;
      a.gadget = g;
    }
    return a;
  }
  if (tool == kEraserTool) {
    cKnotNode* k = knotAt(point);
    int segment = kNoSegment;
    cConnection* w = wireAt(point, &segment);
    cGadget* g = gadgetAt(point);
    if (k && isEditable(k->data->wire)) {
      undoStore().snapshot(*this);
      changed();
      deleteKnot(k);
      playSound(kSndKnotDeleted);
    } else if (w && isEditable(w)) {
      undoStore().snapshot(*this);
      changed();
      removeWire(w);
      playSound(kSndWireDeleted);
    } else if (g && isEditable(g)) {
      undoStore().snapshot(*this);
      changed();
      removeGadget(g);
      playSound(kSndGadgetDeleted);
    } else {
      return a;
    }
    a.kind = cEditAction::erased;
    return a;
  }

  // The arrow tool.
  cGadget* g = gadgetAt(point);
  if (g && gadgets.head()->data != g) {
    bringToFront(g);
    flush(1);
  }
  if (!doubleClick) {
    if (cKnotNode* k = knotAt(point); k && isEditable(k->data->wire)) {
      select(nullptr, nullptr, kNoSegment, k);
      if (cKeyboard::mouseStillDown()) {
        undoStore().snapshot(*this);
        changed();
        a.kind = cEditAction::dragKnot;
        a.knot = k;
      }
      return a;
    }
    if (g) {
      const cPinChoice pin = g->nearestPin(point);
      if (pin.found() && squaredDistance(g->pinPosition(pin.pin), point) <= kPinGrabDistance2) {
        const cConnection* w = g->wireAt(pin.pin);
        if (!w || isEditable(w)) {
          clearSelection();
          startWire(a, g, pin.pin);
          return a;
        }
      }
    }
    int segment = kNoSegment;
    if (cConnection* w = wireAt(point, &segment); w && isEditable(w)) {
      wires.moveToHead(wires.find(w));
      undoStore().snapshot(*this);
      changed();
      cKnotNode* k = w->insertKnot(point);
      if (k) {
        select(nullptr, nullptr, kNoSegment, k);
        if (cKeyboard::mouseStillDown()) {
          a.kind = cEditAction::dragKnot;
          a.knot = k;
        }
      }
      return a;
    }
  }
  if (!g || !isEditable(g)) return a;
  select(g, nullptr, kNoSegment, nullptr);
  a.gadget = g;
  if (doubleClick) {
    if (g->hasDialog) {
      playSound(kSndDialogOpen);
      if (host_->openPropertyDialog(*g)) a.kind = cEditAction::openedDialog;
      playSound(kSndDialogClose);
    }
  } else if (cKeyboard::mouseStillDown()) {
    undoStore().snapshot(*this);
    changed();
    a.kind = cEditAction::dragGadget;
  }
  return a;
}

void cWorksheetPane::dragWireEnd(cEditAction& action, cPoint point) {
  cEditAction::cWireDrag& d = action.wireDrag;
  if (!d.wire) return;
  d.wire->invalidate();
  d.wire->setFreeEnd(point, false);
  cGadget* snapGadget = nullptr;
  int snapPin = -1;
  if (cGadget* g = gadgetAt(point)) {
    snapPin = d.freeIsSource ? g->nearestFreeOutput(point) : g->nearestFreeInput(point);
    if (snapPin >= 0) {
      snapGadget = g;
      d.wire->setFreeEnd(g->pinPosition(snapPin), true);
    }
  }
  if (snapGadget && (snapGadget != d.snapGadget || snapPin != d.snapPin)) playSound(kSndWireSnap);
  d.snapGadget = snapGadget;
  d.snapPin = snapPin;
  d.wire->invalidate();
}

void cWorksheetPane::releaseWireEnd(cEditAction& action) {
  cEditAction::cWireDrag& d = action.wireDrag;
  cConnection* w = d.wire;
  if (!w) return;
  w->invalidate();
  if (w->snapped && d.snapGadget) {
    if (d.freeIsSource) w->attachSource(d.snapGadget, uint16_t(d.snapPin));
    else w->attachTarget(d.snapGadget, uint16_t(d.snapPin));
    w->snapped = false;
    playSound(kSndWireAttach);
    w->invalidate();
  } else if (d.isNew) {
    removeWire(w);
  } else {
    // The moved end goes back to the pin it was taken from.
    if (d.freeIsSource) w->attachSource(d.oldGadget, d.oldPin);
    else w->attachTarget(d.oldGadget, d.oldPin);
    w->invalidate();
  }
  d = {};
  action.kind = cEditAction::none;
}

void cWorksheetPane::moveKnotTo(cKnotNode* knot, cPoint point) {
  cConnection* w = knot->data->wire;
  w->invalidate();
  knot->data->point = point;
  w->invalidate();
}

bool cWorksheetPane::handShift(cPoint delta) {
  const cRect inner(area.top + area.height() / 10, area.left + area.width() / 10,
                    area.bottom - area.height() / 10, area.right - area.width() / 10);
  bool inNow = false, inAfter = false;
  for (const cGadget* g : gadgets) {
    const cRect r = g->worksheetRect();
    inNow = inNow || r.intersects(inner);
    inAfter = inAfter || r.offsetBy(delta).intersects(inner);
  }
  if (inNow && !inAfter) return false;
  for (cGadget* g : gadgets) g->moveBy(delta);
  for (cConnection* w : wires) {
    w->invalidate();
    w->moveKnotsBy(delta);
    w->invalidate();
  }
  return true;
}

int cWorksheetPane::cursorKind(cPoint point) const {
  const int tool = host_->currentTool();
  if (tool == kHandTool) return kCursorHand;
  if (!isEditing()) return kCursorArrow;
  if (tool == kEraserTool) return kCursorEraser;
  if (cKnotNode* k = knotAt(point); k && isEditable(k->data->wire)) return kCursorMove;
  const cGadget* g = gadgetAt(point);
  if (g) {
    const cPinChoice pin = g->nearestPin(point);
    if (pin.found() && squaredDistance(g->pinPosition(pin.pin), point) <= kPinGrabDistance2) {
      const cConnection* w = g->wireAt(pin.pin);
      if (!w || isEditable(w)) return kCursorPin;
    }
  }
  if (cConnection* w = wireAt(point, nullptr); w && isEditable(w)) return kCursorWire;
  if (g && isEditable(g)) return kCursorMove;
  return kCursorArrow;
}

// ---- keys ----

void cWorksheetPane::deleteKnot(cKnotNode* knot) {
  if (selectedKnot == knot) clearSelection();
  knot->data->wire->removeKnot(knot);
}

bool cWorksheetPane::keyDown(int key, uint32_t) {
  if (!isEditing()) return false;
  switch (key) {
    case vk::delete_: {
      if (!selectedGadget && !selectedWire && !selectedKnot) return true;
      cGadget* g = selectedGadget;
      cConnection* w = selectedWire;
      cKnotNode* k = selectedKnot;
      // A locked item that got selected anyhow is still spared.
      if ((g && !isEditable(g)) || (w && !isEditable(w)) || (k && !isEditable(k->data->wire)))
        return true;
      undoStore().snapshot(*this);
      changed();
      clearSelection();
      if (w) { removeWire(w); playSound(kSndWireDeleted); }
      if (g) { removeGadget(g); playSound(kSndGadgetDeleted); }
      if (k) { deleteKnot(k); playSound(kSndKnotDeleted); }
      return true;
    }
    case vk::keyA + ('L' - 'A'): {
      if (!selectedGadget && !selectedWire) return true;
      if ((selectedGadget && !isEditable(selectedGadget)) || (selectedWire && !isEditable(selectedWire)))
        return true;
      undoStore().snapshot(*this);
      changed();
      if (selectedGadget) selectedGadget->setLocked(!selectedGadget->locked);
      if (selectedWire) {
        selectedWire->locked = !selectedWire->locked;
        selectedWire->invalidate();
      }
      return true;
    }
    case vk::add:
    case vk::subtract: {
      if (!selectedGadget) return false;
      limits.changeLimit(kindNumberOf(selectedGadget), key == vk::add ? 1 : -1);
      host_->limitsChanged();
      return true;
    }
    default:
      return false;
  }
}

bool cWorksheetPane::handleKey(int key) {
  if (keyDown(key)) return true;
  if (key == vk::return_ && isEditing()) {
    startRun();
    return true;
  }
  if (key == vk::escape && isRunning()) {
    stopRun();
    return true;
  }
  return host_->trayKeyDown(key);
}

// ---- commands ----

void cWorksheetPane::bulkRemove(bool gadgetsToo, bool wiresToo, bool knotsToo) {
  undoStore().snapshot(*this);
  clearSelection();
  // Locked items stay unless lock-edit is on; a wire goes with any gadget that goes.
  if (gadgetsToo)
    for (cGadgetList::Node* n = gadgets.head(); n;) {
      cGadgetList::Node* next = n->next;
      if (isEditable(n->data)) removeGadget(n->data);
      n = next;
    }
  if (wiresToo)
    for (cWireList::Node* n = wires.head(); n;) {
      cWireList::Node* next = n->next;
      if (isEditable(n->data)) removeWire(n->data);
      n = next;
    }
  if (knotsToo)
    for (cConnection* w : wires)
      if (isEditable(w)) w->removeAllKnots();
  changed();
  redrawAll();
}

void cWorksheetPane::removeAll() { bulkRemove(true, true, false); }
void cWorksheetPane::removeAllWires() { bulkRemove(false, true, false); }
void cWorksheetPane::removeAllKnots() { bulkRemove(false, false, true); }

void cWorksheetPane::setBackground(uint16_t number) {
  if (number == backgroundNumber_) return;
  undoStore().snapshot(*this);
  setBackgroundQuietly(number);
  host_->updateCommands();
  changed();
  redrawAll();
}

void cWorksheetPane::undo() {
  undoStore().undo(*this);
  host_->updateCommands();
}

void cWorksheetPane::toggleLockEdit() {
  lockEdit = !lockEdit;
  host_->updateCommands();
  redrawAll();
}

// ---- running ----

void cWorksheetPane::prepareRun() {
  host_->selectTool(kArrowTool);
  clearSelection();
  runTicks = 0;
  for (cGadget* g : gadgets) {
    g->readInputs();
    g->invalidate();
  }
}

void cWorksheetPane::resetRun() {
  for (cGadget* g : gadgets) g->reset();
  for (cConnection* w : wires) w->signal = false;
  runStart = 0;
  pauseStart = 0;
  redrawAll();
}
