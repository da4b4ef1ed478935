// The desktop platform: the program's services on a real display, with
// wxWidgets (GTK 3) for windows, input, message boxes and file dialogs.
// CDesktopApp (wxapp.h) owns one and feeds it the events of its windows.
#pragma once

#include <type_traits>  // before wx/weakref.h, which needs it

#include <wx/window.h>
#include <wx/weakref.h>

#include <chrono>
#include <cstdint>

#include "platform/desktop/wxlauncher.h"
#include "platform/platform.h"

class wxEvent;

// Milliseconds counted from the start of the process, beginning at one
// second so that no early reading is the 0 that the run clock takes for
// "not started". A program would have to run for 49 days to see it wrap.
class cDesktopClock : public cClock {
 public:
  uint32_t milliseconds() override;

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Key and mouse state. The queued state follows the key and button events
// of the program's own windows; the asynchronous state asks the system for
// the mouse buttons and the Shift, Ctrl and Alt keys, whose state changes
// while other windows have the focus, and otherwise follows the events too.
class cDesktopInput : public cInputState {
 public:
  bool isKeyDown(int virtualKey) override;
  bool isKeyDownQueued(int virtualKey) override;
  bool takeMouseMessage() override;
  cPoint cursorPosition() override;

  // Every event of the program passes here (CDesktopApp's event filter).
  void noteEvent(const wxEvent& event);
  // Nothing is held any more: the program lost the focus, and the releases
  // go to another program.
  void releaseAll();
  // The window whose coordinates cursorPosition() reports (none: the screen's).
  void setDrawingWindow(wxWindow* window) { drawing_ = window; }
  // Whether the toolkit is up and may be asked.
  void setLive(bool live) { live_ = live; }

 private:
  void set(int virtualKey, bool down);

  bool down_[vk::count] = {};
  bool live_ = false;
  wxWeakRef<wxWindow> drawing_;
};

class cDesktopUserInterface : public cUserInterface {
 public:
  // Boxes captioned as asked, with Danish buttons; before the toolkit is up
  // (or after it is gone) the text goes to standard error and the box gets
  // the answer that changes nothing.
  cMessageResult messageBox(const cMessageRequest& request) override;
  std::optional<std::string> fileDialog(const cFileDialogRequest& request) override;

  void setReady(bool ready) { ready_ = ready; }
  bool ready() const { return ready_; }

 private:
  bool ready_ = false;
};

class cDesktopPlatform : public cPlatform {
 public:
  cClock& clock() override { return clock_; }
  cInputState& input() override { return input_; }
  cUserInterface& ui() override { return ui_; }
  cLauncher& launcher() override { return launcher_; }
  // The desktop presents itself as an 8-bit palette device.
  int displayDepth() override { return 8; }

  cDesktopInput& desktopInput() { return input_; }
  cDesktopUserInterface& desktopUi() { return ui_; }
  cSpawnLauncher& spawnLauncher() { return launcher_; }
  // Called by the application once the toolkit is initialised, and again
  // with false before it goes.
  void setToolkitReady(bool ready) {
    ui_.setReady(ready);
    input_.setLive(ready);
  }

 private:
  cDesktopClock clock_;
  cDesktopInput input_;
  cDesktopUserInterface ui_;
  cSpawnLauncher launcher_;
  cPlatformScope scope_{*this};
};
