#include "engine/factory.h"

#include <set>

#include "engine/engine_testing.h"
#include "engine/keyboard.h"
#include "gadgets/registry.h"
#include "shell/core/settings.h"

using namespace enginetest;

namespace {

class FactoryTest : public EngineTest {};

struct cFatal {
  std::string message;
};

}  // namespace

TEST(KindTable, SixtyFourKindsWithTheirNumbersAndCodes) {
  const auto kinds = kindTable();
  ASSERT_EQ(kinds.size(), 64u);
  std::set<cTypeCode> codes;
  for (size_t i = 0; i < kinds.size(); ++i) {
    EXPECT_EQ(kinds[i].number, i + 1);
    codes.insert(kinds[i].typeCode);
    EXPECT_EQ(kindByCode(kinds[i].typeCode), &kinds[i]);
  }
  EXPECT_EQ(codes.size(), 64u) << "every code once";
  // Some rows as the tray and the files know them.
  struct { int number; const char* code; uint16_t artwork, pins, text; } rows[] = {
      {1, "Pend", 1000, 1000, 1000}, {19, "Spl2", 1019, 1033, 2022}, {21, "Spl4", 1019, 1035, 2024},
      {29, "ArVo", 1025, 1024, 2003}, {53, "Stk1", 1052, 0, 2034}, {62, "St10", 1061, 0, 2034},
      {63, "MiCo", 1063, 1063, 2046}, {64, "TxLb", 0, 0, 2045},
  };
  for (const auto& r : rows) {
    const cKindInfo* k = kindByNumber(r.number);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(typeCodeText(k->typeCode), r.code);
    EXPECT_EQ(k->artwork, r.artwork) << r.code;
    EXPECT_EQ(k->pinTable, r.pins) << r.code;
    EXPECT_EQ(k->textNumber, r.text) << r.code;
  }
  EXPECT_EQ(kindByNumber(0), nullptr);
  EXPECT_EQ(kindByNumber(65), nullptr);
  EXPECT_EQ(kindByCode("CNST"_tc), nullptr) << "letter case counts";
  EXPECT_NE(kindByCode("cnst"_tc), nullptr);

  // The drawers hold every kind once; drawer 4 has five pages.
  std::multiset<int> inDrawers;
  int breaksIn4 = 0;
  for (int d = 0; d < kDrawerCount; ++d)
    for (int8_t k : drawerKinds(d)) {
      if (k == kPageBreak) breaksIn4 += d == 3;
      else inDrawers.insert(k);
    }
  EXPECT_EQ(inDrawers.size(), 64u);
  EXPECT_EQ(std::set<int>(inDrawers.begin(), inDrawers.end()).size(), 64u);
  EXPECT_EQ(breaksIn4 + 1, 5);
}

TEST_F(FactoryTest, MakesWhatIsEnteredAndNothingElse) {
  EXPECT_NE(mNewGadget(ws.get(), "MiCo"_tc, {100, 100}, {}, false), nullptr);
  EXPECT_EQ(mNewGadget(ws.get(), "Pend"_tc, {100, 100}, {}, false), nullptr) << "a kind not entered";
  EXPECT_EQ(mNewGadget(ws.get(), "mico"_tc, {100, 100}, {}, false), nullptr);
  EXPECT_EQ(mNewGadget(ws.get(), "xyzw"_tc, {100, 100}, {}, false), nullptr);
  const std::vector<uint8_t> record(kGadgetRecordSize, 0);
  EXPECT_NE(mNewGadget(ws.get(), "MiCo"_tc, {}, record, true), nullptr);
  EXPECT_EQ(mNewGadget(ws.get(), "MiCo"_tc, {}, std::span(record).first(100), true), nullptr) << "too short";
  EXPECT_FALSE(gadgetFactory().add("xyzw"_tc, {}));

  // The ten stickers are ten kinds with four-letter codes.
  for (const char* code : {"Stk1", "Stk2", "Stk3", "Stk4", "Stk5", "Stk6", "Stk7", "Stk8", "Stk9", "St10"})
    EXPECT_NE(kindByCode(makeTypeCode(code)), nullptr) << code;
}

TEST_F(FactoryTest, ThePlayersFactoryMakesGadgetsFromRecordsOnly) {
  setFatalExitHandler([](const char* m) { throw cFatal{m ? m : ""}; });
  gadgetFactory().setRecordsOnly(true);
  const std::vector<uint8_t> record(kGadgetRecordSize, 0);
  EXPECT_NE(mNewGadget(ws.get(), "MiCo"_tc, {}, record, true), nullptr);
  try {
    mNewGadget(ws.get(), "MiCo"_tc, {100, 100}, {}, false);
    FAIL() << "the player ends here";
  } catch (const cFatal& f) {
    EXPECT_EQ(f.message, "mNewGadget: failed");
  }
}

TEST_F(FactoryTest, TheProgramsListEntersOnlyKindsOfTheTable) {
  cGadgetFactory f;
  registerGadgetKinds(f);
  int known = 0;
  for (const cKindInfo& k : kindTable()) known += f.knows(k.typeCode);
  EXPECT_GT(known, 0);
  EXPECT_FALSE(f.knows("xyzw"_tc));
}

TEST_F(FactoryTest, KeyboardReadsThePlatformsKeysAndButtons) {
  EXPECT_FALSE(cKeyboard::isDown('A'));
  hp.scriptedInput().press('A');
  EXPECT_TRUE(cKeyboard::isDown('A'));
  hp.scriptedInput().press(vk::control);
  EXPECT_TRUE(cKeyboard::isControlDown());
  EXPECT_FALSE(cKeyboard::isTabDown());
  EXPECT_FALSE(cKeyboard::mouseStillDown());
  hp.scriptedInput().press(vk::rbutton);
  EXPECT_TRUE(cKeyboard::mouseStillDown()) << "the right button counts too";
  hp.scriptedInput().release(vk::rbutton);
  hp.scriptedInput().press(vk::space);
  EXPECT_FALSE(cKeyboard::mouseStillDown());
  EXPECT_TRUE(cKeyboard::mouseOrKeyStillDown());
  hp.scriptedInput().moveTo({12, 34});
  EXPECT_EQ(cKeyboard::mousePosition(), cPoint(12, 34));
  EXPECT_EQ(cKeyboard::toWorksheet({12, 34}), cPoint(12, 34));

  // With "AltMousePlease" the buttons come from the queue's state.
  setCommandLine(std::vector<std::string>{"zanbel", "AltMousePlease"});
  hp.scriptedInput().press(vk::lbutton);
  EXPECT_TRUE(cKeyboard::mouseStillDown());
  setCommandLine(std::vector<std::string>{"zanbel"});
}
