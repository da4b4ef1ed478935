#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>

#include "cli/commands.h"
#include "export/resfile.h"
#include "platform/headless/headless.h"
#include "shell/core/resources.h"
#include "shell/core/settings.h"
#include "sound/soundsystem.h"
#include "sound/tune.h"

namespace {

struct cRun {
  int code;
  std::string out, err;
};

class CliSoundTest : public ::testing::Test {
 public:
  void SetUp() override {
    base_ = "/tmp/zanbel-cli-sound-" + std::to_string(::getpid());
    setSettingsPath(base_ + ".ini");
    setCommandLine(std::vector<std::string>{"zanbel-cli"});
    // A little sound library: two sounds and the tune's instruments.
    std::vector<cResEntry> entries;
    auto add = [&](uint16_t id, std::vector<uint8_t> samples) {
      cResEntry e;
      e.type = kSoundResourceType;
      e.name = id;
      e.data = waveImage(samples);
      entries.push_back(std::move(e));
    };
    add(128, std::vector<uint8_t>(1000, 150));
    add(129, std::vector<uint8_t>(500, 100));
    for (uint16_t id : kTuneInstrumentIds) add(id, std::vector<uint8_t>(4000, 140));
    std::string error;
    ASSERT_TRUE(saveFileBytes(library(), writeResFile(entries), error)) << error;
  }
  void TearDown() override {
    for (const char* ext : {".ini", ".res", ".wav"}) std::remove((base_ + ext).c_str());
    resourceLibraries().release();
  }
  std::string library() const { return base_ + ".res"; }
  std::string wav() const { return base_ + ".wav"; }

  cRun run(std::vector<std::string> args) {
    args.insert(args.begin(), "zanbel-cli");
    std::ostringstream out, err;
    const int code = runCli(args, out, err);
    return {code, out.str(), err.str()};
  }
  std::vector<uint8_t> samplesOfWav() const {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(loadFileBytes(wav(), bytes, error)) << error;
    if (bytes.size() < 44) return {};
    return {bytes.begin() + 44, bytes.end()};
  }

  cHeadlessPlatform hp;

 private:
  std::string base_;
};

TEST_F(CliSoundTest, RenderMixesTheSoundsAtTheirTimes) {
  const cRun r = run({"sound", "render", "128", "129", "--mellemrum", "50", "--wav", wav(), "--fra", library()});
  ASSERT_EQ(r.code, kCliOk) << r.err;
  EXPECT_NE(r.out.find("prøver"), std::string::npos);
  const std::vector<uint8_t> s = samplesOfWav();
  // 128 alone (150) for 50 ms, then both (150 + 100 - 128 = 122), then 129 alone (100).
  const auto first = std::find(s.begin(), s.end(), 150);
  ASSERT_NE(first, s.end());
  EXPECT_EQ(std::count(s.begin(), s.end(), 150), 551);
  EXPECT_EQ(std::count(s.begin(), s.end(), 122), 449);
  EXPECT_EQ(std::count(s.begin(), s.end(), 100), 51);
  const auto both = std::find(s.begin(), s.end(), 122);
  EXPECT_NEAR(both - first, 551, 2);  // 50 ms later
  EXPECT_EQ(s.back(), 128);
}

TEST_F(CliSoundTest, TuneRendersTheAskedSeconds) {
  const cRun r = run({"sound", "tune", "--seconds", "3", "--wav", wav(), "--fra", library()});
  ASSERT_EQ(r.code, kCliOk) << r.err;
  const std::vector<uint8_t> s = samplesOfWav();
  EXPECT_EQ(s.size(), 3u * 11025);
  EXPECT_GT(std::count_if(s.begin(), s.end(), [](uint8_t v) { return v != 128; }), 10000);
}

TEST_F(CliSoundTest, MistakesAreExplainedInDanish) {
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;
  } cases[] = {
      {{"sound", "render", "777", "--wav", wav(), "--fra", library()}, kCliFailed, "lyd nummer 777 findes ikke"},
      {{"sound", "render", "128", "--wav", wav(), "--fra", "/nonexistent/x.res"}, kCliFailed, "kan ikke læse lydene"},
      {{"sound", "render", "128"}, kCliUsage, "brug: zanbel-cli sound"},
      {{"sound", "render", "klokke", "--wav", wav()}, kCliUsage, "er hverken et lydnummer"},
      {{"sound", "tune", "--seconds", "0", "--wav", wav()}, kCliUsage, "--seconds skal være"},
      {{"sound", "play"}, kCliUsage, "brug: zanbel-cli sound"},
  };
  for (const Case& c : cases) {
    const cRun r = run(c.args);
    EXPECT_EQ(r.code, c.code) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

TEST_F(CliSoundTest, ListShowsEverySound) {
  const cRun r = run({"sound", "list", "--fra", library()});
  ASSERT_EQ(r.code, kCliOk) << r.err;
  EXPECT_EQ(r.out.rfind("128\t1000 prøver\t90 ms\n129\t500 prøver\t45 ms\n", 0), 0u);
}

}  // namespace
