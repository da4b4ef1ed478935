// 8-bit off-screen surfaces and the program-wide palette device.
//
// Every picture is composed in memory on 8-bit surfaces whose pixels are
// indices into the program palette; only finished areas go to a draw target
// (the window on the desktop, a picture in memory elsewhere).
//
// Program palette, resource 1003/101 in the program's own module:
//
//   offset  size  field
//   0       4     entry 0: blue, green, red, 0
//   4 * i   4     entry i (i = 0 .. 255)
//   1024          end (exactly 1024 bytes)
//
// Entries 0-9 and 246-255 are the 20 standard system colours.
//
// Surface addressing: the row stride is the width rounded up to a multiple of
// 4, positive for top-down surfaces and negative for bottom-up ones, so that
// row y of either kind lies at topRowAddress() + y * rowStride().
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "shell/core/liveobjects.h"
#include "shell/core/types.h"

// A colour as the program asks for it: 0x00BBGGRR.
using cColorRef = uint32_t;
constexpr cColorRef rgb(int r, int g, int b) {
  return static_cast<uint32_t>(r & 0xFF) | (static_cast<uint32_t>(g & 0xFF) << 8) |
         (static_cast<uint32_t>(b & 0xFF) << 16);
}
constexpr int redOf(cColorRef c) { return c & 0xFF; }
constexpr int greenOf(cColorRef c) { return (c >> 8) & 0xFF; }
constexpr int blueOf(cColorRef c) { return (c >> 16) & 0xFF; }

// One colour table entry, in the stored order.
struct cRGBQuad {
  uint8_t blue = 0, green = 0, red = 0, reserved = 0;
  friend constexpr bool operator==(const cRGBQuad&, const cRGBQuad&) = default;
};
using cColourTable = std::array<cRGBQuad, 256>;

inline constexpr uint16_t kPaletteResourceType = 1003;
inline constexpr uint16_t kPaletteResourceId = 101;
inline constexpr size_t kPaletteBytes = 1024;

// The 20 standard system colours: entries 0-9 and 246-255.
const cColourTable& systemColours();
// The palette the graphics library carries itself (the same colours as the
// 1003/101 resource that the build makes); used where no resource is at hand.
const cColourTable& builtInProgramPalette();
// 1024 bytes of blue, green, red, 0. Shorter input leaves the rest black.
cColourTable colourTableFromBytes(std::span<const uint8_t> bytes);
// The 1024 bytes of a table, as the palette resource holds them.
std::vector<uint8_t> colourTableBytes(const cColourTable& table);

struct cSpriteSize {
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(const cSpriteSize&, const cSpriteSize&) = default;
};

// Where finished pictures are copied to: the window on the desktop, a
// picture in memory for tests and zanbel-cli. A null target takes nothing.
class CWDrawTarget {
 public:
  virtual ~CWDrawTarget() = default;
  // Copies a width x height block of 8-bit pixels to (x, y) through the
  // colour table. Row r of the block starts at topRow + r * stride.
  virtual void copyPixels(int x, int y, int width, int height, const uint8_t* topRow,
                          ptrdiff_t stride, const cColourTable& colours) = 0;
};

class CWUnpackedSprite;

// Anything that can be copied onto a surface.
class CWSprite : public cLiveObject {
 public:
  virtual ~CWSprite() = default;
  // Width and height, height positive.
  virtual cSpriteSize size() const = 0;
  // Copies a block that the caller has clipped to both sprites. With
  // `transparent`, source pixels of value 0 leave the destination as it is.
  virtual void blitTo(CWUnpackedSprite& dest, int destX, int destY, int srcX, int srcY, int width,
                      int height, bool transparent) const = 0;
};

// A sprite whose 8-bit pixels can be addressed but not written through it.
class CWReadOnlyUnpackedSprite : public CWSprite {
 public:
  void blitTo(CWUnpackedSprite& dest, int destX, int destY, int srcX, int srcY, int width,
              int height, bool transparent) const override;

  virtual ptrdiff_t rowStride() const = 0;
  virtual const uint8_t* bits() const = 0;
  // Offset of pixel (x, y) from bits().
  virtual ptrdiff_t pixelOffset(int x, int y) const = 0;

  const uint8_t* pixelAddress(int x, int y) const { return bits() + pixelOffset(x, y); }
  // Row y lies at topRowAddress() + y * rowStride() in both orientations.
  const uint8_t* topRowAddress() const { return pixelAddress(0, 0); }
  cRect bounds() const {
    const cSpriteSize s = size();
    return {0, 0, s.height, s.width};
  }
};

// A sprite whose pixels can be written.
class CWUnpackedSprite : public CWReadOnlyUnpackedSprite {
 public:
  virtual uint8_t* writableBits() = 0;

  using CWReadOnlyUnpackedSprite::pixelAddress;
  using CWReadOnlyUnpackedSprite::topRowAddress;
  uint8_t* pixelAddress(int x, int y) { return writableBits() + pixelOffset(x, y); }
  uint8_t* topRowAddress() { return pixelAddress(0, 0); }

  // Copies the part `source` of the sprite to `dest` on the target.
  virtual void copyRectToDC(const cRect& source, cPoint dest, CWDrawTarget* target) const;
};

// The off-screen surface. Construction never fails: when its pixels cannot
// be had, the surface shares the display object's 1 x 1 fallback surface.
class CWinGDib : public CWUnpackedSprite {
 public:
  // Orientation of the display object (bottom-up, as DIB sections are).
  CWinGDib(int width, int height);
  // orientation +1 top-down, -1 bottom-up.
  CWinGDib(int width, int height, int orientation);
  ~CWinGDib() override;
  CWinGDib(const CWinGDib&) = delete;
  CWinGDib& operator=(const CWinGDib&) = delete;

  cSpriteSize size() const override { return {width_, height_}; }
  ptrdiff_t rowStride() const override { return topDown_ ? stridePlus_ : -stridePlus_; }
  const uint8_t* bits() const override { return bits_; }
  uint8_t* writableBits() override { return bits_; }
  ptrdiff_t pixelOffset(int x, int y) const override {
    return x + static_cast<ptrdiff_t>(topDown_ ? y : height_ - y - 1) * stridePlus_;
  }

  int width() const { return width_; }
  int height() const { return height_; }
  bool isTopDown() const { return topDown_; }
  // Set while the surface shares the fallback surface.
  bool fallenBack() const { return fallenBack_; }

  // true when the new size was made; false when the old size was kept or the
  // surface fell back.
  bool resize(int width, int height);

  // Every pixel set to one index.
  void fill(uint8_t index);

  // The whole surface to (0, 0).
  void copyToDC(CWDrawTarget* target) const;
  void copyPartToDC(CWDrawTarget* target, int x, int y, int srcX, int srcY, int width,
                    int height) const;
  // The whole surface scaled into the rectangle (left, top, right, bottom).
  void stretchToDC(CWDrawTarget* target, int left, int top, int right, int bottom) const;

  // Clips the source rectangle (the whole source when null) to the source,
  // the destination rectangle at (destX, destY) to the destination and the
  // two to each other, then copies; nothing when either is empty.
  static void clippedBlit(const CWReadOnlyUnpackedSprite& source, CWUnpackedSprite& dest, int destX,
                          int destY, const cRect* sourceRect, bool transparent);

  // The colour table the surface was made with (the shared table).
  const cColourTable& colourTable() const;

  cPoint origin;

 private:
  friend class CWinGInfo;
  struct cFallbackTag {};
  CWinGDib(cFallbackTag);
  bool allocate(int width, int height);
  void fallBack();
  void release();

  int width_ = 1, height_ = 1;
  bool topDown_ = false;
  ptrdiff_t stridePlus_ = 4;
  uint8_t* bits_ = nullptr;
  std::unique_ptr<uint8_t[]> own_;
  bool fallenBack_ = false;
  bool isFallbackSurface_ = false;
};

// The program-wide display object: the palette turned into the colour table
// that every surface shares, the colour-depth questions at start-up, and the
// 1 x 1 fallback surface. The newest one constructed is the current one;
// destroying it brings the previous one back.
class CWinGInfo : public cLiveObject {
 public:
  // The palette from resource 1003/101 of the program's own module (the
  // built-in palette when the program has no own module). Asks the
  // colour-depth questions of the platform's display depth; when the user
  // declines to go on, the program ends through fatalExit.
  CWinGInfo();
  // The palette from the given bytes (tests, zanbel-cli); the same start-up steps.
  explicit CWinGInfo(std::span<const uint8_t> paletteBytes);
  ~CWinGInfo();
  CWinGInfo(const CWinGInfo&) = delete;
  CWinGInfo& operator=(const CWinGInfo&) = delete;

  // The installed display object, or a default one with the built-in palette
  // (made on first use, without any questions) when none is installed.
  static CWinGInfo& current();

  // +1 when new surfaces are top-down, -1 when bottom-up.
  int orientation() const { return orientation_; }
  // The table shared by every surface (the identity palette on palette displays).
  const cColourTable& colourTable() const { return colours_; }
  // The program's logical palette (after "MonochromePlease").
  const cColourTable& palette() const { return palette_; }
  bool paletteDevice() const { return paletteDevice_; }

  // The palette index nearest to a colour (the first of equally near ones).
  uint8_t nearestIndex(cColorRef colour) const;
  // Fills the part of a Windows rectangle that lies on the surface.
  void fillRect(CWUnpackedSprite& surface, const cWinRect& rect, cColorRef colour) const;
  // A one-pixel frame along the inside of the rectangle, clipped to the surface.
  void frameRect(CWUnpackedSprite& surface, const cWinRect& rect, cColorRef colour) const;

  CWinGDib& fallbackSurface() { return *fallback_; }

  // Tests: the next `count` pixel allocations of surfaces fail.
  static void failNextAllocations(int count);

 private:
  void startUp(std::span<const uint8_t> paletteBytes, bool askAboutDepth);
  struct cDefaultTag {};
  explicit CWinGInfo(cDefaultTag);

  int orientation_ = -1;
  cColourTable palette_{};
  cColourTable colours_{};
  bool paletteDevice_ = true;
  std::unique_ptr<CWinGDib> fallback_;
  CWinGInfo* previous_ = nullptr;
};

// Short forms of the display object's operations.
inline CWinGInfo& wingInfo() { return CWinGInfo::current(); }
inline uint8_t nearestIndex(cColorRef colour) { return wingInfo().nearestIndex(colour); }
