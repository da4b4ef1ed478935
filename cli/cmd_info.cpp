// zanbel-cli info FIL
//
// What an invention file holds: version, background, the gadgets with their
// places and settings, the wires with their knots, and the tray's limits.
// It reads the file as it lies, so it shows every gadget, also those this
// program cannot make yet.
#include <cstdio>
#include <cstring>
#include <ostream>

#include "cli/commands.h"
#include "cli/inventionfiles.h"
#include "engine/kinds.h"
#include "engine/worksheet.h"
#include "shell/core/byteio.h"
#include "shell/core/text.h"

namespace {

std::string hexKey(uint32_t key) {
  char s[12];
  std::snprintf(s, sizeof s, "%08x", key);
  return s;
}

std::string backgroundName(uint16_t n) {
  switch (n) {
    case kBackgroundNone: return "0 (intet mønster)";
    case kBackgroundSand: return "700 (Sand)";
    case kBackgroundWaves: return "701 (Bølger)";
    case kBackgroundSteel: return "702 (Stål)";
    default: return std::to_string(n) + " (findes ikke)";
  }
}

// A text of the settings block, up to its zero (or the end of its room).
std::string textAt(const uint8_t* p, size_t room) {
  return cp1252ToUtf8(std::string(reinterpret_cast<const char*>(p), strnlen(reinterpret_cast<const char*>(p), room)));
}

void printGadget(std::ostream& out, int number, const cChunkView& c) {
  const uint8_t* b = c.body.data();
  const cKindInfo* kind = kindByCode(c.id);
  out << "  " << number << ' ' << typeCodeText(c.id) << ' ';
  if (c.body.size() < 336) {
    out << "(for kort: " << c.body.size() << " byte)\n";
    return;
  }
  out << hexKey(byteio::getU32BE(b)) << " \"" << kind->name << "\" x " << int16_t(byteio::getU16BE(b + 6))
      << " y " << int16_t(byteio::getU16BE(b + 4)) << (b[272] ? " låst" : "") << '\n';
  std::string settings;
  for (int i = 0; i < 4; ++i)
    if (b[12 + i]) settings += " valg" + std::to_string(i) + "=" + std::to_string(b[12 + i]);
  for (int i = 0; i < 4; ++i)
    if (const int32_t v = int32_t(byteio::getU32BE(b + 16 + 4 * i)))
      settings += " tal" + std::to_string(i) + "=" + std::to_string(v);
  if (const uint32_t flags = byteio::getU32BE(b + 8)) {
    settings += " til:";
    for (int bit = 0; bit < 32; ++bit)
      if (flags & (1u << bit)) settings += " " + std::to_string(bit);
  }
  if (!settings.empty()) out << "     " << settings.substr(1) << '\n';
  // A text without its zero in its 60 bytes is one long text of 240.
  const uint8_t* texts = b + 32;
  if (!std::memchr(texts, 0, 60)) {
    out << "     tekst \"" << textAt(texts, 240) << "\"\n";
    return;
  }
  for (int i = 0; i < 4; ++i)
    if (texts[60 * i]) out << "     tekst" << i << " \"" << textAt(texts + 60 * i, 60) << "\"\n";
}

void printWire(std::ostream& out, int number, const cChunkView& c, uint16_t version) {
  const uint8_t* b = c.body.data();
  const bool old = version <= 2;
  out << "  " << number << ' ';
  if (c.body.size() < (old ? 12u : 16u)) {
    out << "(for kort: " << c.body.size() << " byte)\n";
    return;
  }
  out << hexKey(byteio::getU32BE(b)) << '.' << byteio::getU16BE(b + 8) << " -> " << hexKey(byteio::getU32BE(b + 4))
      << '.' << byteio::getU16BE(b + 10);
  if (!old) {
    const size_t knots = byteio::getU16BE(b + 14);
    if (knots) {
      out << "  knæk";
      for (size_t k = 0; k < knots && 16 + 4 * k + 4 <= c.body.size(); ++k)
        out << ' ' << int16_t(byteio::getU16BE(b + 18 + 4 * k)) << ',' << int16_t(byteio::getU16BE(b + 16 + 4 * k));
    }
    if (b[12]) out << "  låst";
  }
  out << '\n';
}

}  // namespace

int cmdInfo(cCliContext& c) {
  if (c.args.size() != 1) return cliUsage(*findCliCommand("info"), c.err);
  const std::string& file = c.args[0];
  std::vector<uint8_t> image;
  if (!loadInventionForCli(file, image, c.err)) return kCliFailed;
  uint16_t version = 0;
  if (!isInventionImage(image, &version)) {
    c.err << file << ": Denne fil er ikke gemt i Zanbel\n";
    return kCliFailed;
  }
  std::vector<cChunkView> gadgets, wires, limits;
  uint16_t background = 0;
  cChunkView pastEnd;
  walkChunks(image, [&](const cChunkView& v) {
    if (v.is("conn")) wires.push_back(v);
    else if (v.is("numG")) limits.push_back(v);
    else if (v.is("back") && v.body.size() >= 2) background = byteio::getU16BE(v.body.data());
    else if (kindByCode(v.id)) gadgets.push_back(v);
    return true;
  }, &pastEnd);

  c.out << "Opfindelse: " << file << " (" << image.size() << " byte)\n";
  c.out << "Version: " << version << '\n';
  c.out << "Baggrund: " << backgroundName(background) << '\n';
  c.out << "Dimser: " << gadgets.size() << " (bagerst først)\n";
  for (size_t i = 0; i < gadgets.size(); ++i) printGadget(c.out, int(i + 1), gadgets[i]);
  c.out << "Ledninger: " << wires.size() << '\n';
  for (size_t i = 0; i < wires.size(); ++i) printWire(c.out, int(i + 1), wires[i], version);
  c.out << "Grænser i bakken:";
  int shown = 0;
  for (const cChunkView& l : limits) {
    const size_t m = l.body.size() >= 2 ? byteio::getU16BE(l.body.data()) : 0;
    for (size_t i = 0; i < m && 2 + 6 * (i + 1) <= l.body.size(); ++i, ++shown) {
      const uint8_t* e = l.body.data() + 2 + 6 * i;
      c.out << ' ' << std::string(reinterpret_cast<const char*>(e), 4) << '=' << int16_t(byteio::getU16BE(e + 4));
    }
  }
  c.out << (shown ? "\n" : " ingen\n");
  if (pastEnd.offset) c.out << "Filen er skåret af ved byte " << pastEnd.offset << ".\n";
  return kCliOk;
}
