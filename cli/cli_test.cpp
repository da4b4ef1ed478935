#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "cli/commands.h"
#include "shell/core/settings.h"

namespace {

struct cRun {
  int code;
  std::string out, err;
};

cRun run(std::vector<std::string> args) {
  args.insert(args.begin(), "zanbel-cli");
  std::ostringstream out, err;
  const int code = runCli(args, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace

TEST(CliTest, HelpVersionAndUnknownCommands) {
  EXPECT_EQ(run({"--help"}).code, kCliOk);
  EXPECT_NE(run({"--help"}).out.find("settings"), std::string::npos);
  EXPECT_NE(run({"--version"}).out.find("zanbel-cli "), std::string::npos);
  EXPECT_EQ(run({}).code, kCliUsage);
  const cRun bad = run({"frobnicate"});
  EXPECT_EQ(bad.code, kCliUsage);
  EXPECT_NE(bad.err.find("ukendt kommando \"frobnicate\""), std::string::npos);
  EXPECT_NE(run({"settings", "--help"}).out.find("settings get"), std::string::npos);
  // Every command has a usage and a summary for the overview.
  for (const cCliCommand& c : cliCommands()) {
    EXPECT_TRUE(c.usage && *c.usage) << c.name;
    EXPECT_TRUE(c.summary && *c.summary) << c.name;
  }
}

TEST(CliTest, SettingsGetAndSet) {
  namespace fs = std::filesystem;
  const fs::path file = fs::temp_directory_path() / ("zanbel-cli-" + std::to_string(::getpid())) / "ZANBEL.INI";
  setSettingsPath(file.string());

  EXPECT_EQ(run({"settings", "set", "Fit", "2"}).code, kCliOk);
  EXPECT_EQ(run({"settings", "set", "WaveOutDevice", "1", "general"}).code, kCliOk);
  EXPECT_EQ(run({"settings", "get", "fit"}).out, "2\n");
  EXPECT_EQ(run({"settings", "get", "WaveOutDevice", "general"}).out, "1\n");
  const cRun missing = run({"settings", "get", "WaveOutDevice"});
  EXPECT_EQ(missing.code, kCliFailed);
  EXPECT_NE(missing.err.find("findes ikke"), std::string::npos);
  EXPECT_EQ(run({"settings", "get"}).code, kCliUsage);
  EXPECT_EQ(run({"settings", "remove", "x"}).code, kCliUsage);
  fs::remove_all(file.parent_path());
}
