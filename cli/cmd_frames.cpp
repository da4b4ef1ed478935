// zanbel-cli frames FIL NUMMER --png UD.png [--on grå|hvid|sort|700|701|702] [--mørk] [--gange N]
//
// A contact sheet of every frame of frame set NUMMER in FIL (a .res file, or
// a program or library with resources), numbered, on grey or on another
// background, written as a PNG.
#include <cctype>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "cli/commands.h"
#include "export/resfile.h"
#include "graphics/contactsheet.h"
#include "graphics/png.h"
#include "shell/core/resourcemodule.h"

namespace {

bool endsWithRes(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".res";
}

// The resources of a .res file or of a program file.
std::unique_ptr<cResourceModule> openModule(const std::string& path, std::string& error) {
  if (!endsWithRes(path)) return cFileResourceModule::open(path, &error);
  std::vector<uint8_t> bytes;
  if (!loadFileBytes(path, bytes, error)) return nullptr;
  const cResReadResult read = readResFile(bytes);
  if (!read.ok()) {
    error = read.error;
    return nullptr;
  }
  auto module = std::make_unique<cMemoryResourceModule>(path);
  for (const cResEntry& e : read.entries)
    if (!module->find(e.type, e.name)) module->add(e.type, e.name, e.data);
  return module;
}

bool parseNumber(const std::string& text, long low, long high, long& out) {
  char* end = nullptr;
  out = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && out >= low && out <= high;
}

}  // namespace

int cmdFrames(cCliContext& c) {
  const cCliCommand& self = *findCliCommand("frames");
  std::vector<std::string> plain;
  std::string png, on = "grå";
  bool dark = false;
  long scale = 1;
  for (size_t i = 0; i < c.args.size(); ++i) {
    const std::string& a = c.args[i];
    if (a == "--png" && i + 1 < c.args.size()) png = c.args[++i];
    else if (a == "--on" && i + 1 < c.args.size()) on = c.args[++i];
    else if (a == "--mørk") dark = true;
    else if (a == "--gange" && i + 1 < c.args.size()) {
      if (!parseNumber(c.args[++i], 1, 16, scale)) {
        c.err << "zanbel-cli frames: --gange skal være et tal fra 1 til 16\n";
        return kCliUsage;
      }
    } else plain.push_back(a);
  }
  long id = 0;
  if (plain.size() != 2 || png.empty()) return cliUsage(self, c.err);
  if (!parseNumber(plain[1], 1, 65535, id)) {
    c.err << "zanbel-cli frames: " << plain[1] << " er ikke et billedsætnummer (1-65535)\n";
    return kCliUsage;
  }
  std::string error;
  std::unique_ptr<cResourceModule> module = openModule(plain[0], error);
  if (!module) {
    c.err << "zanbel-cli frames: kan ikke læse ressourcerne i " << plain[0] << ": " << error << "\n";
    return kCliFailed;
  }
  const auto bytes = module->find(kFrameSetResourceType, static_cast<uint16_t>(id));
  if (!bytes) {
    c.err << "zanbel-cli frames: " << plain[0] << " har intet billedsæt " << id << "\n";
    return kCliFailed;
  }
  // The file's own palette when it has one, else the program palette.
  const auto paletteBytes = module->find(kPaletteResourceType, kPaletteResourceId);
  const cColourTable colours = paletteBytes ? colourTableFromBytes(*paletteBytes) : builtInProgramPalette();

  cContactSheetOptions options;
  cFrameSet pattern;
  const int patternFrame = dark ? 2 : 1;
  if (on == "hvid") options.background = rgb(255, 255, 255);
  else if (on == "sort") options.background = rgb(0, 0, 0);
  else if (on == "700" || on == "701" || on == "702") {
    const auto p = module->find(kFrameSetResourceType, static_cast<uint16_t>(std::atoi(on.c_str())));
    if (!p) {
      c.err << "zanbel-cli frames: " << plain[0] << " har intet mønster " << on << "\n";
      return kCliFailed;
    }
    pattern = cFrameSet::borrowing(*p);
    options.pattern = &pattern;
    options.patternFrame = patternFrame;
  } else if (on != "grå") {
    c.err << "zanbel-cli frames: --on kender grå, hvid, sort, 700, 701 og 702\n";
    return kCliUsage;
  }
  const cFrameSet set = cFrameSet::borrowing(*bytes);
  std::unique_ptr<CWinGDib> sheet = renderContactSheet(set, options);
  if (scale > 1) sheet = enlarged(*sheet, static_cast<int>(scale));
  if (!writePng(png, *sheet, colours, error)) {
    c.err << "zanbel-cli frames: " << error << "\n";
    return kCliFailed;
  }
  int damaged = 0;
  for (int i = 1; i <= set.frameCount(); ++i)
    if (!set.frameIsSound(i)) ++damaged;
  c.out << "billedsæt " << id << ": " << set.frameCount() << " billeder";
  if (damaged) c.out << ", heraf " << damaged << " beskadigede (ikke tegnet)";
  c.out << " -> " << png << "\n";
  return kCliOk;
}
