#include "dialogs/dialogpictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "dialogs/dialogs_testing.h"

namespace {

using dialogtest::cRecordingGadget;
using dialogtest::DialogTest;
using namespace dialogtest;

uint8_t at(const CWinGDib& s, int x, int y) { return *s.pixelAddress(x, y); }

// Black pixels well inside the picture, clear of the rounded outline.
int inkInside(const CWinGDib& s) {
  const uint8_t black = nearestIndex(rgb(0, 0, 0));
  int n = 0;
  for (int y = 12; y < s.height() - 12; ++y)
    for (int x = 12; x < s.width() - 12; ++x) n += at(s, x, y) == black;
  return n;
}

std::set<uint8_t> colours(const CWinGDib& s) {
  std::set<uint8_t> out;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) out.insert(at(s, x, y));
  return out;
}

TEST(ProgressBar, BlueForWhatIsDoneAndYellowForTheRest) {
  const uint8_t blue = nearestIndex(0xFF0000), yellow = nearestIndex(0x00FFFF);
  struct cCase {
    int percent;
    int blueColumns;
  };
  const cCase cases[] = {{0, 0}, {100, 50}, {50, 25}, {33, 16}, {105, 50}, {-5, 0}};
  for (const cCase& c : cases) {
    CWinGDib bar(50, 4, +1);
    bar.fill(3);
    drawProgressBar(bar, c.percent);
    for (int x = 0; x < 50; ++x)
      ASSERT_EQ(at(bar, x, 2), x < c.blueColumns ? blue : yellow) << c.percent << "% at " << x;
    if (c.percent <= 0) {
      EXPECT_EQ(colours(bar), std::set<uint8_t>{yellow});
    }
    if (c.percent >= 100) {
      EXPECT_EQ(colours(bar), std::set<uint8_t>{blue});
    }
  }
}

TEST(RoundRect, CornersStayOutsideTheShape) {
  CWinGDib s(60, 40, +1);
  s.fill(0);
  drawRoundRect(s, {0, 0, 60, 40}, 20, 20, rgb(0, 0, 0), rgb(255, 255, 255));
  const uint8_t pen = nearestIndex(rgb(0, 0, 0)), fill = nearestIndex(rgb(255, 255, 255));
  EXPECT_EQ(at(s, 0, 0), 0);
  EXPECT_EQ(at(s, 59, 39), 0);
  EXPECT_EQ(at(s, 2, 2), 0);
  EXPECT_EQ(at(s, 30, 0), pen);
  EXPECT_EQ(at(s, 0, 20), pen);
  EXPECT_EQ(at(s, 59, 20), pen);
  EXPECT_EQ(at(s, 30, 20), fill);
  EXPECT_EQ(at(s, 6, 6), fill);
}

TEST_F(DialogTest, TheGadgetGraphicShowsTheGadgetItsPinLinesAndArrows) {
  open(3001);
  const cDialogGadgetGraphic* g = dialog->gadgetGraphic();
  ASSERT_TRUE(g);
  const CWinGDib& s = g->surface();
  EXPECT_EQ(s.width(), host->control(102)->clientSize().width);
  EXPECT_EQ(s.height(), host->control(102)->clientSize().height);
  const cPoint o = g->gadgetOrigin();
  const uint8_t red = nearestIndex(rgb(255, 0, 0)), grey = nearestIndex(kDialogGrey);
  // The picture, centred.
  EXPECT_EQ(at(s, o.h + 20, o.v + 10), kGadgetIndex);
  EXPECT_NEAR(o.h + 20, s.width() / 2, 1);
  // Pin 0 (left edge, in): a red line to the left, then an arrow pointing at it.
  EXPECT_EQ(at(s, o.h - 3, o.v + 10), red);
  EXPECT_EQ(at(s, o.h - 10, o.v + 10), kArrowIndex);
  // Pin 2 (right edge, out): a red line to the right, then an arrow.
  EXPECT_EQ(at(s, o.h + 43, o.v + 10), red);
  EXPECT_EQ(at(s, o.h + 40 + 12, o.v + 10), kArrowIndex);
  // Pin 1 (top edge, in): up into the lane above the picture, then over to the left.
  EXPECT_EQ(at(s, o.h + 20, o.v - 4), red);
  EXPECT_EQ(at(s, o.h + 5, o.v - 9), red);
  EXPECT_EQ(at(s, o.h - 10, o.v - 9), kArrowIndex);
  // Grey elsewhere.
  EXPECT_EQ(at(s, 1, s.height() - 2), grey);
  EXPECT_EQ(at(s, o.h + 20, o.v + 30), grey);
  // The extra picture at the stored point (124, 10) is clear of all that here.
  EXPECT_TRUE(g->showsExtraPicture());
  EXPECT_EQ(at(s, 124 + 8, 10 + 8), kBulbIndex);
}

TEST_F(DialogTest, TheExtraPictureIsLeftOutWhereItWouldCoverTheGadget) {
  gadget = std::make_unique<cRecordingGadget>();
  gadget->bounds = cRect(0, 0, 100, 160);  // fills the item
  open(3001);
  EXPECT_FALSE(dialog->gadgetGraphic()->showsExtraPicture());
  EXPECT_EQ(colours(dialog->gadgetGraphic()->surface()).count(kBulbIndex), 0u);
}

TEST_F(DialogTest, ThePreviewShowsTheSettingsOfTheMoment) {
  // A kind whose picture follows its settings; the preview draws it with the
  // dialog's values and then puts the gadget's settings back.
  struct cShade : cRecordingGadget {
    void draw(CWinGDib& surface, const cRect& clip) override {
      const cRect r = worksheetRect() & clip & surface.bounds();
      for (int y = r.top; y < r.bottom; ++y)
        std::memset(surface.pixelAddress(r.left, y), 20 + settings.bools[0], size_t(r.width()));
    }
  };
  gadget = std::make_unique<cShade>();
  open(3001);
  const cPoint o = dialog->gadgetGraphic()->gadgetOrigin();
  EXPECT_EQ(at(dialog->gadgetGraphic()->surface(), o.h + 20, o.v + 10), 20);
  host->click(111);
  EXPECT_EQ(at(dialog->gadgetGraphic()->surface(), o.h + 20, o.v + 10), 21);
  EXPECT_EQ(gadget->settings.bools[0], 0);
}

TEST_F(DialogTest, PicNumberShowsFrameOneOfThatSetOnGrey) {
  open(3002);
  EXPECT_FALSE(dialog->gadgetGraphic());
  const CWinGDib* s = dialog->drawItem(kItemPicture, false);
  ASSERT_TRUE(s);
  EXPECT_EQ(at(*s, 0, 0), kPictureIndex);
  EXPECT_EQ(at(*s, 9, 9), kPictureIndex);
  EXPECT_EQ(at(*s, 10, 10), nearestIndex(kDialogGrey));
}

TEST_F(DialogTest, HelpTextIsSetInANinthOfItsHeightOrATwelfthWhenItIsLong) {
  open(3001);
  const cWinRect r103 = host->itemRect(103);
  const int area = (r103.bottom - r103.top) - 8;
  const CWinGDib* text = dialog->drawItem(kItemHelpText, false);
  ASSERT_TRUE(text);
  EXPECT_EQ(dialog->helpItem()->fontHeight(), area / 9);
  EXPECT_GT(inkInside(*text), 0);

  std::string story;
  for (int i = 0; i < 60; ++i) story += "Ord og flere ord. ";
  artwork->add(kHelpTextResourceType, 3001, std::vector<uint8_t>(story.begin(), story.end() + 1));
  gadget.reset();
  open(3001);
  dialog->drawItem(kItemHelpText, false);
  EXPECT_EQ(dialog->helpItem()->fontHeight(), area / 12);
}

TEST_F(DialogTest, TheToggleButtonShowsWhichTextIsShownAndWhetherItIsPressed) {
  open(3001);
  struct cCase {
    bool tip, pressed;
    uint8_t frame;
  };
  const cCase cases[] = {{false, false, 1}, {false, true, 2}, {true, false, 3}, {true, true, 4}};
  for (const cCase& c : cases) {
    if (dialog->helpItem()->showingTip() != c.tip) host->click(kItemHelpToggle);
    const CWinGDib* s = dialog->drawItem(kItemHelpToggle, c.pressed);
    ASSERT_TRUE(s);
    EXPECT_EQ(at(*s, s->width() / 2, s->height() / 2), kToggleIndex + c.frame - 1)
        << "tip " << c.tip << ", pressed " << c.pressed;
  }
}

TEST_F(DialogTest, WithoutAHelpLinkTheItemIsBlankAndNothingIsSaid) {
  artwork->add(kHelpLinkResourceType, 3001, {});  // too short to be a link
  open(3001);
  EXPECT_EQ(dialog->helpItem()->description(), "");
  const CWinGDib* text = dialog->drawItem(kItemHelpText, false);
  ASSERT_TRUE(text);
  EXPECT_EQ(inkInside(*text), 0);
  EXPECT_EQ(dialog->helpItem()->fontHeight(), 0);
  EXPECT_EQ(hp.scriptedUi().messages().size(), 0u);
}

TEST_F(DialogTest, TheProgressItemDrawsTheProgressSet) {
  open(3001);
  dialog->setProgress(100);
  const CWinGDib* s = dialog->drawItem(kItemProgress, false);
  ASSERT_TRUE(s);
  EXPECT_EQ(colours(*s), std::set<uint8_t>{nearestIndex(0xFF0000)});
  EXPECT_GT(host->control(kItemProgress)->redraws(), 0);
  EXPECT_EQ(dialog->drawItem(104, false), nullptr);
}

}  // namespace
