// The desktop tests' main: the toolkit starts once for the whole program,
// but not when the tests are only listed (that happens without a display
// while building).
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/desktop/wxtesting.h"

namespace {
CTestApp* gApp = nullptr;

// Native dialogs (the file chooser) are not among wx's top-level windows;
// every modal dialog passes this hook. A dialog that a failing test leaves
// open is ended after a while, so that the test fails instead of hanging.
class cOpenDialogs : public wxModalDialogHook {
 public:
  std::vector<wxDialog*> open;
  std::vector<wxLongLong> openedAt;
  wxTimer watchdog;

  cOpenDialogs() {
    watchdog.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
      for (size_t i = 0; i < open.size(); ++i)
        if (wxGetLocalTimeMillis() - openedAt[i] > 20000 && open[i]->IsModal()) {
          ADD_FAILURE() << "a dialog was left open: " << open[i]->GetTitle().utf8_string();
          open[i]->EndModal(wxID_CANCEL);
          return;
        }
    });
  }

 protected:
  int Enter(wxDialog* d) override {
    open.push_back(d);
    openedAt.push_back(wxGetLocalTimeMillis());
    if (!watchdog.IsRunning()) watchdog.Start(500);
    return wxID_NONE;
  }
  void Exit(wxDialog* d) override {
    for (size_t i = 0; i < open.size(); ++i)
      if (open[i] == d) {
        open.erase(open.begin() + static_cast<std::ptrdiff_t>(i));
        openedAt.erase(openedAt.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
  }
};
cOpenDialogs* gOpenDialogs = nullptr;
}  // namespace

CTestApp& testApp() { return *gApp; }


bool runUntil(const std::function<bool()>& done, int timeoutMs) {
  if (done()) return true;
  wxGUIEventLoop loop;
  wxTimer timer;
  const wxLongLong start = wxGetLocalTimeMillis();
  bool ok = false;
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (done()) ok = true;
    if (ok || wxGetLocalTimeMillis() - start > timeoutMs) loop.Exit();
  });
  timer.Start(5);
  loop.Run();
  timer.Stop();
  return ok;
}

void runFor(int ms) {
  const wxLongLong end = wxGetLocalTimeMillis() + ms;
  runUntil([&] { return wxGetLocalTimeMillis() >= end; }, ms + 1000);
}

struct cWhenShown::cImpl {
  wxTimer timer;
  std::function<bool(wxTopLevelWindow*)> match;
  std::vector<cStep> steps;
  wxTopLevelWindow* window = nullptr;
  size_t next = 0;
  wxLongLong nextAt = 0;

  void tick() {
    if (!window) {
      std::vector<wxWindow*> windows(wxTopLevelWindows.begin(), wxTopLevelWindows.end());
      windows.insert(windows.end(), gOpenDialogs->open.begin(), gOpenDialogs->open.end());
      for (wxWindow* w : windows) {
        auto* top = dynamic_cast<wxTopLevelWindow*>(w);
        if (top && match(top)) window = top;
      }
      if (!window) return;
      nextAt = wxGetLocalTimeMillis() + steps[0].delayMs;
    }
    const wxLongLong now = wxGetLocalTimeMillis();
    if (now < nextAt) return;
    if (steps[next].ready && !steps[next].ready() && now < nextAt + 8000) return;
    const size_t step = next++;
    if (next >= steps.size())
      timer.Stop();
    else
      nextAt = wxGetLocalTimeMillis() + steps[next].delayMs;
    steps[step].act(window);
  }
};

cWhenShown::cWhenShown(std::function<bool(wxTopLevelWindow*)> match, std::vector<cStep> steps)
    : impl_(new cImpl) {
  impl_->match = std::move(match);
  impl_->steps = std::move(steps);
  impl_->timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { impl_->tick(); });
  if (!impl_->steps.empty()) impl_->timer.Start(20);
}

cWhenShown::~cWhenShown() {
  impl_->timer.Stop();
  delete impl_;
}

void clickAt(const wxPoint& screen) {
  wxUIActionSimulator sim;
  sim.MouseMove(screen);
  runFor(30);
  sim.MouseClick();
}

void clickOn(wxWindow* window) {
  const wxRect r = window->GetScreenRect();
  clickAt(wxPoint(r.x + r.width / 2, r.y + r.height / 2));
}

void pressKey(int wxKeyCode) {
  wxUIActionSimulator sim;
  sim.Char(wxKeyCode);
}

std::string textShownIn(wxWindow* window) {
  std::string shown;
  for (wxWindow* child : window->GetChildren())
    if (auto* text = dynamic_cast<wxStaticText*>(child)) shown = text->GetLabelText().utf8_string();
  return shown;
}

std::vector<uint8_t> screenPixels(const wxRect& r) {
  const std::string command = "import -window root -crop " + std::to_string(r.width) + "x" +
                              std::to_string(r.height) + "+" + std::to_string(r.x) + "+" +
                              std::to_string(r.y) + " -depth 8 rgb:-";
  std::vector<uint8_t> pixels;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return pixels;
  uint8_t buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) pixels.insert(pixels.end(), buffer, buffer + n);
  pclose(pipe);
  return pixels;
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  // The file chooser keeps its settings; tests keep them in memory.
  setenv("GSETTINGS_BACKEND", "memory", 1);
  gApp = new CTestApp;
  wxApp::SetInstance(gApp);
  if (!wxEntryStart(argc, argv)) {
    std::fputs("zbdesktop_tests: no display (run under xvfb-run)\n", stderr);
    return 1;
  }
  if (!gApp->CallOnInit()) return 1;
  int result = 0;
  {
    cOpenDialogs openDialogs;
    gOpenDialogs = &openDialogs;
    openDialogs.Register();
    // The tests run their loops inside this one, as a program's handlers do.
    wxGUIEventLoop outer;
    wxEventLoopActivator active(&outer);
    result = RUN_ALL_TESTS();
    openDialogs.Unregister();
    gOpenDialogs = nullptr;
  }
  gApp->OnExit();
  wxEntryCleanup();
  return result;
}
