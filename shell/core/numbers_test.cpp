#include "shell/core/numbers.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/headless/headless.h"

TEST(FormatNumberTest, DecimalsOnlyGrow) {
  int decimals = 0;
  EXPECT_STREQ(formatNumber(0.5, decimals), "       0.5");
  EXPECT_EQ(decimals, 1);
  EXPECT_STREQ(formatNumber(2, decimals), "       2.0");
  EXPECT_EQ(decimals, 1);
  EXPECT_STREQ(formatNumber(0.125, decimals), "     0.125");
  EXPECT_EQ(decimals, 3);
  EXPECT_STREQ(formatNumber(-4, decimals), "    -4.000");
}

TEST(FormatNumberTest, Table) {
  struct Case { double x; int decimalsIn; const char* text; int decimalsOut; };
  const Case cases[] = {
      {0, 0, "         0", 0},
      {12345678, 0, " 1.235e+07", 0},       // exponent form of "%#10.4g"
      {9999999, 0, "   9999999", 0},
      {0.000001, 0, " 1.000e-06", 0},        // the lower bound itself is exponent form
      {0.0000011, 0, " 0.0000011", 7},
      {-0.00001, 0, "-1.000e-05", 0},        // negative bounds differ from the positive ones
      {-0.00002, 0, "  -0.00002", 5},
      {-12345678, 0, "-1.235e+07", 0},
      {1e100, 0, "1.000e+100", 0},
      {-1e100, 0, "-1.00e+100", 0},          // longer than 10 with four digits: three
      {3.14159265, 2, "3.14159265", 8},
      {1.0 / 3.0, 0, "0.33333333", 8},
  };
  for (const Case& c : cases) {
    int d = c.decimalsIn;
    EXPECT_EQ(std::string(formatNumber(c.x, d)), c.text) << c.x;
    EXPECT_EQ(d, c.decimalsOut) << c.x;
  }
}

TEST(FormatNumberTest, LongFixedTextsStayInTheBuffer) {
  int decimals = 8;
  // Just below the exponent bound, eight decimals make 16 characters.
  EXPECT_STREQ(formatNumber(9999999.5, decimals), "9999999.50000000");
}

TEST(ParseNumberTest, Table) {
  struct Case { const char* text; double value; };
  const Case cases[] = {
      {"12.5", 12.5},  {"  -3", -3},    {"", 0},          {"abc", 0},      {"0", 0},
      {"2e300", 1e300}, {"1e-301", 1e-300}, {"-3e-301", -1e-300}, {"-5e305", -1e300},
      {"7 8", 7},      {"1e999", 1e300}, {"nan", 0},      {"inf", 1e300},
  };
  for (const Case& c : cases) EXPECT_EQ(parseNumber(c.text), c.value) << c.text;
  EXPECT_EQ(parseNumber(nullptr), 0);
}

TEST(TicksTest, SixtiethsOfTheVirtualClock) {
  cHeadlessPlatform hp;
  EXPECT_EQ(ticks(), 0u);
  hp.virtualClock().set(16);
  EXPECT_EQ(ticks(), 0u);  // 0.96 truncates
  hp.virtualClock().set(17);
  EXPECT_EQ(ticks(), 1u);
  hp.virtualClock().set(1000);
  EXPECT_EQ(ticks(), 60u);
  hp.virtualClock().set(0xFFFFFFFFu);  // the millisecond clock's top
  EXPECT_EQ(ticks(), 257698037u);
}

TEST(ToneRateTest, Table) {
  struct Case { double freq, seconds; uint16_t rate; uint32_t samples; bool eighth; };
  const Case cases[] = {
      {220, 1, 11025, 11025, false},       // the tone's own pitch
      {440, 0.5, 22050, 11025, false},
      {440, 10, 22050, 40000, false},      // at most the length of the sample
      {1308, 1, 8193, 5000, true},    // above 65535: every-8th copy, rate / 8
      {1e9, 1, 65535, 5000, true},         // still too fast: the top rate
      {0.1, 1, 10, 10, false},             // slowest rate
      {-50, 1, 10, 10, false},
      {220, -1, 11025, 0, false},
  };
  for (const Case& c : cases) {
    const cToneRate r = toneRate(c.freq, c.seconds, 40000, 5000);
    EXPECT_EQ(r.rate, c.rate) << c.freq;
    EXPECT_EQ(r.sampleCount, c.samples) << c.freq;
    EXPECT_EQ(r.useEighth, c.eighth) << c.freq;
  }
}
