#include "engine/runner.h"

#include <filesystem>
#include <limits>
#include <unistd.h>

#include "engine/engine_testing.h"
#include "engine/keyboard.h"

using namespace enginetest;

namespace {

class RunnerTest : public EngineTest {
 protected:
  // A source into an OR-like gate, and a stopper on the gate's output.
  std::vector<uint8_t> gateAndStopper() {
    return cImageBuilder()
        .gadget("Stop", 0xFF000003, 200, 300)
        .gadget("AndG", 0xFF000002, 100, 200)
        .gadget("MiCo", 0xFF000001, 100, 50)
        .wire(0xFF000001, 0, 0xFF000002, 0)
        .bytes();
  }
};

}  // namespace

TEST(PinValueFormat, OneLinePerPinAsScriptsReadIt) {
  cPinValue v;
  v.index = 3;
  v.code = "Addr"_tc;
  v.key = 0xFF000002;
  v.pin = 2;
  v.kind = cPinValue::number;
  struct { double value; const char* text; } numbers[] = {
      {12, "12"}, {-0.5, "-0.5"}, {0.1, "0.1"}, {1.0 / 3, "0.3333333333333333"}, {1e300, "1e+300"},
      {123456789012345678.0, "123456789012345680"},
  };
  for (const auto& n : numbers) {
    v.value = n.value;
    EXPECT_EQ(formatPinValue(v), std::string("3 Addr ff000002 pin=2 number ") + n.text);
  }
  v.kind = cPinValue::boolean;
  v.flag = true;
  EXPECT_EQ(formatPinValue(v), "3 Addr ff000002 pin=2 bool true");
  v.kind = cPinValue::sound;
  v.hasSound = false;
  EXPECT_EQ(formatPinValue(v), "3 Addr ff000002 pin=2 sound none");
  v.hasSound = true;
  v.sampleCount = 11025;
  EXPECT_EQ(formatPinValue(v), "3 Addr ff000002 pin=2 sound 11025");
  v.kind = cPinValue::none;
  EXPECT_EQ(formatPinValue(v), "3 Addr ff000002 pin=2 none -");
}

TEST(KeyNames, LettersNamesAndNumbers) {
  struct { const char* name; int key; } cases[] = {
      {"a", 'A'}, {"Q", 'Q'}, {"7", '7'}, {"Enter", vk::return_}, {"esc", vk::escape},
      {"mellemrum", vk::space}, {"venstre", vk::left}, {"F5", vk::f1 + 4}, {"65", 65},
      {"f13", -1}, {"hop", -1}, {"", -1}, {"300", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(parseKeyName(c.name), c.key) << c.name;
}

TEST_F(RunnerTest, RunsForTheInventionTimeAndKeepsTheValuesOfTheEnd) {
  cInventionRunner runner(hp);
  cReadReport report;
  ASSERT_TRUE(runner.load(cImageBuilder().gadget("AndG", 0xFF000002, 100, 200).gadget("MiCo", 0xFF000001, 100, 50)
                              .wire(0xFF000001, 0, 0xFF000002, 0).bytes(),
                          &report));
  EXPECT_EQ(report.gadgets, 2);
  cRunPlan plan;
  plan.milliseconds = 2000;
  plan.cycleMs = 4;
  runner.run(plan);
  EXPECT_FALSE(runner.stoppedByItself());
  EXPECT_EQ(runner.ranMs(), 2000u);
  EXPECT_NEAR(double(runTicks()), 120.0, 1.0);
  auto* gate = static_cast<cTestKind*>(runner.worksheet().gadgets.tail()->data);
  EXPECT_EQ(gate->seen.size(), 500u) << "one step a cycle";

  const auto values = runner.values();
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(formatPinValue(values[0]), "0 MiCo ff000001 pin=0 number 0");
  EXPECT_EQ(formatPinValue(values[1]), "1 AndG ff000002 pin=2 bool false");
}

TEST_F(RunnerTest, KeysAndClicksArriveAtTheirTimes) {
  struct cPressed : cTestKindOf<'A', 'n', 'd', 'G'> {
    using cTestKindOf::cTestKindOf;
    void mouseDown(cPoint p, uint16_t, bool) override { at.push_back({runTicks(), p}); }
    void step() override {
      if (cKeyboard::isDown('A')) aDown = true;
      if (cKeyboard::mouseStillDown()) buttonSeen = true;
    }
    std::vector<std::pair<uint32_t, cPoint>> at;
    bool aDown = false, buttonSeen = false;
  };
  cInventionRunner runner(hp);
  auto g = std::make_unique<cPressed>(cPoint(100, 100));
  cPressed* pressed = g.get();
  runner.worksheet().addGadget(std::move(g));
  const cPoint inside = pressed->position + cPoint(10, 10);

  cRunPlan plan;
  plan.milliseconds = 3000;
  plan.keys.push_back({'A', 1000});
  plan.clicks.push_back({inside, 2000});
  plan.clicks.push_back({{500, 700}, 2500});  // on nothing
  runner.run(plan);
  ASSERT_EQ(pressed->at.size(), 1u);
  EXPECT_NEAR(double(pressed->at[0].first), 120.0, 1.0);
  EXPECT_EQ(pressed->at[0].second, inside);
  EXPECT_TRUE(pressed->aDown);
  EXPECT_TRUE(pressed->buttonSeen);
}

TEST_F(RunnerTest, EscapeOrAStopperEndsTheRunAndTheValuesAreThoseBeforeTheStop) {
  {
    cInventionRunner runner(hp);
    ASSERT_TRUE(runner.load(gateAndStopper()));
    static_cast<cTestKind*>(runner.worksheet().gadgets.head()->data)->numberOut = 5;  // the source
    cRunPlan plan;
    plan.milliseconds = 5000;
    plan.keys.push_back({vk::escape, 1500});
    runner.run(plan);
    EXPECT_TRUE(runner.stoppedByItself());
    EXPECT_EQ(runner.ranMs(), 1500u);
    const auto values = runner.values();
    EXPECT_EQ(formatPinValue(values[0]), "0 MiCo ff000001 pin=0 number 5") << "not the reset 0";
    EXPECT_EQ(formatPinValue(values[1]), "1 AndG ff000002 pin=2 bool true");
  }
  {
    // The stopper sees the gate's true output and ends the run in the first cycles.
    cInventionRunner runner(hp);
    auto more = cImageBuilder().gadget("Stop", 0xFF000003, 200, 300).gadget("AndG", 0xFF000002, 100, 200)
                    .gadget("MiCo", 0xFF000001, 100, 50).wire(0xFF000001, 0, 0xFF000002, 0)
                    .wire(0xFF000002, 2, 0xFF000003, 0).bytes();
    ASSERT_TRUE(runner.load(more));
    static_cast<cTestKind*>(runner.worksheet().gadgets.head()->data)->numberOut = 1;
    cRunPlan plan;
    plan.milliseconds = 5000;
    runner.run(plan);
    EXPECT_TRUE(runner.stoppedByItself());
    EXPECT_LT(runner.ranMs(), 10u);
    EXPECT_TRUE(isEditing());
  }
}

TEST_F(RunnerTest, WritesThePictureAsPng) {
  cInventionRunner runner(hp);
  ASSERT_TRUE(runner.load(gateAndStopper()));
  const std::string path =
      (std::filesystem::temp_directory_path() / ("zanbel-runner-" + std::to_string(::getpid()) + ".png")).string();
  std::string error;
  ASSERT_TRUE(runner.writePng(path, error)) << error;
  EXPECT_GT(std::filesystem::file_size(path), 100u);
  std::filesystem::remove(path);
  EXPECT_FALSE(runner.writePng("/nonexistent-folder/x.png", error));
  EXPECT_FALSE(error.empty());
}

TEST_F(RunnerTest, RefusesWhatIsNotAnInvention) {
  cInventionRunner runner(hp);
  EXPECT_FALSE(runner.load(std::vector<uint8_t>(40, 'x')));
}
