#include "graphics/linewalk.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "graphics/graphics_testing.h"

using gfxtest::pixelsOf;

namespace {

using Pixels = std::vector<std::pair<int, int>>;

// The pixels a walk visits, in order, found by drawing each one separately.
Pixels walked(int w, int h, int x1, int y1, int x2, int y2) {
  CWinGDib s(w, h, 1);
  Pixels out;
  const uint8_t* top = s.topRowAddress();
  walkLine(s, x1, y1, x2, y2, [&](uint8_t& p) {
    const ptrdiff_t off = &p - top;
    out.emplace_back(static_cast<int>(off % s.rowStride()), static_cast<int>(off / s.rowStride()));
  });
  return out;
}

TEST(LineWalk, VisitsThePixelsOfTheRoundedLine) {
  struct Case {
    const char* what;
    int x1, y1, x2, y2;
    Pixels expected;
  } cases[] = {
      {"shallow", 0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
      {"shallow, ends swapped", 4, 2, 0, 0, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
      {"steep", 1, 0, 3, 4, {{1, 0}, {2, 1}, {2, 2}, {3, 3}, {3, 4}}},
      {"steep going up", 3, 4, 1, 0, {{1, 0}, {2, 1}, {2, 2}, {3, 3}, {3, 4}}},
      {"|dx| = |dy| is walked along x", 3, 0, 0, 3, {{0, 3}, {1, 2}, {2, 1}, {3, 0}}},
      {"horizontal", 5, 2, 2, 2, {{2, 2}, {3, 2}, {4, 2}, {5, 2}}},
      {"vertical", 1, 3, 1, 1, {{1, 1}, {1, 2}, {1, 3}}},
      {"falling shallow: the mirror of the rising one", 0, 2, 4, 0, {{0, 2}, {1, 1}, {2, 1}, {3, 0}, {4, 0}}},
      {"steep to the left ends on its end point", 2, 0, 0, 5, {{2, 0}, {2, 1}, {1, 2}, {1, 3}, {0, 4}, {0, 5}}},
  };
  for (const Case& c : cases) EXPECT_EQ(walked(8, 6, c.x1, c.y1, c.x2, c.y2), c.expected) << c.what;
}

TEST(LineWalk, ClipsToTheSurfaceEdgeByEdge) {
  struct Case {
    const char* what;
    int x1, y1, x2, y2;
    Pixels expected;
  } cases[] = {
      {"wholly left", -5, 0, -1, 3, {}},
      {"wholly below", 0, 9, 7, 12, {}},
      {"one point", 2, 2, 2, 2, {}},
      {"ends meet after clipping", -4, 0, 0, 0, {}},
      {"crossing the left edge", -2, 1, 2, 1, {{0, 1}, {1, 1}, {2, 1}}},
      {"crossing the right and bottom edges", 5, 3, 9, 7, {{5, 3}, {6, 4}, {7, 5}}},
      {"through the whole surface", -10, 2, 20, 2,
       {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}}},
  };
  for (const Case& c : cases) EXPECT_EQ(walked(8, 6, c.x1, c.y1, c.x2, c.y2), c.expected) << c.what;
}

TEST(LineWalk, SaveDrawRestoreLeavesTheSurfaceAsItWas) {
  for (int orientation : {1, -1}) {
    CWinGDib s(23, 9, orientation);
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 23; ++x) *s.pixelAddress(x, y) = static_cast<uint8_t>(x * 9 + y);
    const std::vector<uint8_t> before = pixelsOf(s);
    const int ends[][4] = {{-3, -2, 30, 12}, {22, 0, 0, 8}, {4, 4, 4, 4}, {5, -9, 6, 40}};
    // Saved in order and restored in order, as the redraw list does it, also
    // where the lines cross.
    std::vector<std::vector<uint8_t>> buffers;
    for (const auto& e : ends) {
      buffers.emplace_back(static_cast<size_t>(lineBufferSize(s)));
      saveLine(s, e[0], e[1], e[2], e[3], buffers.back());
    }
    for (const auto& e : ends) drawLine(s, e[0], e[1], e[2], e[3], 250);
    EXPECT_NE(pixelsOf(s), before);
    for (size_t i = 0; i < std::size(ends); ++i)
      restoreLine(s, ends[i][0], ends[i][1], ends[i][2], ends[i][3], buffers[i]);
    EXPECT_EQ(pixelsOf(s), before);
  }
}

TEST(LineWalk, TheBufferOfTheLongestSideHoldsAnyClippedLine) {
  CWinGDib s(40, 7, 1);
  std::vector<uint8_t> buffer(static_cast<size_t>(lineBufferSize(s)));
  EXPECT_EQ(buffer.size(), 40u);
  EXPECT_EQ(saveLine(s, -100, 3, 100, 3, buffer), 40);
  EXPECT_EQ(saveLine(s, -100, -50, 100, 50, buffer), 13);  // crosses the 7 rows in 13 columns
  EXPECT_EQ(saveLine(s, 0, 0, 39, 6, buffer), 40);
  // A short buffer is never overrun.
  std::vector<uint8_t> small(3);
  EXPECT_EQ(saveLine(s, 0, 0, 39, 0, small), 3);
}

// The walk steps from pixel to pixel; every line between points on and
// around a small surface must meet the rounding rule of the line walk
// exactly, in both orientations.
TEST(LineWalk, StepsOntoThePixelsOfTheRoundingRuleForEveryLine) {
  constexpr int kWidth = 9, kHeight = 7;
  for (int orientation : {1, -1}) {
    CWinGDib s(kWidth, kHeight, orientation);
    std::map<const uint8_t*, std::pair<int, int>> where;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) where[s.pixelAddress(x, y)] = {x, y};
    for (int x1 = -2; x1 <= kWidth + 2; ++x1)
      for (int y1 = -2; y1 <= kHeight + 2; ++y1)
        for (int x2 = -2; x2 <= kWidth + 2; ++x2)
          for (int y2 = -2; y2 <= kHeight + 2; ++y2) {
            Pixels expected;
            cLineEnds l{x1, y1, x2, y2};
            if (clipLine(kWidth, kHeight, l)) {
              // The rule as written: ends swapped so that the walked axis
              // rises, half a step with the other axis's sign, divisions
              // truncating toward zero.
              const bool steep = std::abs(l.x2 - l.x1) < std::abs(l.y2 - l.y1);
              if (steep ? l.y1 > l.y2 : l.x1 > l.x2) {
                std::swap(l.x1, l.x2);
                std::swap(l.y1, l.y2);
              }
              const int dx = l.x2 - l.x1, dy = l.y2 - l.y1;
              if (steep) {
                const int half = dx < 0 ? -(dy / 2) : dy / 2;
                for (int y = l.y1; y <= l.y2; ++y) expected.emplace_back(((y - l.y1) * dx + half) / dy + l.x1, y);
              } else {
                const int half = dy < 0 ? -(dx / 2) : dx / 2;
                for (int x = l.x1; x <= l.x2; ++x) expected.emplace_back(x, ((x - l.x1) * dy + half) / dx + l.y1);
              }
            }
            Pixels got;
            const int count = walkLine(s, x1, y1, x2, y2, [&](uint8_t& p) {
              const auto it = where.find(&p);
              got.push_back(it == where.end() ? std::pair{-1000, -1000} : it->second);
            });
            ASSERT_EQ(got, expected) << "orientation " << orientation << ": (" << x1 << ", " << y1 << ") to (" << x2
                                     << ", " << y2 << ")";
            ASSERT_EQ(count, static_cast<int>(expected.size()));
          }
  }
}

}  // namespace
