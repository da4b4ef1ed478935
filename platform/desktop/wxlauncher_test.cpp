#include "platform/desktop/wxlauncher.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

std::string makeFolder() {
  char name[] = "/tmp/zbdesktop-launch-XXXXXX";
  const char* made = mkdtemp(name);
  return made ? made : "";
}

bool waitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// The state letter of a process in /proc, or 0 when it is gone.
char processState(pid_t pid) {
  // The process may end while it is read.
  std::string text(512, '\0');
  std::FILE* stat = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
  if (!stat) return 0;
  text.resize(std::fread(text.data(), 1, text.size(), stat));
  std::fclose(stat);
  const size_t close = text.rfind(')');
  return close == std::string::npos || close + 2 >= text.size() ? 0 : text[close + 2];
}

}  // namespace

TEST(DesktopLauncherTest, ArgumentsReachTheProgramUntouchedByAShell) {
  const std::string folder = makeFolder();
  ASSERT_FALSE(folder.empty());
  // A shell would split this name, expand the $(...) and the *, and run what
  // follows ";".
  const std::string strange = folder + "/a b;touch shell-ran $(id -u)*";
  cSpawnLauncher launcher;
  ASSERT_TRUE(launcher.launch("touch", {strange}));  // found on PATH
  EXPECT_TRUE(waitFor([&] { return exists(strange); }));
  std::system(("rm -rf '" + folder + "'").c_str());
}

TEST(DesktopLauncherTest, AMissingProgramIsReportedAsNotStarted) {
  cSpawnLauncher launcher;
  EXPECT_FALSE(launcher.launch("/no/such/program", {}));
  EXPECT_FALSE(launcher.launch("zanbel-no-such-program-on-path", {"x"}));
  EXPECT_FALSE(launcher.launch("", {}));
  EXPECT_EQ(launcher.lastProcess(), 0);
}

TEST(DesktopLauncherTest, AFinishedProgramDoesNotLinger) {
  cSpawnLauncher launcher;
  ASSERT_TRUE(launcher.launch("/bin/true", {}));
  const pid_t pid = launcher.lastProcess();
  ASSERT_GT(pid, 0);
  // Reaped: the process disappears instead of staying a zombie ('Z').
  EXPECT_TRUE(waitFor([&] { return processState(pid) == 0; })) << "state " << processState(pid);
}

TEST(DesktopLauncherTest, TheProgramGetsDefaultSignalsAndNoOpenFilesOfOurs) {
  const std::string folder = makeFolder();
  ASSERT_FALSE(folder.empty());
  // An ignored SIGPIPE and an open file of ours must not reach the program.
  struct sigaction ignore {}, previous {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previous);
  std::FILE* ours = std::fopen((folder + "/ours").c_str(), "w");
  ASSERT_NE(ours, nullptr);
  const std::string report = folder + "/report";
  cSpawnLauncher launcher;
  // SigIgn in /proc/self/status is the mask of ignored signals; SIGPIPE is bit 12.
  ASSERT_TRUE(launcher.launch("/bin/sh", {"-c", "grep SigIgn /proc/self/status > '" + report +
                                                   "'; ls /proc/self/fd | wc -l >> '" + report + "'"}));
  EXPECT_TRUE(waitFor([&] {
    std::ifstream in(report);
    std::string a, b, c;
    return static_cast<bool>(in >> a >> b >> c);
  }));
  std::fclose(ours);
  sigaction(SIGPIPE, &previous, nullptr);
  std::ifstream in(report);
  std::string label, ignored;
  int fds = 0;
  in >> label >> ignored >> fds;
  const unsigned long long mask = std::stoull(ignored, nullptr, 16);
  EXPECT_EQ(mask & (1ull << (SIGPIPE - 1)), 0u) << ignored;
  // Standard input, output and error, and the one ls opens to read the folder.
  EXPECT_LE(fds, 4);
  std::system(("rm -rf '" + folder + "'").c_str());
}

TEST(DesktopLauncherTest, StartedProgramsGetTheUsersOwnLanguageSettings) {
  const std::string folder = makeFolder();
  ASSERT_FALSE(folder.empty());
  // The test program runs as the desktop programs do: LANGUAGE=da for itself.
  ASSERT_STREQ(std::getenv("LANGUAGE"), "da");
  cSpawnLauncher launcher;
  launcher.restoreForChildren("LANGUAGE", std::nullopt);
  launcher.restoreForChildren("ZANBEL_LAUNCH_TEST", "brugerens");
  const std::string report = folder + "/report";
  ASSERT_TRUE(launcher.launch("/bin/sh", {"-c", "echo ${LANGUAGE-ingen} $ZANBEL_LAUNCH_TEST > '" + report + "'"}));
  std::string language, other;
  EXPECT_TRUE(waitFor([&] {
    std::ifstream in(report);
    return static_cast<bool>(in >> language >> other);
  }));
  EXPECT_EQ(language, "ingen");
  EXPECT_EQ(other, "brugerens");
  std::system(("rm -rf '" + folder + "'").c_str());
}
