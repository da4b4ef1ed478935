// The settings-file parser against arbitrary bytes: reading, editing and
// writing back must neither crash nor let a value add lines of its own.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/core/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // The first line names the section and key to work on; the rest is the file.
  const size_t nl = text.find('\n');
  const std::string_view head = nl == std::string_view::npos ? text : text.substr(0, nl);
  const std::string_view body = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
  const size_t eq = head.find('=');
  const std::string section(head.substr(0, eq == std::string_view::npos ? 0 : eq));
  const std::string key(eq == std::string_view::npos ? head : head.substr(eq + 1));

  cProfile p(body);
  (void)p.get(section, key);
  const size_t lines = p.lineCount();
  p.set(section, key, body.substr(0, 64));
  auto back = p.get(section, key);
  // A key that could be found before setting must be found after it.
  if (!key.empty() && key.find_first_of("[;=\r") == std::string::npos &&
      key.find_first_not_of(" \t\r\v\f") != std::string::npos && key == std::string(profile::trim(key)) &&
      section.find_first_of("]\n\r") == std::string::npos && section == std::string(profile::trim(section)) &&
      !back)
    std::abort();
  if (p.lineCount() > lines + 3) std::abort();  // a blank line, a header and the key at most
  cProfile again(p.text());
  (void)again.get(section, key);
  p.remove(section, key);
  p.removeSection(section);
  return 0;
}
