// zanbel-texts: turns the text source into a .res file for the build.
//
//   zanbel-texts [--only ID] SOURCE OUT.res
//
// Without --only: every text (type 1020) and the help-text links (1021).
// With --only: that one text. Any fault in the source is printed and the
// program ends with 1 without leaving an output file behind, so the build
// stops instead of carrying old or partial texts.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "export/resfile.h"
#include "tools/texts/textres.h"
#include "tools/texts/textsource.h"

namespace {
int usage() {
  std::fprintf(stderr, "brug: zanbel-texts [--only NUMMER] KILDE UD.res\n");
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::optional<uint16_t> only;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--only") {
      if (++i >= args.size()) return usage();
      char* end = nullptr;
      const long id = std::strtol(args[i].c_str(), &end, 10);
      if (*end != '\0' || id < 1 || id > 65535) {
        std::fprintf(stderr, "zanbel-texts: %s er ikke et tekstnummer\n", args[i].c_str());
        return 2;
      }
      only = static_cast<uint16_t>(id);
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return usage();
  const std::string& sourcePath = files[0];
  const std::string& outPath = files[1];
  std::remove(outPath.c_str());

  std::vector<uint8_t> bytes;
  std::string error;
  if (!loadFileBytes(sourcePath, bytes, error)) {
    std::fprintf(stderr, "zanbel-texts: kan ikke læse %s: %s\n", sourcePath.c_str(),
                 error.c_str());
    return 1;
  }
  const std::string text(bytes.begin(), bytes.end());
  const cTextSource source = parseTextSource(text, sourcePath);
  const cTextResources res = buildTextResources(source, sourcePath, only);
  if (!res.ok()) {
    for (const std::string& e : res.errors) std::fprintf(stderr, "%s\n", e.c_str());
    std::fprintf(stderr, "zanbel-texts: %zu fejl; der er ikke skrevet nogen %s\n",
                 res.errors.size(), outPath.c_str());
    return 1;
  }
  if (!saveFileBytes(outPath, writeResFile(res.entries), error)) {
    std::fprintf(stderr, "zanbel-texts: kan ikke skrive %s: %s\n", outPath.c_str(),
                 error.c_str());
    std::remove(outPath.c_str());
    return 1;
  }
  return 0;
}
