// Golden pictures of the kinds as the user sees them: each kind in every
// look it has (settings, animation steps, pressed arrows, the error marker),
// drawn with the built artwork; and a small invention on the worksheet while
// it runs. ZANBEL_UPDATE_GOLDEN=1 writes the pictures to testdata/gadgets/.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "gadgets/constants.h"
#include "gadgets/gadgets_testing.h"
#include "graphics/golden.h"

using namespace gadgettest;

namespace {

using cPose = std::function<void(cGadget&)>;
constexpr int kGap = 6;

class GoldenKinds : public GadgetTest {
 protected:
  // One row of cells per entry of `rows`; each cell shows a new gadget of the
  // kind after its pose, drawn on a light grey ground.
  ::testing::AssertionResult sheetMatches(const std::string& name, cTypeCode code,
                                          const std::vector<std::vector<cPose>>& rows) {
    std::unique_ptr<cGadget> probe = mNewGadget(ws, code, {0, 0}, {}, false);
    if (!probe) return ::testing::AssertionFailure() << "no kind " << typeCodeText(code);
    const cRect b = probe->bounds;
    size_t columns = 0;
    for (const auto& row : rows) columns = std::max(columns, row.size());
    const int cellW = b.width() + kGap, cellH = b.height() + kGap;
    CWinGDib sheet(static_cast<int>(columns) * cellW + kGap, static_cast<int>(rows.size()) * cellH + kGap, +1);
    sheet.fill(nearestIndex(rgb(0xcc, 0xcc, 0xcc)));
    for (size_t r = 0; r < rows.size(); ++r)
      for (size_t c = 0; c < rows[r].size(); ++c) {
        std::unique_ptr<cGadget> g = mNewGadget(ws, code, {0, 0}, {}, false);
        rows[r][c](*g);
        const cPoint at(kGap + static_cast<int>(r) * cellH - b.top, kGap + static_cast<int>(c) * cellW - b.left);
        g->drawAt(sheet, at, false);
      }
    return gfxtest::matchesGolden(name, sheet, builtInProgramPalette(), "gadgets");
  }

  // The animation: steps 0 to 7, then the error marker, each after `setting`.
  static std::vector<cPose> animation(const cPose& setting) {
    std::vector<cPose> row;
    for (uint8_t step = 0; step < 8; ++step)
      row.push_back([=](cGadget& g) {
        setting(g);
        g.animationStep = step;
      });
    row.push_back([=](cGadget& g) {
      setting(g);
      g.inputError = true;
    });
    return row;
  }
  static cPose value(int32_t v) {
    return [=](cGadget& g) { g.integerValue = v; };
  }
};

const cPose kAtRest = [](cGadget&) {};
const cPose kInError = [](cGadget& g) { g.inputError = true; };

}  // namespace

TEST_F(GoldenKinds, Gates) {
  for (cTypeCode code : {"AndG"_tc, "OrGa"_tc, "XorG"_tc, "NotG"_tc})
    EXPECT_TRUE(sheetMatches("gate_" + typeCodeText(code), code, {{kAtRest, kInError}}));
}

TEST_F(GoldenKinds, TwoInputCalculatorsInEveryStep) {
  for (cTypeCode code : {"Addr"_tc, "Subr"_tc, "Mulr"_tc, "Divr"_tc})
    EXPECT_TRUE(sheetMatches("calculator_" + typeCodeText(code), code, {animation(kAtRest)}));
}

TEST_F(GoldenKinds, FunctionMachineEveryFunctionInEveryStep) {
  std::vector<std::vector<cPose>> rows;
  for (int32_t f = 0; f < 7; ++f) rows.push_back(animation([=](cGadget& g) { g.settings.values[0] = f; }));
  EXPECT_TRUE(sheetMatches("functions_1ncr", "1ncr"_tc, rows));
}

TEST_F(GoldenKinds, ConverterEveryConversionInEveryStep) {
  std::vector<std::vector<cPose>> rows;
  for (int32_t k = 0; k < 6; ++k) rows.push_back(animation([=](cGadget& g) { g.settings.values[0] = k; }));
  EXPECT_TRUE(sheetMatches("converter_Conv", "Conv"_tc, rows));
}

TEST_F(GoldenKinds, AreaMachineEveryShapeInEveryStep) {
  std::vector<std::vector<cPose>> rows;
  for (uint8_t s = 0; s < 4; ++s) rows.push_back(animation([=](cGadget& g) { g.settings.bools[0] = s; }));
  EXPECT_TRUE(sheetMatches("area_ArVo", "ArVo"_tc, rows));
}

TEST_F(GoldenKinds, ComparatorEveryRelation) {
  std::vector<cPose> row;
  for (uint8_t r = 0; r < 6; ++r) row.push_back([=](cGadget& g) { g.settings.bools[0] = r; });
  EXPECT_TRUE(sheetMatches("comparator_Comp", "Comp"_tc, {row, {kInError}}));
}

TEST_F(GoldenKinds, ConstantDigitsHiddenDigitsAndEveryPressedArrow) {
  const cPose hidden = [](cGadget& g) {
    g.integerValue = 123;
    g.settings.setFlag(cConstant::kHideBit, true);
  };
  std::vector<cPose> pressed;
  // The up arrows of hundreds, tens, units, then the down arrows: (entry, frame).
  for (auto [entry, frame] : {std::pair{0, 1}, {1, 2}, {2, 3}, {6, 5}, {7, 6}, {8, 7}})
    pressed.push_back([=](cGadget& g) {
      auto& k = dynamic_cast<cConstant&>(g);
      k.integerValue = 505;
      k.arrowPressed = 1;
      k.arrowFrame = static_cast<uint8_t>(frame);
      k.arrowPosition = static_cast<uint8_t>(entry);
    });
  EXPECT_TRUE(sheetMatches("constant_cnst", "cnst"_tc,
                           {{value(0), value(7), value(42), value(995), value(999), hidden}, pressed, {kInError}}));
}

TEST_F(GoldenKinds, SmallConstantDigits) {
  EXPECT_TRUE(sheetMatches("constant_MiCo", "MiCo"_tc,
                           {{value(0), value(7), value(42), value(380), value(999)}, {kInError}}));
}

TEST_F(GoldenKinds, AnInventionWhileItRuns) {
  // 12 and 3 into two calculators, the quotient compared with 4 and the
  // answer through a NOT gate, the sum's square root, and 12 divided by 0.
  // An output holds one wire, so every number has a constant of its own.
  ws->setBackground(kBackgroundSteel);
  auto part = [&](cTypeCode code, cPoint at, const char* text = "") {
    std::unique_ptr<cGadget> g = mNewGadget(ws, code, at, {}, false);
    std::strncpy(g->settings.text(0), text, kTextLength - 1);
    cGadget* p = g.get();
    ws->addGadget(std::move(g));
    return p;
  };
  cGadget* sum = part("Addr"_tc, {150, 230});
  wire(part("MiCo"_tc, {150, 80}, "12"), 0, sum, 0);
  wire(part("MiCo"_tc, {60, 240}, "3"), 0, sum, 1);
  cGadget* root = part("1ncr"_tc, {150, 420});
  wire(sum, 2, root, 0);
  cGadget* quotient = part("Divr"_tc, {310, 230});
  wire(part("MiCo"_tc, {310, 80}, "12"), 0, quotient, 0);
  wire(part("MiCo"_tc, {220, 240}, "3"), 0, quotient, 1);
  cGadget* compare = part("Comp"_tc, {320, 420});
  wire(quotient, 2, compare, 0);
  wire(part("MiCo"_tc, {250, 430}, "4"), 0, compare, 1);
  cGadget* invert = part("NotG"_tc, {320, 580});
  wire(compare, 2, invert, 0);
  cGadget* byZero = part("Divr"_tc, {460, 230});
  wire(part("MiCo"_tc, {460, 80}, "12"), 0, byZero, 0);
  wire(part("MiCo"_tc, {380, 240}, "0"), 0, byZero, 1);
  reloadImage();

  runFor(600);
  EXPECT_TRUE(gfxtest::matchesGolden("invention_computing", runner->picture(), builtInProgramPalette(), "gadgets"));
  runFor(3000);
  EXPECT_TRUE(gfxtest::matchesGolden("invention_done", runner->picture(), builtInProgramPalette(), "gadgets"));
}
