// The player's worksheet view: the off-screen picture of the worksheet in a
// window, the title screen before the invention is loaded, and the keys and
// clicks of a child who runs the invention.
//
// It goes through three stages: the first paint (nothing is drawn), the
// title screen (until a mouse button is pressed, unless "NoIntroPlease"),
// and playing: the invention from the program's own resource 1023/1 on the
// worksheet, run with Enter and stopped with Escape. While it is stopped
// after loading, a hint at the bottom says which keys to press; while the
// program is in the background during a run, a pause sign says why nothing
// moves.
#pragma once

#include <wx/event.h>

#include <memory>
#include <string>

#include "engine/worksheet.h"
#include "graphics/wingdib.h"
#include "platform/desktop/wxview.h"

class wxMenuBar;

// The player's own pictures.
enum : uint16_t {
  kPlayerIconSet = 1,
  kPauseSign = 10001,
  kStartHint = 10004,
  kTitlePicture = 10005,
};

class CPlayerView : public CSurfaceView, public cWorksheetHost {
 public:
  enum class cStage { starting, title, playing };

  // programPath is the program's own file: the document's path once loaded.
  CPlayerView(wxWindow* parent, std::string programPath);
  ~CPlayerView() override;

  cStage stage() const { return stage_; }
  cWorksheetPane& worksheet() { return *worksheet_; }
  const CWinGDib& picture() const { return picture_; }
  // The document: the program's path once the invention is loaded.
  const std::string& documentPath() const { return documentPath_; }
  bool hasFile() const { return hasFile_; }

  // One step of the application's idle processing.
  void idleStep();
  // The program came to the front (true) or went to the background.
  void activationChanged(bool active);
  // A menu command is about to run: the picture shows only the invention.
  // After it, the start hint comes back if it was there.
  void beforeCommand();
  void afterCommand();
  // Copies what changed on the picture to the window.
  void presentChanges();

  // ---- cWorksheetHost ----
  void updateCommands() override;
  void invalidateWindow(const cRect& rect) override;
  void updateWindow() override { presentChanges(); }
  bool isMinimised() override;
  // The player edits nothing, so nothing is selected under the pointer.
  bool cursorOverWorksheet(cPoint&) override { return false; }

 protected:
  bool firstPaint() override;
  void timer1() override;

 private:
  void firstShow();
  void showTitle();
  void drawTitle();
  void endTitle();
  void loadInvention();
  // The picture gets the window's size; alert 9 when it cannot.
  bool fitToWindow(bool showAlert);
  void showSign(uint16_t id);
  void removeSign();
  wxMenuBar* menuBar() const;

  void onSize(wxSizeEvent& event);
  void onKeyDown(wxKeyEvent& event);
  void onMouseDown(wxMouseEvent& event);
  void onCaptureLost(wxMouseCaptureLostEvent& event);

  CWinGDib picture_;
  std::unique_ptr<cWorksheetPane> worksheet_;
  std::string programPath_;
  std::string documentPath_;
  bool hasFile_ = false;
  cStage stage_ = cStage::starting;
  bool changed_ = false;
  cRect changes_;
  bool fullSize_ = true;
  uint16_t sign_ = 0;  // the sign on the picture now, or 0
  bool hintPutAway_ = false;
};
