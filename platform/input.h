// Key and mouse state. Keys are numbered with the Windows virtual-key codes,
// which the invention files and the key gadgets store.
#pragma once

#include <cstdint>

#include "shell/core/types.h"

namespace vk {
enum : int {
  lbutton = 0x01, rbutton = 0x02, cancel = 0x03, mbutton = 0x04,
  back = 0x08, tab = 0x09, clear = 0x0C, return_ = 0x0D,
  shift = 0x10, control = 0x11, menu = 0x12, pause = 0x13, capital = 0x14,
  escape = 0x1B, space = 0x20, prior = 0x21, next = 0x22, end = 0x23, home = 0x24,
  left = 0x25, up = 0x26, right = 0x27, down = 0x28,
  insert = 0x2D, delete_ = 0x2E,
  key0 = 0x30, key9 = 0x39, keyA = 0x41, keyZ = 0x5A,
  numpad0 = 0x60, numpad9 = 0x69, multiply = 0x6A, add = 0x6B, separator = 0x6C,
  subtract = 0x6D, decimal = 0x6E, divide = 0x6F,
  f1 = 0x70, f12 = 0x7B,
  numlock = 0x90, scroll = 0x91,
};
constexpr int count = 256;
}  // namespace vk

class cInputState {
 public:
  virtual ~cInputState() = default;
  // The asynchronous state: is the key (or mouse button) down right now?
  virtual bool isKeyDown(int virtualKey) = 0;
  // The state as the message queue last saw it (the alternative mouse handling).
  virtual bool isKeyDownQueued(int virtualKey) { return isKeyDown(virtualKey); }
  // Takes at most one pending mouse message and dispatches it; true if one was taken.
  virtual bool takeMouseMessage() { return false; }
  // Pointer position in the coordinates of the window the program draws in.
  virtual cPoint cursorPosition() = 0;
};
