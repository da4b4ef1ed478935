#include "dialogs/combotexts.h"

#include <cstring>

#include "shell/core/byteio.h"

std::vector<cComboText> parseComboTexts(std::span<const uint8_t> bytes) {
  std::vector<cComboText> records;
  size_t at = 0;
  while (bytes.size() - at >= 2) {
    cComboText r;
    r.control = byteio::getU16LE(&bytes[at]);
    if (r.control == 0) break;
    if (bytes.size() - at < 8) break;
    r.message = byteio::getU16LE(&bytes[at + 2]);
    const uint32_t length = byteio::getU32LE(&bytes[at + 4]);
    at += 8;
    if (length == 0 || length > bytes.size() - at) break;
    const char* text = reinterpret_cast<const char*>(&bytes[at]);
    r.text.assign(text, strnlen(text, length));
    at += length;
    records.push_back(std::move(r));
  }
  return records;
}

std::vector<uint8_t> comboTextBytes(const std::vector<cComboText>& records) {
  std::vector<uint8_t> out;
  for (const cComboText& r : records) {
    const size_t at = out.size();
    out.resize(at + 8);
    byteio::putU16LE(&out[at], r.control);
    byteio::putU16LE(&out[at + 2], r.message);
    byteio::putU32LE(&out[at + 4], static_cast<uint32_t>(r.text.size() + 1));
    out.insert(out.end(), r.text.begin(), r.text.end());
    out.push_back(0);
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}
