#include "player/playernames.h"

#include <algorithm>
#include <cstdint>

std::string programBaseName(const std::string& programPath) {
  const size_t slash = programPath.rfind('/');
  std::string name = slash == std::string::npos ? programPath : programPath.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

std::string lowerCaseText(const std::string& text) {
  std::string out = text;
  for (size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    } else if (c == 0xC3 && i + 1 < out.size()) {
      // U+00C0 ... U+00DE are C3 80 ... C3 9E; the small letters lie 0x20 higher
      // (U+00D7, the multiplication sign, has none).
      const auto next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return out;
}

std::string playerTitle(const std::string& programPath) {
  return "Selvstændig opfindelse - " + lowerCaseText(programBaseName(programPath));
}

cPagePlace fitPictureToPage(int width, int height, const cPagePlace& page) {
  if (width <= 0 || height <= 0 || page.width <= 0 || page.height <= 0) return {};
  // Compare the proportions in whole numbers: the picture is wider than the
  // page when width / height > page width / page height.
  int64_t w = page.width, h = page.height;
  if (int64_t(width) * page.height > int64_t(page.width) * height)
    h = std::max<int64_t>(1, int64_t(page.width) * height / width);
  else
    w = std::max<int64_t>(1, int64_t(page.height) * width / height);
  return {page.x + int(page.width - w) / 2, page.y + int(page.height - h) / 2, int(w), int(h)};
}
