#include "player/playerview.h"

#include <wx/frame.h>
#include <wx/menu.h>

#include <algorithm>

#include "engine/cycle.h"
#include "engine/invention.h"
#include "engine/keyboard.h"
#include "export/standalone.h"
#include "graphics/frameset.h"
#include "platform/desktop/wxkeys.h"
#include "platform/input.h"
#include "player/playernames.h"
#include "player/wxmenu.h"
#include "shell/core/alert.h"
#include "shell/core/resources.h"
#include "shell/core/settings.h"
#include "sound/soundsystem.h"

namespace {

// The framework's commands that a run disables.
constexpr int kCommandsOffWhileRunning[] = {57606, 57607, 57608, 57664};
// The start hint stands this far above the window's bottom edge, clear of the border.
constexpr int kHintMargin = 24;
// Mouse key flags of a press, as the gadgets know them.
enum : uint16_t { kMkLeft = 0x01, kMkRight = 0x02, kMkShift = 0x04, kMkControl = 0x08, kMkMiddle = 0x10 };

}  // namespace

CPlayerView::CPlayerView(wxWindow* parent, std::string programPath)
    : CSurfaceView(parent), picture_(kWorksheetWidth, kWorksheetHeight), programPath_(std::move(programPath)) {
  worksheet_ = std::make_unique<cWorksheetPane>(&picture_, this);
  worksheet_->setSize(picture_.width(), picture_.height());
  picture_.fill(0);
  setSurface(&picture_);
  // The part of a window the picture could not grow into, as in the editor
  // while its light is on.
  setMarginColour(*wxWHITE);
  Bind(wxEVT_SIZE, &CPlayerView::onSize, this);
  Bind(wxEVT_KEY_DOWN, &CPlayerView::onKeyDown, this);
  Bind(wxEVT_LEFT_DOWN, &CPlayerView::onMouseDown, this);
  Bind(wxEVT_LEFT_DCLICK, &CPlayerView::onMouseDown, this);
  Bind(wxEVT_RIGHT_DOWN, &CPlayerView::onMouseDown, this);
  Bind(wxEVT_MIDDLE_DOWN, &CPlayerView::onMouseDown, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CPlayerView::onCaptureLost, this);
}

CPlayerView::~CPlayerView() {
  if (HasCapture()) ReleaseMouse();
  if (isRunning()) stopRun();
  setSurface(nullptr);
  worksheet_.reset();
}

bool CPlayerView::firstPaint() {
  // The very first paint only asks for the first show, once the window is there.
  CallAfter([this] { firstShow(); });
  return false;
}

void CPlayerView::firstShow() {
  fitToWindow(false);
  if (isOptionSet("NoIntroPlease"))
    loadInvention();
  else
    showTitle();
}

void CPlayerView::showTitle() {
  stage_ = cStage::title;
  CaptureMouse();
  drawTitle();
}

void CPlayerView::drawTitle() {
  picture_.fill(0);
  const cFrameSet title(kTitlePicture);
  const cRect r = title.frameRect(1);
  // Half of the free width and height on each side.
  const int x = (picture_.width() - r.width()) / 2 - r.left, y = (picture_.height() - r.height()) / 2 - r.top;
  title.drawFrame(1, cPoint(y, x), picture_.bounds(), picture_);
  invalidateWindow(picture_.bounds());
  presentChanges();
}

void CPlayerView::endTitle() {
  if (HasCapture()) ReleaseMouse();
  // Neither the click nor the idle check may come back here while the
  // loading shows a box.
  stage_ = cStage::starting;
  loadInvention();
}

void CPlayerView::onCaptureLost(wxMouseCaptureLostEvent&) {
  // Another program took the mouse (a window manager's grab): the title waits on.
}

void CPlayerView::loadInvention() {
  // The template on its own has no invention: the lookup's retry box, and
  // Cancel ends the program.
  const std::span<const uint8_t> image = lockResource(findResource(kInventionResourceType, kInventionResourceId));
  worksheet_->removeEverything();
  worksheet_->limits.clear();
  readInvention(*worksheet_, image, false);
  documentPath_ = programPath_;
  hasFile_ = true;
  if (auto* top = dynamic_cast<wxTopLevelWindow*>(wxGetTopLevelParent(this)))
    top->SetTitle(wxString::FromUTF8(playerTitle(programPath_)));
  stage_ = cStage::playing;
  fitToWindow(false);
  worksheet_->redrawAll();
  showSign(kStartHint);
  updateCommands();
}

bool CPlayerView::fitToWindow(bool showAlert) {
  const wxSize client = GetClientSize();
  if (client.x < 1 || client.y < 1 || client.x > 32766 || client.y > 32766) return fullSize_;
  if (picture_.width() != client.x || picture_.height() != client.y) {
    fullSize_ = picture_.resize(client.x, client.y);
    if (!fullSize_) {
      worksheet_->setBackgroundQuietly(kBackgroundNone);
      // Not from inside the size event: the box runs a loop of its own.
      if (showAlert) CallAfter([] { cAlert().show(9); });
    }
  } else {
    fullSize_ = true;
  }
  // The worksheet covers the picture it has, so that its border stays whole.
  worksheet_->setSize(picture_.width(), picture_.height());
  switch (stage_) {
    case cStage::starting:
      picture_.fill(0);
      break;
    case cStage::title:
      drawTitle();
      break;
    case cStage::playing: {
      const uint16_t sign = sign_;
      worksheet_->redrawAll();
      if (sign) showSign(sign);
      presentChanges();
      break;
    }
  }
  return fullSize_;
}

void CPlayerView::onSize(wxSizeEvent& event) {
  event.Skip();
  if (!isMinimised()) fitToWindow(true);
}

void CPlayerView::timer1() {
  // Every second while stopped: another try at giving the picture the window's size.
  if (isEditing() && !fullSize_ && stage_ != cStage::starting) fitToWindow(false);
}

void CPlayerView::showSign(uint16_t id) {
  const cFrameSet sign(id);
  const cRect r = sign.frameRect(1);
  const int x = (picture_.width() - r.width()) / 2;
  const int y = id == kStartHint ? std::max(0, picture_.height() - r.height() - kHintMargin)
                                 : (picture_.height() - r.height()) / 2;
  const cPoint at(y - r.top, x - r.left);
  sign.drawFrame(1, at, picture_.bounds(), picture_);
  invalidateWindow(r.offsetBy(at));
  presentChanges();
  sign_ = id;
}

void CPlayerView::removeSign() {
  if (!sign_) return;
  sign_ = 0;
  worksheet_->redrawAll();
  presentChanges();
}

void CPlayerView::idleStep() {
  switch (stage_) {
    case cStage::starting:
      break;
    case cStage::title:
      // The title waits for a mouse button, pressed anywhere.
      soundService();
      if (cKeyboard::mouseButtonDown()) endTitle();
      break;
    case cStage::playing:
      runCycle();
      presentChanges();
      break;
  }
}

void CPlayerView::activationChanged(bool active) {
  // The time in the background is left out of the run clock.
  pauseClock(!active);
  if (cSoundOut* out = soundOut()) out->activate(active);
  if (stage_ != cStage::playing) return;
  if (!active && isRunning())
    showSign(kPauseSign);
  else if (active && sign_ == kPauseSign)
    removeSign();
  Refresh(false);
}

void CPlayerView::beforeCommand() {
  hintPutAway_ = sign_ == kStartHint;
  if (hintPutAway_) removeSign();
}

void CPlayerView::afterCommand() {
  if (hintPutAway_ && isEditing() && stage_ == cStage::playing) showSign(kStartHint);
  hintPutAway_ = false;
}

void CPlayerView::invalidateWindow(const cRect& rect) {
  changes_ = changed_ ? changes_ | rect : rect;
  changed_ = true;
}

void CPlayerView::presentChanges() {
  if (!changed_) return;
  changed_ = false;
  const cRect r = changes_ & picture_.bounds();
  if (!r.isEmpty()) present(r);
}

bool CPlayerView::isMinimised() {
  const auto* top = dynamic_cast<wxTopLevelWindow*>(wxGetTopLevelParent(this));
  return top && top->IsIconized();
}

wxMenuBar* CPlayerView::menuBar() const {
  const auto* frame = dynamic_cast<wxFrame*>(wxGetTopLevelParent(const_cast<CPlayerView*>(this)));
  return frame ? frame->GetMenuBar() : nullptr;
}

void CPlayerView::updateCommands() {
  wxMenuBar* bar = menuBar();
  if (!bar) return;
  for (int command : kCommandsOffWhileRunning)
    if (bar->FindItem(menuItemId(uint16_t(command)))) bar->Enable(menuItemId(uint16_t(command)), isEditing());
}

void CPlayerView::onKeyDown(wxKeyEvent& event) {
  if (stage_ != cStage::playing) {
    event.Skip();
    return;
  }
  const cVirtualKeys keys = virtualKeysFromWx(event.GetKeyCode(), int(event.GetUnicodeKey()), event.GetRawKeyCode());
  if (keys.primary == vk::return_ && isEditing()) {
    removeSign();
    startRun();
    presentChanges();
  } else if (keys.primary == vk::escape && isRunning()) {
    stopRun();
    presentChanges();
  } else {
    // The key gadgets read the keyboard themselves; the menu's keys go on.
    event.Skip();
  }
}

void CPlayerView::onMouseDown(wxMouseEvent& event) {
  event.Skip();
  if (stage_ == cStage::title) {
    endTitle();
    return;
  }
  // Stopped, a click does nothing: the player has no editing.
  if (stage_ != cStage::playing || !isRunning()) return;
  // Running, the gadget under a left click gets it.
  if (!(event.LeftDown() || event.LeftDClick())) return;
  uint16_t keys = kMkLeft;
  if (event.RightIsDown()) keys |= kMkRight;
  if (event.MiddleIsDown()) keys |= kMkMiddle;
  if (event.ShiftDown()) keys |= kMkShift;
  if (event.ControlDown()) keys |= kMkControl;
  worksheet_->pressAt(cPoint(event.GetY(), event.GetX()), keys, event.LeftDClick());
  presentChanges();
}
