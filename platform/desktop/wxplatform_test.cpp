#include "platform/desktop/wxplatform.h"

#include <gtest/gtest.h>

#include <wx/uiaction.h>

#include <thread>

#include "platform/desktop/wxtesting.h"
#include "platform/desktop/wxview.h"

namespace {

// A shown frame with a view, the pointer resting inside it.
struct cInputWindow {
  CDesktopFrame* frame = new CDesktopFrame("Zanbel input", wxPoint(60, 60), wxSize(200, 150));
  CSurfaceView* view = new CSurfaceView(frame);

  cInputWindow() {
    frame->setView(view);
    frame->Show();
    EXPECT_TRUE(runUntil([&] { return view->IsShownOnScreen(); }));
    runFor(100);
    clickAt(view->ClientToScreen(wxPoint(100, 70)));
    runFor(100);
  }
  ~cInputWindow() { frame->Destroy(); }
};

cDesktopInput& input() { return testApp().desktop().desktopInput(); }

}  // namespace

TEST(DesktopPlatformTest, IsInstalledAndReportsAnEightBitDisplay) {
  EXPECT_EQ(&platform(), &testApp().desktop());
  EXPECT_EQ(platform().displayDepth(), 8);
}

TEST(DesktopPlatformTest, TheClockStartsAtOneSecondAndFollowsRealTime) {
  cDesktopClock clock;
  const uint32_t first = clock.milliseconds();
  EXPECT_GE(first, 1000u);
  EXPECT_LT(first, 1100u);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_GE(clock.milliseconds() - first, 30u);
}

TEST(DesktopPlatformTest, KeysHeldInTheProgramsWindowsAreDown) {
  cInputWindow window;
  wxUIActionSimulator sim;
  struct cCase {
    int wxKey;
    int virtualKey;
  };
  for (const cCase c : {cCase{'A', 'A'}, cCase{'7', '7'}, cCase{WXK_RETURN, vk::return_},
                        cCase{WXK_ESCAPE, vk::escape}, cCase{WXK_SPACE, vk::space},
                        cCase{WXK_LEFT, vk::left}, cCase{WXK_F5, vk::f1 + 4}}) {
    sim.KeyDown(c.wxKey);
    EXPECT_TRUE(runUntil([&] { return input().isKeyDownQueued(c.virtualKey); }, 2000)) << c.virtualKey;
    EXPECT_TRUE(input().isKeyDown(c.virtualKey));
    sim.KeyUp(c.wxKey);
    EXPECT_TRUE(runUntil([&] { return !input().isKeyDownQueued(c.virtualKey); }, 2000)) << c.virtualKey;
  }
}

TEST(DesktopPlatformTest, ShiftAndTheMouseButtonsAreAskedOfTheSystem) {
  cInputWindow window;
  wxUIActionSimulator sim;
  // No event has been dispatched yet, but the system already knows.
  sim.KeyDown(WXK_SHIFT);
  EXPECT_TRUE(runUntil([] { return wxGetKeyState(WXK_SHIFT); }, 1000));
  EXPECT_TRUE(input().isKeyDown(vk::shift));
  sim.KeyUp(WXK_SHIFT);
  runUntil([] { return !wxGetKeyState(WXK_SHIFT); }, 1000);
  EXPECT_FALSE(input().isKeyDown(vk::shift));

  sim.MouseDown(wxMOUSE_BTN_RIGHT);
  EXPECT_TRUE(runUntil([] { return input().isKeyDownQueued(vk::rbutton); }, 2000));
  EXPECT_TRUE(input().isKeyDown(vk::rbutton));
  EXPECT_FALSE(input().isKeyDown(vk::lbutton));
  sim.MouseUp(wxMOUSE_BTN_RIGHT);
  EXPECT_TRUE(runUntil([] { return !input().isKeyDown(vk::rbutton) && !input().isKeyDownQueued(vk::rbutton); }, 2000));
}

TEST(DesktopPlatformTest, TheCursorIsInTheCoordinatesOfTheView) {
  cInputWindow window;
  wxUIActionSimulator sim;
  sim.MouseMove(window.view->ClientToScreen(wxPoint(30, 45)));
  EXPECT_TRUE(runUntil([] { return input().cursorPosition() == cPoint(45, 30); }, 2000))
      << input().cursorPosition().v << "," << input().cursorPosition().h;
}

TEST(DesktopPlatformTest, DeactivationForgetsHeldKeysAndStopsTheIdleSteps) {
  cInputWindow window;
  wxUIActionSimulator sim;
  sim.KeyDown('B');
  ASSERT_TRUE(runUntil([] { return input().isKeyDownQueued('B'); }, 2000));
  testApp().activations.clear();

  testApp().setActive(false);
  EXPECT_FALSE(input().isKeyDownQueued('B'));
  runFor(50);
  const int stepsWhileInactive = testApp().idleSteps;
  runFor(200);
  EXPECT_EQ(testApp().idleSteps, stepsWhileInactive);

  testApp().setActive(true);
  EXPECT_TRUE(runUntil([&] { return testApp().idleSteps > stepsWhileInactive + 10; }));
  EXPECT_EQ(testApp().activations, (std::vector<bool>{false, true}));
  sim.KeyUp('B');
  runFor(50);
}

TEST(DesktopPlatformTest, TakingMessagesOneByOneDeliversTheButtons) {
  // The alternative mouse handling polls like this in a loop of its own,
  // inside an event handler of the running program.
  cInputWindow window;
  wxUIActionSimulator sim;
  const auto pollUntil = [](const std::function<bool()>& done) {
    const wxLongLong end = wxGetLocalTimeMillis() + 2000;
    while (!done() && wxGetLocalTimeMillis() < end)
      if (!input().takeMouseMessage()) wxMilliSleep(1);
    return done();
  };
  bool pressed = false, released = false, finished = false;
  int stepsDuring = -1;
  wxTheApp->CallAfter([&] {
    const int steps = testApp().idleSteps;
    sim.MouseDown();
    pressed = pollUntil([] { return input().isKeyDownQueued(vk::lbutton); });
    sim.MouseUp();
    released = pollUntil([] { return !input().isKeyDownQueued(vk::lbutton); });
    stepsDuring = testApp().idleSteps - steps;
    finished = true;
  });
  ASSERT_TRUE(runUntil([&] { return finished; }));
  EXPECT_TRUE(pressed);
  EXPECT_TRUE(released);
  // The idle processing dispatched along the way ran no step.
  EXPECT_EQ(stepsDuring, 0);
}
