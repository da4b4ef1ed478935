// A settings file in the Windows profile format, held as its lines.
//
//   [Section]          a section header; names compare without case
//   Key=Value          a key; keys compare without case; the first match wins
//   anything else      kept as it stands and otherwise ignored
//
// Reading follows the Windows profile functions: the key and the value are
// trimmed of spaces and tabs, and a value wholly enclosed in matching single
// or double quotes loses them. Editing keeps every other line as it was.
// Texts are bytes (Windows-1252); nothing is converted.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class cProfile {
 public:
  cProfile() = default;
  explicit cProfile(std::string_view text) { parse(text); }

  void parse(std::string_view text);
  // The file's text; lines end with "\n".
  std::string text() const;

  // The value of key in section, or nothing when either is absent.
  std::optional<std::string> get(std::string_view section, std::string_view key) const;
  // Sets key in section, adding the section at the end and the key at the end
  // of its section when they are new. Line breaks in the value become spaces,
  // so a value can never add lines of its own.
  void set(std::string_view section, std::string_view key, std::string_view value);
  // Removes the key (true when there was one).
  bool remove(std::string_view section, std::string_view key);
  // Removes the section with all its keys.
  bool removeSection(std::string_view section);

  size_t lineCount() const { return lines_.size(); }

 private:
  struct cLine {
    std::string raw;
  };
  // Index of the header line of the section, or npos.
  size_t findSection(std::string_view section) const;
  // End of the section that starts at header (the next header or the end).
  size_t sectionEnd(size_t header) const;
  size_t findKey(size_t header, std::string_view key) const;

  std::vector<cLine> lines_;
};

// Helpers of the format, exposed for tests.
namespace profile {
bool equalsNoCase(std::string_view a, std::string_view b);
std::string_view trim(std::string_view s);
// For a header line, the section name; else nothing.
std::optional<std::string_view> sectionName(std::string_view line);
// For a key line, the key and the raw value (trimmed); else nothing.
bool splitKey(std::string_view line, std::string_view& key, std::string_view& value);
}  // namespace profile
