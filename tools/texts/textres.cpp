#include "tools/texts/textres.h"

#include <algorithm>

#include "shell/core/byteio.h"
#include "shell/core/text.h"

namespace {
std::string at(const std::string& file, int line) {
  return file + ":" + std::to_string(line) + ": ";
}
}  // namespace

std::optional<std::vector<uint8_t>> encodeHelpText(std::string_view utf8, std::string& error) {
  // Line breaks are the one control character a text may hold; check the
  // pieces between them.
  size_t start = 0;
  while (true) {
    const size_t nl = utf8.find('\n', start);
    const std::string_view piece =
        utf8.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start);
    if (auto bad = findBadCharacter(piece)) {
      error = describeBadCharacter(*bad);
      return std::nullopt;
    }
    if (nl == std::string_view::npos) break;
    start = nl + 1;
  }
  const std::string cp = utf8ToCp1252(utf8);
  std::vector<uint8_t> out;
  out.reserve(cp.size() + 8);
  for (char c : cp) {
    if (c == '\n') out.push_back('\r');
    out.push_back(static_cast<uint8_t>(c));
  }
  out.push_back(0);
  return out;
}

std::array<uint8_t, 8> helpLinkRecord(uint16_t kindTextNumber) {
  std::array<uint8_t, 8> r{};
  byteio::putU16LE(&r[0], kindTextNumber);
  byteio::putU16LE(&r[2], 0);
  byteio::putU16LE(&r[4], kindTextNumber);
  byteio::putU16LE(&r[6], static_cast<uint16_t>(kindTextNumber + kTipOffset));
  return r;
}

std::vector<std::string> checkTextPairs(const cTextSource& source, const std::string& fileName) {
  std::vector<std::string> errors;
  for (const cTextBlock& b : source.blocks) {
    switch (textRoleOf(b.id)) {
      case eTextRole::description:
        if (!source.find(static_cast<uint16_t>(b.id + kTipOffset)))
          errors.push_back(at(fileName, b.line) + "beskrivelse " + std::to_string(b.id) +
                           " mangler sit tip " + std::to_string(b.id + kTipOffset));
        break;
      case eTextRole::tip:
        if (!source.find(static_cast<uint16_t>(b.id - kTipOffset)))
          errors.push_back(at(fileName, b.line) + "tip " + std::to_string(b.id) +
                           " hører ikke til nogen beskrivelse (" +
                           std::to_string(b.id - kTipOffset) + " mangler)");
        break;
      case eTextRole::plain:
        break;
    }
  }
  return errors;
}

cTextResources buildTextResources(const cTextSource& source, const std::string& fileName,
                                  std::optional<uint16_t> onlyId) {
  cTextResources out;
  out.errors = source.errors;
  for (std::string& e : checkTextPairs(source, fileName)) out.errors.push_back(std::move(e));

  for (const cTextBlock& b : source.blocks) {
    std::string error;
    auto bytes = encodeHelpText(b.text, error);
    if (!bytes) {
      out.errors.push_back(at(fileName, b.line) + error);
      continue;
    }
    if (onlyId && *onlyId != b.id) continue;
    cResEntry e;
    e.type = kHelpTextType;
    e.name = b.id;
    e.data = std::move(*bytes);
    out.entries.push_back(std::move(e));
  }
  if (onlyId && !source.find(*onlyId))
    out.errors.push_back(fileName + ": tekst " + std::to_string(*onlyId) + " findes ikke");

  if (!onlyId) {
    for (const cTextBlock& b : source.blocks) {
      if (textRoleOf(b.id) != eTextRole::description) continue;
      const auto rec = helpLinkRecord(b.id);
      cResEntry e;
      e.type = kHelpLinkType;
      e.name = b.id;
      e.data.assign(rec.begin(), rec.end());
      out.entries.push_back(std::move(e));
    }
  }
  std::sort(out.entries.begin(), out.entries.end(), [](const cResEntry& a, const cResEntry& b) {
    return a.type != b.type ? a.type < b.type : a.name < b.name;
  });
  if (!out.ok()) out.entries.clear();
  return out;
}
