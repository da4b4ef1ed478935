// The artwork build: SVG sources rasterised by rsvg-convert, quantised to
// the program palette and encoded as frame sets; the tables of types
// 1010-1014 read from text sources.
//
// An SVG source holds one frame set. Each frame is a nested <svg> element
//
//   <svg data-frame="3" x="120" y="0" width="80" height="47" viewBox="0 0 80 47">
//
// placed at (x, y) on the sheet that the whole file renders to; its viewBox
// gives the frame's rectangle in the set's coordinates (left top width
// height; width and height equal the element's, so one unit is one pixel).
// The set's id is the number that starts the file's name ("1029-og-port.svg").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/resfile.h"
#include "graphics/hrencoder.h"
#include "graphics/png.h"
#include "graphics/wingdib.h"

struct cSvgFrame {
  int number = 0;   // 1-based frame number
  int x = 0, y = 0; // place on the sheet
  cRect rect;       // the frame's rectangle in the set
  int line = 0;     // where the element starts in the source, for messages
};

struct cSvgFrames {
  int sheetWidth = 0, sheetHeight = 0;
  std::vector<cSvgFrame> frames;  // in frame number order, 1..N without gaps
  std::vector<std::string> errors;
};

// Reads the frame elements of an SVG source; `name` is used in messages.
cSvgFrames parseSvgFrames(const std::string& svg, const std::string& name);

// The id a source's file name starts with, or 0.
uint16_t frameSetIdFromPath(const std::string& path);

// One frame cut from the rendered sheet: a pixel less than half covered is
// transparent, every other the nearest palette colour (never index 0, the
// key colour of transparent copies: black becomes the palette's other black).
cFramePicture quantiseFrame(const cRgbaPicture& sheet, const cSvgFrame& frame, const cColourTable& palette);
uint8_t nearestArtworkIndex(int r, int g, int b, const cColourTable& palette);

// Table source, one statement a line ('#' starts a comment):
//
//   pins ID                  a pin table (1014); then lines "in X Y" or "out X Y"
//   positions ID             a position table (1010); then lines "X Y"
//   point ID X Y             a point (1011)
//   rects ID                 a rectangle list (1012); then lines "LEFT TOP RIGHT BOTTOM"
//   rect ID LEFT TOP RIGHT BOTTOM   a rectangle (1013)
//
// Coordinates are written x before y, as one reads them; the tables store
// v (y) before h (x). A list ends at the next statement.
struct cTableResult {
  std::vector<cResEntry> entries;
  std::vector<std::string> errors;  // "file:line: message"
};
cTableResult parseTables(const std::string& text, const std::string& name);
