#include <cstdlib>
#include <sstream>

#include "tools/artwork/artwork.h"

namespace {

enum class cListKind { none, pins, positions, rects };

struct cList {
  cListKind kind = cListKind::none;
  uint16_t type = 0;
  uint16_t id = 0;
  int line = 0;
  std::vector<int16_t> values;  // already in stored order
  int count = 0;
};

void put16(std::vector<uint8_t>& out, int v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

bool number(const std::string& word, long low, long high, long& out) {
  char* end = nullptr;
  out = std::strtol(word.c_str(), &end, 10);
  return !word.empty() && *end == '\0' && out >= low && out <= high;
}

}  // namespace

cTableResult parseTables(const std::string& text, const std::string& name) {
  cTableResult result;
  cList list;
  auto finish = [&] {
    if (list.kind == cListKind::none) return;
    cResEntry e;
    e.type = list.type;
    e.name = list.id;
    put16(e.data, list.count);
    for (int16_t v : list.values) put16(e.data, v);
    if (list.count == 0)
      result.errors.push_back(name + ":" + std::to_string(list.line) + ": tabellen " + std::to_string(list.id) +
                              " har ingen linjer");
    result.entries.push_back(std::move(e));
    list = cList{};
  };
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    const size_t hash = raw.find('#');
    std::istringstream words(hash == std::string::npos ? raw : raw.substr(0, hash));
    std::vector<std::string> w;
    for (std::string s; words >> s;) w.push_back(s);
    if (w.empty()) continue;
    auto fail = [&](const std::string& what) {
      result.errors.push_back(name + ":" + std::to_string(lineNo) + ": " + what);
    };
    std::vector<long> n;
    // Reads words from `from` on as signed 16-bit numbers; false when any is not.
    auto numbers = [&](size_t from, size_t count) {
      n.clear();
      if (w.size() != from + count) return false;
      for (size_t i = from; i < w.size(); ++i) {
        long v = 0;
        if (!number(w[i], -32768, 32767, v)) return false;
        n.push_back(v);
      }
      return true;
    };
    long id = 0;
    const std::string& word = w[0];
    if (word == "pins" || word == "positions" || word == "rects" || word == "point" || word == "rect") {
      finish();
      if (w.size() < 2 || !number(w[1], 1, 65535, id)) {
        fail("\"" + word + "\" skal følges af et nummer fra 1 til 65535");
        continue;
      }
      if (word == "point" || word == "rect") {
        const bool isPoint = word == "point";
        if (!numbers(2, isPoint ? 2 : 4)) {
          fail(isPoint ? "et punkt skrives \"point NUMMER X Y\"" : "et rektangel skrives \"rect NUMMER VENSTRE TOP HØJRE BUND\"");
          continue;
        }
        cResEntry e;
        e.type = isPoint ? 1011 : 1013;
        e.name = static_cast<uint16_t>(id);
        if (isPoint) {
          put16(e.data, static_cast<int>(n[1]));
          put16(e.data, static_cast<int>(n[0]));
        } else {
          for (long v : {n[1], n[0], n[3], n[2]}) put16(e.data, static_cast<int>(v));
        }
        result.entries.push_back(std::move(e));
        continue;
      }
      if (w.size() != 2) {
        fail("\"" + word + " NUMMER\" står alene på sin linje");
        continue;
      }
      list.kind = word == "pins" ? cListKind::pins : word == "positions" ? cListKind::positions : cListKind::rects;
      list.type = word == "pins" ? 1014 : word == "positions" ? 1010 : 1012;
      list.id = static_cast<uint16_t>(id);
      list.line = lineNo;
      continue;
    }
    switch (list.kind) {
      case cListKind::none:
        fail("ukendt linje: \"" + word + "\"");
        break;
      case cListKind::pins:
        if ((word != "in" && word != "out") || !numbers(1, 2)) {
          fail("en ben-linje skrives \"in X Y\" eller \"out X Y\"");
          break;
        }
        list.values.insert(list.values.end(), {int16_t(n[1]), int16_t(n[0]), int16_t(word == "out" ? 1 : 0)});
        ++list.count;
        break;
      case cListKind::positions:
        if (!numbers(0, 2)) {
          fail("en position skrives \"X Y\"");
          break;
        }
        list.values.insert(list.values.end(), {int16_t(n[1]), int16_t(n[0])});
        ++list.count;
        break;
      case cListKind::rects:
        if (!numbers(0, 4)) {
          fail("et rektangel skrives \"VENSTRE TOP HØJRE BUND\"");
          break;
        }
        list.values.insert(list.values.end(), {int16_t(n[1]), int16_t(n[0]), int16_t(n[3]), int16_t(n[2])});
        ++list.count;
        break;
    }
  }
  finish();
  // The same table twice would leave one of them unseen.
  for (size_t i = 0; i < result.entries.size(); ++i)
    for (size_t j = i + 1; j < result.entries.size(); ++j)
      if (result.entries[i].type == result.entries[j].type && result.entries[i].name == result.entries[j].name)
        result.errors.push_back(name + ": tabel " + std::to_string(result.entries[j].type) + "/" +
                                std::to_string(result.entries[j].name) + " findes to gange");
  return result;
}
