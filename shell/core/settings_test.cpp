#include "shell/core/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zanbel-settings-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    path_ = (dir_ / "sub" / "ZANBEL.INI").string();
    setSettingsPath(path_);
    setCommandLine({"zanbel"});
  }
  void TearDown() override { fs::remove_all(dir_); }

  void writeFile(const std::string& text) {
    fs::create_directories(fs::path(path_).parent_path());
    std::ofstream(path_, std::ios::binary) << text;
  }
  std::string readFile() {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
  std::string path_;
};

}  // namespace

TEST_F(SettingsTest, WriteCreatesTheFolderAndReadsBack) {
  writeSetting("ZanbelHome", "/home/kim");
  writeSettingNumber("Fit", -2);
  writeSettingNumber("WaveOutDevice", 3, "general");
  char buffer[8];
  EXPECT_EQ(readSetting("ZanbelHome", "", buffer, sizeof buffer), 7);  // truncated to size - 1
  EXPECT_STREQ(buffer, "/home/k");
  EXPECT_EQ(readSettingNumber("Fit", 0), -2);
  EXPECT_EQ(readSettingNumber("WaveOutDevice", -1, "general"), 3);
  EXPECT_EQ(readSettingNumber("WaveOutDevice", -1), -1);  // other section
  EXPECT_EQ(readFile(), "[Zanbel]\nZanbelHome=/home/kim\nFit=-2\n\n[general]\nWaveOutDevice=3\n");
}

TEST_F(SettingsTest, NumbersNeedExactlyOneValue) {
  writeFile("[Zanbel]\nA=12\nB= 7abc\nC=abc\nD=\nE=99999999999\nF=-0\n");
  struct Case { const char* key; int32_t expected; };
  const Case cases[] = {{"A", 12}, {"B", 7}, {"C", 5}, {"D", 5}, {"E", INT32_MAX}, {"F", 0}, {"G", 5}};
  for (const Case& c : cases) EXPECT_EQ(readSettingNumber(c.key, 5), c.expected) << c.key;
}

TEST_F(SettingsTest, DefaultsAreTrimmedAndKeysRemoved) {
  char buffer[32];
  EXPECT_EQ(readSetting("Load", "abc  ", buffer, sizeof buffer), 3);
  EXPECT_STREQ(buffer, "abc");
  writeSetting("Load", "x.wgt");
  removeSetting("Load");
  EXPECT_EQ(readSetting("Load", "", buffer, sizeof buffer), 0);
  removeSetting("NeverThere");  // nothing to remove is not an error
}

TEST_F(SettingsTest, AFailedWriteLeavesTheOldFile) {
  writeFile("[Zanbel]\nFit=1\n");
  // A folder where the file should go cannot be replaced by a rename.
  const std::string blocked = (dir_ / "blocked").string();
  fs::create_directories(fs::path(blocked) / "ZANBEL.INI");
  cSettingsFile bad((fs::path(blocked) / "ZANBEL.INI").string());
  EXPECT_FALSE(bad.write("Fit", "2"));
  EXPECT_TRUE(fs::is_empty(fs::path(blocked) / "ZANBEL.INI"));
  EXPECT_EQ(std::distance(fs::directory_iterator(blocked), fs::directory_iterator()), 1);  // no leftovers

  EXPECT_TRUE(settings().write("Fit", "2"));
  EXPECT_EQ(readFile(), "[Zanbel]\nFit=2\n");
}

TEST_F(SettingsTest, OptionFlagsFromArgumentsAndKeys) {
  // Neither argument nor key.
  EXPECT_FALSE(isOptionSet("NoSoundPlease"));
  // A key of 0 leaves the option off; 1 sets it.
  writeFile("[Zanbel]\nNoSoundPlease=0\nNoIntroPlease=1\n");
  EXPECT_FALSE(isOptionSet("NoSoundPlease"));
  EXPECT_TRUE(isOptionSet("NoIntroPlease"));
  // An argument sets it whatever the key says; a substring is enough, case counts.
  setCommandLine({"zanbel", "NoSoundPlease"});
  EXPECT_TRUE(isOptionSet("NoSoundPlease"));
  setCommandLine({"zanbel", "x:\\NoWinGPleaseX"});
  EXPECT_TRUE(isOptionSet("NoWinGPlease"));
  setCommandLine({"zanbel", "nosoundplease"});
  EXPECT_FALSE(isOptionSet("NoSoundPlease"));
  // The program's own name does not count.
  setCommandLine({"/opt/NoSoundPlease/zanbel"});
  EXPECT_FALSE(isOptionSet("NoSoundPlease"));
}

TEST(SettingsPathTest, EnvironmentDecides) {
  const char* oldIni = std::getenv("ZANBEL_INI");
  const std::string savedIni = oldIni ? oldIni : "";
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string savedXdg = oldXdg ? oldXdg : "";

  ::setenv("ZANBEL_INI", "/tmp/elsewhere.ini", 1);
  EXPECT_EQ(defaultSettingsPath(), "/tmp/elsewhere.ini");
  ::unsetenv("ZANBEL_INI");
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(defaultSettingsPath(), "/cfg/zanbel/ZANBEL.INI");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as the standard says
  ::setenv("HOME", ::getenv("HOME") ? ::getenv("HOME") : "/root", 1);
  EXPECT_EQ(defaultSettingsPath(), std::string(::getenv("HOME")) + "/.config/zanbel/ZANBEL.INI");

  if (oldIni) ::setenv("ZANBEL_INI", savedIni.c_str(), 1); else ::unsetenv("ZANBEL_INI");
  if (oldXdg) ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
}

TEST(PlatformFlagsTest, LinuxIsPlatformClassTwo) {
  EXPECT_EQ(platformFlags().platformClass, 2);
  EXPECT_FALSE(platformFlags().win32s);
  EXPECT_FALSE(platformFlags().notNT);
  EXPECT_TRUE(platformFlags().newShell);
}
