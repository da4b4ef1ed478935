// A stand-alone invention on a real display, as a child meets it: exported
// with zanbel-cli into a folder without the libraries, started, clicked past
// its title, run with Enter and stopped with Escape, sent to the background
// and back, and ended through its menu. What the window shows is compared,
// region by region, with the same invention drawn without a window from the
// program's own resources. The bare template shows the retry box.
//
// The test runs its own X server (ownxserver.h).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/runner.h"
#include "export/resfile.h"
#include "export/standalone.h"
#include "gadgets/registry.h"
#include "graphics/frameset.h"
#include "graphics/png.h"
#include "graphics/wingdib.h"
#include "platform/headless/headless.h"
#include "player/ownxserver.h"
#include "shell/core/resourcemodule.h"
#include "shell/core/resources.h"
#include "tools/invention/inventiontext.h"

extern char** environ;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string kBin = ZANBEL_BIN_DIR;
constexpr int kScreenWidth = 1280, kScreenHeight = 1024;

std::string capture(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen((command + " 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    ::pclose(p);
  }
  return out;
}

// A child process with its output in a file.
class cChild {
 public:
  cChild(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment,
         const std::string& outputFile) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.insert(env.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> args, envp;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~cChild() {
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  bool started() const { return pid_ > 0; }
  // The exit status once the process has ended within the time, or nothing.
  std::optional<int> waitForExit(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!exited_ && std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      } else {
        std::this_thread::sleep_for(50ms);
      }
    }
    return exited_ ? std::optional<int>(status_) : std::nullopt;
  }

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
  int status_ = 0;
};

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(100ms);
  }
  return done();
}

// An RGB picture: the screen, or what it should show.
struct cRgb {
  int width = 0, height = 0;
  std::vector<uint8_t> bytes;
  const uint8_t* at(int x, int y) const { return &bytes[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

cRgb rgbOf(const CWinGDib& surface) {
  cRgb out{surface.width(), surface.height(), std::vector<uint8_t>(size_t(surface.width()) * surface.height() * 3)};
  const cColourTable& colours = surface.colourTable();
  for (int y = 0; y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x) {
      const cRGBQuad& c = colours[*surface.pixelAddress(x, y)];
      uint8_t* p = &out.bytes[(size_t(y) * size_t(out.width) + size_t(x)) * 3];
      p[0] = c.red;
      p[1] = c.green;
      p[2] = c.blue;
    }
  return out;
}

// Counts the pixels of a region of the expected picture that the screen
// shows differently, the region placed at `origin` on the screen.
long differences(const cRgb& screen, const cRgb& expected, const cRect& region, cPoint origin) {
  long n = 0;
  for (int y = std::max<int>(region.top, 0); y < std::min<int>(region.bottom, expected.height); ++y)
    for (int x = std::max<int>(region.left, 0); x < std::min<int>(region.right, expected.width); ++x) {
      const int sx = origin.h + x, sy = origin.v + y;
      if (sx < 0 || sy < 0 || sx >= screen.width || sy >= screen.height) {
        ++n;
        continue;
      }
      if (std::memcmp(screen.at(sx, sy), expected.at(x, y), 3) != 0) ++n;
    }
  return n;
}

class PlayerOnTheDesktop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new fs::path(fs::temp_directory_path() / ("zanbel-player-" + std::to_string(::getpid())));
    fs::create_directories(*folder_);
    server_ = new cOwnXServer(kScreenWidth, kScreenHeight);
    display_ = server_->display();
  }
  static void TearDownTestSuite() {
    delete server_;
    fs::remove_all(*folder_);
    delete folder_;
  }
  void SetUp() override { ASSERT_TRUE(server_->started()) << "Xvfb did not start"; }
  void TearDown() override {
    resourceLibraries().release();
    cGadget::releaseSharedPictures();
  }

  static std::string path(const std::string& name) { return (*folder_ / name).string(); }

  // zanbel-cli export, as a user runs it; the program lands in a folder of its own.
  static std::string exportRobot() {
    const std::string program = path("robot-mappe/robot");
    fs::create_directories(path("robot-mappe"));
    std::ifstream in(ZANBEL_TESTDATA_DIR "/player/robot.txt");
    const cInventionTextResult robot = compileInventionText(std::string(std::istreambuf_iterator<char>(in), {}));
    EXPECT_TRUE(robot.ok()) << robot.error;
    std::string error;
    EXPECT_TRUE(saveFileBytes(path("robot.wgt"), robot.image, error)) << error;
    const std::string out = capture(kBin + "/zanbel-cli export " + path("robot.wgt") + " " + program);
    EXPECT_TRUE(fs::exists(program)) << out;
    return program;
  }

  static cRgb screen() {
    const std::string raw = capture("import -display " + display_ + " -window root -depth 8 rgb:-");
    cRgb s{kScreenWidth, kScreenHeight, std::vector<uint8_t>(raw.begin(), raw.end())};
    if (s.bytes.size() != size_t(kScreenWidth) * kScreenHeight * 3) s.bytes.assign(size_t(kScreenWidth) * kScreenHeight * 3, 0);
    return s;
  }
  static void saveScreen(const std::string& name) {
    const std::string out = std::string(ZANBEL_SCREENSHOT_DIR) + "/" + name;
    std::system(("import -display " + display_ + " -window root " + out).c_str());
  }
  static void xdotool(const std::string& args) { capture("xdotool " + args); }
  // Keys through the X test extension to the window with the focus: the
  // toolkit ignores keys sent to a window directly.
  static void keysTo(const std::string& window, const std::string& keys) {
    xdotool("windowfocus --sync " + window);
    std::this_thread::sleep_for(200ms);
    xdotool("key " + keys);
  }
  static std::string windowNamed(const std::string& name) {
    std::string id = capture("xdotool search --onlyvisible --name '^" + name + "$'");
    if (const size_t nl = id.find('\n'); nl != std::string::npos) id.resize(nl);
    return id;
  }
  // The window's place on the screen: x, y, width, height.
  static std::vector<int> geometry(const std::string& window) {
    const std::string out = capture("xdotool getwindowgeometry --shell " + window);
    std::vector<int> g(4, 0);
    const char* keys[] = {"X=", "Y=", "WIDTH=", "HEIGHT="};
    for (int i = 0; i < 4; ++i)
      if (const size_t at = out.find(keys[i]); at != std::string::npos) g[size_t(i)] = std::atoi(out.c_str() + at + std::strlen(keys[i]));
    return g;
  }
  static std::string childEnvironmentIni() { return "ZANBEL_INI=" + path("zanbel.ini"); }

  static fs::path* folder_;
  static cOwnXServer* server_;
  static std::string display_;
  cHeadlessPlatform hp;
};

fs::path* PlayerOnTheDesktop::folder_ = nullptr;
cOwnXServer* PlayerOnTheDesktop::server_ = nullptr;
std::string PlayerOnTheDesktop::display_;

TEST_F(PlayerOnTheDesktop, AnExportedInventionRunsInItsWindow) {
  const std::string program = exportRobot();
  ASSERT_FALSE(fs::exists(path("robot-mappe/ZBGADGET.DLL")));
  const std::string output = path("robot.out"), sound = path("lyd.raw");
  cChild player({program}, {childEnvironmentIni(), "SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + sound}, output);
  ASSERT_TRUE(player.started());

  // ---- the title picture, centred in the view ----
  std::string window;
  ASSERT_TRUE(waitFor([&] { return !(window = windowNamed("Selvstændig opfindelse - robot")).empty(); }, 10s))
      << capture("cat " + output);
  const std::vector<int> g = geometry(window);

  // What the player draws, from its own resources and nothing else.
  openResourceLibraries({cResourceStartMode::player, program, ""});
  installGadgetKinds();
  CWinGInfo display;
  const cFrameSet title(10005);
  const cRect titleRect = title.frameRect(1);
  // The view is the window less its menu bar: find how high that is from
  // where the title picture stands.
  int menuBar = -1;
  cRgb titleScreen;
  cRgb titleExpected;
  ASSERT_TRUE(waitFor(
      [&] {
        titleScreen = screen();
        for (int mb = 0; mb < 80; ++mb) {
          const int viewHeight = g[3] - mb;
          CWinGDib expected(g[2], viewHeight, +1);
          expected.fill(0);
          title.drawFrame(1, cPoint((viewHeight - titleRect.height()) / 2, (g[2] - titleRect.width()) / 2),
                          expected.bounds(), expected);
          titleExpected = rgbOf(expected);
          if (differences(titleScreen, titleExpected, expected.bounds(), cPoint(g[1] + mb, g[0])) == 0) {
            menuBar = mb;
            return true;
          }
        }
        return false;
      },
      10s))
      << "the title picture is not shown centred in the view";
  saveScreen("player-title.png");
  const cPoint origin(g[1] + menuBar, g[0]);
  const int viewWidth = g[2], viewHeight = g[3] - menuBar;
  EXPECT_GT(menuBar, 10) << "menu 2 is above the view";

  // ---- a click: the invention as it stands, and the keys to press ----
  const cImportResult invention = readStandAloneInvention(program);
  ASSERT_EQ(invention.outcome, cImportOutcome::read);
  cInventionRunner runner(hp, viewWidth, viewHeight);
  ASSERT_TRUE(runner.load(invention.invention));
  std::vector<cRect> regions;
  for (cGadget* gadget : runner.worksheet().gadgets) regions.push_back(gadget->worksheetRect());
  ASSERT_EQ(regions.size(), 14u);
  const cRgb stopped = rgbOf(runner.picture());
  CWinGDib withHint(viewWidth, viewHeight, +1);
  CWinGDib::clippedBlit(runner.picture(), withHint, 0, 0, nullptr, false);
  const cFrameSet hint(10004);
  const cRect hintRect = hint.frameRect(1);
  const cPoint hintAt(viewHeight - hintRect.height() - 24, (viewWidth - hintRect.width()) / 2);
  hint.drawFrame(1, hintAt, withHint.bounds(), withHint);
  const cRgb stoppedWithHint = rgbOf(withHint);
  const cRect hintArea = hintRect.offsetBy(hintAt);

  xdotool("mousemove " + std::to_string(g[0] + viewWidth / 2) + " " + std::to_string(origin.v + viewHeight / 2) +
          " click 1");
  auto showsEverywhere = [&](const cRgb& expected, const std::vector<cRect>& where) {
    const cRgb s = screen();
    for (const cRect& r : where)
      if (differences(s, expected, r, origin) != 0) return false;
    return true;
  };
  EXPECT_TRUE(waitFor([&] { return showsEverywhere(stoppedWithHint, {withHint.bounds()}); }, 10s))
      << "after the click the whole view should show the invention and the start hint";
  saveScreen("player-loaded.png");

  // ---- Enter: the invention runs; after three seconds the gadgets show their answers ----
  keysTo(window, "Return");
  std::this_thread::sleep_for(3s);
  cRunPlan plan;
  plan.milliseconds = 3000;
  plan.cycleMs = 5;
  runner.run(plan);
  const cRgb running = rgbOf(runner.picture());
  std::vector<cRect> gadgetsAndHint = regions;
  gadgetsAndHint.push_back(hintArea);
  EXPECT_TRUE(waitFor([&] { return showsEverywhere(running, gadgetsAndHint); }, 5s))
      << "the running gadgets are not where they stand, or the hint stayed";
  saveScreen("player-running.png");

  // ---- another program to the front: a pause sign; back again: it goes ----
  cChild other({kBin + "/ZANBEL.SLF", "NoIntroPlease"}, {childEnvironmentIni(), "SDL_AUDIODRIVER=dummy"},
               path("anden.out"));
  std::string otherWindow;
  ASSERT_TRUE(waitFor([&] { return !(otherWindow = windowNamed("Zanbel")).empty(); }, 10s));
  // Both programs open in the middle of the screen: the other one goes aside.
  const std::string otherFrame = windowNamed("Selvstændig opfindelse - zanbel");
  xdotool("windowmove " + otherFrame + " 1100 0");
  xdotool("windowmove " + otherWindow + " 1100 700");
  xdotool("windowfocus --sync " + otherWindow);
  const cFrameSet pause(10001);
  const cRect pauseRect = pause.frameRect(1);
  const cPoint pauseAt((viewHeight - pauseRect.height()) / 2, (viewWidth - pauseRect.width()) / 2);
  CWinGDib paused(viewWidth, viewHeight, +1);
  CWinGDib::clippedBlit(runner.picture(), paused, 0, 0, nullptr, false);
  pause.drawFrame(1, pauseAt, paused.bounds(), paused);
  const cRgb pausedRgb = rgbOf(paused);
  EXPECT_TRUE(waitFor([&] { return showsEverywhere(pausedRgb, {pauseRect.offsetBy(pauseAt)}); }, 5s))
      << "no pause sign while the program is in the background";
  saveScreen("player-paused.png");
  keysTo(otherWindow, "Escape");
  EXPECT_EQ(other.waitForExit(10s), 255) << "the retry box's Annuller ends the bare template with -1";
  xdotool("windowfocus --sync " + window);
  EXPECT_TRUE(waitFor([&] { return showsEverywhere(running, {pauseRect.offsetBy(pauseAt)}); }, 5s))
      << "the pause sign stayed after the program came back";

  // ---- Escape: stopped, every gadget as it was before the run ----
  keysTo(window, "Escape");
  EXPECT_TRUE(waitFor([&] { return showsEverywhere(stopped, regions); }, 5s));
  saveScreen("player-stopped.png");

  // ---- quit through the menu: Filer, then its last item, "&Afslut" ----
  xdotool("mousemove " + std::to_string(g[0] + 20) + " " + std::to_string(g[1] + menuBar / 2) + " click 1");
  std::this_thread::sleep_for(700ms);
  saveScreen("player-menu.png");
  xdotool("key Up Return");
  EXPECT_EQ(player.waitForExit(10s), 0) << capture("cat " + output);

  // Sound came out: the run's start and the calculators.
  const std::string stat = capture("sox -t raw -r 11025 -e unsigned -b 8 -c 1 " + sound + " -n stat 2>&1 | cat");
  const size_t at = stat.find("Maximum amplitude:");
  ASSERT_NE(at, std::string::npos) << stat;
  EXPECT_GT(std::atof(stat.c_str() + at + 18), 0.05) << stat;

  // Nothing went wrong inside the program either.
  const std::string said = capture("cat " + output);
  EXPECT_EQ(said.find("runtime error"), std::string::npos) << said;
  EXPECT_EQ(said.find("AddressSanitizer"), std::string::npos) << said;
}

TEST_F(PlayerOnTheDesktop, TheBareTemplateAsksForItsInventionAndEndsOnCancel) {
  const std::string output = path("bar.out");
  cChild player({kBin + "/ZANBEL.SLF"}, {childEnvironmentIni(), "SDL_AUDIODRIVER=dummy"}, output);
  std::string window;
  ASSERT_TRUE(waitFor([&] { return !(window = windowNamed("Selvstændig opfindelse - zanbel")).empty(); }, 10s));
  // Past the title, the invention is looked for: the retry box, captioned "Zanbel".
  std::this_thread::sleep_for(1s);
  xdotool("mousemove 640 512 click 1");
  std::string box;
  ASSERT_TRUE(waitFor([&] { return !(box = windowNamed("Zanbel")).empty(); }, 10s));
  std::this_thread::sleep_for(500ms);
  saveScreen("player-retry.png");
  // Prøv igen asks again; Annuller ends the program with -1.
  keysTo(box, "Return");
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(waitFor([&] { return !(box = windowNamed("Zanbel")).empty(); }, 5s)) << "the box came back";
  keysTo(box, "Escape");
  EXPECT_EQ(player.waitForExit(10s), 255) << capture("cat " + output);
}

}  // namespace
