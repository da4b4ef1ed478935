#include "platform/desktop/wxapp.h"

#include <wx/modalhook.h>
#include <wx/toplevel.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "platform/desktop/wxview.h"

namespace {

std::optional<std::string> environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

// gettext uses LANGUAGE only when the messages locale is not plain C.
// Programs we start get the user's own settings back.
void askForDanishTexts(cSpawnLauncher& launcher) {
  launcher.restoreForChildren("LANGUAGE", environmentValue("LANGUAGE"));
  setenv("LANGUAGE", "da", 1);
  const char* all = std::getenv("LC_ALL");
  if (all && *all) return;
  const char* messages = std::getenv("LC_MESSAGES");
  if (!messages || !*messages) messages = std::getenv("LANG");
  if (!messages || !*messages || std::strcmp(messages, "C") == 0 || std::strcmp(messages, "POSIX") == 0) {
    launcher.restoreForChildren("LC_MESSAGES", environmentValue("LC_MESSAGES"));
    setenv("LC_MESSAGES", "C.UTF-8", 1);
  }
}

}  // namespace

class CDesktopApp::cModalCounter : public wxModalDialogHook {
 public:
  int depth = 0;

 protected:
  int Enter(wxDialog*) override {
    ++depth;
    return wxID_NONE;
  }
  void Exit(wxDialog*) override { --depth; }
};

CDesktopApp::CDesktopApp() : modal_(std::make_unique<cModalCounter>()) {
  askForDanishTexts(platform_.spawnLauncher());
  Bind(wxEVT_IDLE, &CDesktopApp::onIdle, this);
  Bind(wxEVT_ACTIVATE_APP, &CDesktopApp::onActivateApp, this);
}

CDesktopApp::~CDesktopApp() { platform_.setToolkitReady(false); }

CDesktopApp* desktopApp() { return dynamic_cast<CDesktopApp*>(wxTheApp); }

bool CDesktopApp::OnInit() {
  // The toolkit's texts follow the messages locale (and LANGUAGE, above);
  // numbers are written and read with a decimal point whatever the language.
  std::setlocale(LC_MESSAGES, "");
  std::setlocale(LC_NUMERIC, "C");
  modal_->Register();
  platform_.setToolkitReady(true);
  return true;
}

int CDesktopApp::OnExit() {
  platform_.setToolkitReady(false);
  modal_->Unregister();
  return wxApp::OnExit();
}

bool CDesktopApp::inModalDialog() const { return modal_->depth > 0; }

int CDesktopApp::FilterEvent(wxEvent& event) {
  platform_.desktopInput().noteEvent(event);
  return Event_Skip;
}

void CDesktopApp::setActive(bool active) {
  if (!active) platform_.desktopInput().releaseAll();
  if (active == active_) return;
  active_ = active;
  activationChanged(active);
}

void CDesktopApp::onActivateApp(wxActivateEvent& event) {
  setActive(event.GetActive());
  event.Skip();
}

void CDesktopApp::onIdle(wxIdleEvent& event) {
  event.Skip();
  const auto* top = dynamic_cast<wxTopLevelWindow*>(GetTopWindow());
  if (active_ && !inModalDialog() && !(top && top->IsIconized())) idleStep();
  // Also after the step closed the last window: without it an idle X
  // server may never wake the loop again to finish.
  event.RequestMore();
}

// --- main frame ---

CDesktopFrame::CDesktopFrame(const wxString& title, const wxPoint& position, const wxSize& clientSize)
    : wxFrame(nullptr, wxID_ANY, title, position, wxDefaultSize) {
  SetClientSize(clientSize);
  Bind(wxEVT_ACTIVATE, &CDesktopFrame::onActivate, this);
}

void CDesktopFrame::setView(CSurfaceView* view) {
  view_ = view;
  if (CDesktopApp* app = desktopApp()) app->desktop().desktopInput().setDrawingWindow(view);
}

void CDesktopFrame::onActivate(wxActivateEvent& event) {
  if (event.GetActive() && view_) view_->SetFocus();
  event.Skip();
}
