// The worksheet background: a plain colour or a tiled pattern under the
// gadgets and wires, and the decorative border around the worksheet.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "graphics/frameset.h"
#include "graphics/wingdib.h"

// Frame sets of the background. Patterns have frame 1 for the light setting
// and frame 2 for the dark one.
inline constexpr uint16_t kPatternSand = 700;
inline constexpr uint16_t kPatternWaves = 701;   // "Bølger"
inline constexpr uint16_t kPatternSteel = 702;   // "Stål"
inline constexpr uint16_t kBorderFrameSet = 704;

// The program-wide light/dark setting (the shell's settings panel owns the
// switch; whoever turns it over rebuilds the tiles of the backgrounds).
bool backgroundIsDark();
void setBackgroundDark(bool dark);

class cBackground : public cLiveObject {
 public:
  // Pattern 0, a 1 x 1 tile, and the border frame set 704 (by the usual lookup).
  explicit cBackground(const cRect& bounds);
  // The same with the frame sets taken from a named module (the player's own).
  cBackground(const cRect& bounds, cResourceModule& module);

  const cRect& bounds() const { return bounds_; }
  void setBounds(const cRect& bounds) { bounds_ = bounds; }

  uint16_t pattern() const { return pattern_; }
  // Nothing when unchanged; otherwise loads the new pattern (none for 0),
  // rebuilds the tile and asks for a redraw.
  void setPattern(uint16_t id);
  // The tile from frame 1 (light) or 2 (dark) of the pattern, then a redraw.
  void rebuildTile();

  // Tiles from the bounds' top-left, or the plain colour, clipped to `area`.
  void drawBackground(const cRect& area, CWUnpackedSprite& surface) const;
  // The border sides that `area` reaches into, and the four corners, clipped to `area`.
  void drawBorder(const cRect& area, CWUnpackedSprite& surface) const;

  // Called whenever the worksheet has to be drawn again (the worksheet sets it).
  std::function<void()> onRedraw;

  const CWinGDib& tile() const { return tile_; }

 private:
  cRect bounds_;
  uint16_t pattern_ = 0;
  cResourceModule* module_ = nullptr;
  std::unique_ptr<cFrameSet> patternSet_;
  cFrameSet border_;
  CWinGDib tile_{1, 1};
};
