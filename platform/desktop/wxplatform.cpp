#include "platform/desktop/wxplatform.h"

#include <wx/app.h>
#include <wx/event.h>
#include <wx/utils.h>

#include <algorithm>

#include "platform/desktop/wxfiledialog.h"
#include "platform/desktop/wxkeys.h"
#include "platform/desktop/wxmessagebox.h"

// --- clock ---

uint32_t cDesktopClock::milliseconds() {
  const auto elapsed = std::chrono::steady_clock::now() - start_;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
  return static_cast<uint32_t>(1000 + ms);
}

// --- input ---

void cDesktopInput::set(int virtualKey, bool down) {
  if (virtualKey > 0 && virtualKey < vk::count) down_[virtualKey] = down;
}

void cDesktopInput::releaseAll() { std::fill(std::begin(down_), std::end(down_), false); }

void cDesktopInput::noteEvent(const wxEvent& event) {
  const wxEventType type = event.GetEventType();
  if (type == wxEVT_KEY_DOWN || type == wxEVT_KEY_UP) {
    const auto& key = static_cast<const wxKeyEvent&>(event);
    const cVirtualKeys keys =
        virtualKeysFromWx(key.GetKeyCode(), static_cast<int>(key.GetUnicodeKey()), key.GetRawKeyCode());
    set(keys.primary, type == wxEVT_KEY_DOWN);
    set(keys.alias, type == wxEVT_KEY_DOWN);
    return;
  }
  if (!event.IsKindOf(wxCLASSINFO(wxMouseEvent))) return;
  const auto& mouse = static_cast<const wxMouseEvent&>(event);
  if (mouse.ButtonDown() || mouse.ButtonDClick())
    set(virtualKeyFromMouseButton(mouse.GetButton()), true);
  else if (mouse.ButtonUp())
    set(virtualKeyFromMouseButton(mouse.GetButton()), false);
}

bool cDesktopInput::isKeyDownQueued(int virtualKey) {
  return virtualKey > 0 && virtualKey < vk::count && down_[virtualKey];
}

bool cDesktopInput::isKeyDown(int virtualKey) {
  if (!live_) return isKeyDownQueued(virtualKey);
  switch (virtualKey) {
    case vk::lbutton: return wxGetMouseState().LeftIsDown();
    case vk::rbutton: return wxGetMouseState().RightIsDown();
    case vk::mbutton: return wxGetMouseState().MiddleIsDown();
    case 0x05: return wxGetMouseState().Aux1IsDown();  // the side buttons
    case 0x06: return wxGetMouseState().Aux2IsDown();
    case vk::shift: return wxGetKeyState(WXK_SHIFT);
    case vk::control: return wxGetKeyState(WXK_CONTROL);
    case vk::menu: return wxGetKeyState(WXK_ALT);
    default: return isKeyDownQueued(virtualKey);
  }
}

bool cDesktopInput::takeMouseMessage() {
  // The toolkit hands out its events one at a time, whatever their kind.
  if (!live_ || !wxTheApp || !wxTheApp->Pending()) return false;
  return wxTheApp->Dispatch();
}

cPoint cDesktopInput::cursorPosition() {
  if (!live_) return {};
  wxPoint p = wxGetMousePosition();
  if (wxWindow* window = drawing_.get()) p = window->ScreenToClient(p);
  const auto clamp = [](int x) { return std::clamp(x, -32768, 32767); };
  return {clamp(p.y), clamp(p.x)};
}

// --- user interface ---

cMessageResult cDesktopUserInterface::messageBox(const cMessageRequest& request) {
  if (!ready_) return messageBoxWithoutWindows(request);
  return showMessageBox(request);
}

std::optional<std::string> cDesktopUserInterface::fileDialog(const cFileDialogRequest& request) {
  if (!ready_) return std::nullopt;
  return showFileDialog(request);
}
