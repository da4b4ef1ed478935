// zanbel-soak: runs an invention for a long stretch of virtual time and
// watches the program-wide count of live objects, which must stay flat.
// Not part of the test suite; run it by hand:
//
//   zanbel-soak [FIL.wgt] [--hours 24] [--cycle-ms 20]
//
// Without a file it runs the example invention. Every virtual hour it prints
// the count, and every hour it also saves the invention, takes an undo step
// and undoes it, so that those paths are watched too. It ends with exit code
// 1 when the count moved.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/cycle.h"
#include "engine/invention.h"
#include "engine/runner.h"
#include "engine/undo.h"
#include "export/resfile.h"
#include "gadgets/registry.h"
#include "graphics/wingdib.h"
#include "platform/headless/headless.h"
#include "shell/core/liveobjects.h"
#include "shell/core/resourcemodule.h"
#include "shell/core/resources.h"

int main(int argc, char** argv) {
  std::string file;
  double hours = 24;
  uint32_t cycleMs = 20;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--hours" && i + 1 < argc) hours = std::atof(argv[++i]);
    else if (a == "--cycle-ms" && i + 1 < argc) cycleMs = uint32_t(std::max(1, std::atoi(argv[++i])));
    else if (a[0] != '-' && file.empty()) file = a;
    else {
      std::fprintf(stderr, "brug: zanbel-soak [FIL.wgt] [--hours 24] [--cycle-ms 20]\n");
      return 2;
    }
  }
  cHeadlessPlatform hp;
  hp.scriptedUi().echoTo(nullptr);
  openResourceLibraries();
  installGadgetKinds();
  CWinGInfo display;

  std::vector<uint8_t> image;
  if (file.empty()) {
    const std::span<const uint8_t> example = lockResource(findOwnResource(1023, 1));
    image.assign(example.begin(), example.end());
  } else {
    std::string error;
    if (!loadFileBytes(file, image, error)) {
      std::fprintf(stderr, "zanbel-soak: %s\n", error.c_str());
      return 1;
    }
  }

  cInventionRunner runner(hp);
  cReadReport report;
  if (!runner.load(image, &report)) {
    std::fprintf(stderr, "zanbel-soak: Denne fil er ikke gemt i Zanbel\n");
    return 1;
  }
  std::printf("%d dimser, %d ledninger; %.1f timer i skridt af %u ms\n", report.gadgets, report.wires, hours,
              cycleMs);
  cWorksheetPane& ws = runner.worksheet();
  const uint64_t totalMs = uint64_t(hours * 3600.0 * 1000.0);
  const uint64_t hourMs = 3600ull * 1000;
  startRun();
  runCycle();
  const int64_t start = liveObjectCount();
  int64_t lowest = start, highest = start;
  std::printf("time %3d: %lld levende objekter\n", 0, static_cast<long long>(start));
  uint64_t ran = 0;
  for (uint64_t nextHour = hourMs; ran < totalMs;) {
    hp.virtualClock().advance(cycleMs);
    ran += cycleMs;
    if (!isRunning()) startRun();  // the invention may stop itself; it starts again
    runCycle();
    if (ran >= nextHour) {
      // Save, take an undo step and undo it while the invention runs on.
      const std::vector<uint8_t> saved = writeInvention(ws);
      undoStore().snapshot(ws);
      stopRun();
      ws.undo();
      startRun();
      runCycle();
      const int64_t now = liveObjectCount();
      lowest = std::min(lowest, now);
      highest = std::max(highest, now);
      std::printf("time %3llu: %lld levende objekter (gemt: %zu byte)\n",
                  static_cast<unsigned long long>(ran / hourMs), static_cast<long long>(now), saved.size());
      std::fflush(stdout);
      nextHour += hourMs;
    }
  }
  runner.stop();
  undoStore().clear();
  if (highest != lowest) {
    std::printf("Antallet af levende objekter flyttede sig: %lld til %lld\n", static_cast<long long>(lowest),
                static_cast<long long>(highest));
    return 1;
  }
  std::printf("Antallet af levende objekter lå fast på %lld.\n", static_cast<long long>(start));
  return 0;
}
