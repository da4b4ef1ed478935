#include "shell/core/profile.h"

namespace profile {

static char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::optional<std::string_view> sectionName(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return line.substr(1, close - 1);
}

bool splitKey(std::string_view line, std::string_view& key, std::string_view& value) {
  line = trim(line);
  if (line.empty() || line.front() == '[' || line.front() == ';') return false;
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    key = line;
    value = {};
    return true;
  }
  key = trim(line.substr(0, eq));
  value = trim(line.substr(eq + 1));
  return true;
}

}  // namespace profile

using namespace profile;

void cProfile::parse(std::string_view text) {
  lines_.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines_.push_back({std::string(line)});
    start = end + 1;
  }
}

std::string cProfile::text() const {
  std::string out;
  for (const cLine& l : lines_) {
    out += l.raw;
    out += '\n';
  }
  return out;
}

size_t cProfile::findSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    auto name = sectionName(lines_[i].raw);
    if (name && equalsNoCase(*name, section)) return i;
  }
  return std::string::npos;
}

size_t cProfile::sectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && !sectionName(lines_[i].raw)) ++i;
  return i;
}

size_t cProfile::findKey(size_t header, std::string_view key) const {
  const size_t end = sectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    std::string_view k, v;
    if (splitKey(lines_[i].raw, k, v) && equalsNoCase(k, key)) return i;
  }
  return std::string::npos;
}

std::optional<std::string> cProfile::get(std::string_view section, std::string_view key) const {
  const size_t header = findSection(section);
  if (header == std::string::npos) return std::nullopt;
  const size_t at = findKey(header, key);
  if (at == std::string::npos) return std::nullopt;
  std::string_view k, v;
  splitKey(lines_[at].raw, k, v);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

void cProfile::set(std::string_view section, std::string_view key, std::string_view value) {
  auto oneLine = [](std::string_view s) {
    std::string out;
    for (char c : s) out += (c == '\n' || c == '\r') ? ' ' : c;
    return out;
  };
  const std::string cleanKey = oneLine(key);
  key = cleanKey;
  std::string line = cleanKey + "=" + oneLine(value);

  size_t header = findSection(section);
  if (header == std::string::npos) {
    // A blank line between sections, as the profile functions leave them.
    if (!lines_.empty() && !trim(lines_.back().raw).empty()) lines_.push_back({""});
    std::string headerLine("[");
    headerLine.append(section);
    headerLine += ']';
    lines_.push_back({std::move(headerLine)});
    lines_.push_back({std::move(line)});
    return;
  }
  const size_t at = findKey(header, key);
  if (at != std::string::npos) {
    // Keep the spelling of the key as the file had it.
    std::string_view k, v;
    splitKey(lines_[at].raw, k, v);
    lines_[at].raw = std::string(k) + line.substr(key.size());
    return;
  }
  // After the last non-blank line of the section.
  size_t insertAt = sectionEnd(header);
  while (insertAt > header + 1 && trim(lines_[insertAt - 1].raw).empty()) --insertAt;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), {std::move(line)});
}

bool cProfile::remove(std::string_view section, std::string_view key) {
  const size_t header = findSection(section);
  if (header == std::string::npos) return false;
  const size_t at = findKey(header, key);
  if (at == std::string::npos) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
  return true;
}

bool cProfile::removeSection(std::string_view section) {
  const size_t header = findSection(section);
  if (header == std::string::npos) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
               lines_.begin() + static_cast<std::ptrdiff_t>(sectionEnd(header)));
  return true;
}
