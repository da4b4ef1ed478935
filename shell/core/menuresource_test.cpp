#include "shell/core/menuresource.h"

#include <gtest/gtest.h>

#include "shell/core/strings.h"

namespace {

// Menu bytes item by item: flags, the id unless a pop-up, the text.
struct cBytes {
  std::vector<uint8_t> b = {0, 0, 0, 0};
  cBytes& item(uint16_t flags, uint16_t id, const std::string& text) {
    u16(flags);
    if (!(flags & 0x10)) u16(id);
    for (char16_t c : utf8ToUtf16(text)) u16(c);
    u16(0);
    return *this;
  }
  void u16(uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
  }
};

TEST(MenuResource, ReadsPopupsItemsSeparatorsAndStates) {
  const cBytes menu = cBytes()
                          .item(0x10, 0, "&Filer")
                          .item(0, 57606, "Sideopsætning...")
                          .item(0, 0, "")
                          .item(0x01, 57603, "&Gem")
                          .item(0x10, 0, "Mere")
                          .item(0x08 | 0x80, 32780, "Intet mønster")
                          .item(0x80, 57665, "&Afslut")
                          .item(0x10 | 0x80, 0, "&Hjælp")
                          .item(0x80, 32784, "Indhold\tF1");
  std::string error;
  const auto bar = parseMenuResource(menu.b, &error);
  ASSERT_TRUE(bar) << error;
  ASSERT_EQ(bar->size(), 2u);
  const cMenuItem& file = (*bar)[0];
  EXPECT_TRUE(file.popup);
  EXPECT_EQ(file.text, "&Filer");
  ASSERT_EQ(file.items.size(), 5u);
  EXPECT_EQ(file.items[0].text, "Sideopsætning...");
  EXPECT_EQ(file.items[0].command, 57606);
  EXPECT_TRUE(file.items[1].separator);
  EXPECT_TRUE(file.items[2].greyed);
  EXPECT_FALSE(file.items[0].greyed);
  ASSERT_EQ(file.items[3].items.size(), 1u);
  EXPECT_TRUE(file.items[3].items[0].checked);
  EXPECT_EQ(file.items[4].command, 57665);
  EXPECT_EQ((*bar)[1].items.at(0).text, "Indhold\tF1");
}

TEST(MenuResource, RefusesWhatIsNotAWholeMenu) {
  const cBytes whole = cBytes().item(0x10 | 0x80, 0, "&Filer").item(0x80, 57665, "&Afslut");
  ASSERT_TRUE(parseMenuResource(whole.b));
  struct cCase {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<cCase> cases = {
      {"nothing", {}},
      {"cut in the last text", std::vector<uint8_t>(whole.b.begin(), whole.b.end() - 3)},
      {"no item marks the end", cBytes().item(0, 1, "a").item(0, 2, "b").b},
      {"an extended menu", whole.b},
      {"a header longer than the menu", whole.b},
  };
  cases[3].bytes[0] = 1;
  cases[4].bytes[2] = 0xFF;
  // Pop-ups nested deeper than any menu bar goes.
  cBytes deep;
  for (int i = 0; i < 40; ++i) deep.item(0x10 | 0x80, 0, "x");
  cases.push_back({"too deep", deep.b});
  for (const cCase& c : cases) {
    std::string error;
    EXPECT_FALSE(parseMenuResource(c.bytes, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

}  // namespace
