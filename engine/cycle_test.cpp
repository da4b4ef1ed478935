#include "engine/cycle.h"

#include "engine/engine_testing.h"

using namespace enginetest;

namespace {

class cCycleHost : public cWorksheetHost {
 public:
  bool trayShown = true;
  bool minimised = false;
  int tool = kEraserTool;
  bool cursorInside = true;
  cPoint cursor;
  void showTray(bool show) override { trayShown = show; }
  bool isMinimised() override { return minimised; }
  int currentTool() override { return tool; }
  void selectTool(int t) override { tool = t; }
  bool cursorOverWorksheet(cPoint& p) override {
    p = cursor;
    return cursorInside;
  }
};

class CycleTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ws->setHost(&host);
  }
  // Runs cycles for ms milliseconds of the clock, one cycle per step.
  void runFor(uint32_t ms, uint32_t step = 5) {
    for (uint32_t t = 0; t < ms; t += step) {
      advance(step);
      runCycle();
    }
  }
  cCycleHost host;
};

}  // namespace

TEST_F(CycleTest, StartAndStopPrepareAndResetEverything) {
  cTestKind* src = add("MiCo"_tc, {100, 100});
  cTestKind* gate = add("AndG"_tc, {100, 300});
  cConnection* w = wire(src, 0, gate, 0);
  gate->startFresh = true;
  gate->integerValue = 7;
  ws->updateHover(gate->position + cPoint(20, 20));

  startRun();
  EXPECT_TRUE(isRunning());
  EXPECT_TRUE(sounds->played(kSndRunStart));
  EXPECT_FALSE(host.trayShown);
  EXPECT_EQ(host.tool, kArrowTool);
  EXPECT_EQ(ws->selectedGadget, nullptr);
  EXPECT_EQ(ws->runTicks, 0u);
  runCycle();
  ASSERT_EQ(gate->seen.size(), 1u);
  EXPECT_TRUE(gate->seen[0].changed0) << "a fresh start makes the connected input change";

  src->signalPin(0);
  runFor(1000);
  EXPECT_GE(ws->runTicks, 59u);
  stopRun();
  EXPECT_TRUE(isEditing());
  EXPECT_TRUE(sounds->played(kSndRunStop));
  EXPECT_TRUE(host.trayShown);
  EXPECT_EQ(gate->integerValue, 0) << "reset";
  EXPECT_EQ(ws->runStart, 0u);
  EXPECT_FALSE(w->signal);
  EXPECT_EQ(runTicks(), ws->runTicks) << "the clock keeps its last value after Stop";
  EXPECT_GT(runTicks(), 0u);

  // A signal raised before Stop is gone after it.
  startRun();
  src->signalPin(0);
  stopRun();
  EXPECT_FALSE(w->signal);

  // The clock restarts at 0 on every Run.
  startRun();
  EXPECT_EQ(runTicks(), 0u);
  runCycle();
  EXPECT_EQ(runTicks(), 0u);
  runFor(500);
  EXPECT_NEAR(double(runTicks()), 30.0, 1.0);
}

TEST_F(CycleTest, StartAndStopAreIgnoredInTheirOwnMode) {
  startRun();
  sounds->forget();
  startRun();
  EXPECT_FALSE(sounds->played(kSndRunStart));
  stopRun();
  sounds->forget();
  stopRun();
  EXPECT_FALSE(sounds->played(kSndRunStop));
}

TEST_F(CycleTest, AGadgetThatStopsTheRunKeepsTheOthersFromStepping) {
  cTestKind* last = add("AndG"_tc, {300, 300});
  cTestKind* stopper = add("Stop"_tc, {100, 100});
  cTestKind* first = add("AndG"_tc, {300, 100});
  cTestKind* src = add("MiCo"_tc, {50, 50});
  // List order: src, first, stopper, last.
  wire(src, 0, stopper, 0);
  src->numberOut = 1;
  startRun();
  runCycle();
  EXPECT_TRUE(isEditing());
  EXPECT_EQ(first->seen.size(), 1u);
  EXPECT_EQ(stopper->seen.size(), 1u);
  EXPECT_EQ(last->seen.size(), 0u) << "stepping ends with the stopper";
}

TEST_F(CycleTest, InALoopTheFrontGadgetSeesThePreviousCycle) {
  cTestKind* back = add("AndG"_tc, {300, 300});
  cTestKind* front = add("AndG"_tc, {100, 300});
  cTestKind* one = add("MiCo"_tc, {100, 50});
  one->numberOut = 1;
  wire(one, 0, front, 1);
  wire(front, 2, back, 0);
  wire(back, 2, front, 0);
  startRun();
  runCycle();
  ASSERT_EQ(front->seen.size(), 1u);
  EXPECT_EQ(front->seen[0].input0, 0.0) << "back's output from before";
  EXPECT_EQ(back->seen[0].input0, 1.0) << "front's output of this cycle";
  runCycle();
  EXPECT_EQ(front->seen[1].input0, 1.0);

  // Clicking the back gadget in edit mode brings it to the front and so
  // changes who sees whom first.
  stopRun();
  ws->pressAt(back->position + cPoint(20, 40), 0, false);
  ASSERT_EQ(ws->gadgets.head()->data, back);
  back->seen.clear();
  front->seen.clear();
  one->numberOut = 1;  // Stop reset it
  startRun();
  runCycle();
  EXPECT_EQ(back->seen[0].input0, 0.0);
  EXPECT_EQ(front->seen[0].input0, 0.0);  // back (now first) saw front's reset output
  EXPECT_TRUE(front->boolOut);
}

TEST_F(CycleTest, TimeAwayFromTheProgramIsLeftOutOfTheRunClock) {
  add("MiCo"_tc, {100, 100});
  startRun();
  runFor(1000);
  const uint32_t before = runTicks();
  pauseClock(true);
  advance(10000);  // no cycles while the program is in the background
  pauseClock(true);  // a second pause does not move the start
  advance(1000);
  pauseClock(false);
  runCycle();
  EXPECT_NEAR(double(runTicks()), double(before), 1.0);

  stopRun();
  pauseClock(true);  // ignored while editing
  EXPECT_EQ(ws->pauseStart, 0u);
}

TEST_F(CycleTest, EditingCyclesUpdateTheHoverUnlessTheHandIsOut) {
  cTestKind* g = add("AndG"_tc, {200, 200});
  host.tool = kArrowTool;
  host.cursor = g->position + cPoint(20, 20);
  runCycle();
  EXPECT_EQ(ws->selectedGadget, g);
  host.tool = kHandTool;
  runCycle();
  EXPECT_EQ(ws->selectedGadget, nullptr);
  host.tool = kArrowTool;
  runCycle();
  host.cursorInside = false;
  runCycle();
  EXPECT_EQ(ws->selectedGadget, nullptr) << "the cursor left the worksheet window";
}

TEST_F(CycleTest, AMinimisedWindowRunsNoCycles) {
  cTestKind* g = add("AndG"_tc, {200, 200});
  startRun();
  host.minimised = true;
  runFor(100);
  EXPECT_TRUE(g->seen.empty());
  host.minimised = false;
  runCycle();
  EXPECT_EQ(g->seen.size(), 1u);
}

TEST_F(CycleTest, ClicksWhileRunningGoToTheFrontmostGadget) {
  struct cClicked : cTestKindOf<'A', 'n', 'd', 'G'> {
    using cTestKindOf::cTestKindOf;
    void mouseDown(cPoint, uint16_t, bool) override { ++clicks; }
    int clicks = 0;
  };
  auto back = std::make_unique<cClicked>(cPoint(200, 200));
  auto front = std::make_unique<cClicked>(cPoint(205, 210));
  cClicked* b = back.get();
  cClicked* f = front.get();
  ws->addGadget(std::move(back));
  ws->addGadget(std::move(front));
  startRun();
  const cEditAction a = ws->pressAt(f->position + cPoint(2, 2), 0, false);
  EXPECT_EQ(a.kind, cEditAction::gadgetClick);
  EXPECT_EQ(f->clicks, 1);
  EXPECT_EQ(b->clicks, 0);
}
