// The worksheet: the invention in memory and the surface it is edited and
// run on. It owns the gadgets, the wires, the background, the selection, the
// dirty rectangle and the run clock; it turns mouse and key input into edits
// (editing) or gadget clicks (running), carries out the Edit and Background
// commands, and with cUndo gives one level of undo.
//
// There is one worksheet at a time; gadgets and wires reach it through
// theWorksheet(). What lies outside the engine (the document record, the
// menus, the tray window, the view window) is reached through a
// cWorksheetHost, which the editor and the player provide.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/connection.h"
#include "engine/gadget.h"
#include "engine/partlimits.h"
#include "shell/core/liveobjects.h"
#include "shell/core/ptrlist.h"
#include "shell/core/types.h"

class cBackground;
class CWinGDib;

using cGadgetList = cPtrList<cGadget, true>;
using cWireList = cPtrList<cConnection, true>;

inline constexpr int kWorksheetWidth = 720;
inline constexpr int kWorksheetHeight = 540;
// A pin is grabbed within this squared distance.
inline constexpr int kPinGrabDistance2 = 196;

// The tray's three tools.
enum : int { kArrowTool = 0, kEraserTool = 1, kHandTool = 2 };

// The cursor shown over a point (the view picks the matching cursor).
enum : int {
  kCursorArrow = 0,
  kCursorEraser = 1,
  kCursorPin = 2,
  kCursorHand = 4,
  kCursorWire = 5,
  kCursorMove = 6,
};

// The backgrounds of the Background menu.
enum : uint16_t { kBackgroundNone = 0, kBackgroundSand = 700, kBackgroundWaves = 701, kBackgroundSteel = 702 };

// What the worksheet needs from the program around it. Every operation has
// a harmless default, so a program without a window (zanbel-cli, tests)
// needs to override nothing.
class cWorksheetHost {
 public:
  virtual ~cWorksheetHost() = default;
  // The document has changed (its modified flag).
  virtual void documentChanged() {}
  // Menus and the control panel should show the current state (mode, undo, background).
  virtual void updateCommands() {}
  // The tray's current tool, and choosing one.
  virtual int currentTool() { return kArrowTool; }
  virtual void selectTool(int) {}
  virtual void showTray(bool) {}
  // The tray's information line shows the kind's name.
  virtual void showKindName(int) {}
  // A limit changed: the tray redraws its drawer.
  virtual void limitsChanged() {}
  // The run is about to stop: the gadgets still hold their outputs.
  virtual void runStopping() {}
  // Keys the worksheet and the run/stop keys did not take go to the tray.
  virtual bool trayKeyDown(int) { return false; }
  // The window: part of it must be repainted; repaint now.
  virtual void invalidateWindow(const cRect&) {}
  virtual void updateWindow() {}
  virtual bool isMinimised() { return false; }
  // When the cursor is over the worksheet window: true and the point in
  // worksheet coordinates. The default asks the platform's pointer.
  virtual bool cursorOverWorksheet(cPoint& point);
  // Opens the gadget's property dialog (modal); false when there is none.
  virtual bool openPropertyDialog(cGadget&) { return false; }
};

// A pane of the view: a surface to draw on and an area.
class cAbstractPane : public cLiveObject {
 public:
  cAbstractPane(CWinGDib* surface, cRect area) : surface(surface), area(area) {}
  virtual ~cAbstractPane() = default;
  virtual void mouseDown(cPoint point, uint16_t keys, bool doubleClick);
  virtual bool keyDown(int key, uint32_t flags);
  // Passes the character's low byte to keyDown.
  virtual void charTyped(int key, uint32_t flags);
  virtual void mouseMoved(cPoint point, uint16_t keys);
  virtual void mouseUp(cPoint point, uint16_t keys);
  virtual void rightMouseDown(cPoint point, uint16_t keys);
  virtual cPoint toPane(cPoint point) const { return point - area.topLeft(); }

  CWinGDib* surface;
  cRect area;
};

// What a mouse press on the worksheet turned into. The view runs the drag
// loop the action names, calling the worksheet's drag operations.
struct cEditAction {
  enum Kind : uint8_t {
    none,
    dragKnot,      // knot: move it with moveKnotTo
    dragWireEnd,   // wireDrag: dragWireEnd, then releaseWireEnd
    dragGadget,    // gadget: moveGadgetBy
    dragHand,      // handShift
    openedDialog,  // the property dialog of gadget was shown
    erased,        // the eraser deleted something
    gadgetClick,   // running: the gadget got mouseDown
  };
  Kind kind = none;
  cGadget* gadget = nullptr;
  cKnotNode* knot = nullptr;
  // For dragWireEnd: the wire and which of its ends follows the mouse.
  struct cWireDrag {
    cConnection* wire = nullptr;
    bool isNew = false;          // rule 1: a new wire; else the end of an existing one
    bool freeIsSource = false;   // the free end is the output end
    cGadget* oldGadget = nullptr;  // where a moved end came from
    uint16_t oldPin = kFreePin;
    cGadget* snapGadget = nullptr;  // where the free end snapped to
    int snapPin = -1;
  } wireDrag;
};

class cWorksheetPane : public cAbstractPane {
 public:
  explicit cWorksheetPane(CWinGDib* surface = nullptr, cWorksheetHost* host = nullptr);
  ~cWorksheetPane() override;
  cWorksheetPane(const cWorksheetPane&) = delete;
  cWorksheetPane& operator=(const cWorksheetPane&) = delete;

  cWorksheetHost& host() { return *host_; }
  void setHost(cWorksheetHost* host);
  void setSurface(CWinGDib* s) { surface = s; }
  // The view's client size: the area and the background's bounds.
  void setSize(int width, int height);

  // ---- lists and look-ups ----
  void addGadget(std::unique_ptr<cGadget> gadget);
  void addWire(std::unique_ptr<cConnection> wire);
  // Unlink and destroy; the selected item is deselected first. Removing a
  // gadget gives one part of its kind back to the tray.
  void removeGadget(cGadget* gadget);
  void removeWire(cConnection* wire);
  // Every gadget and wire gone, background none.
  void removeEverything();
  bool ownsWire(const cConnection* wire) const { return wires.contains(wire); }
  // The gadget added first among those with the key (so a key that occurs
  // twice in a file names the first gadget read).
  cGadget* gadgetByKey(uint32_t key) const;
  cGadget* gadgetAt(cPoint point) const;
  cConnection* wireAt(cPoint point, int* segment) const;
  cKnotNode* knotAt(cPoint point) const;
  // Brings the gadget to the front of the list: drawn on top, stepped first.
  void bringToFront(cGadget* gadget);

  // ---- the dirty rectangle ----
  void invalidate(const cRect& rect);
  // 0: repaint the window later; 1: at once; 2: at once without re-rendering
  // the surface; -1: re-render the surface only (drag loops).
  void flush(int how);
  void redrawAll();
  // Draws the area into the surface, as flush does.
  void render(const cRect& clip);

  // ---- selection ----
  void updateHover(cPoint point);
  void clearSelection();
  bool isEditable(const cGadget* g) const { return !g->locked || lockEdit; }
  bool isEditable(const cConnection* w) const { return !w->locked || lockEdit; }

  // ---- input ----
  void mouseDown(cPoint point, uint16_t keys, bool doubleClick) override;
  bool keyDown(int key, uint32_t flags = 0) override;
  // The decision of a press; mouseDown takes it and hands it to the host's drag loop.
  cEditAction pressAt(cPoint point, uint16_t keys, bool doubleClick);
  // The key of the view: worksheet keys, then Enter and Escape, then the tray.
  bool handleKey(int key);

  // ---- drag operations (called by the view's drag loops) ----
  void dragWireEnd(cEditAction& action, cPoint point);
  void releaseWireEnd(cEditAction& action);
  void moveGadgetBy(cGadget* gadget, cPoint delta) { gadget->moveBy(delta); }
  void moveKnotTo(cKnotNode* knot, cPoint point);
  // Shifts the whole invention; false when the move would leave no gadget
  // in the inner area while one is in it now.
  bool handShift(cPoint delta);
  int cursorKind(cPoint point) const;

  // ---- commands ----
  void removeAll();
  void removeAllWires();
  void removeAllKnots();
  void setBackground(uint16_t number);
  uint16_t backgroundNumber() const { return backgroundNumber_; }
  // Sets the number without an undo step or a redraw (the file reader).
  void setBackgroundQuietly(uint16_t number);
  void undo();
  void toggleLockEdit();

  // ---- running (the cycle calls these) ----
  void prepareRun();
  void resetRun();

  // ---- fields ----
  cGadgetList gadgets;
  cWireList wires;
  std::unique_ptr<cBackground> background;
  bool dirtyPending = false;
  cRect dirty;
  cConnection* selectedWire = nullptr;
  int16_t selectedSegment = kNoSegment;
  cGadget* selectedGadget = nullptr;
  cKnotNode* selectedKnot = nullptr;
  uint32_t runTicks = 0;
  uint32_t runStart = 0;
  uint16_t fileVersion = 4;
  bool lockEdit = false;

  uint32_t pauseStart = 0;
  cPartLimits limits;

 private:
  void select(cGadget* g, cConnection* w, int segment, cKnotNode* k);
  void invalidateSelection();
  void deleteKnot(cKnotNode* knot);
  void startWire(cEditAction& a, cGadget* g, int pin);
  // The Edit menu's removals: an undo step, then what is not locked.
  void bulkRemove(bool gadgetsToo, bool wiresToo, bool knotsToo);
  void changed();
  // The background object: made with the worksheet, drawn under the gadgets
  // and (its border) over them.
  void makeBackground();
  void resizeBackground();
  void drawBackgroundUnder(const cRect& clip);
  void drawBorderOver(const cRect& clip);

  cWorksheetHost* host_;
  cWorksheetPane* previous_ = nullptr;
  std::unique_ptr<CWinGDib> backgroundLayer_;
  bool backgroundLayerStale_ = true;
  uint16_t backgroundNumber_ = kBackgroundNone;
};

// The worksheet in use, or null.
cWorksheetPane* theWorksheet();

// A host that does nothing; the worksheet uses it when given none.
cWorksheetHost& quietHost();
