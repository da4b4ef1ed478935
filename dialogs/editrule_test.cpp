#include "dialogs/editrule.h"

#include <gtest/gtest.h>

namespace {

TEST(EditRule, ReadsEveryRuleCharacter) {
  struct cCase {
    const char* text;
    cEditRule rule;
  };
  const cCase cases[] = {
      {"#-.5", {true, true, true, false, 5}},
      {"#5", {true, false, false, false, 5}},
      {"239", {false, false, false, false, 239}},
      {"A1", {false, false, false, true, 1}},
      {"#-.10", {true, true, true, false, 10}},
      {"", {}},
      {"xyz", {}},  // characters without a meaning
  };
  for (const cCase& c : cases) EXPECT_EQ(parseEditRule(c.text), c.rule) << c.text;
}

TEST(EditRule, ChecksTextsAsTheFieldRulesSay) {
  struct cCase {
    const char* rule;
    const char* text;
    bool passes;
  };
  const cCase cases[] = {
      // A number of at most five digits, not negative.
      {"#5", "12345", true},
      {"#5", "123456", false},
      {"#5", "-1", false},
      {"#5", "", true},
      {"#5", "-", false},
      {"#5", "12a", false},
      {"#5", "1.5", false},
      {"#5", "+12", true},
      {"#5", " 12", true},
      {"#5", "12 ", false},
      {"#5", "-0", true},
      // Negatives allowed: a lone minus is what a child starts with.
      {"#-", "-", true},
      {"#-", "-17", true},
      {"#-", "--1", false},
      // Real numbers.
      {"#-.", "1e", true},
      {"#-.", "1.5e", true},
      {"#-.", "1.5.2", false},
      {"#-.", ".", true},
      {"#-.", "-", true},
      {"#-.", "-2.5", true},
      {"#-.", "1e-3", true},
      {"#-.", "1.", true},
      {"#-.", "1..", true},  // the last point is ignored and "1." is a number
      {"#-.", "", true},
      // Texts the C library would read as numbers but no child types.
      {"#-.", "nan", false},
      {"#-.", "inf", false},
      {"#-.", "0x1p3", false},
      {"#-.", "1e999", false},
      // Without '-' a real number may not be negative either.
      {"#.6", "-5", false},
      {"#.6", "-", false},
      {"#.6", "2.75", true},
      {"#.6", "1234567", false},
      // Letters and digits only, whatever the locale.
      {"A1", "a", true},
      {"A1", "Z", true},
      {"A1", "7", true},
      {"A1", "ab", false},
      {"A1", "\xe6", false},  // æ
      {"A1", " ", false},
      // A length and nothing else.
      {"5", "hello", true},
      {"5", "hello!", false},
      {"", "anything at all, as long as it is", true},
  };
  for (const cCase& c : cases)
    EXPECT_EQ(editTextPasses(parseEditRule(c.rule), c.text), c.passes)
        << "rule \"" << c.rule << "\", text \"" << c.text << "\"";
}

TEST(EditRule, RealValuesReadAndWriteAsPrintfDoesInTheCLocale) {
  EXPECT_EQ(editTextReal("-"), 0.0);  // a lone minus reads as 0
  EXPECT_EQ(editTextReal(""), 0.0);
  EXPECT_EQ(editTextReal("2.5"), 2.5);
  EXPECT_EQ(editTextReal(" 3e2x"), 300.0);
  EXPECT_EQ(editRealText(1.5), "1.500000");
  EXPECT_EQ(editRealText(-0.25), "-0.250000");
}

}  // namespace
