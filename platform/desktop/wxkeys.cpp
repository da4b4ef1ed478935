#include "platform/desktop/wxkeys.h"

#include <wx/defs.h>
#include <wx/mousestate.h>

#include "platform/input.h"

namespace {

// Windows numbers that the shared header does not name.
enum : int {
  vkXButton1 = 0x05, vkXButton2 = 0x06,
  vkSelect = 0x29, vkPrint = 0x2A, vkExecute = 0x2B, vkSnapshot = 0x2C, vkHelp = 0x2F,
  vkLWin = 0x5B, vkRWin = 0x5C, vkApps = 0x5D,
  vkOem1 = 0xBA, vkOemPlus = 0xBB, vkOemComma = 0xBC, vkOemMinus = 0xBD, vkOemPeriod = 0xBE,
  vkOem2 = 0xBF, vkOem3 = 0xC0, vkOem4 = 0xDB, vkOem5 = 0xDC, vkOem6 = 0xDD, vkOem7 = 0xDE,
  vkOem102 = 0xE2,
};

struct cKeyRow {
  int wxKey;
  int virtualKey;
};

// The keys wx names. The keypad's keys with Num Lock off are the cursor keys
// they carry, and its Enter is Enter, as on Windows.
constexpr cKeyRow kNamedKeys[] = {
    {WXK_BACK, vk::back}, {WXK_TAB, vk::tab}, {WXK_RETURN, vk::return_},
    {WXK_ESCAPE, vk::escape}, {WXK_SPACE, vk::space}, {WXK_DELETE, vk::delete_},
    {WXK_CANCEL, vk::cancel}, {WXK_CLEAR, vk::clear}, {WXK_SHIFT, vk::shift},
    {WXK_ALT, vk::menu}, {WXK_CONTROL, vk::control}, {WXK_MENU, vkApps},
    {WXK_PAUSE, vk::pause}, {WXK_CAPITAL, vk::capital}, {WXK_END, vk::end},
    {WXK_HOME, vk::home}, {WXK_LEFT, vk::left}, {WXK_UP, vk::up}, {WXK_RIGHT, vk::right},
    {WXK_DOWN, vk::down}, {WXK_SELECT, vkSelect}, {WXK_PRINT, vkPrint},
    {WXK_EXECUTE, vkExecute}, {WXK_SNAPSHOT, vkSnapshot}, {WXK_INSERT, vk::insert},
    {WXK_HELP, vkHelp}, {WXK_MULTIPLY, vk::multiply}, {WXK_ADD, vk::add},
    {WXK_SEPARATOR, vk::separator}, {WXK_SUBTRACT, vk::subtract}, {WXK_DECIMAL, vk::decimal},
    {WXK_DIVIDE, vk::divide}, {WXK_NUMLOCK, vk::numlock}, {WXK_SCROLL, vk::scroll},
    {WXK_PAGEUP, vk::prior}, {WXK_PAGEDOWN, vk::next},
    {WXK_NUMPAD_SPACE, vk::space}, {WXK_NUMPAD_TAB, vk::tab}, {WXK_NUMPAD_ENTER, vk::return_},
    {WXK_NUMPAD_F1, vk::f1}, {WXK_NUMPAD_F2, vk::f1 + 1}, {WXK_NUMPAD_F3, vk::f1 + 2},
    {WXK_NUMPAD_F4, vk::f1 + 3}, {WXK_NUMPAD_HOME, vk::home}, {WXK_NUMPAD_LEFT, vk::left},
    {WXK_NUMPAD_UP, vk::up}, {WXK_NUMPAD_RIGHT, vk::right}, {WXK_NUMPAD_DOWN, vk::down},
    {WXK_NUMPAD_PAGEUP, vk::prior}, {WXK_NUMPAD_PAGEDOWN, vk::next}, {WXK_NUMPAD_END, vk::end},
    {WXK_NUMPAD_BEGIN, vk::clear}, {WXK_NUMPAD_INSERT, vk::insert},
    {WXK_NUMPAD_DELETE, vk::delete_}, {WXK_NUMPAD_MULTIPLY, vk::multiply},
    {WXK_NUMPAD_ADD, vk::add}, {WXK_NUMPAD_SEPARATOR, vk::separator},
    {WXK_NUMPAD_SUBTRACT, vk::subtract}, {WXK_NUMPAD_DECIMAL, vk::decimal},
    {WXK_NUMPAD_DIVIDE, vk::divide}, {WXK_WINDOWS_LEFT, vkLWin},
    {WXK_WINDOWS_RIGHT, vkRWin}, {WXK_WINDOWS_MENU, vkApps},
};

// Printable characters on keys that are neither letters nor digits, numbered
// as a Danish keyboard numbers them on Windows (the keys a US keyboard has
// instead carry the numbers Windows gives them there).
constexpr cKeyRow kCharacterKeys[] = {
    {'+', vkOemPlus}, {'=', vkOemPlus}, {',', vkOemComma}, {'-', vkOemMinus},
    {'.', vkOemPeriod}, {'\'', vkOem2}, {'/', vkOem2}, {'<', vkOem102},
    {0xE6, vkOem3}, {'`', vkOem3}, {0xF8, vkOem7}, {0xE5, vkOem6}, {']', vkOem6},
    {0xBD, vkOem5}, {0xA7, vkOem5}, {'\\', vkOem5}, {0xA8, vkOem1}, {';', vkOem1},
    {0xB4, vkOem4}, {'[', vkOem4},
};

// The dead accent keys of a Danish keyboard (X keysyms).
constexpr cKeyRow kDeadKeys[] = {
    {0xFE51, vkOem4},  // dead acute, the key right of +
    {0xFE50, vkOem4},  // dead grave, the same key with Shift
    {0xFE57, vkOem1},  // dead diaeresis, the key right of Å
    {0xFE52, vkOem1},  // dead circumflex and tilde, the same key shifted
    {0xFE53, vkOem1},
};

template <size_t N>
int lookUp(const cKeyRow (&rows)[N], int key) {
  for (const cKeyRow& row : rows)
    if (row.wxKey == key) return row.virtualKey;
  return 0;
}

cVirtualKeys fromCharacter(int c) {
  if (c >= 'a' && c <= 'z') return {c - 'a' + 'A', 0};
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return {c, 0};
  // Latin-1 capitals are looked up by their small letter.
  if ((c >= 0xC0 && c <= 0xDE) && c != 0xD7) c += 0x20;
  const int key = lookUp(kCharacterKeys, c);
  if (!key) return {};
  switch (c) {
    case 0xE6: return {key, 0xC6};  // æ also counts as Æ
    case 0xF8: return {key, 0xD8};  // ø as Ø
    case 0xE5: return {key, 0xC5};  // å as Å
    default: return {key, 0};
  }
}

}  // namespace

cVirtualKeys virtualKeysFromWx(int keyCode, int unicodeKey, unsigned rawKeysym) {
  if (keyCode >= WXK_NUMPAD0 && keyCode <= WXK_NUMPAD9) return {vk::numpad0 + keyCode - WXK_NUMPAD0, 0};
  if (keyCode >= WXK_F1 && keyCode <= WXK_F24) return {vk::f1 + keyCode - WXK_F1, 0};
  if (int key = lookUp(kNamedKeys, keyCode)) return {key, 0};
  // Characters: wx gives the key's own character in keyCode for Latin-1 and
  // only the Unicode character for the rest.
  const int c = (keyCode > WXK_SPACE && keyCode < WXK_START) ? keyCode : unicodeKey;
  if (c > WXK_SPACE) {
    cVirtualKeys keys = fromCharacter(c);
    if (keys.primary) return keys;
  }
  return {lookUp(kDeadKeys, static_cast<int>(rawKeysym)), 0};
}

int virtualKeyFromMouseButton(int wxButton) {
  switch (wxButton) {
    case wxMOUSE_BTN_LEFT: return vk::lbutton;
    case wxMOUSE_BTN_MIDDLE: return vk::mbutton;
    case wxMOUSE_BTN_RIGHT: return vk::rbutton;
    case wxMOUSE_BTN_AUX1: return vkXButton1;
    case wxMOUSE_BTN_AUX2: return vkXButton2;
    default: return 0;
  }
}
