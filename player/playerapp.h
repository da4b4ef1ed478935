// The player's application and main frame: ZANBEL.SLF and every
// stand-alone invention made from it.
//
// The application reads every resource from the program's own file, sets
// up the display and the sound as the editor does, and shows one frame with
// menu 2 and the worksheet view. The frame carries the menu's commands: page
// set-up, print preview and printing of the worksheet, quitting, and the
// About box.
#pragma once

#include <type_traits>  // before wx/weakref.h, which needs it

#include <wx/cmndata.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include <memory>
#include <string>

#include "platform/desktop/wxapp.h"

class CPlayerView;
class CWinGInfo;
class cSoundEngine;
class cSoundOut;
class cWaveDevices;
class wxCommandEvent;

// The command numbers of menu 2.
enum : int {
  kCmdPageSetup = 57606,
  kCmdPrint = 57607,
  kCmdPrintPreview = 57608,
  kCmdAbout = 57664,
  kCmdExit = 57665,
};

class CPlayerFrame : public CDesktopFrame {
 public:
  CPlayerFrame(const std::string& programPath, wxPageSetupDialogData& pageSetup);

  CPlayerView* playerView() const { return view_; }

 private:
  void onPageSetup(wxCommandEvent& event);
  void onPrintPreview(wxCommandEvent& event);
  void onPrint(wxCommandEvent& event);
  void onExit(wxCommandEvent& event);
  void onAbout(wxCommandEvent& event);
  void setIconsFromArtwork();

  CPlayerView* view_ = nullptr;
  wxPageSetupDialogData& pageSetup_;
};

class CPlayerApp : public CDesktopApp {
 public:
  CPlayerApp();
  ~CPlayerApp() override;

  bool OnInit() override;
  int OnExit() override;

  CPlayerFrame* frame() const { return frame_.get(); }

 protected:
  void idleStep() override;
  void activationChanged(bool active) override;

 private:
  void onSoundTimer(wxTimerEvent& event);
  void stopSound();

  std::unique_ptr<CWinGInfo> display_;
  std::unique_ptr<cWaveDevices> devices_;
  std::unique_ptr<cSoundEngine> engine_;
  std::unique_ptr<cSoundOut> out_;
  wxTimer soundTimer_;
  // Made once the toolkit is up (it needs the paper sizes).
  std::unique_ptr<wxPageSetupDialogData> pageSetup_;
  wxWeakRef<CPlayerFrame> frame_;
};
