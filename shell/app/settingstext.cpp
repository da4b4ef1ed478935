#include "shell/app/settingstext.h"

#include <cstring>

#include "shell/core/text.h"

namespace {

std::string quoted(const char* bytes, size_t size) {
  const std::string utf8 = cp1252ToUtf8(std::string(bytes, strnlen(bytes, size)));
  std::string out = "\"";
  for (char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c; break;
    }
  }
  return out + "\"";
}

}  // namespace

std::string settingsText(const cGadget& gadget) {
  const cSettingsBlock& s = gadget.settings;
  std::string out = "gadget " + typeCodeText(gadget.typeCode) + "\n";
  for (int i = 0; i < 4; ++i) out += "  choice " + std::to_string(i) + " " + std::to_string(s.bools[i]) + "\n";
  for (int i = 0; i < 4; ++i) out += "  number " + std::to_string(i) + " " + std::to_string(s.values[i]) + "\n";
  for (int bit = 0; bit < 32; ++bit)
    if (s.flag(bit)) out += "  flag " + std::to_string(bit) + "\n";
  if (gadget.singleText) {
    out += "  longtext " + quoted(s.texts, kSingleTextLength) + "\n";
  } else {
    for (int i = 0; i < kTextCount; ++i)
      out += "  text " + std::to_string(i) + " " + quoted(s.text(i), kTextLength) + "\n";
  }
  return out;
}
