// The three-digit constant and the small constant in small inventions.
#include "gadgets/constants.h"

#include <cstring>

#include "gadgets/gadgets_testing.h"
#include "graphics/frameset.h"

using namespace gadgettest;

namespace {

// The constant's arrows: entries of its position table, hundreds first.
enum { kUpHundreds = 0, kUpTens = 1, kUpUnits = 2, kDownHundreds = 6, kDownTens = 7, kDownUnits = 8 };
// The frame of each arrow's pressed picture, by entry.
const int kArrowFrames[9] = {1, 2, 3, 0, 0, 0, 5, 6, 7};
// Where each entry lies on the gadget, (v, h), as the artwork places them.
const cPoint kConstantEntries[9] = {{0, 6},  {0, 31},  {0, 55},  {24, 13}, {24, 35},
                                    {24, 57}, {55, 6}, {55, 31}, {55, 55}};

class Constants : public GadgetTest {
 protected:
  void setText(cGadget* g, const char* text) {
    std::memset(g->settings.text(0), 0, kTextLength);
    std::strncpy(g->settings.text(0), text, kTextLength - 1);
  }
  // A constant with its start text and options, its output on a probe; saved and loaded.
  cConstant* constant(const char* text, uint32_t options = 0) {
    auto* c = place<cConstant>("cnst"_tc);
    setText(c, text);
    c->settings.flags32 = options;
    out = probe();
    wire(c, 0, out, 0);
    reload(c, out);
    return c;
  }
  // The middle of an arrow's picture, on the worksheet.
  cPoint arrowPoint(const cGadget* c, int entry) {
    const cFrameSet arrows(1021);
    const cRect r = arrows.frameRect(kArrowFrames[entry]).offsetBy(c->position + kConstantEntries[entry]);
    return {r.top + r.height() / 2, r.left + r.width() / 2};
  }
  // A press of the left button at the point, held until released.
  void press(cPoint point) {
    hp.scriptedInput().press(vk::lbutton);
    ws->pressAt(point, 1, false);
  }
  void release() { hp.scriptedInput().release(vk::lbutton); }

  cTestProbe* out = nullptr;
};

}  // namespace

TEST_F(Constants, TheStartValueIsTheTypedNumberFrom0To999) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {{"", 0},    {"7", 7},       {"995", 995}, {"999", 999}, {"1000", 0}, {"007", 7},
               {"abc", 0}, {"12a", 12},    {" 42", 42},  {"-5", 0},    {"+3", 3},   {"99999999999", 0}};
  for (cTypeCode kind : {"cnst"_tc, "MiCo"_tc}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(typeCodeText(kind) + " \"" + c.text + "\"");
      ws->removeEverything();
      cGadget* g = place(kind);
      EXPECT_EQ(g->integerValue, 0) << "a new one starts at 0";
      setText(g, c.text);
      reload(g);
      ASSERT_NE(g, nullptr);
      EXPECT_EQ(g->integerValue, c.value) << "read from its record";
      EXPECT_TRUE(g->hasNumberOutput(0));
      EXPECT_EQ(g->numberOutput(0), double(c.value));
    }
  }
}

TEST_F(Constants, TheDialogsTextBecomesTheValue) {
  for (cTypeCode kind : {"cnst"_tc, "MiCo"_tc}) {
    SCOPED_TRACE(typeCodeText(kind));
    ws->removeEverything();
    cGadget* g = place(kind);
    cTestDialog dialog;
    g->loadDialog(dialog);
    dialog.text0 = "123";
    g->previewCallback(dialog, *g);
    EXPECT_EQ(g->integerValue, 123) << "the preview shows the typed number";
    EXPECT_STREQ(g->settings.text(0), "") << "and leaves the settings alone";
    g->settingsChanged(dialog);  // Cancel
    EXPECT_EQ(g->integerValue, 0);
    g->previewCallback(dialog, *g);
    g->saveDialog(dialog);  // OK
    EXPECT_EQ(g->integerValue, 123);
    EXPECT_STREQ(g->settings.text(0), "123");
  }
}

TEST_F(Constants, RunSignalsTheOutputWhenTheValueIsNotZero) {
  for (cTypeCode kind : {"cnst"_tc, "MiCo"_tc}) {
    for (const char* text : {"0", "5"}) {
      SCOPED_TRACE(typeCodeText(kind) + " " + text);
      ws->removeEverything();
      cGadget* g = place(kind);
      setText(g, text);
      out = probe();
      wire(g, 0, out, 0);
      reload(g, out);
      runFor(50);
      EXPECT_EQ(out->signals, text[0] == '5' ? 1 : 0);
      EXPECT_EQ(out->value, text[0] == '5' ? 5.0 : 0.0);
      stop();
    }
  }
}

TEST_F(Constants, ArrowsChangeOneDigitAndRefuseToLeave0To999) {
  const struct {
    const char* start;
    int arrow;
    int32_t value;
    bool refused;
  } cases[] = {{"5", kUpUnits, 6, false},        {"995", kUpTens, 995, true},    {"899", kUpHundreds, 999, false},
               {"10", kDownTens, 0, false},      {"50", kDownHundreds, 50, true}, {"0", kDownUnits, 0, true},
               {"990", kUpUnits, 991, false},    {"101", kDownHundreds, 1, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " arrow " + std::to_string(c.arrow));
    ws->removeEverything();
    cConstant* k = constant(c.start);
    ASSERT_TRUE(k && out);
    runFor(20);
    const int signalsBefore = out->signals;
    sounds->forget();
    press(arrowPoint(k, c.arrow));
    EXPECT_EQ(k->integerValue, c.value);
    EXPECT_EQ(sounds->played(kRefusalSound), c.refused ? 1 : 0);
    runFor(20);
    EXPECT_EQ(out->signals - signalsBefore, 1) << "the click signals, refused or not";
    EXPECT_EQ(out->value, double(c.value));
    EXPECT_TRUE(k->arrowPressed) << "shown pressed while the button is held";
    EXPECT_EQ(k->arrowFrame, kArrowFrames[c.arrow]);
    EXPECT_EQ(k->arrowPosition, c.arrow);
    release();
    runFor(10);
    EXPECT_FALSE(k->arrowPressed);
    stop();
  }
}

TEST_F(Constants, LockedArrowsAndClicksBesideThemDoNothing) {
  cConstant* locked = constant("5", 1u << cConstant::kLockBit);
  runFor(20);
  const int signals = out->signals;
  press(arrowPoint(locked, kUpUnits));
  release();
  runFor(20);
  EXPECT_EQ(locked->integerValue, 5);
  EXPECT_EQ(out->signals, signals);
  EXPECT_FALSE(locked->arrowPressed);
  stop();

  ws->removeEverything();
  cConstant* k = constant("5");
  runFor(20);
  const int before = out->signals;
  press(k->position + kConstantEntries[4] + cPoint(5, 5));  // on the tens digit
  release();
  runFor(20);
  EXPECT_EQ(k->integerValue, 5);
  EXPECT_EQ(out->signals, before);
}

TEST_F(Constants, TheChangedValueSurvivesStopUnlessAutomaticResetIsOn) {
  for (bool autoReset : {false, true}) {
    SCOPED_TRACE(autoReset ? "automatic reset" : "no automatic reset");
    ws->removeEverything();
    cConstant* k = constant("20", autoReset ? 1u << cConstant::kAutoResetBit : 0u);
    runFor(20);
    press(arrowPoint(k, kUpTens));
    stop();
    release();
    EXPECT_FALSE(k->arrowPressed) << "Stop lets go of the arrow";
    EXPECT_EQ(k->integerValue, autoReset ? 20 : 30);
    EXPECT_STREQ(k->settings.text(0), "20") << "the typed start value is not changed";
    runFor(20);
    EXPECT_EQ(out->value, autoReset ? 20.0 : 30.0);
  }
}

TEST_F(Constants, TheSmallConstantKeepsItsNumberFromRunToRun) {
  cGadget* mini = place("MiCo"_tc);
  setText(mini, "42");
  out = probe();
  wire(mini, 0, out, 0);
  reload(mini, out);
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE("run " + std::to_string(run + 1));
    runFor(20);
    EXPECT_EQ(out->value, 42.0);
    EXPECT_EQ(out->signals, 1);
    stop();
    EXPECT_EQ(mini->integerValue, 42);
  }
}
