#include <cctype>
#include <cstdlib>
#include <map>
#include <regex>
#include <sstream>

#include "tools/artwork/artwork.h"

namespace {

// The attributes of one tag, by name.
std::map<std::string, std::string> attributesOf(const std::string& tag) {
  std::map<std::string, std::string> out;
  static const std::regex attr(R"re(([A-Za-z_:][-A-Za-z0-9_:.]*)\s*=\s*("([^"]*)"|'([^']*)'))re");
  for (auto it = std::sregex_iterator(tag.begin(), tag.end(), attr); it != std::sregex_iterator(); ++it)
    out[(*it)[1]] = (*it)[3].matched ? (*it)[3].str() : (*it)[4].str();
  return out;
}

bool readInts(const std::string& text, std::vector<int>& out, size_t count) {
  std::string t = text;
  for (char& c : t)
    if (c == ',') c = ' ';
  std::istringstream in(t);
  out.clear();
  std::string word;
  while (in >> word) {
    char* end = nullptr;
    const double v = std::strtod(word.c_str(), &end);
    if (*end != '\0' || v != static_cast<int>(v)) return false;
    out.push_back(static_cast<int>(v));
  }
  return out.size() == count;
}

int lineOf(const std::string& text, size_t pos) {
  int line = 1;
  for (size_t i = 0; i < pos && i < text.size(); ++i)
    if (text[i] == '\n') ++line;
  return line;
}

}  // namespace

uint16_t frameSetIdFromPath(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  long id = 0;
  size_t i = 0;
  while (i < base.size() && std::isdigit(static_cast<unsigned char>(base[i])) && id <= 65535)
    id = id * 10 + (base[i++] - '0');
  return (i == 0 || id < 1 || id > 65535) ? 0 : static_cast<uint16_t>(id);
}

cSvgFrames parseSvgFrames(const std::string& svg, const std::string& name) {
  cSvgFrames result;
  static const std::regex svgTag(R"(<svg\b[^>]*>)");
  bool first = true;
  std::map<int, cSvgFrame> byNumber;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), svgTag); it != std::sregex_iterator(); ++it) {
    const std::string tag = it->str();
    const auto a = attributesOf(tag);
    const int line = lineOf(svg, static_cast<size_t>(it->position()));
    auto fail = [&](const std::string& what) {
      result.errors.push_back(name + ":" + std::to_string(line) + ": " + what);
    };
    std::vector<int> n;
    if (first) {
      first = false;
      if (!a.count("width") || !a.count("height") || !readInts(a.at("width"), n, 1) || n[0] <= 0) {
        fail("det yderste <svg> skal have width og height i hele punkter");
        continue;
      }
      result.sheetWidth = n[0];
      readInts(a.at("height"), n, 1);
      result.sheetHeight = n.empty() ? 0 : n[0];
      continue;
    }
    if (!a.count("data-frame")) continue;
    cSvgFrame f;
    f.line = line;
    if (!readInts(a.at("data-frame"), n, 1) || n[0] < 1) {
      fail("data-frame skal være et billednummer fra 1");
      continue;
    }
    f.number = n[0];
    std::vector<int> x, y, w, h, box;
    if (!a.count("x") || !a.count("y") || !a.count("width") || !a.count("height") || !a.count("viewBox") ||
        !readInts(a.at("x"), x, 1) || !readInts(a.at("y"), y, 1) || !readInts(a.at("width"), w, 1) ||
        !readInts(a.at("height"), h, 1) || !readInts(a.at("viewBox"), box, 4)) {
      fail("billede " + std::to_string(f.number) + " skal have x, y, width, height og viewBox i hele punkter");
      continue;
    }
    if (box[2] != w[0] || box[3] != h[0] || w[0] <= 0 || h[0] <= 0) {
      fail("billede " + std::to_string(f.number) + ": viewBox skal have samme størrelse som width og height");
      continue;
    }
    f.x = x[0];
    f.y = y[0];
    f.rect = cRect(box[1], box[0], box[1] + box[3], box[0] + box[2]);
    if (f.x < 0 || f.y < 0 || f.x + w[0] > result.sheetWidth || f.y + h[0] > result.sheetHeight) {
      fail("billede " + std::to_string(f.number) + " ligger uden for arket");
      continue;
    }
    if (byNumber.count(f.number)) {
      fail("billede " + std::to_string(f.number) + " findes to gange");
      continue;
    }
    byNumber[f.number] = f;
  }
  if (first) result.errors.push_back(name + ": ingen <svg> i filen");
  int expected = 1;
  for (const auto& [number, frame] : byNumber) {
    if (number != expected) {
      result.errors.push_back(name + ": billede " + std::to_string(expected) + " mangler");
      break;
    }
    result.frames.push_back(frame);
    ++expected;
  }
  if (result.errors.empty() && result.frames.empty()) result.errors.push_back(name + ": ingen billeder (data-frame)");
  return result;
}

uint8_t nearestArtworkIndex(int r, int g, int b, const cColourTable& palette) {
  int best = 1, bestDistance = 1 << 30;
  for (int i = 1; i < 256; ++i) {
    const int dr = palette[i].red - r, dg = palette[i].green - g, db = palette[i].blue - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return static_cast<uint8_t>(best);
}

cFramePicture quantiseFrame(const cRgbaPicture& sheet, const cSvgFrame& frame, const cColourTable& palette) {
  cFramePicture f;
  f.rect = frame.rect;
  const int w = frame.rect.width(), h = frame.rect.height();
  f.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), -1);
  std::map<uint32_t, uint8_t> cache;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int sx = frame.x + x, sy = frame.y + y;
      if (sx >= sheet.width || sy >= sheet.height) continue;
      const uint8_t* p = &sheet.rgba[(static_cast<size_t>(sy) * static_cast<size_t>(sheet.width) + static_cast<size_t>(sx)) * 4];
      if (p[3] < 128) continue;
      const uint32_t key = p[0] | (p[1] << 8) | (p[2] << 16);
      auto found = cache.find(key);
      if (found == cache.end()) found = cache.emplace(key, nearestArtworkIndex(p[0], p[1], p[2], palette)).first;
      f.pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = found->second;
    }
  return f;
}
