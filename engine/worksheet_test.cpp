#include "engine/worksheet.h"

#include "engine/engine_testing.h"
#include "engine/keyboard.h"
#include "graphics/background.h"

using namespace enginetest;

namespace {

// The program around the worksheet, as much as the tests look at.
class cTestHost : public cWorksheetHost {
 public:
  int tool = kArrowTool;
  int changes = 0;
  int dialogs = 0;
  int kindShown = 0;
  std::vector<int> trayKeys;
  int currentTool() override { return tool; }
  void selectTool(int t) override { tool = t; }
  void documentChanged() override { ++changes; }
  void showKindName(int k) override { kindShown = k; }
  bool trayKeyDown(int key) override {
    trayKeys.push_back(key);
    return true;
  }
  bool openPropertyDialog(cGadget&) override {
    ++dialogs;
    return true;
  }
};

class WorksheetTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ws->setHost(&host);
  }
  void TearDown() override {
    hp.scriptedInput().release(vk::lbutton);
    EngineTest::TearDown();
  }
  void holdButton(bool down) {
    if (down) hp.scriptedInput().press(vk::lbutton);
    else hp.scriptedInput().release(vk::lbutton);
  }
  cPoint pinOf(cGadget* g, int pin) { return g->pinPosition(pin); }
  cTestHost host;
};

}  // namespace

TEST_F(WorksheetTest, DeleteGadgetWithThreeWiresAndUndoTwice) {
  cTestKind* gate = add("AndG"_tc, {200, 200});
  cTestKind* a = add("MiCo"_tc, {100, 50});
  cTestKind* b = add("MiCo"_tc, {300, 50});
  cTestKind* c = add("Stop"_tc, {200, 400});
  wire(a, 0, gate, 0, {{120, 100}});
  wire(b, 0, gate, 1, {{280, 120}, {250, 150}});
  wire(gate, 2, c, 0);
  const std::vector<uint8_t> before = save();

  ws->updateHover(gate->position + cPoint(20, 40));
  ASSERT_EQ(ws->selectedGadget, gate);
  EXPECT_TRUE(ws->keyDown(vk::delete_));
  EXPECT_EQ(countGadgets(), 3);
  EXPECT_EQ(ws->wires.count(), 0) << "the wires and their knots went with it";
  EXPECT_TRUE(sounds->played(kSndGadgetDeleted));
  EXPECT_EQ(host.changes, 1);
  const std::vector<uint8_t> after = save();

  ws->undo();
  EXPECT_EQ(countGadgets(), 4);
  EXPECT_EQ(ws->wires.count(), 3);
  EXPECT_EQ(save(), before);
  ws->undo();
  EXPECT_EQ(countGadgets(), 3);
  EXPECT_EQ(ws->wires.count(), 0);
  EXPECT_EQ(save(), after);
}

TEST_F(WorksheetTest, UndoWithoutASnapshotChangesNothing) {
  add("MiCo"_tc, {100, 100});
  ws->undo();
  EXPECT_EQ(countGadgets(), 1);
}

TEST_F(WorksheetTest, UndoThatCannotReadDropsTheSnapshotAndReadsAgain) {
  add("MiCo"_tc, {100, 100});
  undoStore().snapshot(*ws);  // one gadget: 32 + 344 bytes
  add("MiCo"_tc, {200, 200});
  // Undo first stores the present state (two gadgets) as the new snapshot;
  // the reader's memory check then asks for that size plus the spare, which
  // this budget refuses. Without the snapshot the check asks for the spare only.
  setMemoryProbeLimit({int64_t(kUndoSpare) + 32 + 2 * 344 - 1, -1});
  ws->undo();
  EXPECT_EQ(countGadgets(), 1) << "read again after the snapshot went";
  EXPECT_FALSE(undoStore().canUndo());
}

TEST_F(WorksheetTest, RemoveAllSparesLockedGadgetsAndTheirWires) {
  cTestKind* lockedA = add("MiCo"_tc, {100, 100});
  cTestKind* lockedB = add("AndG"_tc, {100, 300});
  cTestKind* free1 = add("MiCo"_tc, {300, 100});
  cTestKind* free2 = add("Stop"_tc, {300, 400});
  lockedA->locked = lockedB->locked = true;
  cConnection* keep = wire(lockedA, 0, lockedB, 0);
  keep->locked = true;
  cConnection* goesWithGadget = wire(free1, 0, lockedB, 1);
  goesWithGadget->locked = true;
  wire(lockedB, 2, free2, 0);  // not locked

  ws->removeAll();
  EXPECT_EQ(countGadgets(), 2);
  ASSERT_EQ(ws->wires.count(), 1);
  EXPECT_EQ(ws->wires.head()->data, keep);

  ws->lockEdit = true;
  ws->removeAll();
  EXPECT_EQ(countGadgets(), 0);
  EXPECT_EQ(ws->wires.count(), 0);
}

TEST_F(WorksheetTest, RemoveAllWiresAndKnotsSpareLockedWires) {
  cTestKind* a = add("MiCo"_tc, {100, 100});
  cTestKind* b = add("MiCo"_tc, {300, 100});
  cTestKind* g = add("AndG"_tc, {200, 300});
  cConnection* locked = wire(a, 0, g, 0, {{100, 200}});
  locked->locked = true;
  cConnection* plain = wire(b, 0, g, 1, {{300, 200}, {250, 250}});
  ws->removeAllKnots();
  EXPECT_EQ(locked->knots.count(), 1);
  EXPECT_EQ(plain->knots.count(), 0);
  ws->removeAllWires();
  ASSERT_EQ(ws->wires.count(), 1);
  EXPECT_EQ(ws->wires.head()->data, locked);
  ws->undo();
  EXPECT_EQ(ws->wires.count(), 2);
}

TEST_F(WorksheetTest, ChoosingSteelTwiceTakesOneSnapshot) {
  ws->setBackground(kBackgroundSteel);
  EXPECT_EQ(host.changes, 1);
  ws->setBackground(kBackgroundSteel);
  EXPECT_EQ(host.changes, 1);
  ws->undo();
  EXPECT_EQ(ws->backgroundNumber(), kBackgroundNone) << "the one snapshot was taken before the first";
}

TEST_F(WorksheetTest, ClickingAGadgetBehindAnotherBringsItToTheFront) {
  cTestKind* back = add("AndG"_tc, {200, 200});
  cTestKind* front = add("AndG"_tc, {210, 250});
  back->colour = 11;
  front->colour = 12;
  ws->redrawAll();
  const cPoint onlyBack = back->position + cPoint(5, 10);
  const cPoint overlap = front->position + cPoint(5, 5);
  EXPECT_EQ(*surface->pixelAddress(overlap.h, overlap.v), 12);

  ws->pressAt(onlyBack, 0, false);
  EXPECT_EQ(ws->gadgets.head()->data, back);
  EXPECT_EQ(*surface->pixelAddress(overlap.h, overlap.v), 11) << "now drawn on top";
  // It is also stepped first (see the cycle's tests for the order of values).
}

TEST_F(WorksheetTest, HandToolKeepsSomeGadgetInTheInnerArea) {
  host.tool = kHandTool;
  cTestKind* g = add("MiCo"_tc, {270, 360});  // in the middle
  // The inner area of 720 x 540 is left 72, top 54, right 648, bottom 486.
  const cEditAction a = ws->pressAt({270, 360}, 0, false);
  EXPECT_EQ(a.kind, cEditAction::dragHand);
  EXPECT_TRUE(ws->handShift({100, 100}));
  EXPECT_FALSE(ws->handShift({0, 400})) << "would leave the inner area";
  const cPoint p = g->position;
  EXPECT_FALSE(ws->handShift({400, 0}));
  EXPECT_EQ(g->position, p);

  // Out of the inner area already: moves freely.
  g->position = {0, 0};
  EXPECT_TRUE(ws->handShift({-10, -10}));
  EXPECT_EQ(g->position, cPoint(-10, -10));
  // Knots move with the invention.
  cTestKind* h = add("Stop"_tc, {270, 360});
  cConnection* w = wire(g, 0, h, 0, {{200, 200}});
  EXPECT_TRUE(ws->handShift({5, 5}));
  EXPECT_EQ(w->positionOfKnot(0), cPoint(205, 205));
}

TEST_F(WorksheetTest, HoverSelectsKnotThenWireThenGadgetAndRefusesLockedItems) {
  cTestKind* a = add("MiCo"_tc, {100, 100});
  cTestKind* g = add("AndG"_tc, {100, 400});
  cConnection* w = wire(a, 0, g, 0, {{100, 250}});
  const cPoint knot = {100, 250}, onWire = {100, 200}, onGadget = g->position + cPoint(30, 40);

  ws->updateHover(knot);
  EXPECT_EQ(ws->selectedKnot, w->knots.head());
  EXPECT_TRUE(sounds->played(kSndHover));
  sounds->forget();
  ws->updateHover(knot);
  EXPECT_FALSE(sounds->played(kSndHover)) << "no sound while the selection stays";
  ws->updateHover(onWire);
  EXPECT_EQ(ws->selectedWire, w);
  EXPECT_EQ(ws->selectedKnot, nullptr);
  ws->updateHover(onGadget);
  EXPECT_EQ(ws->selectedGadget, g);
  EXPECT_EQ(host.kindShown, kindByCode("AndG"_tc)->number);
  ws->updateHover({500, 500});
  EXPECT_EQ(ws->selectedGadget, nullptr);

  g->locked = true;
  w->locked = true;
  sounds->forget();
  for (cPoint p : {knot, onWire, onGadget}) {
    ws->updateHover(p);
    EXPECT_FALSE(ws->selectedGadget || ws->selectedWire || ws->selectedKnot);
  }
  EXPECT_FALSE(sounds->played(kSndHover));
  ws->lockEdit = true;
  ws->updateHover(onGadget);
  EXPECT_EQ(ws->selectedGadget, g);
}

TEST_F(WorksheetTest, DrawingAWireFromAFreePinToAnInput) {
  cTestKind* src = add("MiCo"_tc, {100, 100});
  cTestKind* gate = add("AndG"_tc, {300, 300});
  holdButton(true);
  cEditAction a = ws->pressAt(pinOf(src, 0) + cPoint(3, -3), 0, false);
  ASSERT_EQ(a.kind, cEditAction::dragWireEnd);
  EXPECT_TRUE(a.wireDrag.isNew);
  EXPECT_TRUE(sounds->played(kSndWireAttach));
  EXPECT_EQ(ws->wires.head()->data, a.wireDrag.wire);

  // Over the gate the loose input end jumps to the nearest free input.
  sounds->forget();
  ws->dragWireEnd(a, gate->position + cPoint(30, 30));
  EXPECT_TRUE(a.wireDrag.wire->snapped);
  EXPECT_EQ(a.wireDrag.wire->freeEnd, pinOf(gate, 1));
  EXPECT_TRUE(sounds->played(kSndWireSnap));
  sounds->forget();
  ws->dragWireEnd(a, gate->position + cPoint(32, 31));
  EXPECT_FALSE(sounds->played(kSndWireSnap)) << "the same pin again";
  ws->dragWireEnd(a, gate->position + cPoint(10, 10));
  EXPECT_EQ(a.wireDrag.wire->freeEnd, pinOf(gate, 0));
  EXPECT_TRUE(sounds->played(kSndWireSnap));

  cConnection* w = a.wireDrag.wire;
  ws->releaseWireEnd(a);
  EXPECT_TRUE(w->isComplete());
  EXPECT_EQ(gate->wireAt(0), w);
  EXPECT_EQ(src->wireAt(0), w);
}

TEST_F(WorksheetTest, ANewWireReleasedOverNothingIsDeleted) {
  cTestKind* src = add("MiCo"_tc, {100, 100});
  cEditAction a = ws->pressAt(pinOf(src, 0), 0, false);
  ASSERT_EQ(a.kind, cEditAction::dragWireEnd);
  ws->dragWireEnd(a, {400, 600});
  ws->releaseWireEnd(a);
  EXPECT_EQ(ws->wires.count(), 0);
  EXPECT_EQ(src->wireAt(0), nullptr);
}

TEST_F(WorksheetTest, AMovedEndReleasedOverNothingGoesBack) {
  cTestKind* src = add("MiCo"_tc, {100, 100});
  cTestKind* gate = add("AndG"_tc, {300, 300});
  cConnection* w = wire(src, 0, gate, 1);
  cEditAction a = ws->pressAt(pinOf(gate, 1), 0, false);
  ASSERT_EQ(a.kind, cEditAction::dragWireEnd);
  EXPECT_FALSE(a.wireDrag.isNew);
  EXPECT_EQ(a.wireDrag.wire, w);
  EXPECT_EQ(gate->wireAt(1), nullptr) << "the end came loose";
  EXPECT_TRUE(sounds->played(kSndWireDetach));
  ws->dragWireEnd(a, {500, 600});
  ws->releaseWireEnd(a);
  EXPECT_EQ(gate->wireAt(1), w);
  EXPECT_EQ(w->target, gate);
  EXPECT_EQ(w->targetPin, 1);

  // A locked wire's end stays where it is.
  w->locked = true;
  const cEditAction b = ws->pressAt(pinOf(gate, 1), 0, false);
  EXPECT_NE(b.kind, cEditAction::dragWireEnd);
  EXPECT_EQ(gate->wireAt(1), w);
}

TEST_F(WorksheetTest, ClickingAWireInsertsAKnotToDrag) {
  cTestKind* src = add("MiCo"_tc, {100, 100});
  cTestKind* gate = add("AndG"_tc, {100, 400});
  cConnection* w = wire(src, 0, gate, 0);
  const cPoint ends = pinOf(src, 0) + pinOf(gate, 0);
  const cPoint p(ends.v / 2, ends.h / 2);
  holdButton(true);
  const cEditAction a = ws->pressAt(p, 0, false);
  ASSERT_EQ(a.kind, cEditAction::dragKnot);
  EXPECT_EQ(w->knots.count(), 1);
  EXPECT_EQ(ws->selectedKnot, a.knot);
  ws->moveKnotTo(a.knot, {50, 250});
  EXPECT_EQ(w->positionOfKnot(0), cPoint(50, 250));
  ws->undo();
  EXPECT_EQ(ws->wires.head()->data->knots.count(), 0);
}

TEST_F(WorksheetTest, PressOnAGadgetDragsItOrOpensItsDialog) {
  cTestKind* g = add("AndG"_tc, {200, 200});
  const cPoint inside = g->position + cPoint(20, 40);
  EXPECT_EQ(ws->pressAt(inside, 0, false).kind, cEditAction::none) << "released at once: no drag";
  EXPECT_EQ(ws->selectedGadget, g);
  holdButton(true);
  EXPECT_EQ(ws->pressAt(inside, 0, false).kind, cEditAction::dragGadget);
  holdButton(false);
  EXPECT_EQ(ws->pressAt(inside, 0, true).kind, cEditAction::openedDialog);
  EXPECT_EQ(host.dialogs, 1);
  EXPECT_TRUE(sounds->played(kSndDialogOpen));
  EXPECT_TRUE(sounds->played(kSndDialogClose));

  g->locked = true;
  holdButton(true);
  EXPECT_EQ(ws->pressAt(inside, 0, false).kind, cEditAction::none) << "locked gadgets stay";
  EXPECT_EQ(ws->pressAt(inside, 0, true).kind, cEditAction::none);
}

TEST_F(WorksheetTest, EraserDeletesKnotThenWireThenGadget) {
  host.tool = kEraserTool;
  cTestKind* src = add("MiCo"_tc, {100, 100});
  cTestKind* gate = add("AndG"_tc, {100, 400});
  const cPoint knot(pinOf(src, 0).v, 250);
  cConnection* w = wire(src, 0, gate, 0, {knot});

  struct { cPoint at; uint16_t sound; int gadgets, wires, knots; } steps[] = {
      {knot, kSndKnotDeleted, 2, 1, 0},
      {knot, kSndWireDeleted, 2, 0, 0},
      {gate->position + cPoint(20, 40), kSndGadgetDeleted, 1, 0, 0},
  };
  for (const auto& s : steps) {
    sounds->forget();
    EXPECT_EQ(ws->pressAt(s.at, 0, false).kind, cEditAction::erased);
    EXPECT_TRUE(sounds->played(s.sound));
    EXPECT_EQ(countGadgets(), s.gadgets);
    EXPECT_EQ(ws->wires.count(), s.wires);
    if (s.wires) {
      EXPECT_EQ(w->knots.count(), s.knots);
    }
  }
  src->locked = true;
  EXPECT_EQ(ws->pressAt(src->position + cPoint(2, 2), 0, false).kind, cEditAction::none);
  EXPECT_EQ(countGadgets(), 1);
}

TEST_F(WorksheetTest, KeysDeleteLockAndChangeTheLimit) {
  cTestKind* g = add("AndG"_tc, {200, 200});
  const int kind = kindByCode("AndG"_tc)->number;
  ws->updateHover(g->position + cPoint(20, 40));

  EXPECT_TRUE(ws->keyDown(vk::add));
  EXPECT_EQ(ws->limits.limit(kind), 0) << "an unlimited kind gets a limit of 0";
  EXPECT_TRUE(ws->keyDown(vk::add));
  EXPECT_EQ(ws->limits.limit(kind), 1);
  ws->keyDown(vk::subtract);
  ws->keyDown(vk::subtract);
  EXPECT_EQ(ws->limits.limit(kind), -1);
  ws->keyDown(vk::subtract);
  EXPECT_EQ(ws->limits.limit(kind), -1) << "no limit ignores minus";

  EXPECT_TRUE(ws->keyDown('L'));
  EXPECT_TRUE(g->locked);
  // Once locked the hover lets go of it, and neither L nor Delete reaches it.
  ws->selectedGadget = g;  // as if it had been selected just before
  ws->keyDown('L');
  ws->keyDown(vk::delete_);
  EXPECT_TRUE(g->locked);
  EXPECT_EQ(countGadgets(), 1);
  ws->undo();
  EXPECT_FALSE(ws->gadgets.head()->data->locked);
}

TEST_F(WorksheetTest, EnterRunsEscapeStopsOtherKeysGoToTheTray) {
  EXPECT_TRUE(ws->handleKey(vk::escape));
  EXPECT_TRUE(isEditing()) << "Escape while editing does nothing but reach the tray";
  EXPECT_EQ(host.trayKeys, std::vector<int>{vk::escape});
  ws->handleKey(vk::return_);
  EXPECT_TRUE(isRunning());
  ws->handleKey(vk::return_);
  EXPECT_TRUE(isRunning()) << "Enter while running does nothing";
  ws->handleKey(vk::escape);
  EXPECT_TRUE(isEditing());
  ws->handleKey(vk::shift);
  EXPECT_EQ(host.trayKeys.back(), vk::shift);
}

TEST_F(WorksheetTest, RemovingAGadgetGivesAPartBackToItsLimit) {
  cTestKind* g = add("AndG"_tc, {200, 200});
  const int kind = kindByCode("AndG"_tc)->number;
  ws->limits.setLimit(kind, 0);
  ws->removeGadget(g);
  EXPECT_EQ(ws->limits.limit(kind), 1);
  cTestKind* h = add("MiCo"_tc, {200, 200});
  ws->removeGadget(h);
  EXPECT_EQ(ws->limits.limit(kindByCode("MiCo"_tc)->number), -1) << "unlimited stays unlimited";
}

TEST_F(WorksheetTest, CursorKindNamesWhatIsUnderThePoint) {
  cTestKind* src = add("MiCo"_tc, {100, 100});
  cTestKind* gate = add("AndG"_tc, {100, 400});
  wire(src, 0, gate, 0, {{pinOf(src, 0).v, 250}});
  struct { int tool; cPoint at; int kind; } cases[] = {
      {kArrowTool, {500, 600}, kCursorArrow},
      {kArrowTool, pinOf(gate, 1), kCursorPin},
      {kArrowTool, {pinOf(src, 0).v, 250}, kCursorMove},
      {kArrowTool, {pinOf(src, 0).v, 200}, kCursorWire},
      {kArrowTool, gate->position + cPoint(23, 40), kCursorMove},
      {kEraserTool, {500, 600}, kCursorEraser},
      {kHandTool, {500, 600}, kCursorHand},
  };
  for (const auto& c : cases) {
    host.tool = c.tool;
    EXPECT_EQ(ws->cursorKind(c.at), c.kind) << c.at.v << "," << c.at.h;
  }
  host.tool = kArrowTool;
  gate->locked = true;
  EXPECT_EQ(ws->cursorKind(gate->position + cPoint(23, 40)), kCursorArrow);
}

TEST_F(WorksheetTest, FlushPaintsBackgroundGadgetsWiresAndSelectionInOrder) {
  cTestKind* a = add("MiCo"_tc, {100, 100});
  cTestKind* g = add("AndG"_tc, {100, 300});
  cConnection* w = wire(a, 0, g, 0);
  surface->fill(3);
  ws->redrawAll();
  const uint8_t green = nearestIndex(kDarkGreen);
  EXPECT_EQ(*surface->pixelAddress(10, 10), nearestIndex(rgb(255, 255, 255))) << "the background";
  EXPECT_EQ(*surface->pixelAddress(a->position.h + 2, a->position.v + 2), a->colour);
  // The wire is drawn over the gadgets it joins.
  const cPoint mid = (pinOf(a, 0) + pinOf(g, 0));
  EXPECT_EQ(*surface->pixelAddress(mid.h / 2, mid.v / 2), green);
  EXPECT_FALSE(ws->dirtyPending);

  // The selection frame appears on a flush of the gadget's area only.
  ws->updateHover(g->position + cPoint(20, 40));
  ws->flush(0);
  EXPECT_EQ(*surface->pixelAddress(g->position.h, g->position.v), green);
  (void)w;

  // Invisible gadgets (carried by a drag) are left out while editing...
  g->visible = false;
  ws->redrawAll();
  EXPECT_NE(*surface->pixelAddress(g->position.h + 40, g->position.v + 40), g->colour);
  // ...but not while running.
  setMode(cMode::running);
  ws->redrawAll();
  EXPECT_EQ(*surface->pixelAddress(g->position.h + 40, g->position.v + 40), g->colour);
}

TEST_F(WorksheetTest, FlushOnlyRepaintsTheDirtyArea) {
  cTestKind* a = add("MiCo"_tc, {100, 100});
  ws->redrawAll();
  surface->fill(3);
  a->invalidate();
  ws->flush(0);
  EXPECT_EQ(*surface->pixelAddress(a->position.h, a->position.v), a->colour);
  EXPECT_EQ(*surface->pixelAddress(a->position.h - 1, a->position.v), 3);
  ws->flush(0);  // nothing pending: nothing happens
  EXPECT_EQ(*surface->pixelAddress(a->position.h - 1, a->position.v), 3);
}

TEST_F(WorksheetTest, LockEditShowsLockedGadgetsAndLetsThemBeEdited) {
  cTestKind* g = add("AndG"_tc, {200, 200});
  g->locked = true;
  ws->toggleLockEdit();
  EXPECT_TRUE(ws->lockEdit);
  ws->updateHover(g->position + cPoint(20, 40));
  EXPECT_EQ(ws->selectedGadget, g);
  ws->flush(0);
  const cRect r = g->worksheetRect();
  EXPECT_EQ(*surface->pixelAddress(r.left + r.width() / 2, r.top + r.height() / 2), kLockIndex);
  ws->keyDown(vk::delete_);
  EXPECT_EQ(countGadgets(), 0);
}

TEST_F(WorksheetTest, BackgroundUnderTheGadgetsAndItsBorderOverThem) {
  cTestKind* g = add("MiCo"_tc, {100, 100});
  g->position = {0, 100};  // its top row lies under the border's top edge
  ws->setBackground(kBackgroundSteel);
  EXPECT_EQ(*surface->pixelAddress(300, 300), kPatternIndex + 2);
  EXPECT_EQ(*surface->pixelAddress(105, 5), g->colour);
  EXPECT_EQ(*surface->pixelAddress(105, 1), kBorderIndex) << "the border covers the gadget";
  EXPECT_EQ(*surface->pixelAddress(0, 0), kBorderIndex);
  EXPECT_EQ(*surface->pixelAddress(kWorksheetWidth - 1, kWorksheetHeight - 1), kBorderIndex);

  // A bigger window: the area and the background's bounds grow with it.
  surface->resize(800, 600);
  ws->setSize(800, 600);
  ws->redrawAll();
  EXPECT_EQ(*surface->pixelAddress(760, 300), kPatternIndex + 2);
  EXPECT_EQ(*surface->pixelAddress(799, 599), kBorderIndex);

  // The dark setting swaps the tile, and the worksheet shows it at once.
  setBackgroundDark(true);
  ws->background->rebuildTile();
  ws->flush(0);
  setBackgroundDark(false);
  EXPECT_EQ(*surface->pixelAddress(300, 300), kPatternIndex + 5);
  ws->background->rebuildTile();

  ws->setBackground(kBackgroundNone);
  EXPECT_EQ(*surface->pixelAddress(300, 300), nearestIndex(rgb(255, 255, 255)));
}
