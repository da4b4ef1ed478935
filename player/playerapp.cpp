#include "player/playerapp.h"

#include <wx/image.h>
#include <wx/intl.h>
#include <wx/translation.h>
#include <wx/menu.h>
#include <wx/printdlg.h>
#include <wx/prntbase.h>

#include <cstdio>
#include <cstdlib>

#include "dialogs/wx/wxpropertydialog.h"
#include "engine/cycle.h"
#include "engine/factory.h"
#include "gadgets/registry.h"
#include "graphics/frameset.h"
#include "graphics/wingdib.h"
#include "player/playernames.h"
#include "player/playerview.h"
#include "player/printing.h"
#include "player/wxmenu.h"
#include "shell/core/menuresource.h"
#include "shell/core/resourcemodule.h"
#include "shell/core/resources.h"
#include "sound/soundsystem.h"
#if ZANBEL_HAVE_SDL_SOUND
#include "platform/desktop/sdlwave.h"
#endif

namespace {

// The menu of the player's document template.
constexpr uint16_t kPlayerMenu = 2;
// Sound is looked after this often besides every cycle, so that it does not
// run dry while a menu or a dialog holds the program.
constexpr int kSoundServiceMs = 50;

void tell(const char* text) {
  cMessageRequest box;
  box.text = text;
  box.icon = cMessageIcon::warning;
  platform().ui().messageBox(box);
}

}  // namespace

// ---- the frame ----

CPlayerFrame::CPlayerFrame(const std::string& programPath, wxPageSetupDialogData& pageSetup)
    : CDesktopFrame(wxString::FromUTF8(playerTitle(programPath)), wxDefaultPosition,
                    wxSize(kWorksheetWidth, kWorksheetHeight)),
      pageSetup_(pageSetup) {
  if (const auto menu = ownMenu(kPlayerMenu)) SetMenuBar(makeMenuBar(*menu));
  view_ = new CPlayerView(this, programPath);
  if (!view_->GetHandle()) fatalExit("Failed to create worksheet");
  setView(view_);
  SetClientSize(kWorksheetWidth, kWorksheetHeight);
  setIconsFromArtwork();
  Bind(wxEVT_MENU, &CPlayerFrame::onPageSetup, this, menuItemId(kCmdPageSetup));
  Bind(wxEVT_MENU, &CPlayerFrame::onPrintPreview, this, menuItemId(kCmdPrintPreview));
  Bind(wxEVT_MENU, &CPlayerFrame::onPrint, this, menuItemId(kCmdPrint));
  Bind(wxEVT_MENU, &CPlayerFrame::onExit, this, menuItemId(kCmdExit));
  Bind(wxEVT_MENU, &CPlayerFrame::onAbout, this, menuItemId(kCmdAbout));
}

void CPlayerFrame::setIconsFromArtwork() {
  // Frame set 1: the program's icon in its sizes. Pixel 0 is the clear part.
  const cFrameSet icons(kPlayerIconSet);
  const cColourTable& colours = wingInfo().colourTable();
  wxIconBundle bundle;
  for (int n = 1; n <= icons.frameCount(); ++n) {
    const cRect r = icons.frameRect(n);
    if (r.isEmpty()) continue;
    CWinGDib picture(r.width(), r.height(), +1);
    picture.fill(0);
    icons.drawFrame(n, cPoint(-r.top, -r.left), picture.bounds(), picture);
    wxImage image(r.width(), r.height(), false);
    image.InitAlpha();
    for (int y = 0; y < r.height(); ++y)
      for (int x = 0; x < r.width(); ++x) {
        const uint8_t index = *picture.pixelAddress(x, y);
        image.SetRGB(x, y, colours[index].red, colours[index].green, colours[index].blue);
        image.SetAlpha(x, y, index == 0 ? 0 : 255);
      }
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(image));
    bundle.AddIcon(icon);
  }
  if (!bundle.IsEmpty()) SetIcons(bundle);
}

void CPlayerFrame::onPageSetup(wxCommandEvent&) {
  view_->beforeCommand();
  wxPageSetupDialog dialog(this, &pageSetup_);
  if (dialog.ShowModal() == wxID_OK) pageSetup_ = dialog.GetPageSetupDialogData();
  view_->afterCommand();
}

void CPlayerFrame::onPrintPreview(wxCommandEvent&) {
  view_->beforeCommand();
  wxPrintDialogData data(pageSetup_.GetPrintData());
  auto* preview = new wxPrintPreview(new CWorksheetPrintout(view_->picture(), pageSetup_),
                                     new CWorksheetPrintout(view_->picture(), pageSetup_), &data);
  if (!preview->IsOk()) {
    delete preview;
    tell("Udskriften kan ikke vises. Der er måske ingen printer.");
    view_->afterCommand();
    return;
  }
  // The preview's own words (its buttons, "Side 1 af 1") come from the
  // toolkit's Danish catalogue, for as long as it is open: with the catalogue
  // the toolkit would also put its own stock words on our message boxes.
  auto* words = new wxTranslations;
  words->SetLanguage(wxLANGUAGE_DANISH);
  words->AddStdCatalog();
  wxTranslations::Set(words);
  auto* frame = new wxPreviewFrame(preview, this, "Vis udskrift", wxDefaultPosition, wxSize(720, 640));
  frame->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    event.Skip();
    wxTranslations::Set(nullptr);
    CallAfter([this] { view_->afterCommand(); });
  });
  frame->Initialize();
  frame->Centre();
  frame->Show();
}

void CPlayerFrame::onPrint(wxCommandEvent&) {
  view_->beforeCommand();
  wxPrintDialogData data(pageSetup_.GetPrintData());
  wxPrinter printer(&data);
  CWorksheetPrintout printout(view_->picture(), pageSetup_);
  if (printer.Print(this, &printout, true))
    pageSetup_.SetPrintData(printer.GetPrintDialogData().GetPrintData());
  else if (wxPrinter::GetLastError() == wxPRINTER_ERROR)
    tell("Der opstod en fejl under udskrivningen.");
  view_->afterCommand();
}

void CPlayerFrame::onExit(wxCommandEvent&) {
  if (isRunning()) stopRun();
  Close(true);
}

void CPlayerFrame::onAbout(wxCommandEvent&) {
  view_->beforeCommand();
  showAboutBox(this);
  view_->afterCommand();
}

// ---- the application ----

CPlayerApp::CPlayerApp() : soundTimer_(this) {
  Bind(wxEVT_TIMER, &CPlayerApp::onSoundTimer, this);
}

CPlayerApp::~CPlayerApp() = default;

bool CPlayerApp::OnInit() {
  if (!CDesktopApp::OnInit()) return false;
  // A fatal end leaves at once: the exit handlers would give the fonts back
  // while the toolkit still holds on to them.
  setFatalExitHandler([](const char*) {
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(-1);
  });
  atFatalExit([this] { stopSound(); });

  // Every resource from the program's own file.
  openResourceLibraries({cResourceStartMode::player, "", ""});
  display_ = std::make_unique<CWinGInfo>();
#if ZANBEL_HAVE_SDL_SOUND
  devices_ = std::make_unique<cSdlWaveDevices>();
  platform().setWaveDevices(devices_.get());
#endif
  engine_ = std::make_unique<cSoundEngine>();
  engine_->startEngine();
  out_ = std::make_unique<cSoundOut>(*engine_);
  loadToneSample();
  installGadgetKinds();
  // The player makes gadgets only as its invention is read.
  gadgetFactory().setRecordsOnly(true);
  setMode(cMode::editing);

  pageSetup_ = std::make_unique<wxPageSetupDialogData>();
  pageSetup_->SetMarginTopLeft(wxPoint(15, 15));
  pageSetup_->SetMarginBottomRight(wxPoint(15, 15));
  frame_ = new CPlayerFrame(runningProgramPath(), *pageSetup_);
  frame_->Centre();
  frame_->Show();
  frame_->Maximize();
  SetTopWindow(frame_);
  soundTimer_.Start(kSoundServiceMs);
  return true;
}

void CPlayerApp::stopSound() {
  out_.reset();
  engine_.reset();
  platform().setWaveDevices(nullptr);
  devices_.reset();
}

int CPlayerApp::OnExit() {
  soundTimer_.Stop();
  cGadget::releaseSharedPictures();
  stopSound();
  display_.reset();
  resourceLibraries().release();
  pageSetup_.reset();
  return CDesktopApp::OnExit();
}

void CPlayerApp::idleStep() {
  if (frame_ && frame_->playerView()) frame_->playerView()->idleStep();
}

void CPlayerApp::activationChanged(bool active) {
  if (frame_ && frame_->playerView()) frame_->playerView()->activationChanged(active);
}

void CPlayerApp::onSoundTimer(wxTimerEvent&) {
  soundService();
  if (frame_ && frame_->playerView()) frame_->playerView()->presentChanges();
}
