#include "platform/desktop/wxkeys.h"

#include <gtest/gtest.h>

#include <wx/defs.h>
#include <wx/mousestate.h>

#include "platform/input.h"

namespace {

struct cKeyCase {
  const char* what;
  int keyCode;
  int unicodeKey;
  unsigned raw;
  int primary;
  int alias;
};

const cKeyCase kKeyCases[] = {
    {"letter", 'A', 'A', 0, 0x41, 0},
    {"small letter", 'q', 'q', 0, 0x51, 0},
    {"digit", '7', '7', 0, 0x37, 0},
    {"Enter", WXK_RETURN, 13, 0, vk::return_, 0},
    {"keypad Enter is Enter", WXK_NUMPAD_ENTER, 0, 0, vk::return_, 0},
    {"Escape", WXK_ESCAPE, 27, 0, vk::escape, 0},
    {"Space", WXK_SPACE, ' ', 0, vk::space, 0},
    {"Delete", WXK_DELETE, 127, 0, vk::delete_, 0},
    {"keypad Delete without Num Lock", WXK_NUMPAD_DELETE, 0, 0, vk::delete_, 0},
    {"arrow", WXK_LEFT, 0, 0, vk::left, 0},
    {"keypad arrow without Num Lock", WXK_NUMPAD_UP, 0, 0, vk::up, 0},
    {"keypad 5 without Num Lock", WXK_NUMPAD_BEGIN, 0, 0, vk::clear, 0},
    {"keypad digit", WXK_NUMPAD5, 0, 0, vk::numpad0 + 5, 0},
    {"keypad plus", WXK_NUMPAD_ADD, 0, 0, vk::add, 0},
    {"Page Up", WXK_PAGEUP, 0, 0, vk::prior, 0},
    {"Page Down", WXK_PAGEDOWN, 0, 0, vk::next, 0},
    {"F1", WXK_F1, 0, 0, vk::f1, 0},
    {"F12", WXK_F12, 0, 0, vk::f12, 0},
    {"F24", WXK_F24, 0, 0, 0x87, 0},
    {"Shift", WXK_SHIFT, 0, 0, vk::shift, 0},
    {"Ctrl", WXK_CONTROL, 0, 0, vk::control, 0},
    {"Alt is VK_MENU", WXK_ALT, 0, 0, vk::menu, 0},
    {"the menu key is VK_APPS", WXK_MENU, 0, 0, 0x5D, 0},
    {"plus key", '+', '+', 0, 0xBB, 0},
    {"comma", ',', ',', 0, 0xBC, 0},
    {"minus", '-', '-', 0, 0xBD, 0},
    {"full stop", '.', '.', 0, 0xBE, 0},
    {"less than", '<', '<', 0, 0xE2, 0},
    {"æ given as Unicode only", WXK_NONE, 0xE6, 0xE6, 0xC0, 0xC6},
    {"Æ given as key code", 0xC6, 0xC6, 0xC6, 0xC0, 0xC6},
    {"ø", WXK_NONE, 0xF8, 0xF8, 0xDE, 0xD8},
    {"å", 0xE5, 0xE5, 0xE5, 0xDD, 0xC5},
    {"dead acute", WXK_NONE, 0, 0xFE51, 0xDB, 0},
    {"dead diaeresis", WXK_NONE, 0, 0xFE57, 0xBA, 0},
    {"a character without a key number", WXK_NONE, 0x20AC, 0x20AC, 0, 0},
    {"nothing at all", WXK_NONE, 0, 0, 0, 0},
};

}  // namespace

TEST(DesktopKeysTest, KeyEventsGiveWindowsVirtualKeys) {
  for (const cKeyCase& c : kKeyCases) {
    const cVirtualKeys keys = virtualKeysFromWx(c.keyCode, c.unicodeKey, c.raw);
    EXPECT_EQ(keys.primary, c.primary) << c.what;
    EXPECT_EQ(keys.alias, c.alias) << c.what;
  }
}

TEST(DesktopKeysTest, MouseButtons) {
  EXPECT_EQ(virtualKeyFromMouseButton(wxMOUSE_BTN_LEFT), vk::lbutton);
  EXPECT_EQ(virtualKeyFromMouseButton(wxMOUSE_BTN_RIGHT), vk::rbutton);
  EXPECT_EQ(virtualKeyFromMouseButton(wxMOUSE_BTN_MIDDLE), vk::mbutton);
  EXPECT_EQ(virtualKeyFromMouseButton(wxMOUSE_BTN_AUX1), 0x05);
  EXPECT_EQ(virtualKeyFromMouseButton(wxMOUSE_BTN_NONE), 0);
}
