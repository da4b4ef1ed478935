// The skeleton of the desktop programs: an application object that owns the
// desktop platform and runs the program's work from the idle handler, and a
// main frame that hands the keyboard to its view.
#pragma once

#include <wx/app.h>
#include <wx/frame.h>

#include <memory>

#include "platform/desktop/wxplatform.h"

class CSurfaceView;

class CDesktopApp : public wxApp {
 public:
  // Installs the desktop platform. The toolkit's own texts (the file
  // chooser's) are asked for in Danish, like the rest of the program.
  CDesktopApp();
  ~CDesktopApp() override;

  cDesktopPlatform& desktop() { return platform_; }
  // Set while the program has the focus; the program starts active.
  bool isActive() const { return active_; }
  // True while a modal dialog of the program is open (message box, file
  // dialog, print dialog): no idle steps run then.
  bool inModalDialog() const;
  // What the system's activation and deactivation of the program do: keys
  // held are forgotten on deactivation (their releases go elsewhere), and
  // activationChanged runs when the state changes.
  void setActive(bool active);

  // Subclasses call these first. OnInit does not read the command line
  // (the program's words are its own: flags and a file name).
  bool OnInit() override;
  int OnExit() override;

 protected:
  // One step of the program's work. It runs from the idle handler while the
  // program is active, no modal dialog is open and the top window is not
  // minimised; the handler always asks for more idle time, so steps follow
  // each other as fast as the machine allows while no event is waiting.
  virtual void idleStep() {}
  // After the program became active (true) or inactive (false).
  virtual void activationChanged(bool /*active*/) {}

  // Every event of the program's windows passes here first.
  int FilterEvent(wxEvent& event) override;

 private:
  class cModalCounter;

  void onIdle(wxIdleEvent& event);
  void onActivateApp(wxActivateEvent& event);

  cDesktopPlatform platform_;
  bool active_ = true;
  std::unique_ptr<cModalCounter> modal_;
};

// The program's desktop application (wxTheApp as a CDesktopApp), or null.
CDesktopApp* desktopApp();

// A main frame around one view that takes the keyboard whenever the frame
// is activated, and reports its pointer coordinates to the platform.
class CDesktopFrame : public wxFrame {
 public:
  CDesktopFrame(const wxString& title, const wxPoint& position, const wxSize& clientSize);

  void setView(CSurfaceView* view);
  CSurfaceView* view() const { return view_; }

 private:
  void onActivate(wxActivateEvent& event);

  CSurfaceView* view_ = nullptr;
};
