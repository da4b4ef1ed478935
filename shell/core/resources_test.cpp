#include "shell/core/resources.h"

#include <gtest/gtest.h>

#include "platform/headless/headless.h"

namespace {

struct cFatalExit {
  std::string message;
};

class ResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setFatalExitHandler([](const char* m) { throw cFatalExit{m ? m : ""}; });
    auto own = std::make_unique<cMemoryResourceModule>("zanbel");
    own->add(1006, 1, {0x80, 0x80, 0x80, 0x80});
    own->add(1023, 1, {1, 2, 3});
    auto gadget = std::make_unique<cMemoryResourceModule>("ZBGADGET.DLL");
    gadget->add(1014, 1020, {2, 0});
    resourceLibraries().setOwn(std::move(own));
    resourceLibraries().setGadgetLibrary(std::move(gadget));
  }
  void TearDown() override {
    resourceLibraries().release();
    resourceLibraries().setEverythingFromOwn(false);
    setFatalExitHandler(nullptr);
  }
  cHeadlessPlatform hp;
};

}  // namespace

TEST_F(ResourcesTest, WithoutSoundLibraryEverySoundIsTheSilentOne) {
  const cResourceHandle h = findResource(1006, 1000);
  EXPECT_EQ(lockResource(h).size(), 4u);
  EXPECT_EQ(h.module, resourceLibraries().own());
  EXPECT_EQ(peekResource(1006, 1234)->size(), 4u);
  EXPECT_TRUE(hp.scriptedUi().messages().empty());
}

TEST_F(ResourcesTest, SoundsComeFromTheSoundLibraryWhenThereIsOne) {
  auto sound = std::make_unique<cMemoryResourceModule>("ZBSOUND.DLL");
  sound->add(1006, 128, std::vector<uint8_t>(50, 0x80));
  resourceLibraries().setSoundLibrary(std::move(sound));
  EXPECT_EQ(lockResource(findResource(1006, 128)).size(), 50u);
  // Other types still go to the gadget library, not to the own module.
  EXPECT_EQ(findResource(1014, 1020).module, resourceLibraries().gadgetLibrary());
  EXPECT_FALSE(peekResource(1023, 1).has_value());
  EXPECT_EQ(findResource(*resourceLibraries().own(), 1023, 1).bytes.size(), 3u);
}

TEST_F(ResourcesTest, RetryThenCancelEndsWithoutMessage) {
  hp.scriptedUi().answerNext(cMessageResult::retry);
  hp.scriptedUi().answerNext(cMessageResult::cancel);
  try {
    findResource(1004, 1077);
    FAIL() << "expected the program to end";
  } catch (const cFatalExit& e) {
    EXPECT_EQ(e.message, "");
  }
  const auto& boxes = hp.scriptedUi().messages();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].request.text, "Can't get resource\nid=1077,type=1004\n");
  EXPECT_EQ(boxes[0].request.buttons, cMessageButtons::retryCancel);
  // fatalExit freed the libraries.
  EXPECT_EQ(resourceLibraries().own(), nullptr);
}

TEST_F(ResourcesTest, RetrySucceedsOnceTheResourceIsThere) {
  // The retry box is answered by adding the resource, as a user would by
  // putting the library back and pressing Retry.
  auto* gadget = static_cast<cMemoryResourceModule*>(resourceLibraries().gadgetLibrary());
  struct cAddingUi : cScriptedUserInterface {
    cMemoryResourceModule* m;
    cMessageResult messageBox(const cMessageRequest& r) override {
      cScriptedUserInterface::messageBox(r);
      m->add(1004, 505, {9});
      return cMessageResult::retry;
    }
  };
  struct cPlatformWithUi : cHeadlessPlatform {
    cAddingUi adding;
    cUserInterface& ui() override { return adding; }
  } p;
  p.adding.m = gadget;
  EXPECT_EQ(findResource(1004, 505).bytes.size(), 1u);
  EXPECT_EQ(p.adding.messages().size(), 1u);
}

TEST_F(ResourcesTest, ThePlayerLooksOnlyInItsOwnModule) {
  resourceLibraries().setEverythingFromOwn(true);
  EXPECT_EQ(findResource(1023, 1).bytes.size(), 3u);
  // No silent substitute in the player: a missing sound asks, and Cancel ends.
  EXPECT_THROW(findResource(1006, 128), cFatalExit);
}

TEST_F(ResourcesTest, FatalExitRunsCleanupsNewestFirstAndShowsTheMessage) {
  std::string order;
  atFatalExit([&] { order += "a"; });
  atFatalExit([&] { order += "b"; });
  EXPECT_THROW(fatalExit("Failed to load library ZBGADGET.DLL"), cFatalExit);
  EXPECT_EQ(order, "ba");
  ASSERT_EQ(hp.scriptedUi().messages().size(), 1u);
  EXPECT_EQ(hp.scriptedUi().messages()[0].request.caption, "Zanbel");
  EXPECT_EQ(hp.scriptedUi().messages()[0].request.modality, cModality::system);
  EXPECT_THROW(lockResource(cResourceHandle{}), cFatalExit);
}
