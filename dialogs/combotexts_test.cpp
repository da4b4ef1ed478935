#include "dialogs/combotexts.h"

#include <gtest/gtest.h>

#include "dialogs/combosource.h"
#include "dialogs/dialogs_testing.h"

namespace {

TEST(ComboTexts, RecordsFollowEachOtherWithoutPadding) {
  const std::vector<cComboText> records = {{110, kMessageAddComboString, "1-10"},
                                           {110, kMessageAddComboString, "1-100"},
                                           {111, 1234, "M\xe5nen"}};
  const std::vector<uint8_t> bytes = comboTextBytes(records);
  // The example of the format: control 110, message 1027, length 5, "1-10" and its zero.
  const std::vector<uint8_t> first = {0x6e, 0x00, 0x03, 0x04, 0x05, 0x00, 0x00, 0x00, '1', '-', '1', '0', 0};
  ASSERT_GE(bytes.size(), first.size());
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 13), first);
  EXPECT_EQ(bytes.size(), 13u + 14u + 14u + 2u);
  EXPECT_EQ(parseComboTexts(bytes), records);
}

TEST(ComboTexts, DamagedRecordsEndTheList) {
  const std::vector<uint8_t> good = comboTextBytes({{110, kMessageAddComboString, "Hund"},
                                                    {110, kMessageAddComboString, "Kat"}});
  const size_t second = 8 + 5;
  struct cCase {
    const char* what;
    std::vector<uint8_t> bytes;
    size_t records;
  };
  std::vector<cCase> cases;
  auto damaged = [&](const char* what, auto change, size_t records) {
    std::vector<uint8_t> b = good;
    change(b);
    cases.push_back({what, b, records});
  };
  damaged("no end marker", [&](auto& b) { b.resize(b.size() - 2); }, 2);
  damaged("cut inside the second text", [&](auto& b) { b.resize(second + 10); }, 1);
  damaged("cut inside the second header", [&](auto& b) { b.resize(second + 5); }, 1);
  damaged("a length past the end", [&](auto& b) { b[second + 4] = 0xFF; b[second + 7] = 0x7F; }, 1);
  damaged("a length of 0", [&](auto& b) { b[second + 4] = 0; }, 1);
  damaged("an end marker first", [&](auto& b) { b[0] = 0; b[1] = 0; }, 0);
  cases.push_back({"nothing at all", {}, 0});
  for (const cCase& c : cases) EXPECT_EQ(parseComboTexts(c.bytes).size(), c.records) << c.what;

  // A text without its zero ends at its length; one with an early zero stops there.
  std::vector<uint8_t> b = good;
  b[8 + 4] = 'e';
  EXPECT_EQ(parseComboTexts(b)[0].text, "Hunde");
  b[8 + 1] = 0;
  EXPECT_EQ(parseComboTexts(b)[0].text, "H");
}

TEST(ComboSource, ReadsListsAsTheyStand) {
  const cComboSource s = parseComboSource(
      "# comment\n"
      "[1011 140]\r\n"
      "1   /  60 sek.\n"
      "\n"
      "120 / 0,5 sek.\n"
      "[2040 141]\n"
      "H\xc3\xb8ne\n");  // Høne in UTF-8
  ASSERT_TRUE(s.ok()) << s.error;
  ASSERT_EQ(s.lists.size(), 2u);
  EXPECT_EQ(s.lists[0].dialog, 1011);
  EXPECT_EQ(s.lists[0].control, 140);
  EXPECT_EQ(s.lists[0].entries, (std::vector<std::string>{"1   /  60 sek.", "120 / 0,5 sek."}));
  EXPECT_EQ(s.lists[1].entries, (std::vector<std::string>{"H\xf8ne"}));

  const auto resources = comboTextResources(s, 0x406);
  ASSERT_EQ(resources.size(), 2u);
  EXPECT_EQ(resources[0].type, kComboTextResourceType);
  EXPECT_EQ(resources[0].name, 1011);
  EXPECT_EQ(resources[0].language, 0x406);
  EXPECT_EQ(parseComboTexts(resources[1].data), (std::vector<cComboText>{{141, 1027, "H\xf8ne"}}));
}

TEST(ComboSource, SaysWhatIsWrongAndWhere) {
  struct cCase {
    const char* source;
    const char* error;
  };
  const cCase parseCases[] = {
      {"Hund\n", "linje 1: en tekst før den første [DIALOG KONTROL]"},
      {"[2040]\nHund\n", "linje 1: forventede [DIALOG KONTROL], fandt \"[2040]\""},
      {"\n[0 140]\n", "linje 2: forventede [DIALOG KONTROL], fandt \"[0 140]\""},
      {"[2040 140]\nPil \xe2\x86\x92\n", "linje 2: teksten har tegn, som Windows-1252 ikke har"},
  };
  for (const cCase& c : parseCases) EXPECT_EQ(parseComboSource(c.source).error, c.error) << c.source;

  const auto templates = dialogtest::builtTemplates("fixture.rc.res");
  const cCase checkCases[] = {
      {"[3001 140]\nJorden\n", ""},
      {"[3001 140]\nJorden\n[3001 140]\nMånen\n", "linje 3: [3001 140] står der to gange"},
      {"[3001 140]\n[3001 141]\nHund\n", "linje 1: [3001 140] har ingen tekster"},
      {"[4000 140]\nJorden\n", "linje 1: der er ingen dialog 4000"},
      {"[3001 151]\nJorden\n", "linje 1: dialog 3001 har ingen liste med nummer 151"},
  };
  for (const cCase& c : checkCases)
    EXPECT_EQ(checkComboSource(parseComboSource(c.source), templates), c.error) << c.source;
}

}  // namespace
