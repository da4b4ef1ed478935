#include "graphics/wingdib.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "platform/platform.h"
#include "shell/core/resources.h"
#include "shell/core/settings.h"

namespace {

constexpr cRGBQuad quad(int r, int g, int b) {
  return {static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r), 0};
}

int gFailAllocations = 0;
CWinGInfo* gCurrent = nullptr;

// The largest surface we try to make: beyond it the fallback is kinder than
// an allocation the machine cannot give.
constexpr size_t kMaxSurfaceBytes = size_t(1) << 30;

}  // namespace

const cColourTable& systemColours() {
  static const cColourTable table = [] {
    cColourTable t{};
    const cRGBQuad low[10] = {quad(0, 0, 0),     quad(128, 0, 0),   quad(0, 128, 0),
                              quad(128, 128, 0), quad(0, 0, 128),   quad(128, 0, 128),
                              quad(0, 128, 128), quad(192, 192, 192), quad(192, 220, 192),
                              quad(166, 202, 240)};
    const cRGBQuad high[10] = {quad(255, 251, 240), quad(160, 160, 164), quad(128, 128, 128),
                               quad(255, 0, 0),     quad(0, 255, 0),     quad(255, 255, 0),
                               quad(0, 0, 255),     quad(255, 0, 255),   quad(0, 255, 255),
                               quad(255, 255, 255)};
    for (int i = 0; i < 10; ++i) {
      t[i] = low[i];
      t[246 + i] = high[i];
    }
    return t;
  }();
  return table;
}

const cColourTable& builtInProgramPalette() {
  static const cColourTable table = [] {
#define RGB(r, g, b) quad(r, g, b)
#define CUBE(n) quad((n) / 36 * 51, (n) / 6 % 6 * 51, (n) % 6 * 51)
    const cRGBQuad entries[] = {
#include "resources/palette/palette.txt"
    };
#undef RGB
#undef CUBE
    static_assert(sizeof(entries) / sizeof(entries[0]) == 256, "the palette has 256 entries");
    cColourTable t{};
    std::copy(std::begin(entries), std::end(entries), t.begin());
    return t;
  }();
  return table;
}

cColourTable colourTableFromBytes(std::span<const uint8_t> bytes) {
  cColourTable t{};
  const size_t n = std::min<size_t>(bytes.size() / 4, 256);
  for (size_t i = 0; i < n; ++i)
    t[i] = {bytes[4 * i], bytes[4 * i + 1], bytes[4 * i + 2], 0};
  return t;
}

std::vector<uint8_t> colourTableBytes(const cColourTable& table) {
  std::vector<uint8_t> bytes;
  bytes.reserve(kPaletteBytes);
  for (const cRGBQuad& q : table) bytes.insert(bytes.end(), {q.blue, q.green, q.red, 0});
  return bytes;
}

// --- sprites ---------------------------------------------------------------

void CWReadOnlyUnpackedSprite::blitTo(CWUnpackedSprite& dest, int destX, int destY, int srcX,
                                      int srcY, int width, int height, bool transparent) const {
  if (width <= 0 || height <= 0) return;
  const ptrdiff_t srcStride = rowStride();
  const ptrdiff_t dstStride = dest.rowStride();
  const uint8_t* s = pixelAddress(srcX, srcY);
  uint8_t* d = dest.pixelAddress(destX, destY);
  for (int row = 0; row < height; ++row, s += srcStride, d += dstStride) {
    if (!transparent) {
      std::memmove(d, s, static_cast<size_t>(width));
      continue;
    }
    for (int x = 0; x < width; ++x)
      if (s[x] != 0) d[x] = s[x];
  }
}

void CWUnpackedSprite::copyRectToDC(const cRect& source, cPoint dest, CWDrawTarget* target) const {
  if (!target) return;
  const cRect r = source & bounds();
  if (r.isEmpty()) return;
  target->copyPixels(dest.h + (r.left - source.left), dest.v + (r.top - source.top), r.width(),
                     r.height(), pixelAddress(r.left, r.top), rowStride(), wingInfo().colourTable());
}

// --- CWinGDib --------------------------------------------------------------

CWinGDib::CWinGDib(int width, int height) : CWinGDib(width, height, wingInfo().orientation()) {}

CWinGDib::CWinGDib(int width, int height, int orientation) : topDown_(orientation > 0) {
  if (!allocate(width, height)) fallBack();
}

CWinGDib::CWinGDib(cFallbackTag) : topDown_(false), isFallbackSurface_(true) {
  if (!allocate(1, 1)) fallBack();
}

CWinGDib::~CWinGDib() = default;

bool CWinGDib::allocate(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  const size_t stride = (static_cast<size_t>(width) + 3) & ~size_t(3);
  if (stride > kMaxSurfaceBytes / static_cast<size_t>(height)) return false;
  if (gFailAllocations > 0) {
    --gFailAllocations;
    return false;
  }
  const size_t bytes = stride * static_cast<size_t>(height);
  std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[bytes]());
  if (!pixels) return false;
  own_ = std::move(pixels);
  bits_ = own_.get();
  width_ = width;
  height_ = height;
  stridePlus_ = static_cast<ptrdiff_t>(stride);
  fallenBack_ = false;
  return true;
}

void CWinGDib::fallBack() {
  if (isFallbackSurface_) fatalExit("Out of memory. Sorry");
  own_.reset();
  CWinGDib& shared = wingInfo().fallbackSurface();
  bits_ = shared.bits_;
  width_ = shared.width_;
  height_ = shared.height_;
  stridePlus_ = shared.stridePlus_;
  topDown_ = shared.topDown_;
  fallenBack_ = true;
}

bool CWinGDib::resize(int width, int height) {
  const int oldWidth = width_, oldHeight = height_;
  const bool wasFallenBack = fallenBack_;
  own_.reset();
  bits_ = nullptr;
  if (wasFallenBack) topDown_ = wingInfo().orientation() > 0;
  if (allocate(width, height)) return true;
  if (!wasFallenBack && allocate(oldWidth, oldHeight)) return false;
  fallBack();
  return false;
}

void CWinGDib::fill(uint8_t index) {
  for (int y = 0; y < height_; ++y) std::memset(pixelAddress(0, y), index, static_cast<size_t>(width_));
}

const cColourTable& CWinGDib::colourTable() const { return wingInfo().colourTable(); }

void CWinGDib::copyToDC(CWDrawTarget* target) const { copyPartToDC(target, 0, 0, 0, 0, width_, height_); }

void CWinGDib::copyPartToDC(CWDrawTarget* target, int x, int y, int srcX, int srcY, int width,
                            int height) const {
  copyRectToDC(cRect(srcY, srcX, srcY + height, srcX + width), cPoint(y, x), target);
}

void CWinGDib::stretchToDC(CWDrawTarget* target, int left, int top, int right, int bottom) const {
  if (!target || right <= left || bottom <= top) return;
  const int w = right - left, h = bottom - top;
  // The scaled picture is made in memory and copied as a whole: every target
  // then only needs the plain copy.
  std::vector<uint8_t> scaled(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    const uint8_t* srcRow = pixelAddress(0, static_cast<int>(int64_t(y) * height_ / h));
    uint8_t* dstRow = scaled.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
    for (int x = 0; x < w; ++x) dstRow[x] = srcRow[int64_t(x) * width_ / w];
  }
  target->copyPixels(left, top, w, h, scaled.data(), w, colourTable());
}

void CWinGDib::clippedBlit(const CWReadOnlyUnpackedSprite& source, CWUnpackedSprite& dest, int destX,
                           int destY, const cRect* sourceRect, bool transparent) {
  // Work in int: a destination far off the surface must not wrap around.
  const cRect sb = source.bounds();
  const cRect want = sourceRect ? *sourceRect : sb;
  int sTop = std::max<int>(want.top, sb.top), sLeft = std::max<int>(want.left, sb.left);
  int sBottom = std::min<int>(want.bottom, sb.bottom), sRight = std::min<int>(want.right, sb.right);
  if (sTop >= sBottom || sLeft >= sRight) return;
  // Source pixel (x, y) goes to (x - want.left + destX, y - want.top + destY).
  const int dx = destX - want.left, dy = destY - want.top;
  const cRect db = dest.bounds();
  sTop = std::max(sTop, db.top - dy);
  sLeft = std::max(sLeft, db.left - dx);
  sBottom = std::min(sBottom, db.bottom - dy);
  sRight = std::min(sRight, db.right - dx);
  if (sTop >= sBottom || sLeft >= sRight) return;
  source.blitTo(dest, sLeft + dx, sTop + dy, sLeft, sTop, sRight - sLeft, sBottom - sTop, transparent);
}

// --- CWinGInfo -------------------------------------------------------------

CWinGInfo::CWinGInfo() {
  if (cResourceModule* own = resourceLibraries().own())
    startUp(lockResource(findResource(*own, kPaletteResourceType, kPaletteResourceId)), true);
  else
    startUp(colourTableBytes(builtInProgramPalette()), true);
}

CWinGInfo::CWinGInfo(std::span<const uint8_t> paletteBytes) { startUp(paletteBytes, true); }

CWinGInfo::CWinGInfo(cDefaultTag) { startUp(colourTableBytes(builtInProgramPalette()), false); }

CWinGInfo::~CWinGInfo() {
  if (gCurrent == this) gCurrent = previous_;
}

CWinGInfo& CWinGInfo::current() {
  if (gCurrent) return *gCurrent;
  // Lives as long as the process; installs itself as the current one.
  static CWinGInfo* fallbackDefault = new CWinGInfo(cDefaultTag{});
  return *fallbackDefault;
}

void CWinGInfo::failNextAllocations(int count) { gFailAllocations = count; }

namespace {

// Asks the colour-depth questions; false when the program is to end.
bool displayDepthAccepted(int depth) {
  if (depth == 8 || !hasPlatform()) return true;
  cMessageRequest box;
  box.modality = cModality::task;
  if (depth < 8) {
    if (!isOptionSet("Allow16ColorsPlease")) {
      box.text = "16 farver er valgt til skærm\nVælg 256 farver til skærm, hvis du vil afvikle programmet.";
      box.buttons = cMessageButtons::ok;
      platform().ui().messageBox(box);
      return false;
    }
    if (isOptionSet("NoWarnNon256ColorsPlease")) return true;
    box.text = "16 farver er valgt til skærm\n Du får den bedste grafik ved at vælge 256 farver\n"
               "Vil du afvikle programmet alligevel?";
  } else {
    if (isOptionSet("NoWarnNon256ColorsPlease")) return true;
    box.text = "256 farver er ikke valgt\nVælg 256 farver.\nVil du afvikle programmet alligevel?";
  }
  box.buttons = cMessageButtons::okCancel;
  return platform().ui().messageBox(box) != cMessageResult::cancel;
}

}  // namespace

void CWinGInfo::startUp(std::span<const uint8_t> paletteBytes, bool askAboutDepth) {
  // There is no WinG here: "NoWinGPlease" and "UseWinGPlease" are accepted
  // and change nothing; surfaces are DIB-section-like, bottom-up.
  orientation_ = -1;
  palette_ = colourTableFromBytes(paletteBytes);

  const int depth = hasPlatform() ? platform().displayDepth() : 8;
  if (askAboutDepth && !displayDepthAccepted(depth)) fatalExit(nullptr);

  if (askAboutDepth && isOptionSet("MonochromePlease")) {
    for (int i = 10; i <= 245; ++i) {
      cRGBQuad& q = palette_[i];
      const auto g = static_cast<uint8_t>((3 * q.red + 6 * q.green + q.blue) / 10);
      q.blue = q.green = q.red = g;
    }
  }

  // An 8-bit display is a palette device with the 20 static system colours:
  // the identity palette keeps them at both ends and takes the rest from the table.
  paletteDevice_ = depth == 8;
  colours_ = palette_;
  if (paletteDevice_) {
    const cColourTable& sys = systemColours();
    for (int i = 0; i < 10; ++i) {
      colours_[i] = sys[i];
      colours_[255 - i] = sys[255 - i];
    }
  }

  // The fallback surface is made before this object becomes the current
  // one: when even that fails the program ends, and nothing points here.
  fallback_.reset(new CWinGDib(CWinGDib::cFallbackTag{}));
  previous_ = gCurrent;
  gCurrent = this;
}

uint8_t CWinGInfo::nearestIndex(cColorRef colour) const {
  const int r = redOf(colour), g = greenOf(colour), b = blueOf(colour);
  int best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (int i = 0; i < 256; ++i) {
    const cRGBQuad& q = colours_[i];
    const int dr = q.red - r, dg = q.green - g, db = q.blue - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
      if (d == 0) break;
    }
  }
  return static_cast<uint8_t>(best);
}

namespace {

void fillClipped(CWUnpackedSprite& surface, int left, int top, int right, int bottom, uint8_t index) {
  const cSpriteSize s = surface.size();
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, s.width);
  bottom = std::min(bottom, s.height);
  if (left >= right || top >= bottom) return;
  for (int y = top; y < bottom; ++y)
    std::memset(surface.pixelAddress(left, y), index, static_cast<size_t>(right - left));
}

}  // namespace

void CWinGInfo::fillRect(CWUnpackedSprite& surface, const cWinRect& rect, cColorRef colour) const {
  fillClipped(surface, rect.left, rect.top, rect.right, rect.bottom, nearestIndex(colour));
}

void CWinGInfo::frameRect(CWUnpackedSprite& surface, const cWinRect& rect, cColorRef colour) const {
  if (rect.left >= rect.right || rect.top >= rect.bottom) return;
  const uint8_t index = nearestIndex(colour);
  fillClipped(surface, rect.left, rect.top, rect.right, rect.top + 1, index);
  fillClipped(surface, rect.left, rect.bottom - 1, rect.right, rect.bottom, index);
  fillClipped(surface, rect.left, rect.top, rect.left + 1, rect.bottom, index);
  fillClipped(surface, rect.right - 1, rect.top, rect.right, rect.bottom, index);
}
