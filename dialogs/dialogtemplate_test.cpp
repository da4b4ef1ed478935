#include "dialogs/dialogtemplate.h"

#include <gtest/gtest.h>

#include "dialogs/dialogs_testing.h"

namespace {

using dialogtest::builtResources;

std::vector<uint8_t> templateBytes(uint16_t id) {
  for (const cResEntry& e : builtResources("fixture.rc.res"))
    if (e.type == kDialogResourceType && e.name == id) return e.data;
  ADD_FAILURE() << "no dialog " << id;
  return {};
}

TEST(DialogTemplate, ReadsWhatTheResourceCompilerWrites) {
  const auto t = parseDialogTemplate(templateBytes(3001));
  ASSERT_TRUE(t);
  EXPECT_TRUE(t->extended);
  EXPECT_EQ(t->title, "Prøve");
  EXPECT_EQ(t->cx, 340);
  EXPECT_EQ(t->cy, 200);
  EXPECT_EQ(t->pointSize, 8);
  EXPECT_EQ(t->typeface, "MS Sans Serif");
  EXPECT_EQ(t->items.size(), 20u);

  // Controls with a class name and with a class number read alike.
  const cDialogItemTemplate* radio = t->item(110);
  ASSERT_TRUE(radio);
  EXPECT_TRUE(isWindowClass(radio->className, "button"));
  EXPECT_EQ(radio->text, "Indstilling:0");
  EXPECT_EQ(radio->style & 0xF, 9u);
  EXPECT_EQ(radio->helpId, 140u);
  EXPECT_EQ(radio->x, 128);
  EXPECT_EQ(radio->cy, 10);
  const cDialogItemTemplate* ok = t->item(1);
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->className, "Button");
  EXPECT_EQ(ok->style & 0xF, 1u);
  const cDialogItemTemplate* frame = t->item(0xFFFFFFFF);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->text, "Ramme");
}

TEST(DialogTemplate, ReadsThePlainForm) {
  const auto t = parseDialogTemplate(templateBytes(3003));
  ASSERT_TRUE(t);
  EXPECT_FALSE(t->extended);
  EXPECT_EQ(t->title, "Gammel");
  EXPECT_EQ(t->typeface, "MS Sans Serif");
  ASSERT_EQ(t->items.size(), 3u);
  EXPECT_EQ(t->items[0].className, "Static");
  EXPECT_EQ(t->items[0].text, "Navn:");
  EXPECT_EQ(t->items[1].className, "Edit");
  EXPECT_EQ(t->items[1].id, 151u);
  EXPECT_EQ(t->items[2].id, 1u);
}

TEST(DialogTemplate, RefusesEveryCutShortTemplate) {
  for (uint16_t id : {3001, 3003}) {
    const std::vector<uint8_t> whole = templateBytes(id);
    ASSERT_TRUE(parseDialogTemplate(whole));
    // The last item's text is the last thing read: anything shorter is refused.
    for (size_t n = 0; n + 2 < whole.size(); ++n)
      EXPECT_FALSE(parseDialogTemplate(std::span(whole.data(), n))) << "dialog " << id << ", " << n << " bytes";
  }
}

TEST(DialogUnits, ConvertAsWindowsDoes) {
  // "MS Sans Serif" 8 measures 312 pixels for the 52 letters and 13 high: 6 x 13.
  const cDialogBaseUnits base = dialogBaseUnits(312, 13);
  EXPECT_EQ(base.x, 6);
  EXPECT_EQ(base.y, 13);
  EXPECT_EQ(dialogBaseUnits(300, 16).x, 6);  // 300 / 26 = 11, (11 + 1) / 2
  EXPECT_EQ(dialogBaseUnits(280, 16).x, 5);  // 280 / 26 = 10, (10 + 1) / 2
  struct cCase {
    int units, x, y;
  };
  const cCase cases[] = {{0, 0, 0}, {1, 2, 2}, {3, 5, 5}, {4, 6, 7}, {7, 11, 11}, {50, 75, 81}, {-3, -5, -5}};
  for (const cCase& c : cases) {
    EXPECT_EQ(dialogXToPixels(c.units, base), c.x) << c.units;
    EXPECT_EQ(dialogYToPixels(c.units, base), c.y) << c.units;
  }
  cDialogItemTemplate item;
  item.x = 7;
  item.y = 88;
  item.cx = 296;
  item.cy = 84;
  EXPECT_EQ(itemPixelRect(item, base), (cWinRect{11, 143, 11 + 444, 143 + 137}));
}

}  // namespace
