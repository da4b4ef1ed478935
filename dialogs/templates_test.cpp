// The program's own dialog templates and combo texts, as the build makes
// them: titles, captions and lists as the kinds need them, controls that
// the framework numbers as the settings expect, and a tidy layout.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "dialogs/combotexts.h"
#include "dialogs/dialogs_testing.h"
#include "engine/factory.h"
#include "engine/kinds.h"
#include "gadgets/registry.h"
#include "shell/core/resourcemodule.h"
#include "shell/core/text.h"

namespace {

using namespace dialogtest;

struct cExpectedDialog {
  uint16_t id;
  std::vector<std::vector<std::string>> choices;  // the captions of each group, UTF-8
  std::vector<std::vector<std::string>> numbers;  // the entries of each list, UTF-8
  std::vector<std::string> onOffs;                // the captions of the check boxes
  std::vector<std::string> textRules;             // the rules of the edit fields
};

const std::vector<cExpectedDialog>& expectedDialogs() {
  static const std::vector<cExpectedDialog> dialogs = {
      {2008}, {2009}, {2010}, {2011}, {2016}, {2017}, {2018}, {2019},
      {2005, {}, {{"Kvadratrod", "I anden potens", "Fakultet", "Sinus", "Cosinus", "Tangent", "Heltal"}}},
      {2020, {}, {{"Celsius til Fahrenheit", "Fahrenheit til Celsius", "Meter til fod", "Fod til meter",
                   "Kilo til pund", "Pund til kilo"}}},
      {2003, {{"Arealet af et kvadrat (skriv sidens længde)", "Arealet af en cirkel (skriv radius)",
               "En ternings rumfang (skriv sidens længde)", "En klodes rumfang  (skriv radius)"}}},
      {2021, {{"Mindre end", "Større end", "Lig med", "Forskellig fra", "Mindre end eller lig med",
               "Større end eller lig med"}}},
      {2004, {}, {}, {"Lås tal", "Skjul tal", "Automatisk nulstilling"}, {"#3"}},
      {2046, {}, {}, {}, {"#3"}},
  };
  return dialogs;
}

// The dialogs of the program, built on a headless host like the fixture.
class ProgramDialogs : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    for (const cResEntry& e : builtResources("gadgets.rc.res")) own->add(e.type, e.name, e.data);
    for (const cResEntry& e : builtResources("combotexts.res")) own->add(e.type, e.name, e.data);
    templates = builtTemplates("gadgets.rc.res");
  }
};

std::string kindNameOf(uint16_t textNumber) {
  for (const cKindInfo& k : kindTable())
    if (k.textNumber == textNumber) return k.name;
  return {};
}

TEST_F(ProgramDialogs, EveryDialogHasItsControlsAsTheKindsSettingsNeedThem) {
  for (const cExpectedDialog& e : expectedDialogs()) {
    SCOPED_TRACE("dialog " + std::to_string(e.id));
    ASSERT_TRUE(templates.count(e.id));
    EXPECT_EQ(templates.at(e.id).title, kindNameOf(e.id));
    gadget.reset();
    open(e.id);

    ASSERT_EQ(dialog->radioGroups().size(), e.choices.size());
    for (size_t g = 0; g < e.choices.size(); ++g) {
      const auto& buttons = dialog->radioGroups()[g]->buttons();
      ASSERT_EQ(buttons.size(), e.choices[g].size());
      for (size_t b = 0; b < buttons.size(); ++b)
        EXPECT_EQ(cp1252ToUtf8(buttons[b]->window()->text()), e.choices[g][b]);
    }
    ASSERT_EQ(dialog->comboBoxes().size(), e.numbers.size());
    for (size_t n = 0; n < e.numbers.size(); ++n) {
      std::vector<std::string> entries;
      for (const std::string& t : host->control(dialog->comboBoxes()[n]->id())->entries())
        entries.push_back(cp1252ToUtf8(t));
      EXPECT_EQ(entries, e.numbers[n]);
    }
    ASSERT_EQ(dialog->checkBoxes().size(), e.onOffs.size());
    for (size_t c = 0; c < e.onOffs.size(); ++c)
      EXPECT_EQ(cp1252ToUtf8(dialog->checkBoxes()[c]->window()->text()), e.onOffs[c]);
    ASSERT_EQ(dialog->editFields().size(), e.textRules.size());
    for (size_t t = 0; t < e.textRules.size(); ++t)
      EXPECT_EQ(dialog->editFields()[t]->rule(), parseEditRule(e.textRules[t]));

    // Every property dialog shows the gadget, its help text and the toggle.
    EXPECT_TRUE(dialog->gadgetGraphic());
    ASSERT_TRUE(dialog->helpItem());
    EXPECT_TRUE(host->item(kItemHelpToggle));
    EXPECT_TRUE(host->item(kItemOk));
    EXPECT_TRUE(host->item(kItemCancel));
  }
  // And nothing else is there: every dialog of the file is one of these.
  EXPECT_EQ(templates.size(), expectedDialogs().size());
}

TEST_F(ProgramDialogs, ControlsLieInsideTheirDialogWithoutOverlapping) {
  constexpr uint32_t kGroupBox = 7;
  for (const auto& [id, t] : templates) {
    SCOPED_TRACE("dialog " + std::to_string(id));
    std::vector<const cDialogItemTemplate*> placed;
    for (const cDialogItemTemplate& item : t.items) {
      EXPECT_TRUE((item.id >= 1 && item.id <= 169) || item.id == 0xFFFFFFFF) << item.id;
      EXPECT_GE(item.x, 0);
      EXPECT_GE(item.y, 0);
      EXPECT_LE(item.x + item.cx, t.cx) << item.id;
      const bool isCombo = isWindowClass(item.className, "ComboBox");
      EXPECT_LE(item.y + (isCombo ? 14 : item.cy), t.cy) << item.id;
      // Frames hold other controls; the help toggle sits in the help text's corner.
      if (isWindowClass(item.className, "Button") && (item.style & 0xF) == kGroupBox) continue;
      if (item.id == kItemHelpToggle) {
        const cDialogItemTemplate* help = t.item(kItemHelpText);
        ASSERT_TRUE(help);
        EXPECT_TRUE(item.x >= help->x && item.y >= help->y && item.x + item.cx <= help->x + help->cx &&
                    item.y + item.cy <= help->y + help->cy);
        continue;
      }
      placed.push_back(&item);
    }
    for (size_t a = 0; a < placed.size(); ++a)
      for (size_t b = a + 1; b < placed.size(); ++b) {
        const auto h = [](const cDialogItemTemplate* i) {
          return isWindowClass(i->className, "ComboBox") ? int16_t(14) : i->cy;
        };
        const bool apart = placed[a]->x + placed[a]->cx <= placed[b]->x ||
                           placed[b]->x + placed[b]->cx <= placed[a]->x ||
                           placed[a]->y + h(placed[a]) <= placed[b]->y ||
                           placed[b]->y + h(placed[b]) <= placed[a]->y;
        EXPECT_TRUE(apart) << placed[a]->id << " and " << placed[b]->id;
      }
  }
}

TEST_F(ProgramDialogs, TheHelpToggleHasRoomForItsPicture) {
  for (const auto& [id, t] : templates) {
    const cDialogItemTemplate* toggle = t.item(kItemHelpToggle);
    ASSERT_TRUE(toggle) << id;
    const cWinRect r = itemPixelRect(*toggle, cDialogBaseUnits{});
    EXPECT_GE(r.right - r.left, 28) << id;
    EXPECT_GE(r.bottom - r.top, 24) << id;
  }
}

TEST_F(ProgramDialogs, ComboTextsBelongToTheEditorsDialogs) {
  const std::vector<cResEntry> combos = builtResources("combotexts.res");
  ASSERT_EQ(combos.size(), 2u);
  for (const cResEntry& e : combos) {
    EXPECT_EQ(e.type, kComboTextResourceType);
    EXPECT_TRUE(templates.count(e.name)) << e.name;
    EXPECT_EQ(e.language, 0x0406);  // Danish, like the templates
  }
}

// The program's own kinds in their dialogs, with the artwork library as built.
class KindDialogs : public ProgramDialogs {
 protected:
  void SetUp() override {
    ProgramDialogs::SetUp();
    std::string error;
    auto library = cFileResourceModule::open(std::string(ZANBEL_BIN_DIR) + "/ZBGADGET.DLL", &error);
    ASSERT_TRUE(library) << error;
    resourceLibraries().setGadgetLibrary(std::move(library));
    installGadgetKinds();
  }
};

TEST_F(KindDialogs, EachKindOpensWithItsSettingsHelpAndPictureAndOkKeepsThem) {
  for (const cExpectedDialog& e : expectedDialogs()) {
    const cKindInfo* kind = nullptr;
    for (const cKindInfo& k : kindTable())
      if (k.textNumber == e.id) kind = &k;
    ASSERT_TRUE(kind);
    SCOPED_TRACE(typeCodeText(kind->typeCode));
    std::unique_ptr<cGadget> g = mNewGadget(nullptr, kind->typeCode, cPoint(200, 200), {}, false);
    ASSERT_TRUE(g) << "the kind is not in the factory";
    const cSettingsBlock before = g->settings;
    cDialog d(*g, g->previewCallback);
    cHeadlessDialogHost h(templates.at(e.id));
    h.open(d);

    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(d.hasChoice(i) ? d.choice(i) : before.bools[i], before.bools[i]) << "choice " << i;
      EXPECT_EQ(d.hasNumber(i) ? d.number(i) : before.values[i], before.values[i]) << "number " << i;
    }
    ASSERT_TRUE(d.helpItem());
    EXPECT_FALSE(d.helpItem()->description().empty());
    EXPECT_FALSE(d.helpItem()->tip().empty());
    ASSERT_TRUE(d.gadgetGraphic());
    const CWinGDib& picture = d.gadgetGraphic()->surface();
    const cPoint o = d.gadgetGraphic()->gadgetOrigin();
    const cRect b = g->bounds.offsetBy(o);
    EXPECT_NE(*picture.pixelAddress((b.left + b.right) / 2, (b.top + b.bottom) / 2), nearestIndex(kDialogGrey));
    EXPECT_GE(b.left, 0);
    EXPECT_LE(b.right, picture.width());

    h.click(kItemOk);
    EXPECT_EQ(h.endResult(), 1);
    EXPECT_EQ(std::memcmp(&g->settings, &before, sizeof before), 0);
  }
}

TEST_F(KindDialogs, TheAreaMachineTakesTheShapeClickedAndTheConstantItsTypedValue) {
  auto run = [&](cTypeCode code, const std::function<void(cHeadlessDialogHost&)>& act) {
    std::unique_ptr<cGadget> g = mNewGadget(nullptr, code, cPoint(200, 200), {}, false);
    EXPECT_TRUE(g);
    if (!g) return cSettingsBlock{};
    cDialog d(*g, g->previewCallback);
    cHeadlessDialogHost h(templates.at(static_cast<uint16_t>(g->textNumber)));
    h.open(d);
    act(h);
    h.click(kItemOk);
    return g->settings;
  };
  EXPECT_EQ(run("ArVo"_tc, [](cHeadlessDialogHost& h) { h.click(111); }).bools[0], 1);
  EXPECT_EQ(run("Comp"_tc, [](cHeadlessDialogHost& h) { h.click(115); }).bools[0], 5);
  EXPECT_EQ(run("1ncr"_tc, [](cHeadlessDialogHost& h) { h.choose(140, 6); }).values[0], 6);
  const cSettingsBlock constant = run("cnst"_tc, [](cHeadlessDialogHost& h) {
    h.type(151, "995");
    h.type(151, "9951");  // four digits: refused
    h.click(163);
  });
  EXPECT_STREQ(constant.text(0), "995");
  EXPECT_EQ(constant.flags32, 0b100u);
}

TEST(AboutDialog, HasItsTitleATextFieldForTheCreditsAndOk) {
  const auto about = builtTemplates("about.rc.res");
  ASSERT_EQ(about.size(), 1u);
  const cDialogTemplate& t = about.begin()->second;
  EXPECT_EQ(about.begin()->first, 100);
  EXPECT_EQ(t.title, "Om Zanbel");
  const cDialogItemTemplate* text = t.item(101);
  ASSERT_TRUE(text);
  EXPECT_TRUE(isWindowClass(text->className, "Edit"));
  EXPECT_TRUE(text->style & 0x0800);  // read-only
  EXPECT_TRUE(t.item(kItemOk));
}

}  // namespace
