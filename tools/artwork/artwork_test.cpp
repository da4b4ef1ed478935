#include "tools/artwork/artwork.h"

#include <gtest/gtest.h>

#include "graphics/frameset.h"

namespace {

TEST(TableSource, WritesEveryKindOfTableInItsStoredOrder) {
  const cTableResult r = parseTables(
      "# the AND gate\n"
      "pins 1029\n"
      "  in 4 15\n"
      "  in 4 31   # second input\n"
      "  out 75 23\n"
      "positions 1020\n"
      "  53 24\n"
      "point 1 124 10\n"
      "rect 2 0 0 70 35\n"
      "rects 1027\n"
      "  -1 2 30 40\n",
      "t.txt");
  ASSERT_TRUE(r.errors.empty()) << r.errors[0];
  ASSERT_EQ(r.entries.size(), 5u);
  // The pin table's bytes as the program reads them: count, then v, h, direction.
  EXPECT_EQ(r.entries[0].type, 1014);
  EXPECT_EQ(r.entries[0].name, 1029);
  EXPECT_EQ(r.entries[0].data, (std::vector<uint8_t>{3, 0, 15, 0, 4, 0, 0, 0, 31, 0, 4, 0, 0, 0, 23, 0, 75, 0, 1, 0}));
  EXPECT_EQ(r.entries[1].data, (std::vector<uint8_t>{1, 0, 24, 0, 53, 0}));
  EXPECT_EQ(r.entries[2].type, 1011);
  EXPECT_EQ(r.entries[2].data, (std::vector<uint8_t>{10, 0, 124, 0}));
  EXPECT_EQ(r.entries[3].type, 1013);
  EXPECT_EQ(r.entries[3].data, (std::vector<uint8_t>{0, 0, 0, 0, 35, 0, 70, 0}));
  EXPECT_EQ(r.entries[4].type, 1012);
  EXPECT_EQ(r.entries[4].data, (std::vector<uint8_t>{1, 0, 2, 0, 0xFF, 0xFF, 40, 0, 30, 0}));
}

TEST(TableSource, NamesTheLineOfEveryFault) {
  struct Case {
    const char* source;
    const char* error;
  } cases[] = {
      {"pins 1029\n  up 4 15\n", "t.txt:2: en ben-linje skrives \"in X Y\" eller \"out X Y\""},
      {"pins 0\n", "t.txt:1: \"pins\" skal følges af et nummer fra 1 til 65535"},
      {"positions 5\n  1\n", "t.txt:2: en position skrives \"X Y\""},
      {"  3 4\n", "t.txt:1: ukendt linje: \"3\""},
      {"positions 7\npins 8\n in 1 1\n", "t.txt:1: tabellen 7 har ingen linjer"},
      {"point 1 40000 2\n", "t.txt:1: et punkt skrives \"point NUMMER X Y\""},
      {"point 1 1 2\npoint 1 3 4\n", "t.txt: tabel 1011/1 findes to gange"},
  };
  for (const Case& c : cases) {
    const cTableResult r = parseTables(c.source, "t.txt");
    ASSERT_FALSE(r.errors.empty()) << c.source;
    EXPECT_EQ(r.errors[0], c.error);
  }
}

TEST(SvgFrames, ReadsTheFrameElementsAndTheirRectangles) {
  const cSvgFrames f = parseSvgFrames(
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"40\">\n"
      "  <svg data-frame=\"2\" x=\"50\" y=\"0\" width=\"9\" height=\"7\" viewBox=\"-4 -3 9 7\"><rect/></svg>\n"
      "  <svg data-frame='1' x='0' y='0' width='40' height='30' viewBox='0 0 40 30'/>\n"
      "</svg>\n",
      "a.svg");
  ASSERT_TRUE(f.errors.empty()) << f.errors[0];
  EXPECT_EQ(f.sheetWidth, 100);
  EXPECT_EQ(f.sheetHeight, 40);
  ASSERT_EQ(f.frames.size(), 2u);
  EXPECT_EQ(f.frames[0].rect, cRect(0, 0, 30, 40));
  EXPECT_EQ(f.frames[1].rect, cRect(-3, -4, 4, 5));
  EXPECT_EQ(f.frames[1].x, 50);
}

TEST(SvgFrames, RefusesFramesItCannotCutOut) {
  struct Case {
    const char* frames;
    const char* error;
  } cases[] = {
      {"<svg data-frame=\"1\" x=\"0\" y=\"0\" width=\"8\" height=\"8\" viewBox=\"0 0 16 16\"/>",
       "a.svg:2: billede 1: viewBox skal have samme størrelse som width og height"},
      {"<svg data-frame=\"1\" x=\"95\" y=\"0\" width=\"8\" height=\"8\" viewBox=\"0 0 8 8\"/>",
       "a.svg:2: billede 1 ligger uden for arket"},
      {"<svg data-frame=\"2\" x=\"0\" y=\"0\" width=\"8\" height=\"8\" viewBox=\"0 0 8 8\"/>", "a.svg: billede 1 mangler"},
      {"<svg data-frame=\"1\" x=\"0.5\" y=\"0\" width=\"8\" height=\"8\" viewBox=\"0 0 8 8\"/>",
       "a.svg:2: billede 1 skal have x, y, width, height og viewBox i hele punkter"},
      {"", "a.svg: ingen billeder (data-frame)"},
  };
  for (const Case& c : cases) {
    const std::string svg = std::string("<svg width=\"100\" height=\"40\">\n") + c.frames + "\n</svg>";
    const cSvgFrames f = parseSvgFrames(svg, "a.svg");
    ASSERT_FALSE(f.errors.empty()) << c.frames;
    EXPECT_EQ(f.errors[0], c.error);
  }
}

TEST(SvgFrames, TheFileNameStartsWithTheSetsId) {
  EXPECT_EQ(frameSetIdFromPath("/x/resources/artwork/1029-og-port.svg"), 1029);
  EXPECT_EQ(frameSetIdFromPath("101.svg"), 101);
  EXPECT_EQ(frameSetIdFromPath("og-port.svg"), 0);
  EXPECT_EQ(frameSetIdFromPath("99999-x.svg"), 0);
}

TEST(Quantise, LessThanHalfCoveredIsTransparentAndBlackIsNeverTheKeyColour) {
  cRgbaPicture sheet;
  sheet.width = 4;
  sheet.height = 1;
  sheet.rgba = {0, 0, 0, 255,     // black, opaque: the palette's other black
                255, 0, 0, 127,   // less than half covered
                255, 0, 0, 128,   // half covered: red
                200, 60, 50, 255};  // the nearest colour
  cSvgFrame frame;
  frame.rect = cRect(0, 0, 1, 4);
  const cFramePicture f = quantiseFrame(sheet, frame, builtInProgramPalette());
  EXPECT_EQ(f.pixels, (std::vector<int16_t>{10, -1, 190, 161}));
}

}  // namespace
