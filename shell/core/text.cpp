#include "shell/core/text.h"

namespace {
// 0x80..0x9F of Windows-1252; 0 where the code page has no character.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}
}  // namespace

char32_t cp1252CodePoint(unsigned char c) {
  if (c >= 0x80 && c < 0xA0) return kHigh[c - 0x80] ? kHigh[c - 0x80] : c;
  return c;
}

std::string cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) appendUtf8(out, cp1252CodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    char32_t cp = 0;
    size_t len = 1;
    if (b < 0x80) cp = b;
    else if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; len = 2; }
    else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; len = 3; }
    else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; len = 4; }
    else { out += '?'; ++i; continue; }
    if (i + len > text.size()) { out += '?'; break; }
    bool valid = true;
    for (size_t k = 1; k < len; ++k) {
      const auto cb = static_cast<unsigned char>(text[i + k]);
      if ((cb & 0xC0) != 0x80) { valid = false; break; }
      cp = (cp << 6) | (cb & 0x3F);
    }
    if (!valid) { out += '?'; ++i; continue; }
    i += len;
    char mapped = '?';
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      mapped = static_cast<char>(cp);
    } else {
      for (int k = 0; k < 32; ++k)
        if (kHigh[k] && kHigh[k] == cp) { mapped = static_cast<char>(0x80 + k); break; }
    }
    out += mapped;
  }
  return out;
}
