// zanbel-artwork: makes the .res files of the artwork for the build.
//
//   zanbel-artwork palette UD.res
//       the program palette, 1003/101
//   zanbel-artwork build UD.res [--only ID,ID,...] [--work MAPPE] KILDE...
//       frame sets (1004) from SVG sources and tables (1010-1014) from text
//       sources; with --only just those frame sets (and every table)
//
// Any fault is printed and the program ends with 1, leaving no output file,
// so that the build stops instead of carrying old or partial artwork.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/frameset.h"
#include "tools/artwork/artwork.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "brug: zanbel-artwork palette UD.res\n"
               "      zanbel-artwork build UD.res [--only NUMMER,...] [--work MAPPE] KILDE...\n");
  return 2;
}

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Runs rsvg-convert without a shell; false with a message when it fails.
bool rasterise(const std::string& svg, const std::string& png, std::string& error) {
  const pid_t pid = fork();
  if (pid < 0) {
    error = "kan ikke starte rsvg-convert";
    return false;
  }
  if (pid == 0) {
    const char* argv[] = {"rsvg-convert", "--format", "png", "-o", png.c_str(), svg.c_str(), nullptr};
    execvp(argv[0], const_cast<char* const*>(argv));
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    error = WIFEXITED(status) && WEXITSTATUS(status) == 127 ? "rsvg-convert findes ikke (pakken librsvg2-bin)"
                                                             : "rsvg-convert kunne ikke tegne " + svg;
    return false;
  }
  return true;
}

bool readText(const std::string& path, std::string& text, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!loadFileBytes(path, bytes, error)) return false;
  text.assign(bytes.begin(), bytes.end());
  return true;
}

// One frame set from its SVG source.
bool buildFrameSet(const std::string& path, uint16_t id, const std::string& work, cResEntry& entry,
                   std::vector<std::string>& errors) {
  std::string svg, error;
  if (!readText(path, svg, error)) {
    errors.push_back(path + ": " + error);
    return false;
  }
  const cSvgFrames frames = parseSvgFrames(svg, path);
  if (!frames.errors.empty()) {
    errors.insert(errors.end(), frames.errors.begin(), frames.errors.end());
    return false;
  }
  const std::string png = work + "/" + std::to_string(id) + ".png";
  cRgbaPicture sheet;
  if (!rasterise(path, png, error) || !readPngRgba(png, sheet, error)) {
    errors.push_back(path + ": " + error);
    return false;
  }
  if (sheet.width != frames.sheetWidth || sheet.height != frames.sheetHeight) {
    errors.push_back(path + ": rsvg-convert tegnede " + std::to_string(sheet.width) + " x " +
                     std::to_string(sheet.height) + " punkter, arket er " + std::to_string(frames.sheetWidth) +
                     " x " + std::to_string(frames.sheetHeight));
    return false;
  }
  std::vector<cFramePicture> pictures;
  for (const cSvgFrame& f : frames.frames) pictures.push_back(quantiseFrame(sheet, f, builtInProgramPalette()));
  cEncodeResult encoded = encodeFrameSet(pictures);
  if (!encoded.ok()) {
    errors.push_back(path + ": " + encoded.error);
    return false;
  }
  // What we wrote must read back as sound frames.
  const cFrameSet check = cFrameSet::borrowing(encoded.bytes);
  for (int i = 1; i <= check.frameCount(); ++i)
    if (!check.frameIsSound(i)) {
      errors.push_back(path + ": billede " + std::to_string(i) + " blev ikke kodet rigtigt");
      return false;
    }
  entry.type = kFrameSetResourceType;
  entry.name = id;
  entry.data = std::move(encoded.bytes);
  return true;
}

int fail(const std::string& out, const std::vector<std::string>& errors) {
  for (const std::string& e : errors) std::fprintf(stderr, "zanbel-artwork: %s\n", e.c_str());
  std::remove(out.c_str());
  return 1;
}

int writeOut(const std::string& out, const std::vector<cResEntry>& entries) {
  std::string error;
  if (!saveFileBytes(out, writeResFile(entries), error)) return fail(out, {out + ": " + error});
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 2) return usage();
  const std::string command = args[0], out = args[1];
  std::remove(out.c_str());

  if (command == "palette") {
    if (args.size() != 2) return usage();
    cResEntry e;
    e.type = kPaletteResourceType;
    e.name = kPaletteResourceId;
    e.data = colourTableBytes(builtInProgramPalette());
    return writeOut(out, {e});
  }
  if (command != "build") return usage();

  std::set<uint16_t> only;
  std::string work = ".";
  std::vector<std::string> sources;
  for (size_t i = 2; i < args.size(); ++i) {
    if (args[i] == "--work" && i + 1 < args.size()) {
      work = args[++i];
    } else if (args[i] == "--only" && i + 1 < args.size()) {
      std::istringstream list(args[++i]);
      for (std::string id; std::getline(list, id, ',');) {
        const long v = std::strtol(id.c_str(), nullptr, 10);
        if (v < 1 || v > 65535) return fail(out, {"--only: " + id + " er ikke et billedsætnummer"});
        only.insert(static_cast<uint16_t>(v));
      }
    } else {
      sources.push_back(args[i]);
    }
  }

  std::vector<cResEntry> entries;
  std::vector<std::string> errors;
  std::set<std::pair<uint16_t, uint16_t>> seen;
  for (const std::string& path : sources) {
    if (endsWith(path, ".svg")) {
      const uint16_t id = frameSetIdFromPath(path);
      if (id == 0) {
        errors.push_back(path + ": filnavnet skal begynde med billedsættets nummer");
        continue;
      }
      if (!only.empty() && !only.count(id)) continue;
      cResEntry e;
      if (buildFrameSet(path, id, work, e, errors)) entries.push_back(std::move(e));
    } else if (endsWith(path, ".txt")) {
      std::string text, error;
      if (!readText(path, text, error)) {
        errors.push_back(path + ": " + error);
        continue;
      }
      cTableResult tables = parseTables(text, path);
      errors.insert(errors.end(), tables.errors.begin(), tables.errors.end());
      for (cResEntry& e : tables.entries) entries.push_back(std::move(e));
    } else {
      errors.push_back(path + ": kender kun .svg- og .txt-kilder");
    }
  }
  for (const cResEntry& e : entries)
    if (!seen.insert({e.type, e.name}).second)
      errors.push_back("ressource " + std::to_string(e.type) + "/" + std::to_string(e.name) + " findes to gange");
  for (uint16_t id : only)
    if (!seen.count({kFrameSetResourceType, id}))
      errors.push_back("billedsæt " + std::to_string(id) + " har ingen kilde");
  if (!errors.empty()) return fail(out, errors);
  return writeOut(out, entries);
}
