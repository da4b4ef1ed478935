#include "shell/core/strings.h"

#include "shell/core/byteio.h"

namespace {

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// The string at index in a block: nothing when the block is cut short.
std::optional<std::string> stringInBlock(std::span<const uint8_t> block, unsigned index) {
  cByteReader r(block, cEndian::little);
  for (unsigned i = 0; i < index; ++i) r.skip(size_t(r.u16()) * 2);
  const uint16_t count = r.u16();
  auto units = r.take(size_t(count) * 2);
  if (r.failed()) return std::nullopt;
  return utf16leToUtf8(units.data(), count);
}

}  // namespace

std::string utf16leToUtf8(const uint8_t* units, size_t count) {
  std::string out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    char32_t c = byteio::getU16LE(units + 2 * i);
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < count) {
      const char32_t low = byteio::getU16LE(units + 2 * (i + 1));
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      } else {
        c = 0xFFFD;
      }
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    appendUtf8(out, c);
  }
  return out;
}

std::u16string utf8ToUtf16(std::string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    const size_t extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : 4;
    char32_t c = extra == 0 ? b : extra == 1 ? b & 0x1F : extra == 2 ? b & 0x0F : b & 0x07;
    bool ok = extra < 4 && i + extra < text.size();
    for (size_t k = 1; ok && k <= extra; ++k) {
      const unsigned char cont = static_cast<unsigned char>(text[i + k]);
      ok = (cont & 0xC0) == 0x80;
      c = (c << 6) | (cont & 0x3F);
    }
    if (!ok) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    i += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += char16_t(0xD800 + (c >> 10));
      out += char16_t(0xDC00 + (c & 0x3FF));
    } else {
      out += char16_t(c);
    }
  }
  return out;
}

std::optional<std::string> loadString(cResourceModule& module, uint16_t id) {
  auto block = module.find(kStringResourceType, static_cast<uint16_t>(id / 16 + 1));
  if (!block) return std::nullopt;
  return stringInBlock(*block, id % 16);
}

std::string loadString(uint16_t id) {
  const cResourceHandle h = findOwnResource(kStringResourceType, static_cast<uint16_t>(id / 16 + 1));
  return stringInBlock(lockResource(h), id % 16).value_or(std::string());
}

std::map<uint16_t, std::vector<uint8_t>> makeStringTable(const std::map<uint16_t, std::string>& strings) {
  std::map<uint16_t, std::vector<uint8_t>> blocks;
  std::map<uint16_t, std::map<unsigned, std::u16string>> byBlock;
  for (const auto& [id, text] : strings) byBlock[uint16_t(id / 16 + 1)][id % 16] = utf8ToUtf16(text);
  for (const auto& [block, entries] : byBlock) {
    cByteWriter w(cEndian::little);
    for (unsigned i = 0; i < 16; ++i) {
      auto it = entries.find(i);
      const std::u16string text = it == entries.end() ? std::u16string() : it->second;
      w.u16(static_cast<uint16_t>(text.size()));
      for (char16_t c : text) w.u16(c);
    }
    blocks[block] = w.release();
  }
  return blocks;
}
