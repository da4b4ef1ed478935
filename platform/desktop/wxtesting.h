// What the desktop tests share: running the event loop until something
// happened, acting on a dialog once it is on screen, and reading back what
// the screen shows.
#pragma once

#include <wx/toplevel.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/desktop/wxapp.h"

// The application of the test program: counts its idle steps and activations.
class CTestApp : public CDesktopApp {
 public:
  int idleSteps = 0;
  std::vector<bool> activations;

 protected:
  void idleStep() override { ++idleSteps; }
  void activationChanged(bool active) override { activations.push_back(active); }
};

CTestApp& testApp();

// Runs the event loop until done() is true or the time is up; true when done.
bool runUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Runs the event loop for a while.
void runFor(int ms);

// Once a window that `match` accepts appears (a top-level window, or any
// modal dialog), runs the steps one after the other, each after its delay.
// The steps run from a timer, so they also run inside modal loops. A step
// that makes a dialog end must not run an event loop of its own after
// that: GTK would end the inner loop instead of the dialog's.
// A step waits for its delay, then (when given) until ready() is true; a
// step that is never ready runs after eight seconds anyway, so that a
// failing test ends.
struct cStep {
  int delayMs;
  std::function<void(wxTopLevelWindow*)> act;
  std::function<bool()> ready = nullptr;
};
class cWhenShown {
 public:
  cWhenShown(std::function<bool(wxTopLevelWindow*)> match, std::vector<cStep> steps);
  cWhenShown(std::function<bool(wxTopLevelWindow*)> match, std::function<void(wxTopLevelWindow*)> act)
      : cWhenShown(std::move(match), std::vector<cStep>{{0, std::move(act)}}) {}
  ~cWhenShown();

 private:
  struct cImpl;
  cImpl* impl_;
};

template <typename T>
std::function<bool(wxTopLevelWindow*)> isShown() {
  return [](wxTopLevelWindow* w) { return dynamic_cast<T*>(w) != nullptr && w->IsShownOnScreen(); };
}

// Real input through the X test extension.
void clickAt(const wxPoint& screen);
void clickOn(wxWindow* window);
void pressKey(int wxKeyCode);

// The text of the window's (last) static text, as it shows it.
std::string textShownIn(wxWindow* window);

// The screen's pixels in a rectangle (RGB rows), read with ImageMagick's import.
std::vector<uint8_t> screenPixels(const wxRect& screenRect);
