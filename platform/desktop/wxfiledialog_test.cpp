#include "platform/desktop/wxfiledialog.h"

#include <gtest/gtest.h>

#include <fnmatch.h>

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <fstream>

#include "platform/desktop/wxmessagebox.h"
#include "platform/desktop/wxtesting.h"
#include "platform/platform.h"

namespace {

std::string makeFolder(std::initializer_list<const char*> files) {
  char name[] = "/tmp/zbdesktop-files-XXXXXX";
  const std::string folder = mkdtemp(name) ? name : "";
  for (const char* f : files) std::ofstream(folder + "/" + f) << "x";
  return folder;
}

void removeFolder(const std::string& folder) { std::system(("rm -rf '" + folder + "'").c_str()); }

// Without a window manager nobody gives the chooser the keyboard; its
// window is found by its title.
void focusWindowTitled(const std::string& title) {
  const std::string command = "xdotool search --name '^" + title + "$' windowfocus";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  runFor(100);
}

// The chooser is no wx top-level window that shows; it is found as the open modal dialog.
bool isOpenFileDialog(wxTopLevelWindow* w) {
  auto* d = dynamic_cast<wxFileDialog*>(w);
  return d && d->IsModal();
}

cFileDialogRequest inventionDialog(bool save, const std::string& folder) {
  cFileDialogRequest r;
  r.save = save;
  r.title = save ? "Gem opfindelse som" : "Åbn opfindelse";
  r.initialFolder = folder;
  r.filters = {{"Gemte opfindelser (*.wgt)", {"*.wgt"}}};
  r.defaultExtension = "wgt";
  return r;
}

// Shows the dialog and presses keys once it is there; a dialog still open
// a while after the last key is cancelled, so that a failing test ends.
std::optional<std::string> chooseWithKeys(const cFileDialogRequest& request, const std::vector<int>& keys) {
  // The chooser reads the folder in the background first.
  std::vector<cStep> steps{{1200, [&](wxTopLevelWindow*) { focusWindowTitled(request.title); }}};
  for (int key : keys) steps.push_back({150, [key](wxTopLevelWindow*) { pressKey(key); }});
  steps.push_back({6000, [](wxTopLevelWindow* w) { static_cast<wxDialog*>(w)->EndModal(wxID_CANCEL); }});
  cWhenShown when(isOpenFileDialog, steps);
  return platform().ui().fileDialog(request);
}

}  // namespace

TEST(DesktopFileDialogTest, PatternsMatchInAnyCase) {
  struct cCase {
    const char* pattern;
    const char* anyCase;
    std::vector<const char*> matches;
    std::vector<const char*> misses;
  };
  const cCase cases[] = {
      {"*.wgt", "*.[wW][gG][tT]", {"robot.wgt", "ROBOT.WGT", "Robot.Wgt"}, {"robot.wgx", "robot.wgt.bak"}},
      {"*.exe", "*.[eE][xX][eE]", {"ROBOT.EXE", "robot.exe"}, {"robot"}},
      {"ZANBEL.PZL", "[zZ][aA][nN][bB][eE][lL].[pP][zZ][lL]", {"zanbel.pzl", "Zanbel.PZL"}, {"zanbel.pzl2"}},
      {"*", "*", {"robot"}, {}},
      {"*.wåv", "*.[wW]å[vV]", {"a.WåV"}, {"a.wav"}},
  };
  for (const cCase& c : cases) {
    const std::string any = anyCasePattern(c.pattern);
    EXPECT_EQ(any, c.anyCase);
    for (const char* name : c.matches) EXPECT_EQ(fnmatch(any.c_str(), name, 0), 0) << c.pattern << " " << name;
    for (const char* name : c.misses) EXPECT_NE(fnmatch(any.c_str(), name, 0), 0) << c.pattern << " " << name;
  }
}

TEST(DesktopFileDialogTest, FiltersKeepTheirPatternFirstForTheExtension) {
  EXPECT_EQ(wildcardFor({{"Gemte opfindelser (*.wgt)", {"*.wgt"}}}).utf8_string(),
            "Gemte opfindelser (*.wgt)|*.wgt;*.[wW][gG][tT]");
  EXPECT_EQ(wildcardFor({{"Lyd (*.wav)", {"*.wav", "*.snd"}}, {"Alle filer", {}}}).utf8_string(),
            "Lyd (*.wav)|*.wav;*.[wW][aA][vV];*.snd;*.[sS][nN][dD]|Alle filer|*");
  EXPECT_EQ(wildcardFor({}).utf8_string(), "");
}

TEST(DesktopFileDialogTest, TheDefaultExtensionIsAddedOnlyToANameWithout) {
  struct cCase {
    const char* path;
    const char* extension;
    const char* expected;
  };
  const cCase cases[] = {
      {"/home/barn/robot", "wgt", "/home/barn/robot.wgt"},
      {"/home/barn/robot.wgt", "wgt", "/home/barn/robot.wgt"},
      {"/home/barn/ROBOT.exe", "wgt", "/home/barn/ROBOT.exe"},  // a name typed with its own ending keeps it
      {"/home/barn.d/robot", "wgt", "/home/barn.d/robot.wgt"},
      {"/home/barn/.robot", "wgt", "/home/barn/.robot.wgt"},
      {"/home/barn/robot", "", "/home/barn/robot"},
  };
  for (const cCase& c : cases) EXPECT_EQ(withDefaultExtension(c.path, c.extension), c.expected) << c.path;
}

TEST(DesktopFileDialogTest, TheOpenDialogShowsNamesInCapitals) {
  // The only name the filter lets through is in capitals; a filter that
  // cares about case shows nothing, and Enter chooses nothing.
  const std::string folder = makeFolder({"ROBOT.WGT", "noter.txt"});
  const auto chosen = chooseWithKeys(inventionDialog(false, folder), {WXK_DOWN, WXK_RETURN});
  EXPECT_EQ(chosen, folder + "/ROBOT.WGT");
  removeFolder(folder);
}

TEST(DesktopFileDialogTest, SavingProposesTheNameWithItsExtension) {
  const std::string folder = makeFolder({});
  cFileDialogRequest request = inventionDialog(true, folder);
  request.initialName = "udennavn";
  EXPECT_EQ(chooseWithKeys(request, {WXK_RETURN}), folder + "/udennavn.wgt");
  removeFolder(folder);
}

TEST(DesktopFileDialogTest, EscapeCancelsAndTheProgramGoesOn) {
  const std::string folder = makeFolder({"a.wgt"});
  EXPECT_EQ(chooseWithKeys(inventionDialog(false, folder), {WXK_ESCAPE}), std::nullopt);
  EXPECT_FALSE(testApp().inModalDialog());
  const int steps = testApp().idleSteps;
  EXPECT_TRUE(runUntil([&] { return testApp().idleSteps > steps + 10; }));
  removeFolder(folder);
}

TEST(DesktopFileDialogTest, ANameCompletedWithItsExtensionIsNotOverwrittenUnasked) {
  // The chooser only asks about the name as typed ("robot"); the file that
  // would be written is robot.wgt, so we ask about that one.
  for (const cMessageResult answer : {cMessageResult::yes, cMessageResult::no}) {
    const std::string folder = makeFolder({"robot.wgt"});
    const cFileDialogRequest request = inventionDialog(true, folder);
    std::string asked;
    bool shownAgain = false;
    // After Nej the chooser comes back.
    wxDialog* chooser = nullptr;
    bool boxAnswered = false;
    cWhenShown box(isShown<CMessageBox>(), [&](wxTopLevelWindow* w) {
      auto* b = static_cast<CMessageBox*>(w);
      asked = textShownIn(b);
      clickOn(b->buttonFor(answer));
      boxAnswered = true;
    });
    const auto chooserBack = [&] { return boxAnswered && chooser->IsModal(); };
    cWhenShown dialog(isOpenFileDialog, {{1200,
                                          [&](wxTopLevelWindow* w) {
                                            chooser = static_cast<wxDialog*>(w);
                                            focusWindowTitled(request.title);
                                          }},
                                         {300, [](wxTopLevelWindow*) { wxUIActionSimulator().Text("robot"); }},
                                         {500, [](wxTopLevelWindow*) { pressKey(WXK_RETURN); }},
                                         {100,
                                          [&](wxTopLevelWindow* w) {
                                            auto* d = static_cast<wxDialog*>(w);
                                            shownAgain = d->IsModal();
                                            if (shownAgain) d->EndModal(wxID_CANCEL);
                                          },
                                          chooserBack}});
    const auto chosen = platform().ui().fileDialog(request);
    EXPECT_EQ(asked, "robot.wgt findes allerede.\nVil du erstatte den?");
    if (answer == cMessageResult::yes) {
      EXPECT_EQ(chosen, folder + "/robot.wgt");
    } else {
      EXPECT_TRUE(shownAgain) << "after Nej the dialog comes back";
      EXPECT_EQ(chosen, std::nullopt);
    }
    removeFolder(folder);
  }
}
