#include "cli/inventionfiles.h"

#include <map>
#include <ostream>

#include "export/resfile.h"
#include "gadgets/registry.h"
#include "shell/core/resourcemodule.h"
#include "shell/core/resources.h"

cHeadlessPlatform& cliPlatform() { return dynamic_cast<cHeadlessPlatform&>(platform()); }

void startEngineForCli() {
  if (!resourceLibraries().gadgetLibrary()) openResourceLibraries();
  installGadgetKinds();
}

bool loadInventionForCli(const std::string& file, std::vector<uint8_t>& image, std::ostream& err) {
  if (file.empty()) {
    startEngineForCli();
    const std::span<const uint8_t> example = lockResource(findOwnResource(1023, 1));
    image.assign(example.begin(), example.end());
    return true;
  }
  std::string error;
  if (!loadFileBytes(file, image, error)) {
    err << "zanbel-cli: Der opstod en fejl under læsning af filen. " << error << "\n";
    return false;
  }
  return true;
}

std::string countOf(long n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

void reportSkippedKinds(const cReadReport& report, std::ostream& err) {
  std::map<std::string, int> skipped;
  for (const cReadNote& n : report.notes)
    if (n.kind == cReadNote::kindNotAvailable) ++skipped[typeCodeText(n.chunkId)];
  for (const cReadNote& n : report.notes)
    if (n.kind == cReadNote::chunkPastEnd)
      err << "Bemærk: filen er skåret af ved byte " << n.offset << "; resten kunne ikke læses.\n";
  if (skipped.empty()) return;
  err << "Bemærk: disse dimser findes ikke i denne udgave af Zanbel endnu og er sprunget over:";
  for (const auto& [code, count] : skipped) err << ' ' << code << " (" << count << ")";
  err << "\n";
}
