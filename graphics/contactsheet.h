// A contact sheet: every frame of a frame set, numbered, in rows on a
// background, so that a person can look at a whole set at once.
#pragma once

#include <memory>

#include "graphics/frameset.h"
#include "graphics/wingdib.h"

struct cContactSheetOptions {
  cColorRef background = rgb(192, 192, 192);
  const cFrameSet* pattern = nullptr;  // tiles instead of the plain colour
  int patternFrame = 1;
  int maxWidth = 720;                  // rows wrap before this width
};

// The sheet; each frame sits in its own cell with a thin outline just
// outside its rectangle and its number below.
std::unique_ptr<CWinGDib> renderContactSheet(const cFrameSet& set, const cContactSheetOptions& options = {});

// A copy of a surface scaled up by a whole factor (for looking at pixels).
std::unique_ptr<CWinGDib> enlarged(const CWinGDib& surface, int factor);
