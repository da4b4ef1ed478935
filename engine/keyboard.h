// cKeyboard: the keys and mouse buttons as the platform sees them now, for
// the gadget kinds and the editing loops.
//
// With the setting "AltMousePlease" the buttons are read from the message
// queue's state, after taking and dispatching one pending mouse message;
// otherwise from the asynchronous state.
#pragma once

#include "shell/core/types.h"

class cKeyboard {
 public:
  // The key (a Windows virtual-key code) is down now.
  static bool isDown(int virtualKey);
  static bool isControlDown();
  static bool isTabDown();

  // The left or the right mouse button is held.
  static bool mouseStillDown();
  // The same, or Space or Escape.
  static bool mouseOrKeyStillDown();
  // The pointer, in the coordinates of the window the program draws in.
  static cPoint mousePosition();
  // A window point in the worksheet's coordinates.
  static cPoint toWorksheet(cPoint point);

  // The same questions under the names the start-up code uses.
  static bool mouseButtonDown() { return mouseStillDown(); }
  static bool userInterrupt() { return mouseOrKeyStillDown(); }
};
