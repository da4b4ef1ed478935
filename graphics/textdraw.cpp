#include "graphics/textdraw.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "shell/core/text.h"

#if defined(__SANITIZE_ADDRESS__)
// fontconfig's configuration lives as long as the process (see findFace); the
// leak check of a sanitizer build should not count it against us. A program
// or test with suppressions of its own replaces this list.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}
#endif

namespace {

FT_Library freeType() {
  static FT_Library library = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l) != 0) l = nullptr;
    return l;
  }();
  return library;
}

// The family fontconfig is asked for, for a name the program uses.
std::string faceFamily(const std::string& family) {
  if (family == "Helvetica" || family == "MS Sans Serif" || family == "Small Fonts")
    return "Liberation Sans";
  return family;
}

// The face file and index that fontconfig finds for the family and weight.
bool findFace(const std::string& family, int weight, std::string& file, int& index) {
  // fontconfig keeps its configuration for the life of the process. It is
  // not given back at exit: in a GTK program pango still holds it then, and
  // fontconfig aborts when it is finished under pango's feet.
  static const bool ready = FcInit() == FcTrue;
  if (!ready) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  bool found = false;
  if (match) {
    FcChar8* path = nullptr;
    int i = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
      file = reinterpret_cast<const char*>(path);
      if (FcPatternGetInteger(match, FC_INDEX, 0, &i) != FcResultMatch) i = 0;
      index = i;
      found = true;
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return found;
}

}  // namespace

struct CWFont::cFace {
  FT_Face face = nullptr;
  std::map<char32_t, cGlyph> glyphs;
  cGlyph empty;
  ~cFace() {
    if (face) FT_Done_Face(face);
  }
};

CWFont::CWFont(const std::string& family, int height, int weight) : face_(std::make_unique<cFace>()) {
  height = std::max(height, 1);
  int index = 0;
  FT_Library library = freeType();
  if (!library || !findFace(faceFamily(family), weight, file_, index) ||
      FT_New_Face(library, file_.c_str(), index, &face_->face) != 0) {
    face_->face = nullptr;
    file_.clear();
    ascent_ = height;
    return;
  }
  FT_Face f = face_->face;
  // A positive Windows height is the cell height: the em is the part of it
  // that the face's own ascent and descent leave.
  int winAscent = f->ascender, winDescent = -f->descender;
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
      os2 && os2->usWinAscent + os2->usWinDescent > 0) {
    winAscent = os2->usWinAscent;
    winDescent = os2->usWinDescent;
  }
  const int cell = std::max(winAscent + winDescent, 1);
  const int em = f->units_per_EM ? f->units_per_EM : cell;
  const auto ppem = static_cast<FT_UInt>(std::max(1L, std::lround(double(height) * em / cell)));
  FT_Set_Pixel_Sizes(f, 0, ppem);
  ascent_ = static_cast<int>(std::lround(double(height) * winAscent / cell));
  descent_ = height - ascent_;
}

CWFont::~CWFont() = default;

bool CWFont::usable() const { return face_->face != nullptr; }

const CWFont::cGlyph& CWFont::glyph(char32_t codePoint) const {
  if (!face_->face || codePoint < 0x20) return face_->empty;
  auto found = face_->glyphs.find(codePoint);
  if (found != face_->glyphs.end()) return found->second;
  cGlyph g;
  FT_Face f = face_->face;
  if (FT_Load_Char(f, codePoint, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
    const FT_Bitmap& bm = f->glyph->bitmap;
    g.left = f->glyph->bitmap_left;
    g.top = f->glyph->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.rows = static_cast<int>(bm.rows);
    g.advance = static_cast<int>((f->glyph->advance.x + 32) >> 6);
    g.bits.assign(static_cast<size_t>(g.width) * static_cast<size_t>(g.rows), 0);
    for (int y = 0; y < g.rows; ++y) {
      const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
      for (int x = 0; x < g.width; ++x) {
        const bool ink = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] >> (7 - (x & 7))) & 1
                                                               : row[x] >= 128;
        g.bits[static_cast<size_t>(y) * static_cast<size_t>(g.width) + static_cast<size_t>(x)] = ink;
      }
    }
  }
  return face_->glyphs.emplace(codePoint, std::move(g)).first->second;
}

int CWFont::textWidth(std::string_view text) const {
  int w = 0;
  for (unsigned char c : text) w += glyph(cp1252CodePoint(c)).advance;
  return w;
}

const CWFont& CWFont::smallFonts11() {
  static const CWFont font("Small Fonts", 11);
  return font;
}
const CWFont& CWFont::helvetica16() {
  static const CWFont font("Helvetica", 16);
  return font;
}
const CWFont& CWFont::helvetica16Bold() {
  static const CWFont font("Helvetica", 16, 700);
  return font;
}
const CWFont& CWFont::helvetica24() {
  static const CWFont font("Helvetica", 24);
  return font;
}

// --- layout ----------------------------------------------------------------

std::vector<std::string> breakLines(const CWFont& font, std::string_view text, int width, unsigned flags) {
  std::vector<std::string> lines;
  if (flags & kTextSingleLine) {
    lines.emplace_back(text);
    return lines;
  }
  // Hard line breaks first: "\r\n", "\n" or "\r".
  std::vector<std::string_view> paragraphs;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    paragraphs.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  paragraphs.push_back(text.substr(start));
  for (std::string_view p : paragraphs) {
    if (!(flags & kTextWordBreak)) {
      lines.emplace_back(p);
      continue;
    }
    // Words go on a line while they fit; a word wider than the line stands alone.
    std::string line;
    size_t i = 0;
    while (i < p.size()) {
      size_t j = i;
      while (j < p.size() && p[j] == ' ') ++j;
      size_t k = j;
      while (k < p.size() && p[k] != ' ') ++k;
      const std::string candidate = line + std::string(p.substr(i, k - i));
      if (!line.empty() && font.textWidth(candidate) > width) {
        lines.push_back(line);
        line = std::string(p.substr(j, k - j));
      } else {
        line = candidate;
      }
      i = k;
    }
    // Spaces that end a line take no room.
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

cSpriteSize textExtent(const CWFont& font, std::string_view text, int width, unsigned flags) {
  const std::vector<std::string> lines = breakLines(font, text, width, flags);
  int w = 0;
  for (const std::string& l : lines) w = std::max(w, font.textWidth(l));
  return {w, static_cast<int>(lines.size()) * font.height()};
}

int drawText(CWUnpackedSprite& surface, const CWFont& font, std::string_view text, const cWinRect& rect,
             cColorRef colour, unsigned flags) {
  const std::vector<std::string> lines = breakLines(font, text, rect.right - rect.left, flags);
  const int lineHeight = font.height();
  if (!font.usable()) return static_cast<int>(lines.size()) * lineHeight;
  const uint8_t index = wingInfo().nearestIndex(colour);
  const cSpriteSize size = surface.size();
  const int clipLeft = std::max(rect.left, 0), clipTop = std::max(rect.top, 0);
  const int clipRight = std::min(rect.right, size.width), clipBottom = std::min(rect.bottom, size.height);

  int top = rect.top;
  if ((flags & kTextSingleLine) && (flags & kTextVCenter)) top += (rect.bottom - rect.top - lineHeight) / 2;
  for (const std::string& line : lines) {
    int x = rect.left;
    if (flags & kTextCenter) x += (rect.right - rect.left - font.textWidth(line)) / 2;
    const int baseline = top + font.ascent();
    for (unsigned char c : line) {
      const CWFont::cGlyph& g = font.glyph(cp1252CodePoint(c));
      for (int gy = 0; gy < g.rows; ++gy) {
        const int y = baseline - g.top + gy;
        if (y < clipTop || y >= clipBottom) continue;
        uint8_t* row = surface.pixelAddress(0, y);
        for (int gx = 0; gx < g.width; ++gx) {
          const int px = x + g.left + gx;
          if (px < clipLeft || px >= clipRight) continue;
          if (g.bits[static_cast<size_t>(gy) * static_cast<size_t>(g.width) + static_cast<size_t>(gx)])
            row[px] = index;
        }
      }
      x += g.advance;
    }
    top += lineHeight;
  }
  return static_cast<int>(lines.size()) * lineHeight;
}
