#include "shell/core/text.h"

#include <gtest/gtest.h>

TEST(TextTest, Windows1252RoundTrip) {
  const std::string danish = "Selvst\xE6ndig opfindelse \xC6\xD8\xC5 \x80 \x96";
  const std::string utf8 = cp1252ToUtf8(danish);
  EXPECT_EQ(utf8, "Selvstændig opfindelse ÆØÅ € –");
  EXPECT_EQ(utf8ToCp1252(utf8), danish);
}

TEST(TextTest, UnmappableAndBrokenInputBecomesQuestionMarks) {
  EXPECT_EQ(utf8ToCp1252("snow ☃"), "snow ?");
  EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");        // cut off in the middle
  EXPECT_EQ(utf8ToCp1252("a\xC3(b"), "a?(b");    // bad continuation byte
  EXPECT_EQ(cp1252ToUtf8("\x81"), "\xC2\x81");   // unassigned: kept as the same code point
}
