#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(HeadlessPlatformTest, InstallsItselfForItsLifetime) {
  EXPECT_FALSE(hasPlatform());
  {
    cHeadlessPlatform outer;
    EXPECT_EQ(&platform(), &outer);
    {
      cHeadlessPlatform inner;
      EXPECT_EQ(&platform(), &inner);
    }
    EXPECT_EQ(&platform(), &outer);
  }
  EXPECT_FALSE(hasPlatform());
}

TEST(HeadlessPlatformTest, ScriptedInputFollowsTheClock) {
  cHeadlessPlatform hp;
  cScriptedInput& in = hp.scriptedInput();
  in.scheduleTap(100, vk::return_, 50);
  in.scheduleKey(120, vk::lbutton, true);
  in.scheduleMove(120, {30, 40});
  EXPECT_FALSE(in.isKeyDown(vk::return_));
  hp.virtualClock().set(100);
  EXPECT_TRUE(in.isKeyDown(vk::return_));
  EXPECT_FALSE(in.isKeyDown(vk::lbutton));
  hp.virtualClock().set(149);
  EXPECT_TRUE(in.isKeyDown(vk::return_));
  EXPECT_EQ(in.cursorPosition(), (cPoint{30, 40}));
  EXPECT_TRUE(in.isKeyDown(vk::lbutton));
  hp.virtualClock().set(150);
  EXPECT_FALSE(in.isKeyDown(vk::return_));
  EXPECT_FALSE(in.isKeyDown(-1));
  EXPECT_FALSE(in.isKeyDown(vk::count));
}

TEST(HeadlessPlatformTest, MessageBoxesAreRecordedAndAnswered) {
  cHeadlessPlatform hp;
  std::ostringstream echo;
  hp.scriptedUi().echoTo(&echo);
  hp.scriptedUi().answerNext(cMessageResult::retry);
  cUserInterface& ui = platform().ui();
  EXPECT_EQ(ui.messageBox({"Can't get resource", "Zanbel", cMessageButtons::retryCancel}),
            cMessageResult::retry);
  // With the script used up every box gets the answer that changes nothing.
  EXPECT_EQ(ui.messageBox({"again", "Zanbel", cMessageButtons::retryCancel}), cMessageResult::cancel);
  EXPECT_EQ(ui.messageBox({"Gem?", "Zanbel", cMessageButtons::yesNoCancel}), cMessageResult::cancel);
  EXPECT_EQ(ui.messageBox({"?", "Zanbel", cMessageButtons::yesNo}), cMessageResult::no);
  ASSERT_EQ(hp.scriptedUi().messages().size(), 4u);
  EXPECT_EQ(hp.scriptedUi().messages()[0].answer, cMessageResult::retry);
  EXPECT_NE(echo.str().find("[Zanbel] Can't get resource"), std::string::npos);

  hp.scriptedUi().chooseNext("/tmp/a.wgt");
  cFileDialogRequest open;
  open.title = "Åbn";
  EXPECT_EQ(ui.fileDialog(open), "/tmp/a.wgt");
  EXPECT_EQ(ui.fileDialog(open), std::nullopt);
  EXPECT_EQ(hp.scriptedUi().dialogs().size(), 2u);
}
