#include "shell/core/strings.h"

#include <gtest/gtest.h>

#include "platform/headless/headless.h"

TEST(Strings, TableRoundTripKeepsEveryCharacter) {
  const std::map<uint16_t, std::string> texts = {
      {2, "Zanbel\n udennavn.wgt\nOpfindelse"},
      {15, "sidst i blok 1"},
      {16, "først i blok 2"},
      {8009, "Prøv at lukke alle åbne programmer,\ninden du gør"},
      {8010, "💡 ud over 16 bit"},
  };
  cMemoryResourceModule m;
  for (auto& [block, bytes] : makeStringTable(texts)) m.add(kStringResourceType, block, bytes);
  for (const auto& [id, text] : texts) EXPECT_EQ(loadString(m, id).value_or("(none)"), text) << id;
  // Strings that the block leaves empty, and blocks that are not there.
  EXPECT_EQ(loadString(m, 3).value_or("(none)"), "");
  EXPECT_FALSE(loadString(m, 100).has_value());
}

TEST(Strings, DamagedBlocksAndUnitsAreHandledSafely) {
  cMemoryResourceModule m;
  // Block 1: string 0 claims 200 units but the block ends after two.
  m.add(kStringResourceType, 1, {200, 0, 'a', 0, 'b', 0});
  EXPECT_FALSE(loadString(m, 0).has_value());
  EXPECT_FALSE(loadString(m, 5).has_value());
  // A lone high surrogate, a lone low one, and a pair.
  const uint8_t units[] = {0x3D, 0xD8, 'x', 0, 0x00, 0xDC, 0x3D, 0xD8, 0xA1, 0xDC};
  EXPECT_EQ(utf16leToUtf8(units, 5), "\xEF\xBF\xBDx\xEF\xBF\xBD\xF0\x9F\x92\xA1");
  // Invalid UTF-8 becomes the replacement character, one per bad byte.
  EXPECT_EQ(utf8ToUtf16("a\xC3"), (std::u16string{u'a', u'\uFFFD'}));
  EXPECT_EQ(utf8ToUtf16("\xFF\xE6"), (std::u16string{u'\uFFFD', u'\uFFFD'}));
  EXPECT_EQ(utf8ToUtf16("æ"), std::u16string(u"æ"));
}

TEST(Strings, OwnStringsComeFromTheOwnModuleWithTheRetryBox) {
  struct cEnd {};
  cHeadlessPlatform hp;
  setFatalExitHandler([](const char*) { throw cEnd{}; });
  // No own module at all: Retry / Cancel, as for any missing resource.
  hp.scriptedUi().answerNext(cMessageResult::cancel);
  EXPECT_THROW(loadString(8003), cEnd);
  ASSERT_EQ(hp.scriptedUi().messages().size(), 1u);
  EXPECT_EQ(hp.scriptedUi().messages()[0].request.text, "Can't get resource\nid=501,type=6\n");

  auto own = std::make_unique<cMemoryResourceModule>("zanbel");
  for (auto& [block, bytes] : makeStringTable({{8003, "læsefejl"}})) own->add(kStringResourceType, block, bytes);
  resourceLibraries().setOwn(std::move(own));
  EXPECT_EQ(loadString(8003), "læsefejl");
  resourceLibraries().release();
  setFatalExitHandler(nullptr);
}
