// zanbel: the editor.
//
//   zanbel --dialog CODE   opens the property dialog of a new gadget of the
//                          kind CODE ("AndG", "1ncr", ...) and prints its
//                          settings when the dialog closes: OK keeps what was
//                          set, Annuller what there was
//   zanbel --about         opens "Om Zanbel"
//
// The editor's main window comes with the editor's shell.
#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "dialogs/wx/wxpropertydialog.h"
#include "engine/factory.h"
#include "engine/kinds.h"
#include "gadgets/registry.h"
#include "graphics/wingdib.h"
#include "platform/desktop/wxapp.h"
#include "shell/app/settingstext.h"
#include "shell/core/resourcemodule.h"
#include "shell/core/resources.h"

namespace {

class CZanbelApp : public CDesktopApp {};

int usage() {
  std::fputs("brug: zanbel --dialog KODE   (egenskaber for en ny del, fx zanbel --dialog AndG)\n"
             "      zanbel --about         (Om Zanbel)\n",
             stderr);
  return 2;
}

// The dialog of a new gadget; its settings afterwards on standard output.
int showDialog(const std::string& code) {
  const cKindInfo* kind = code.size() == 4 ? kindByCode(makeTypeCode(code)) : nullptr;
  if (!kind) {
    std::fprintf(stderr, "zanbel: der findes ingen del med koden \"%s\"\n", code.c_str());
    return 1;
  }
  installGadgetKinds();
  std::unique_ptr<cGadget> gadget = mNewGadget(nullptr, kind->typeCode, cPoint(240, 320), {}, false);
  if (!gadget) {
    std::fprintf(stderr, "zanbel: delen %s (%s) kan ikke laves endnu\n", code.c_str(), kind->name);
    return 1;
  }
  const int result = runPropertyDialog(nullptr, *gadget);
  if (result == 0) {
    std::fprintf(stderr, "zanbel: der er ingen dialog til %s (%s)\n", code.c_str(), kind->name);
    return 1;
  }
  std::printf("resultat %s\n%s", result == 1 ? "OK" : "Annuller", settingsText(*gadget).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dialogCode;
  bool about = false;
  if (argc == 3 && std::strcmp(argv[1], "--dialog") == 0) dialogCode = argv[2];
  else if (argc == 2 && std::strcmp(argv[1], "--about") == 0) about = true;
  else return usage();

  auto* app = new CZanbelApp;
  wxApp::SetInstance(app);
  int wxArgc = 1;
  if (!wxEntryStart(wxArgc, argv)) {
    std::fputs("zanbel: kan ikke åbne et vindue (ingen skærm)\n", stderr);
    return 1;
  }
  int status = 1;
  if (app->CallOnInit()) {
    openResourceLibraries();
    {
      CWinGInfo display;
      status = about ? (showAboutBox(nullptr), 0) : showDialog(dialogCode);
    }
    cGadget::releaseSharedPictures();
    app->OnExit();
  }
  wxEntryCleanup();
  // Leave without the exit handlers: the text drawing would give fontconfig
  // back while GTK still holds on to it, and fontconfig aborts.
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}
