#include "engine/keyboard.h"

#include "engine/worksheet.h"
#include "platform/platform.h"
#include "shell/core/settings.h"

namespace {

bool buttonDown(int key) {
  if (!hasPlatform()) return false;
  cInputState& in = platform().input();
  if (isOptionSet("AltMousePlease")) {
    in.takeMouseMessage();
    return in.isKeyDownQueued(key);
  }
  return in.isKeyDown(key);
}

}  // namespace

bool cKeyboard::isDown(int virtualKey) {
  return hasPlatform() && platform().input().isKeyDown(virtualKey);
}

bool cKeyboard::isControlDown() { return isDown(vk::control); }
bool cKeyboard::isTabDown() { return isDown(vk::tab); }

bool cKeyboard::mouseStillDown() {
  // Each call takes at most one pending mouse message, so ask twice only
  // when the first button is up.
  return buttonDown(vk::lbutton) || buttonDown(vk::rbutton);
}

bool cKeyboard::mouseOrKeyStillDown() {
  return mouseStillDown() || isDown(vk::space) || isDown(vk::escape);
}

cPoint cKeyboard::mousePosition() {
  return hasPlatform() ? platform().input().cursorPosition() : cPoint();
}

cPoint cKeyboard::toWorksheet(cPoint point) {
  const cWorksheetPane* ws = theWorksheet();
  return ws ? ws->toPane(point) : point;
}
