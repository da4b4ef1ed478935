#include "dialogs/combosource.h"

#include <charconv>
#include <set>
#include <utility>

#include "dialogs/combotexts.h"
#include "shell/core/text.h"

namespace {

std::string atLine(int line, const std::string& what) {
  return "linje " + std::to_string(line) + ": " + what;
}

// "[DIALOG CONTROL]" with two numbers of 1 to 65535.
bool readHeader(std::string_view line, uint16_t& dialog, uint16_t& control) {
  if (line.size() < 5 || line.front() != '[' || line.back() != ']') return false;
  line = line.substr(1, line.size() - 2);
  unsigned a = 0, b = 0;
  const char* p = line.data();
  const char* end = line.data() + line.size();
  auto r = std::from_chars(p, end, a);
  if (r.ec != std::errc() || r.ptr == end || *r.ptr != ' ') return false;
  r = std::from_chars(r.ptr + 1, end, b);
  if (r.ec != std::errc() || r.ptr != end) return false;
  if (a == 0 || a > 0xFFFF || b == 0 || b > 0xFFFF) return false;
  dialog = static_cast<uint16_t>(a);
  control = static_cast<uint16_t>(b);
  return true;
}

}  // namespace

cComboSource parseComboSource(std::string_view utf8) {
  cComboSource source;
  int lineNumber = 0;
  size_t at = 0;
  while (at <= utf8.size()) {
    const size_t end = utf8.find('\n', at);
    std::string_view line = utf8.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    at = end == std::string_view::npos ? utf8.size() + 1 : end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      cComboSourceList list;
      if (!readHeader(line, list.dialog, list.control)) {
        source.error = atLine(lineNumber, "forventede [DIALOG KONTROL], fandt \"" + std::string(line) + "\"");
        return source;
      }
      list.line = lineNumber;
      source.lists.push_back(std::move(list));
      continue;
    }
    if (source.lists.empty()) {
      source.error = atLine(lineNumber, "en tekst før den første [DIALOG KONTROL]");
      return source;
    }
    const std::string text = utf8ToCp1252(line);
    if (cp1252ToUtf8(text) != line) {
      source.error = atLine(lineNumber, "teksten har tegn, som Windows-1252 ikke har");
      return source;
    }
    source.lists.back().entries.push_back(text);
  }
  return source;
}

std::string checkComboSource(const cComboSource& source,
                             const std::map<uint16_t, cDialogTemplate>& templates) {
  std::set<std::pair<uint16_t, uint16_t>> seen;
  for (const cComboSourceList& list : source.lists) {
    const std::string where = "[" + std::to_string(list.dialog) + " " + std::to_string(list.control) + "]";
    if (!seen.insert({list.dialog, list.control}).second)
      return atLine(list.line, where + " står der to gange");
    if (list.entries.empty()) return atLine(list.line, where + " har ingen tekster");
    const auto t = templates.find(list.dialog);
    if (t == templates.end()) return atLine(list.line, "der er ingen dialog " + std::to_string(list.dialog));
    const cDialogItemTemplate* item = t->second.item(list.control);
    if (!item || !isWindowClass(item->className, "ComboBox"))
      return atLine(list.line, "dialog " + std::to_string(list.dialog) + " har ingen liste med nummer " +
                                   std::to_string(list.control));
  }
  return {};
}

std::vector<cResEntry> comboTextResources(const cComboSource& source, uint16_t language) {
  std::map<uint16_t, std::vector<cComboText>> byDialog;
  for (const cComboSourceList& list : source.lists)
    for (const std::string& text : list.entries)
      byDialog[list.dialog].push_back({list.control, kMessageAddComboString, text});
  std::vector<cResEntry> entries;
  for (const auto& [dialog, records] : byDialog) {
    cResEntry e;
    e.type = kComboTextResourceType;
    e.name = dialog;
    e.language = language;
    e.data = comboTextBytes(records);
    entries.push_back(std::move(e));
  }
  return entries;
}
