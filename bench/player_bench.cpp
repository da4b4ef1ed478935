// How long a stand-alone invention takes from its start to its title
// picture, against the bare player template started the same way in the same
// run. Goal: the exported program of a 14-gadget invention shows its title
// within 1.25 times the template's time (what an export adds to the file
// must not slow the start), and under a second; compare the real time of
// BM_StartExported with BM_StartTemplate.
//
// Each iteration starts the program, watches one pixel of the screen until
// the title's sky blue is there, and ends the program. It needs Xvfb, which
// it starts itself (1280 x 1024, 24 bits): build/bench/bin/zbplayer_bench.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "export/resfile.h"
#include "player/ownxserver.h"
#include "tools/invention/inventiontext.h"

extern char** environ;

namespace {

const std::string kBin = ZANBEL_BIN_DIR;
std::string gExported;

std::string capture(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buffer[512];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    ::pclose(p);
  }
  return out;
}

pid_t start(const std::string& program) {
  const char* argv[] = {program.c_str(), nullptr};
  pid_t pid = -1;
  posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char* const*>(argv), environ);
  return pid;
}

// The title picture is 600 x 440 in the middle of a 720 x 540 view; this
// pixel is its sky, and black before it is drawn.
bool titleShown() {
  return capture("import -window root -crop 1x1+380+344 -depth 8 txt:- 2>/dev/null").find("#99CCFF") !=
         std::string::npos;
}

void startToTitle(benchmark::State& state, const std::string& program) {
  for (auto _ : state) {
    const pid_t pid = start(program);
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool shown = false;
    while (!(shown = titleShown()) && std::chrono::steady_clock::now() < give_up) {
    }
    if (!shown) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      state.SkipWithError("no title picture within ten seconds");
      break;
    }
    state.PauseTiming();
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    // The next start must not find the old picture on the screen.
    while (titleShown()) ::usleep(10000);
    state.ResumeTiming();
  }
}

void BM_StartTemplate(benchmark::State& state) { startToTitle(state, kBin + "/ZANBEL.SLF"); }
void BM_StartExported(benchmark::State& state) { startToTitle(state, gExported); }

BENCHMARK(BM_StartTemplate)->Unit(benchmark::kMillisecond)->Iterations(8)->UseRealTime();
BENCHMARK(BM_StartExported)->Unit(benchmark::kMillisecond)->Iterations(8)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // A display of our own, so that nothing else is on the screen.
  const cOwnXServer server(1280, 1024);
  if (!server.started()) return 1;
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  const std::string folder = std::filesystem::temp_directory_path() / ("zanbel-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  ::setenv("ZANBEL_INI", (folder + "/zanbel.ini").c_str(), 1);

  // The 14-gadget invention of the player's tests, exported as a user does it.
  std::ifstream in(ZANBEL_SOURCE_DIR "/testdata/player/robot.txt");
  const cInventionTextResult robot = compileInventionText(std::string(std::istreambuf_iterator<char>(in), {}));
  std::string error;
  if (!robot.ok() || !saveFileBytes(folder + "/robot.wgt", robot.image, error)) return 1;
  gExported = folder + "/robot";
  std::fputs(capture(kBin + "/zanbel-cli export " + folder + "/robot.wgt " + gExported).c_str(), stderr);

  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return 0;
}
