#include "tools/invention/inventiontext.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <sstream>

#include "engine/kinds.h"
#include "shell/core/byteio.h"
#include "shell/core/text.h"
#include "shell/core/types.h"

namespace {

struct cToken {
  std::string text;
  bool quoted = false;
};

struct cGadgetText {
  std::string code;
  uint32_t key = 0;
  int x = 0, y = 0;
  bool locked = false;
  uint32_t flags = 0;
  uint8_t bools[4] = {};
  int32_t values[4] = {};
  char texts[240] = {};
};

struct cWireText {
  size_t from, to;
  int fromPin, toPin;
  std::vector<std::pair<int, int>> knots;  // x, y
  bool locked = false;
};

class cCompiler {
 public:
  cInventionTextResult run(const std::string& source);

 private:
  bool fail(const std::string& message) {
    if (error_.empty()) error_ = "linje " + std::to_string(line_) + ": " + message;
    return false;
  }
  bool tokenize(const std::string& line, std::vector<cToken>& out);
  bool number(const cToken& t, long low, long high, long& out);
  bool statement(const std::vector<cToken>& t);
  bool gadget(const std::vector<cToken>& t);
  bool setting(const std::vector<cToken>& t);
  bool wire(const std::vector<cToken>& t);
  bool end(const std::string& text, size_t& gadget, long& pin);
  bool point(const std::string& text, int& x, int& y);
  std::vector<uint8_t> image() const;

  int line_ = 0;
  std::string error_;
  uint16_t version_ = 4;
  uint16_t background_ = 0;
  std::vector<cGadgetText> gadgets_;
  std::map<std::string, size_t> names_;
  std::vector<cWireText> wires_;
  std::vector<std::pair<std::string, int16_t>> limits_;
};

bool cCompiler::tokenize(const std::string& line, std::vector<cToken>& out) {
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      cToken t{"", true};
      for (++i;; ++i) {
        if (i >= line.size()) return fail("teksten mangler sit afsluttende \"");
        if (line[i] == '"') break;
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        t.text += line[i];
      }
      ++i;
      out.push_back(t);
    } else {
      cToken t;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#')
        t.text += line[i++];
      out.push_back(t);
    }
  }
  return true;
}

bool cCompiler::number(const cToken& t, long low, long high, long& out) {
  char* e = nullptr;
  out = std::strtol(t.text.c_str(), &e, 0);
  if (t.quoted || t.text.empty() || *e != '\0') return fail("\"" + t.text + "\" er ikke et tal");
  if (out < low || out > high)
    return fail(t.text + " ligger ikke mellem " + std::to_string(low) + " og " + std::to_string(high));
  return true;
}

bool cCompiler::point(const std::string& text, int& x, int& y) {
  const size_t comma = text.find(',');
  long a = 0, b = 0;
  if (comma == std::string::npos) return fail("\"" + text + "\" skal skrives x,y");
  if (!number({text.substr(0, comma)}, -32768, 32767, a) || !number({text.substr(comma + 1)}, -32768, 32767, b))
    return false;
  x = int(a);
  y = int(b);
  return true;
}

bool cCompiler::end(const std::string& text, size_t& gadget, long& pin) {
  const size_t dot = text.rfind('.');
  if (dot == std::string::npos) return fail("\"" + text + "\" skal skrives NAVN.BEN");
  auto it = names_.find(text.substr(0, dot));
  if (it == names_.end()) return fail("der er ingen dims, der hedder " + text.substr(0, dot));
  gadget = it->second;
  return number({text.substr(dot + 1)}, 0, 65535, pin);
}

bool cCompiler::gadget(const std::vector<cToken>& t) {
  if (t.size() < 7 || t[3].text != "x" || t[5].text != "y")
    return fail("skriv: gadget KODE NAVN x X y Y [key K] [locked]");
  cGadgetText g;
  g.code = t[1].text;
  if (g.code.size() != 4 || !kindByCode(makeTypeCode(g.code)))
    return fail("\"" + g.code + "\" er ikke en slags dims");
  if (names_.count(t[2].text)) return fail("navnet " + t[2].text + " er brugt før");
  long x = 0, y = 0;
  if (!number(t[4], -32768, 32767, x) || !number(t[6], -32768, 32767, y)) return false;
  g.x = int(x);
  g.y = int(y);
  g.key = 0xFF000000u | uint32_t(gadgets_.size() + 1);
  for (size_t i = 7; i < t.size(); ++i) {
    if (t[i].text == "locked") {
      g.locked = true;
    } else if (t[i].text == "key" && i + 1 < t.size()) {
      long k = 0;
      if (!number(t[++i], 0, 0xFFFFFFFFl, k)) return false;
      g.key = uint32_t(k);
    } else {
      return fail("ukendt ord \"" + t[i].text + "\"");
    }
  }
  names_[t[2].text] = gadgets_.size();
  gadgets_.push_back(g);
  return true;
}

bool cCompiler::setting(const std::vector<cToken>& t) {
  if (gadgets_.empty()) return fail(t[0].text + " skal stå under en dims");
  cGadgetText& g = gadgets_.back();
  const std::string& what = t[0].text;
  long i = 0, v = 0;
  if (what == "choice" || what == "number") {
    if (t.size() != 3) return fail("skriv: " + what + " NR VÆRDI");
    if (!number(t[1], 0, 3, i)) return false;
    if (what == "choice") {
      if (!number(t[2], 0, 255, v)) return false;
      g.bools[i] = uint8_t(v);
    } else {
      if (!number(t[2], INT32_MIN, INT32_MAX, v)) return false;
      g.values[i] = int32_t(v);
    }
    return true;
  }
  if (what == "flag") {
    if (t.size() != 2 || !number(t[1], 0, 31, i)) return t.size() == 2 ? false : fail("skriv: flag NR");
    g.flags |= 1u << i;
    return true;
  }
  const bool single = what == "longtext";
  const size_t at = single ? 1 : 2;
  if (t.size() != at + 1 || !t[at].quoted) return fail(single ? "skriv: longtext \"...\"" : "skriv: text NR \"...\"");
  if (!single && !number(t[1], 0, 3, i)) return false;
  const std::string bytes = utf8ToCp1252(t[at].text);
  const size_t room = single ? 239 : 59;
  if (bytes.size() > room) return fail("teksten er længere end " + std::to_string(room) + " tegn");
  std::memcpy(g.texts + (single ? 0 : 60 * i), bytes.data(), bytes.size());
  return true;
}

bool cCompiler::wire(const std::vector<cToken>& t) {
  if (t.size() < 4 || t[2].text != "->") return fail("skriv: wire NAVN.BEN -> NAVN.BEN [via X,Y ...] [locked]");
  cWireText w;
  long a = 0, b = 0;
  if (!end(t[1].text, w.from, a) || !end(t[3].text, w.to, b)) return false;
  w.fromPin = int(a);
  w.toPin = int(b);
  bool knots = false;
  for (size_t i = 4; i < t.size(); ++i) {
    if (t[i].text == "locked") {
      w.locked = true;
      knots = false;
    } else if (t[i].text == "via") {
      knots = true;
    } else if (knots) {
      int x = 0, y = 0;
      if (!point(t[i].text, x, y)) return false;
      w.knots.push_back({x, y});
    } else {
      return fail("ukendt ord \"" + t[i].text + "\"");
    }
  }
  wires_.push_back(w);
  return true;
}

bool cCompiler::statement(const std::vector<cToken>& t) {
  const std::string& what = t[0].text;
  long v = 0;
  if (what == "version") {
    if (t.size() != 2 || !number(t[1], 0, 65535, v)) return t.size() == 2 ? false : fail("skriv: version N");
    version_ = uint16_t(v);
    return true;
  }
  if (what == "background") {
    static const std::map<std::string, uint16_t> names = {
        {"none", 0}, {"sand", 700}, {"bølger", 701}, {"stål", 702}, {"0", 0}, {"700", 700}, {"701", 701}, {"702", 702}};
    if (t.size() != 2 || !names.count(t[1].text)) return fail("baggrunden er none, sand, bølger eller stål");
    background_ = names.at(t[1].text);
    return true;
  }
  if (what == "gadget") return gadget(t);
  if (what == "wire") return wire(t);
  if (what == "limit") {
    if (t.size() != 3 || !kindByCode(makeTypeCode(t[1].text)) || t[1].text.size() != 4)
      return fail("skriv: limit KODE N");
    if (!number(t[2], 0, 32767, v)) return false;
    limits_.push_back({t[1].text, int16_t(v)});
    return true;
  }
  if (what == "choice" || what == "number" || what == "flag" || what == "text" || what == "longtext")
    return setting(t);
  return fail("ukendt ord \"" + what + "\"");
}

std::vector<uint8_t> cCompiler::image() const {
  cByteWriter w(cEndian::big);
  w.bytes("FORM", 4);
  w.u32(0);
  w.bytes("Gadf", 4);
  w.bytes("fver", 4);
  w.u32(2);
  w.u16(version_);
  w.bytes("back", 4);
  w.u32(2);
  w.u16(background_);
  for (const cGadgetText& g : gadgets_) {
    w.bytes(g.code.data(), 4);
    w.u32(336);
    w.u32(g.key);
    w.s16(int16_t(g.y));
    w.s16(int16_t(g.x));
    w.u32(g.flags);
    w.bytes(g.bools, 4);
    for (int32_t v : g.values) w.s32(v);
    w.bytes(g.texts, 240);
    w.u8(g.locked ? 1 : 0);
    w.zeros(63);
  }
  for (const cWireText& c : wires_) {
    w.bytes("conn", 4);
    w.u32(uint32_t(16 + 4 * c.knots.size()));
    w.u32(gadgets_[c.from].key);
    w.u32(gadgets_[c.to].key);
    w.u16(uint16_t(c.fromPin));
    w.u16(uint16_t(c.toPin));
    w.u8(c.locked ? 1 : 0);
    w.u8(0);
    w.u16(uint16_t(c.knots.size()));
    for (auto [x, y] : c.knots) {
      w.s16(int16_t(y));
      w.s16(int16_t(x));
    }
  }
  if (!limits_.empty()) {
    w.bytes("numG", 4);
    w.u32(uint32_t(2 + 6 * limits_.size()));
    w.u16(uint16_t(limits_.size()));
    for (const auto& [code, n] : limits_) {
      w.bytes(code.data(), 4);
      w.s16(n);
    }
  }
  std::vector<uint8_t> out = w.release();
  byteio::putU32BE(out.data() + 4, uint32_t(out.size() - 8));
  return out;
}

cInventionTextResult cCompiler::run(const std::string& source) {
  std::istringstream in(source);
  std::string text;
  while (std::getline(in, text)) {
    ++line_;
    std::vector<cToken> t;
    if (!tokenize(text, t)) break;
    if (t.empty()) continue;
    if (!statement(t)) break;
  }
  if (!error_.empty()) return {{}, error_};
  return {image(), ""};
}

}  // namespace

cInventionTextResult compileInventionText(const std::string& source) { return cCompiler().run(source); }
