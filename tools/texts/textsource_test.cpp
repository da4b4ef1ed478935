#include "tools/texts/textsource.h"

#include <gtest/gtest.h>

namespace {

using namespace std::literals;

TEST(TextSourceTest, JoinsParagraphsAndTurnsEmptyLinesIntoLineBreaks) {
  const std::string src =
      "\xEF\xBB\xBF# comment before the first text\n"
      "== 2008 Og-port ==\n"
      "\n"
      "  Og-porten sender sandt  \r\n"
      "videre.\n"
      "# a comment inside a text is skipped, it does not end the paragraph\n"
      "Ellers falsk.\n"
      "\n"
      "Ny linje.\n"
      "\n"
      "\n"
      "Efter en tom linje.\n"
      "\n"
      "== 10000 Om Zanbel ==\n"
      "Zanbel til Linux";  // no newline at the end of the file
  const cTextSource s = parseTextSource(src, "t.txt");
  ASSERT_TRUE(s.ok()) << s.errors.front();
  ASSERT_EQ(s.blocks.size(), 2u);
  EXPECT_EQ(s.blocks[0].id, 2008);
  EXPECT_EQ(s.blocks[0].name, "Og-port");
  EXPECT_EQ(s.blocks[0].line, 2);
  EXPECT_EQ(s.blocks[0].text,
            "Og-porten sender sandt videre. Ellers falsk.\nNy linje.\n\nEfter en tom linje.");
  EXPECT_EQ(s.blocks[1].id, 10000);
  EXPECT_EQ(s.blocks[1].text, "Zanbel til Linux");
}

TEST(TextSourceTest, RoleFollowsTheNumber) {
  EXPECT_EQ(textRoleOf(1000), eTextRole::description);
  EXPECT_EQ(textRoleOf(2999), eTextRole::description);
  EXPECT_EQ(textRoleOf(3000), eTextRole::tip);
  EXPECT_EQ(textRoleOf(4999), eTextRole::tip);
  EXPECT_EQ(textRoleOf(999), eTextRole::plain);
  EXPECT_EQ(textRoleOf(5000), eTextRole::plain);
  EXPECT_EQ(textRoleOf(10000), eTextRole::plain);
}

// Characters the help texts are written with, and characters that would come
// out as '?' (or cut the text short) in the program.
TEST(TextSourceTest, FindsCharactersWithoutAWindows1252Form) {
  struct Case {
    std::string_view text;
    bool bad;
    size_t offset;
    const char* message;
  } cases[] = {
      {"Æble, øl og år på én gang", false, 0, ""},
      {"»Gentag« – 3½ sekunder · 1·2 = 2 … © €", false, 0, ""},
      {"pil \xE2\x86\x92 her", true, 4, "U+2192 findes ikke i Windows-1252"},
      {"smil \xF0\x9F\x98\x80", true, 5, "U+1F600 findes ikke"},
      {"C1 \xC2\x81", true, 3, "U+0081 findes ikke"},        // 0x81 is a hole in the code page
      {"minus \xE2\x88\x92" "1", true, 6, "U+2212 findes ikke"},  // the maths minus, not '-'
      {"tab\there", true, 3, "styretegnet U+0009"},
      {"nul\0byte"sv, true, 3, "styretegnet U+0000"},
      {"latin-1 \xE6" "ble", true, 8, "ikke gyldig UTF-8"},  // æ saved as Latin-1
      {"overlong \xC1\xA1", true, 9, "ikke gyldig UTF-8"},
      {"surrogate \xED\xA0\x80", true, 10, "ikke gyldig UTF-8"},
      {"cut \xC3", true, 4, "ikke gyldig UTF-8"},
  };
  for (const Case& c : cases) {
    const std::string_view text = c.text;
    const auto bad = findBadCharacter(text);
    EXPECT_EQ(bad.has_value(), c.bad) << text;
    if (!bad || !c.bad) continue;
    EXPECT_EQ(bad->offset, c.offset) << text;
    EXPECT_NE(describeBadCharacter(*bad).find(c.message), std::string::npos)
        << text << ": " << describeBadCharacter(*bad);
  }
}

TEST(TextSourceTest, RefusesFaultsWithFileAndLine) {
  struct Case {
    const char* what;
    std::string source;
    const char* expected;  // the start of the first message
  } cases[] = {
      {"character outside the code page",
       "== 2008 Og-port ==\nsandt \xE2\x86\x92 sandt\n",
       "f.txt:2: tegnet U+2192 findes ikke i Windows-1252"},
      {"duplicate number",
       "== 2008 Og-port ==\nA\n== 2009 Eller ==\nB\n== 2008 Igen ==\nC\n",
       "f.txt:5: tekst 2008 findes allerede i linje 1"},
      {"unreadable header", "== Og-port ==\nA\n", "f.txt:1: overskriften kan ikke læses"},
      {"header without its closing marks", "== 2008 Og-port\nA\n",
       "f.txt:1: overskriften kan ikke læses"},
      {"number glued to the name", "== 2008Og-port ==\nA\n",
       "f.txt:1: overskriften kan ikke læses"},
      {"number zero", "== 0 Nul ==\nA\n", "f.txt:1: tekstnummeret 0 skal ligge mellem 1 og 65535"},
      {"number too large", "== 70000 Stor ==\nA\n",
       "f.txt:1: tekstnummeret 70000 skal ligge mellem 1 og 65535"},
      {"text before the first header", "\nOg-porten\n== 2008 Og-port ==\nA\n",
       "f.txt:2: tekst uden overskrift"},
      {"empty text", "== 2008 Og-port ==\n\n# only a comment\n\n== 4008 Tip ==\nB\n",
       "f.txt:1: tekst 2008 er tom"},
  };
  for (const Case& c : cases) {
    const cTextSource s = parseTextSource(c.source, "f.txt");
    ASSERT_FALSE(s.ok()) << c.what;
    EXPECT_EQ(s.errors.front().rfind(c.expected, 0), 0u) << c.what << ": " << s.errors.front();
  }
}

TEST(TextSourceTest, ReportsEveryFaultAndSkipsTheBlockOfARefusedHeader) {
  const cTextSource s = parseTextSource(
      "== 2008 Og-port ==\nA\n== 2008 Igen ==\nlost\n== 2009 Eller \xE2\x86\x92 ==\nlost too\n"
      "== 2010 Ikke-port ==\nsand \xE2\x86\x90\n",
      "f.txt");
  ASSERT_EQ(s.errors.size(), 3u);
  EXPECT_EQ(s.errors[0].rfind("f.txt:3:", 0), 0u);
  EXPECT_EQ(s.errors[1].rfind("f.txt:5:", 0), 0u);
  EXPECT_EQ(s.errors[2].rfind("f.txt:8:", 0), 0u);
  // The lines under the refused headers went nowhere, in particular not into 2008.
  ASSERT_NE(s.find(2008), nullptr);
  EXPECT_EQ(s.find(2008)->text, "A");
  EXPECT_EQ(s.find(2009), nullptr);
}

}  // namespace
