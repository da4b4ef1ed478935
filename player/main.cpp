// ZANBEL.SLF: the player. Started as it is, it is the template of every
// stand-alone invention; a copy that an export has filled runs its invention.
#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>
#include <cstdlib>

#include "player/playerapp.h"
#include "shell/core/settings.h"

int main(int argc, char** argv) {
  // Option flags come from the arguments ("NoIntroPlease" ...).
  setCommandLine(argc, argv);
  auto* app = new CPlayerApp;
  wxApp::SetInstance(app);
  int wxArgc = 1;
  if (!wxEntryStart(wxArgc, argv)) {
    std::fputs("Zanbel: der er ingen skærm at vise opfindelsen på\n", stderr);
    return 1;
  }
  int status = 1;
  if (app->CallOnInit()) {
    status = app->OnRun();
    app->OnExit();
  }
  wxEntryCleanup();
  // Leave without the exit handlers: the text drawing would give fontconfig
  // back while the toolkit still holds on to it.
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}
