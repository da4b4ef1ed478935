// The property dialogs on a real display, driven with the mouse and the
// keyboard through the X test extension.
#include "dialogs/wx/wxpropertydialog.h"

#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <cstdlib>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <cstring>

#include "dialogs/combotexts.h"
#include "dialogs/dialogs_testing.h"
#include "platform/desktop/wxtesting.h"
#include "shell/core/resources.h"

#if defined(__SANITIZE_ADDRESS__)
// GTK and the libraries under it keep memory for the life of the process;
// the leak check of a sanitizer build should not count it against us. The
// stacks are walked slowly so that their frames in those libraries are seen.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libglib\nleak:libgobject\nleak:libgio\nleak:libgtk\nleak:libgdk\n"
         "leak:libpango\nleak:libcairo\nleak:libharfbuzz\nleak:libdbus\nleak:libatk\nleak:libatspi\n"
         "leak:libX11\nleak:libxkbcommon\nleak:libepoxy\n";
}
extern "C" const char* __lsan_default_options() { return "fast_unwind_on_malloc=0"; }
#endif

namespace {

using dialogtest::builtResources;
using dialogtest::cRecordingGadget;

// The text drawing gives fontconfig back at exit while GTK still holds on
// to it, and fontconfig aborts. By then the tests have their result: leave
// with it before that happens, after the leak check of a sanitizer build.
class cLeaveBeforeFontconfigIsGivenBack : public ::testing::Environment {
 public:
  void TearDown() override {
    std::atexit([] {
      int leaks = 0;
#if defined(__SANITIZE_ADDRESS__)
      leaks = __lsan_do_recoverable_leak_check();
#endif
      std::_Exit(::testing::UnitTest::GetInstance()->Passed() && !leaks ? 0 : 1);
    });
  }
};
::testing::Environment* const leaveEarly = ::testing::AddGlobalTestEnvironment(new cLeaveBeforeFontconfigIsGivenBack);

// The program's templates and combo texts and the fixture's, with small
// pictures and texts in the artwork library.
class DesktopDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto own = std::make_unique<cMemoryResourceModule>("zanbel");
    for (const char* file : {"fixture.rc.res", "gadgets.rc.res", "combotexts.res"})
      for (const cResEntry& e : builtResources(file)) own->add(e.type, e.name, e.data);
    own->add(kComboTextResourceType, 3001,
             comboTextBytes({{140, kMessageAddComboString, "Jorden"}, {140, kMessageAddComboString, "M\xe5nen"}}));
    resourceLibraries().setOwn(std::move(own));
    resourceLibraries().setGadgetLibrary(dialogtest::fixtureArtwork());
    cRecordingGadget::previews = 0;
  }
  void TearDown() override { resourceLibraries().release(); }

  // Opens the gadget's dialog; `act` runs once it is on screen.
  int runDialog(cGadget& gadget, const std::function<void(CPropertyDialog&)>& act) {
    bool shown = false;
    cWhenShown when(isShown<CPropertyDialog>(), [&](wxTopLevelWindow* w) {
      shown = true;
      runFor(150);  // the dialog takes its focus after it appears
      act(*static_cast<CPropertyDialog*>(w));
    });
    const int result = runPropertyDialog(nullptr, gadget);
    EXPECT_TRUE(shown);
    return result;
  }

  static void type(const char* text) {
    for (const char* c = text; *c; ++c) pressKey(*c);
    runFor(100);
  }
};

TEST_F(DesktopDialogTest, TypingClickingAndEnterSetTheConstant) {
  cRecordingGadget gadget(2004);  // the dialog of "Trecifret tal"
  std::strcpy(gadget.settings.text(0), "7");
  std::string focusedText;
  bool tipShown = false;
  const int result = runDialog(gadget, [&](CPropertyDialog& d) {
    auto* field = dynamic_cast<wxTextCtrl*>(d.control(151));
    ASSERT_TRUE(field);
    // The field has the focus with its text selected: typing replaces it.
    EXPECT_EQ(wxWindow::FindFocus(), field);
    type("42x5");  // the letter is refused on the spot
    focusedText = field->GetValue().utf8_string();
    clickOn(d.control(162));  // "Skjul tal"
    runFor(100);
    clickOn(d.control(150));  // the help toggle: the tip now
    runFor(100);
    tipShown = d.dialog().helpItem()->showingTip();
    clickOn(field);
    runFor(50);
    pressKey(WXK_RETURN);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(focusedText, "425");
  EXPECT_TRUE(tipShown);
  EXPECT_EQ(gadget.saves, 1);
  EXPECT_STREQ(gadget.settings.text(0), "425");
  EXPECT_EQ(gadget.settings.flags32, 0b10u);
}

TEST_F(DesktopDialogTest, EscapeCancelsAndPutsTheSettingsBack) {
  cRecordingGadget gadget(2021);  // "Sammenligner": one group of six
  gadget.settings.bools[0] = 2;
  bool startChecked = false;
  const int result = runDialog(gadget, [&](CPropertyDialog& d) {
    startChecked = static_cast<wxRadioButton*>(d.control(112))->GetValue();
    clickOn(d.control(115));
    runFor(100);
    EXPECT_TRUE(static_cast<wxRadioButton*>(d.control(115))->GetValue());
    EXPECT_FALSE(static_cast<wxRadioButton*>(d.control(112))->GetValue());
    EXPECT_EQ(d.dialog().choice(0), 5);
    pressKey(WXK_ESCAPE);
  });
  EXPECT_EQ(result, 2);
  EXPECT_TRUE(startChecked);
  EXPECT_GT(cRecordingGadget::previews, 0);
  EXPECT_EQ(gadget.settings.bools[0], 2);
  EXPECT_EQ(gadget.saves, 0);
}

TEST_F(DesktopDialogTest, LinkedControlsAndListsWorkWithTheMouse) {
  cRecordingGadget gadget(3001);
  const int result = runDialog(gadget, [&](CPropertyDialog& d) {
    // Interleaved groups stay apart: checking one group's second button
    // leaves the other group's first one checked.
    clickOn(d.control(111));  // "Speciel:" moves the cursor into its field
    runFor(100);
    EXPECT_EQ(wxWindow::FindFocus(), d.control(151));
    EXPECT_TRUE(static_cast<wxRadioButton*>(d.control(120))->GetValue());
    EXPECT_EQ(d.dialog().choice(0), 1);
    // Choosing from the list checks "Indstilling:".
    auto* list = static_cast<wxChoice*>(d.control(140));
    EXPECT_EQ(list->GetCount(), 2u);
    clickOn(list);
    runFor(300);
    pressKey(WXK_DOWN);
    pressKey(WXK_RETURN);
    runFor(300);
    EXPECT_EQ(d.dialog().choice(0), 0);
    EXPECT_EQ(d.dialog().number(0), list->GetSelection());
    EXPECT_NE(list->GetSelection(), wxNOT_FOUND);
    clickOn(d.control(1));
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(gadget.settings.bools[0], 0);
}

TEST_F(DesktopDialogTest, TheScreenShowsTheGadgetWithItsRedPinLines) {
  cRecordingGadget gadget(3001);
  std::vector<uint8_t> pixels;
  wxRect where;
  runDialog(gadget, [&](CPropertyDialog& d) {
    runFor(200);
    where = d.control(102)->GetScreenRect();
    pixels = screenPixels(where);
    clickOn(d.control(2));
  });
  ASSERT_EQ(pixels.size(), size_t(where.width * where.height * 3));
  int red = 0, grey = 0;
  for (size_t i = 0; i + 2 < pixels.size(); i += 3) {
    red += pixels[i] == 255 && pixels[i + 1] == 0 && pixels[i + 2] == 0;
    grey += pixels[i] == 192 && pixels[i + 1] == 192 && pixels[i + 2] == 192;
  }
  EXPECT_GT(red, 20);
  EXPECT_GT(grey, where.width * where.height / 2);
}

}  // namespace
