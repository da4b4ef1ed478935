#include "shell/app/settingstext.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class cPlainGadget : public cGadget {
 public:
  void draw(CWinGDib&, const cRect&) override {}
};

TEST(SettingsText, EverySettingInTheWordsOfTheInventionSources) {
  cPlainGadget g;
  g.typeCode = "cnst"_tc;
  g.settings.bools[0] = 3;
  g.settings.values[1] = -2;
  g.settings.setFlag(0, true);
  g.settings.setFlag(31, true);
  std::strcpy(g.settings.text(0), "R\xe6v \"1\"\\");
  std::memset(g.settings.text(3), 'x', kTextLength);  // no terminating zero: the 60 bytes count
  EXPECT_EQ(settingsText(g),
            "gadget cnst\n"
            "  choice 0 3\n  choice 1 0\n  choice 2 0\n  choice 3 0\n"
            "  number 0 0\n  number 1 -2\n  number 2 0\n  number 3 0\n"
            "  flag 0\n  flag 31\n"
            "  text 0 \"Ræv \\\"1\\\"\\\\\"\n"
            "  text 1 \"\"\n  text 2 \"\"\n"
            "  text 3 \"" + std::string(kTextLength, 'x') + "\"\n");
}

TEST(SettingsText, AKindWithOneLongTextShowsItWithItsLineBreaks) {
  cPlainGadget g;
  g.typeCode = "TxBx"_tc;
  g.singleText = true;
  std::strcpy(g.settings.texts, "Du kan skrive\r\n4 linier tekst");
  const std::string text = settingsText(g);
  EXPECT_NE(text.find("  longtext \"Du kan skrive\\r\\n4 linier tekst\"\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("  text 0"), std::string::npos);
}

}  // namespace
