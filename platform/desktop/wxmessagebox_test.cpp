#include "platform/desktop/wxmessagebox.h"

#include <gtest/gtest.h>

#include <wx/button.h>

#include "platform/desktop/wxtesting.h"
#include "platform/platform.h"

namespace {

std::vector<std::string> labelsOf(CMessageBox* box, cMessageButtons set) {
  std::vector<std::string> labels;
  for (const cMessageButton& b : messageButtons(set))
    if (wxButton* button = box->buttonFor(b.result)) labels.push_back(button->GetLabelText().utf8_string());
  return labels;
}

// Shows a box through the platform and does `act` to it once it is on screen.
cMessageResult askAndAct(const cMessageRequest& request, const std::function<void(CMessageBox*)>& act) {
  cWhenShown when(isShown<CMessageBox>(), [&](wxTopLevelWindow* w) { act(static_cast<CMessageBox*>(w)); });
  return platform().ui().messageBox(request);
}

}  // namespace

TEST(DesktopMessageBoxTest, EachButtonSetHasItsDanishButtonsAndAnswers) {
  struct cCase {
    cMessageButtons set;
    std::vector<std::string> labels;
    cMessageResult click;
  };
  const cCase cases[] = {
      {cMessageButtons::ok, {"OK"}, cMessageResult::ok},
      {cMessageButtons::okCancel, {"OK", "Annuller"}, cMessageResult::cancel},
      {cMessageButtons::abortRetryIgnore, {"Afbryd", "Prøv igen", "Ignorer"}, cMessageResult::ignore},
      {cMessageButtons::yesNoCancel, {"Ja", "Nej", "Annuller"}, cMessageResult::no},
      {cMessageButtons::yesNo, {"Ja", "Nej"}, cMessageResult::yes},
      {cMessageButtons::retryCancel, {"Prøv igen", "Annuller"}, cMessageResult::retry},
  };
  for (const cCase& c : cases) {
    cMessageRequest request;
    request.text = "Gem ændringerne i robot.wgt?";
    request.buttons = c.set;
    std::vector<std::string> labels;
    std::string caption;
    const cMessageResult answer = askAndAct(request, [&](CMessageBox* box) {
      labels = labelsOf(box, c.set);
      caption = box->GetTitle().utf8_string();
      clickOn(box->buttonFor(c.click));
    });
    EXPECT_EQ(answer, c.click) << labels.size();
    EXPECT_EQ(labels, c.labels);
    EXPECT_EQ(caption, "Zanbel");
  }
}

TEST(DesktopMessageBoxTest, EscapeAnswersLikeWindowsAndIsIgnoredWithoutACancel) {
  struct cCase {
    cMessageButtons set;
    cMessageResult expected;   // the answer Escape gives, or the button clicked after it
    bool escapeIgnored;
  };
  const cCase cases[] = {
      {cMessageButtons::ok, cMessageResult::ok, false},
      {cMessageButtons::okCancel, cMessageResult::cancel, false},
      {cMessageButtons::yesNoCancel, cMessageResult::cancel, false},
      {cMessageButtons::retryCancel, cMessageResult::cancel, false},
      {cMessageButtons::yesNo, cMessageResult::no, true},
      {cMessageButtons::abortRetryIgnore, cMessageResult::abort, true},
  };
  for (const cCase& c : cases) {
    cMessageRequest request;
    request.text = "Escape?";
    request.buttons = c.set;
    bool stillOpen = false;
    const cMessageResult answer = askAndAct(request, [&](CMessageBox* box) {
      // Keys go where the pointer is: into the box, away from its buttons.
      clickAt(box->ClientToScreen(wxPoint(4, 4)));
      pressKey(WXK_ESCAPE);
      if (!c.escapeIgnored) return;
      runFor(300);
      stillOpen = box->IsModal();
      box->Close();  // the close box is refused too
      runFor(100);
      stillOpen = stillOpen && box->IsModal();
      clickOn(box->buttonFor(c.expected));
    });
    EXPECT_EQ(answer, c.expected) << static_cast<int>(c.set);
    EXPECT_EQ(stillOpen, c.escapeIgnored) << static_cast<int>(c.set);
  }
}

TEST(DesktopMessageBoxTest, TheTextIsShownAsItIs) {
  cMessageRequest request;
  request.text = "Kan ikke finde filen: ZANBEL.SLF\nDen skal ligge i samme bibliotek som Zanbel & co\n";
  request.caption = "Zanbel";
  request.icon = cMessageIcon::error;
  std::string shown;
  askAndAct(request, [&](CMessageBox* box) {
    shown = textShownIn(box);
    clickOn(box->buttonFor(cMessageResult::ok));
  });
  EXPECT_EQ(shown, request.text);
}

TEST(DesktopMessageBoxTest, BeforeTheToolkitIsUpTheBoxGetsTheCautiousAnswerAtOnce) {
  cDesktopUserInterface ui;  // not ready
  cMessageRequest request;
  request.text = "Can't get resource\nid=1,type=1023\n";
  request.buttons = cMessageButtons::retryCancel;
  EXPECT_EQ(ui.messageBox(request), cMessageResult::cancel);
  request.buttons = cMessageButtons::yesNo;
  EXPECT_EQ(ui.messageBox(request), cMessageResult::no);
  EXPECT_EQ(ui.fileDialog({}), std::nullopt);
}

TEST(DesktopMessageBoxTest, NoIdleStepsRunWhileABoxIsOpen) {
  runUntil([] { return testApp().idleSteps > 10; });
  int during = 0;
  cMessageRequest request;
  request.text = "Vent";
  askAndAct(request, [&](CMessageBox* box) {
    const int before = testApp().idleSteps;
    runFor(300);
    during = testApp().idleSteps - before;
    clickOn(box->buttonFor(cMessageResult::ok));
  });
  EXPECT_EQ(during, 0);
  const int after = testApp().idleSteps;
  EXPECT_TRUE(runUntil([&] { return testApp().idleSteps > after + 10; }));
}
