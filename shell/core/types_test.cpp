#include "shell/core/types.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

TEST(RectTest, EmptyRuleAndIntersection) {
  EXPECT_TRUE(cRect(5, 0, 5, 10).isEmpty());   // top == bottom
  EXPECT_TRUE(cRect(0, 7, 10, 3).isEmpty());   // left > right
  EXPECT_FALSE(cRect(0, 0, 1, 1).isEmpty());

  // Touching rectangles do not meet (bottom and right are exclusive), and an
  // empty intersection is all zeros, not some inverted rectangle.
  EXPECT_EQ(cRect(0, 0, 10, 10) & cRect(10, 0, 20, 10), cRect());
  EXPECT_EQ(cRect(0, 0, 10, 10) & cRect(30, 30, 40, 40), cRect());
  EXPECT_EQ(cRect(0, 0, 10, 10) & cRect(5, -5, 15, 5), cRect(5, 0, 10, 5));
  EXPECT_FALSE(cRect(0, 0, 10, 10).intersects(cRect(0, 10, 10, 20)));
}

TEST(RectTest, UnionIgnoresEmptyOperands) {
  const cRect a(10, 10, 20, 20);
  EXPECT_EQ(a | cRect(), a);
  EXPECT_EQ(cRect() | a, a);
  // An empty rectangle far away must not stretch the union toward it.
  EXPECT_EQ(a | cRect(500, 500, 500, 600), a);
  EXPECT_EQ(a | cRect(0, 30, 5, 40), cRect(0, 10, 20, 40));
}

TEST(RectTest, ContainsIsHalfOpen) {
  const cRect r(0, 0, 10, 20);
  EXPECT_TRUE(r.contains({0, 0}));
  EXPECT_TRUE(r.contains({9, 19}));
  EXPECT_FALSE(r.contains({10, 5}));
  EXPECT_FALSE(r.contains({5, 20}));
  EXPECT_EQ(r.offsetBy({3, 4}), cRect(3, 4, 13, 24));
  EXPECT_EQ(r.toWin(), (cWinRect{0, 0, 20, 10}));
  EXPECT_EQ(cRect::fromWin(r.toWin()), r);
}

TEST(TypeCodeTest, BytesLieInReadingOrderAndCaseMatters) {
  const cTypeCode code = "AndG"_tc;
  char bytes[4];
  std::memcpy(bytes, &code, 4);
  EXPECT_EQ(std::string(bytes, 4), "AndG");
  EXPECT_EQ(typeCodeText(code), "AndG");
  EXPECT_EQ(typeCodeText("1ncr"_tc), "1ncr");
  EXPECT_NE("cnst"_tc, "Cnst"_tc);
  EXPECT_EQ(makeTypeCode("Mplx"), makeTypeCode('M', 'p', 'l', 'x'));
}

TEST(SaturateTest, Table) {
  struct Case { double in; int32_t out; };
  const Case cases[] = {
      {0.0, 0},
      {2.9, 2},
      {-2.9, -2},
      {2147483646.5, 2147483646},
      {2147483647.0, 2147483646},
      {1e300, 2147483646},
      {-2147483645.5, -2147483645},
      {-2147483646.0, -2147483646},
      {-1e300, -2147483646},
      {std::numeric_limits<double>::infinity(), 2147483646},
      {-std::numeric_limits<double>::infinity(), -2147483646},
      {std::nan(""), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(saturateToInt32(c.in), c.out) << c.in;
}
