#include "tools/texts/textsource.h"

#include <cstdio>
#include <map>

#include "shell/core/text.h"

namespace {

constexpr char32_t kNotUtf8 = 0xFFFFFFFF;

// Decodes one UTF-8 sequence at text[pos]; overlong forms, surrogates and
// numbers above U+10FFFF count as not UTF-8. len is set to the bytes used.
char32_t decodeOne(std::string_view text, size_t pos, size_t& len) {
  const auto b = static_cast<unsigned char>(text[pos]);
  len = 1;
  if (b < 0x80) return b;
  char32_t cp = 0;
  char32_t min = 0;
  if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; len = 2; min = 0x80; }
  else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; len = 3; min = 0x800; }
  else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; len = 4; min = 0x10000; }
  else { return kNotUtf8; }
  if (pos + len > text.size()) { len = 1; return kNotUtf8; }
  for (size_t k = 1; k < len; ++k) {
    const auto c = static_cast<unsigned char>(text[pos + k]);
    if ((c & 0xC0) != 0x80) { len = 1; return kNotUtf8; }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kNotUtf8;
  return cp;
}

bool hasCp1252Form(std::string_view oneCharacter, char32_t cp) {
  const std::string b = utf8ToCp1252(oneCharacter);
  return b.size() == 1 && cp1252CodePoint(static_cast<unsigned char>(b[0])) == cp;
}

std::string_view trimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::string at(const std::string& file, int line) {
  return file + ":" + std::to_string(line) + ": ";
}

// "== 2008 Og-port ==" -> id and name; false when the line is not of that form.
bool parseHeader(std::string_view line, long& id, std::string& name) {
  line = trimSpaces(line);
  if (line.size() < 4 || line.substr(0, 2) != "==" || line.substr(line.size() - 2) != "==")
    return false;
  std::string_view inner = trimSpaces(line.substr(2, line.size() - 4));
  size_t digits = 0;
  while (digits < inner.size() && inner[digits] >= '0' && inner[digits] <= '9') ++digits;
  if (digits == 0 || digits > 6) return false;
  if (digits < inner.size() && inner[digits] != ' ') return false;
  id = std::stol(std::string(inner.substr(0, digits)));
  name = std::string(trimSpaces(inner.substr(digits)));
  return true;
}

struct cOpenBlock {
  cTextBlock block;
  std::vector<std::string> paragraphs;  // "" stands for one line break
  bool inParagraph = false;
  bool hadBadLine = false;  // an empty result is then no news
};

// Joins the lines of a block: paragraphs with one space, and one '\n' per
// empty line between them.
std::string joinBlock(const std::vector<std::string>& pieces) {
  size_t first = 0;
  size_t last = pieces.size();
  while (first < last && pieces[first].empty()) ++first;
  while (last > first && pieces[last - 1].empty()) --last;
  std::string text;
  for (size_t i = first; i < last; ++i) text += pieces[i].empty() ? "\n" : pieces[i];
  return text;
}

}  // namespace

const cTextBlock* cTextSource::find(uint16_t id) const {
  for (const cTextBlock& b : blocks)
    if (b.id == id) return &b;
  return nullptr;
}

eTextRole textRoleOf(uint16_t id) {
  if (id >= 1000 && id < 3000) return eTextRole::description;
  if (id >= 3000 && id < 5000) return eTextRole::tip;
  return eTextRole::plain;
}

std::optional<cBadCharacter> findBadCharacter(std::string_view utf8) {
  for (size_t pos = 0; pos < utf8.size();) {
    size_t len = 1;
    const char32_t cp = decodeOne(utf8, pos, len);
    if (cp == kNotUtf8) return cBadCharacter{pos, kNotUtf8, false};
    // A zero would end the text early, and the dialog draws no tabs.
    if (cp < 0x20 || cp == 0x7F) return cBadCharacter{pos, cp, true};
    if (!hasCp1252Form(utf8.substr(pos, len), cp)) return cBadCharacter{pos, cp, false};
    pos += len;
  }
  return std::nullopt;
}

std::string describeBadCharacter(const cBadCharacter& bad) {
  char buf[160];
  if (bad.codePoint == kNotUtf8) {
    std::snprintf(buf, sizeof buf, "byte %zu er ikke gyldig UTF-8", bad.offset + 1);
  } else if (bad.control) {
    std::snprintf(buf, sizeof buf, "styretegnet U+%04X hører ikke hjemme i en tekst",
                  static_cast<unsigned>(bad.codePoint));
  } else {
    std::snprintf(buf, sizeof buf, "tegnet U+%04X findes ikke i Windows-1252",
                  static_cast<unsigned>(bad.codePoint));
  }
  return buf;
}

cTextSource parseTextSource(std::string_view utf8, const std::string& fileName) {
  cTextSource out;
  std::optional<cOpenBlock> open;
  std::map<uint16_t, int> seen;  // id -> line of its header
  bool skipping = false;          // inside the block of a refused header
  bool reportedLoose = false;

  auto close = [&]() {
    if (!open) return;
    open->block.text = joinBlock(open->paragraphs);
    if (open->block.text.empty() && !open->hadBadLine)
      out.errors.push_back(at(fileName, open->block.line) + "tekst " +
                           std::to_string(open->block.id) + " er tom");
    out.blocks.push_back(std::move(open->block));
    open.reset();
  };

  if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
  int lineNo = 0;
  size_t pos = 0;
  while (pos < utf8.size()) {
    size_t end = utf8.find('\n', pos);
    if (end == std::string_view::npos) end = utf8.size();
    std::string_view line = utf8.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    if (!line.empty() && line.front() == '#') continue;
    const std::string_view trimmed = trimSpaces(line);
    if (auto bad = findBadCharacter(line)) {
      out.errors.push_back(at(fileName, lineNo) + describeBadCharacter(*bad));
      if (trimmed.substr(0, 2) == "==") {  // a damaged header: skip its block
        close();
        skipping = true;
      } else if (open) {
        open->hadBadLine = true;
      }
      continue;
    }

    if (trimmed.substr(0, 2) == "==") {
      close();
      skipping = true;
      long id = 0;
      std::string name;
      if (!parseHeader(trimmed, id, name)) {
        out.errors.push_back(at(fileName, lineNo) +
                             "overskriften kan ikke læses; den skal se sådan ud: == 2008 Og-port ==");
        continue;
      }
      if (id < 1 || id > 65535) {
        out.errors.push_back(at(fileName, lineNo) + "tekstnummeret " + std::to_string(id) +
                             " skal ligge mellem 1 og 65535");
        continue;
      }
      const auto tid = static_cast<uint16_t>(id);
      if (auto it = seen.find(tid); it != seen.end()) {
        out.errors.push_back(at(fileName, lineNo) + "tekst " + std::to_string(id) +
                             " findes allerede i linje " + std::to_string(it->second));
        continue;
      }
      seen[tid] = lineNo;
      skipping = false;
      open.emplace();
      open->block.id = tid;
      open->block.name = std::move(name);
      open->block.line = lineNo;
      continue;
    }

    if (!open) {
      // After a refused header its lines are skipped; text before the first
      // header is reported once.
      if (!trimmed.empty() && !skipping && !reportedLoose) {
        out.errors.push_back(at(fileName, lineNo) + "tekst uden overskrift (== nummer navn ==)");
        reportedLoose = true;
      }
      continue;
    }
    if (trimmed.empty()) {
      open->paragraphs.emplace_back();
      open->inParagraph = false;
    } else if (open->inParagraph) {
      open->paragraphs.back() += ' ';
      open->paragraphs.back() += trimmed;
    } else {
      open->paragraphs.emplace_back(trimmed);
      open->inParagraph = true;
    }
  }
  close();
  return out;
}
