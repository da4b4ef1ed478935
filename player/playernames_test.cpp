#include "player/playernames.h"

#include <gtest/gtest.h>

namespace {

TEST(PlayerNames, TheTitleCarriesTheProgramsNameInLowerCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"/home/barn/ROBOT.EXE", "Selvstændig opfindelse - robot"},
      {"/home/barn/Robot", "Selvstændig opfindelse - robot"},
      {"ÆBLEMASKINE", "Selvstændig opfindelse - æblemaskine"},
      {"/x/ØRE-ÅS.exe", "Selvstændig opfindelse - øre-ås"},
      {"/x.y/Min.Lille.Maskine", "Selvstændig opfindelse - min.lille"},
      {"/x/.Skjult", "Selvstændig opfindelse - .skjult"},
  };
  for (const auto& [path, title] : cases) EXPECT_EQ(playerTitle(path), title) << path;
  // Letters outside Latin-1 and the multiplication sign stay as they are.
  EXPECT_EQ(lowerCaseText("2×3 ĀB"), "2×3 Āb");
}

TEST(PlayerNames, APictureFillsThePageWithItsProportionsCentred) {
  struct cCase {
    int width, height;
    cPagePlace page, expected;
  };
  const cCase cases[] = {
      // A 4:3 worksheet on an upright page: full width, centred from top to bottom.
      {720, 540, {100, 100, 4800, 6800}, {100, 100 + (6800 - 3600) / 2, 4800, 3600}},
      // On a page lying down: full height, centred from side to side.
      {720, 540, {0, 0, 6800, 4800}, {(6800 - 6400) / 2, 0, 6400, 4800}},
      // The same proportions: the whole page.
      {640, 480, {10, 20, 320, 240}, {10, 20, 320, 240}},
      // A page smaller than the picture shrinks it.
      {1000, 300, {0, 0, 100, 100}, {0, 35, 100, 30}},
      {0, 540, {0, 0, 100, 100}, {}},
      {720, 540, {0, 0, 0, 100}, {}},
  };
  for (const cCase& c : cases) {
    const cPagePlace got = fitPictureToPage(c.width, c.height, c.page);
    EXPECT_EQ(got, c.expected) << c.width << "x" << c.height << " -> " << got.x << "," << got.y << " " << got.width
                               << "x" << got.height;
  }
}

}  // namespace
