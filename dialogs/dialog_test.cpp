#include "dialogs/dialog.h"

#include <gtest/gtest.h>

#include <cstring>

#include "dialogs/combotexts.h"
#include "dialogs/dialogs_testing.h"

namespace {

using dialogtest::cRecordingGadget;
using dialogtest::DialogTest;

// ---- building the controls ----

TEST_F(DialogTest, BuildsOneControlObjectPerControlByClassAndStyle) {
  open(3001);
  ASSERT_EQ(dialog->pushButtons().size(), 3u);  // 1, 2 and 104
  EXPECT_EQ(dialog->pushButtons()[0]->id(), 1);
  EXPECT_EQ(dialog->pushButtons()[1]->id(), 2);
  EXPECT_EQ(dialog->pushButtons()[2]->id(), 104);
  ASSERT_EQ(dialog->checkBoxes().size(), 2u);
  EXPECT_EQ(dialog->checkBoxes()[0]->id(), 161);
  ASSERT_EQ(dialog->comboBoxes().size(), 2u);
  ASSERT_EQ(dialog->editFields().size(), 3u);
  ASSERT_EQ(dialog->staticTexts().size(), 1u);  // 105; the frame has no id
  EXPECT_EQ(dialog->staticTexts()[0]->id(), 105);
  EXPECT_TRUE(dialog->gadgetGraphic());
  EXPECT_TRUE(dialog->helpItem());
  for (const auto& item : host->dialogTemplate().items) {
    if (item.id >= 1 && item.id <= 169) {
      EXPECT_TRUE(host->control(int(item.id))->style() & kWsClipSiblings) << item.id;
    }
  }
}

TEST_F(DialogTest, EditRulesComeFromTheTemplateTextWhichIsCleared) {
  open(3001);
  const auto& edits = dialog->editFields();
  EXPECT_EQ(edits[0]->rule(), parseEditRule("#-.6"));
  EXPECT_EQ(edits[1]->rule(), parseEditRule("#5"));
  EXPECT_EQ(edits[2]->rule(), parseEditRule("A4"));
  for (int id : {151, 152, 153}) EXPECT_EQ(host->control(id)->text(), "") << id;
}

TEST_F(DialogTest, RadioButtonsWithTheSameLastCharacterFormOneGroup) {
  open(3001);
  // 110 and 111 end in '0', 120 and 121 in '1'; the template interleaves them.
  const auto& groups = dialog->radioGroups();
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0]->key(), '0');
  ASSERT_EQ(groups[0]->buttons().size(), 2u);
  EXPECT_EQ(groups[0]->buttons()[0]->id(), 110);
  EXPECT_EQ(groups[0]->buttons()[1]->id(), 111);
  EXPECT_EQ(groups[1]->buttons()[1]->id(), 121);
  // The key is gone from the captions; the first button of each group starts checked.
  EXPECT_EQ(host->control(110)->text(), "Indstilling:");
  EXPECT_EQ(host->control(121)->text(), "Sl\xe5s til midt p\xe5");
  EXPECT_EQ(host->control(110)->check(), 1);
  EXPECT_EQ(host->control(111)->check(), 0);
  EXPECT_EQ(host->control(120)->check(), 1);
  EXPECT_EQ(groups[0]->getValue(), 0);
}

TEST_F(DialogTest, FocusGoesToTheFirstEditFieldWithItsTextSelected) {
  gadget = std::make_unique<cRecordingGadget>();
  std::strcpy(gadget->settings.text(0), "2.5");
  open(3001);
  EXPECT_EQ(host->focus(), 151);
  EXPECT_EQ(host->control(151)->text(), "2.5");
  EXPECT_TRUE(host->control(151)->allSelected());
  EXPECT_FALSE(host->control(152)->allSelected());
}

TEST_F(DialogTest, WithoutAnEditFieldFocusGoesToOk) {
  open(3002);
  EXPECT_EQ(host->focus(), kItemOk);
}

// ---- combo texts ----

TEST_F(DialogTest, ListsAreFilledFromTheComboTextsOfTheTemplate) {
  open(3001);
  EXPECT_EQ(host->control(140)->entries(), (std::vector<std::string>{"Jorden", "M\xe5nen"}));
  EXPECT_EQ(host->control(141)->entries(), (std::vector<std::string>{"Hund", "Kat"}));
  // The record for the static text reached no list.
  EXPECT_EQ(host->control(105)->entries().size(), 0u);
}

TEST_F(DialogTest, FillingStopsAtTheFirstEntryThatIsRefused) {
  gadget = std::make_unique<cRecordingGadget>();
  dialog = std::make_unique<cDialog>(*gadget, gadget->previewCallback);
  host = std::make_unique<cHeadlessDialogHost>(templates.at(3001));
  host->control(140)->refuseEntriesAfter(1);
  host->open(*dialog);
  EXPECT_EQ(host->control(140)->entries().size(), 1u);
  EXPECT_EQ(host->control(141)->entries().size(), 0u);  // it came after the refusal
}

TEST_F(DialogTest, AMissingComboTextResourceLeavesTheListsEmptyAndTheSettingsAsTheyWere) {
  own->add(kComboTextResourceType, 3001, {});  // an empty resource: nothing to add
  gadget = std::make_unique<cRecordingGadget>();
  gadget->settings.values[0] = 1;
  gadget->settings.values[1] = 5;
  open(3001);
  EXPECT_EQ(host->control(140)->entryCount(), 0);
  EXPECT_EQ(hp.scriptedUi().messages().size(), 0u);
  host->click(kItemOk);
  // A list that shows nothing keeps the value it was given.
  EXPECT_EQ(gadget->settings.values[0], 1);
  EXPECT_EQ(gadget->settings.values[1], 5);
}

TEST_F(DialogTest, SettingsThatNameNoEntryOrButtonSurviveOk) {
  gadget = std::make_unique<cRecordingGadget>();
  gadget->settings.values[0] = 9;  // the list has two entries
  gadget->settings.bools[0] = 7;   // the group has two buttons
  open(3001);
  EXPECT_EQ(host->control(140)->selection(), -1);
  EXPECT_EQ(host->control(110)->check(), 0);
  EXPECT_EQ(host->control(111)->check(), 0);
  host->click(kItemOk);
  EXPECT_EQ(gadget->settings.values[0], 9);
  EXPECT_EQ(gadget->settings.bools[0], 7);
}

// ---- the settings through the four classes of controls ----

TEST_F(DialogTest, ControlIOfEachClassIsTheIthInAscendingId) {
  gadget = std::make_unique<cRecordingGadget>();
  cSettingsBlock& s = gadget->settings;
  s.bools[0] = 1;
  s.bools[1] = 1;
  s.values[0] = 1;
  s.values[1] = 0;
  s.flags32 = 0b10;
  std::strcpy(s.text(0), "-3.5");
  std::strcpy(s.text(1), "42");
  std::strcpy(s.text(2), "ab");
  open(3001);
  EXPECT_EQ(host->control(111)->check(), 1);
  EXPECT_EQ(host->control(121)->check(), 1);
  EXPECT_EQ(host->control(140)->selection(), 1);
  EXPECT_EQ(host->control(141)->selection(), 0);
  EXPECT_EQ(host->control(161)->check(), 0);
  EXPECT_EQ(host->control(162)->check(), 1);
  EXPECT_EQ(host->control(151)->text(), "-3.5");
  EXPECT_EQ(host->control(152)->text(), "42");
  EXPECT_EQ(host->control(153)->text(), "ab");
  EXPECT_FALSE(dialog->hasChoice(2));
  EXPECT_FALSE(dialog->hasNumber(2));
  EXPECT_FALSE(dialog->hasOnOff(2));
  EXPECT_FALSE(dialog->hasText(3));

  host->click(120);
  host->choose(141, 1);
  host->click(161);
  host->type(152, "7");
  host->click(kItemOk);
  EXPECT_EQ(gadget->saves, 1);
  EXPECT_EQ(host->endResult(), 1);
  EXPECT_EQ(s.bools[0], 1);
  EXPECT_EQ(s.bools[1], 0);
  EXPECT_EQ(s.values[1], 1);
  EXPECT_EQ(s.flags32, 0b11u);
  EXPECT_STREQ(s.text(0), "-3.5");
  EXPECT_STREQ(s.text(1), "7");
}

TEST_F(DialogTest, CancelPutsEverythingBack) {
  gadget = std::make_unique<cRecordingGadget>();
  std::strcpy(gadget->settings.text(1), "42");
  const cSettingsBlock before = gadget->settings;
  open(3001);
  host->click(111);
  host->type(152, "99");
  host->choose(140, 1);
  host->click(161);
  EXPECT_GT(cRecordingGadget::previews, 0);
  host->click(kItemCancel);
  EXPECT_EQ(host->endResult(), 2);
  EXPECT_EQ(gadget->changes, cRecordingGadget::previews + 1);  // every preview, then Cancel
  EXPECT_EQ(gadget->saves, 0);
  EXPECT_EQ(std::memcmp(&gadget->settings, &before, sizeof before), 0);
}

TEST_F(DialogTest, MultiLineTextIsReadWithItsSoftBreaksMadeOrdinary) {
  open(3001);
  host->control(153)->setWrapColumn(3);
  dialog->setText(2, "abcdef\r\ngh");
  EXPECT_EQ(dialog->text(2), "abc\r\ndef\r\ngh");
  dialog->setText(2, std::string(300, 'x'));
  EXPECT_EQ(dialog->text(2).size(), 255u);
}

// ---- the initialised flag, routing and chains ----

TEST_F(DialogTest, ChangesBeforeCommand253RunNoRoutines) {
  gadget = std::make_unique<cRecordingGadget>();
  std::strcpy(gadget->settings.text(1), "12");
  open(3001, /*deliverPosted=*/false);
  EXPECT_EQ(gadget->loads, 1);
  EXPECT_FALSE(dialog->initialised());
  // Filling the fields reported changes; none ran a routine.
  EXPECT_EQ(cRecordingGadget::previews, 0);
  // Nor does anything the user manages before the command arrives.
  host->type(152, "x");
  EXPECT_EQ(host->control(152)->text(), "x");
  EXPECT_EQ(cRecordingGadget::previews, 0);

  host->deliverPosted();
  EXPECT_TRUE(dialog->initialised());
  host->type(152, "y");
  EXPECT_EQ(host->control(152)->text(), "12");  // validated now: back to the last accepted text
  EXPECT_EQ(cRecordingGadget::previews, 2);     // the change, and the text put back
}

TEST_F(DialogTest, RefusedTypingReturnsToTheLastAcceptedText) {
  open(3001);
  struct cStep {
    int field;
    const char* typed;
    const char* shown;
  };
  const cStep steps[] = {
      {152, "12345", "12345"}, {152, "123456", "12345"}, {152, "-1", "12345"}, {152, "", ""},
      {151, "-", "-"},         {151, "-1e", "-1e"},      {151, "1.5.2", "-1e"}, {153, "Ab3", "Ab3"},
      {153, "Ab3!", "Ab3"},    {153, "Ab345", "Ab3"},
  };
  for (const cStep& s : steps) {
    host->type(s.field, s.typed);
    EXPECT_EQ(host->control(s.field)->text(), s.shown) << s.field << " typed \"" << s.typed << "\"";
  }
  EXPECT_EQ(dialog->editFields()[0]->getReal(), -1.0);
}

TEST_F(DialogTest, LinksPassClicksOnAlongTheChain) {
  open(3001);
  // Moving into the list checks its radio button ("Indstilling:").
  host->click(111);
  ASSERT_EQ(dialog->choice(0), 1);
  host->focusCombo(140);
  EXPECT_EQ(dialog->choice(0), 0);
  EXPECT_EQ(host->control(110)->check(), 1);
  EXPECT_EQ(host->control(111)->check(), 0);
  // Typing a value checks "Speciel:".
  host->type(151, "3");
  EXPECT_EQ(dialog->choice(0), 1);
  EXPECT_EQ(host->control(111)->check(), 1);
  // Clicking "Speciel:" puts the cursor into its field.
  host->setFocusTo(kItemOk);
  host->click(110);
  host->click(111);
  EXPECT_EQ(host->focus(), 151);
  // The other group is not touched by any of it.
  EXPECT_EQ(dialog->choice(1), 0);
}

TEST_F(DialogTest, AttachedHookRunsWhenItsButtonIsClicked) {
  gadget = std::make_unique<cRecordingGadget>();
  gadget->dialogHook = cRecordingGadget::countingHook;
  gadget->dialogHookControl = 104;
  open(3001);
  host->click(104);
  host->click(104);
  EXPECT_EQ(cRecordingGadget::hookRuns, 2);
  EXPECT_EQ(cRecordingGadget::previews, 2);
}

TEST_F(DialogTest, OkAndCancelWorkBeforeTheDialogIsInitialised) {
  open(3001, false);
  dialog->onCommand(kItemOk, 0);
  EXPECT_EQ(gadget->saves, 1);
  EXPECT_EQ(host->endResult(), 1);
  EXPECT_FALSE(dialog->onCommand(104, 0));  // still not initialised: default handling
}

TEST_F(DialogTest, CommandsThatBelongToNoControlGoToTheDefaultHandling) {
  open(3001);
  EXPECT_FALSE(dialog->onCommand(170, 0));
  EXPECT_FALSE(dialog->onCommand(99, 0));
  EXPECT_FALSE(dialog->onCommand(300, 0));
  EXPECT_EQ(cRecordingGadget::previews, 0);
}

TEST_F(DialogTest, Command150TogglesTheHelpText) {
  open(3001);
  ASSERT_TRUE(dialog->helpItem());
  EXPECT_EQ(dialog->helpItem()->description(), "Pr\xf8vedelen g\xf8r ingenting.");
  EXPECT_EQ(dialog->helpItem()->tip(), "Et godt r\xe5""d.");
  EXPECT_FALSE(dialog->helpItem()->showingTip());
  const int textRedraws = host->control(103)->redraws(), buttonRedraws = host->control(150)->redraws();
  host->click(kItemHelpToggle);
  EXPECT_TRUE(dialog->helpItem()->showingTip());
  EXPECT_EQ(host->control(103)->redraws(), textRedraws + 1);
  EXPECT_EQ(host->control(150)->redraws(), buttonRedraws + 1);
  host->click(kItemHelpToggle);
  EXPECT_FALSE(dialog->helpItem()->showingTip());
  EXPECT_EQ(cRecordingGadget::previews, 0);
}

TEST_F(DialogTest, ThePreviewRedrawsTheGadgetPicture) {
  open(3001);
  const int before = host->control(kItemPicture)->redraws();
  host->click(161);
  EXPECT_EQ(host->control(kItemPicture)->redraws(), before + 1);
}

}  // namespace
