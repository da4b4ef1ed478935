#include "shell/core/resourcemodule.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "export/resource_fixtures.h"
#include "platform/headless/headless.h"
#include "shell/core/settings.h"

namespace fs = std::filesystem;

namespace {

struct cFatalExit {
  std::string message;
};

void writeFile(const fs::path& p, const std::vector<uint8_t>& bytes) {
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> elfWith(const std::vector<fixtures::cResource>& resources) {
  return fixtures::buildElf(fixtures::buildTree(resources, 0));
}

// A program folder: the program with its own resources, and the two libraries.
class ResourceStartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zanbel-startup-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    setSettingsPath((dir_ / "ZANBEL.INI").string());
    setCommandLine({"zanbel"});
    setFatalExitHandler([](const char* m) { throw cFatalExit{m ? m : ""}; });
    writeFile(dir_ / "zanbel", elfWith({{1006, 1, 1030, {0x80, 0x80, 0x80, 0x80}}, {1023, 1, 1030, {7, 7}}}));
    writeFile(dir_ / kGadgetLibraryName, elfWith({{1004, 1029, 1030, {'H', 'R', 0, 0}}, {1014, 1029, 1030, {1, 0}}}));
    writeFile(dir_ / kSoundLibraryName, elfWith({{1006, 128, 1030, std::vector<uint8_t>(50, 0x80)}}));
  }
  void TearDown() override {
    resourceLibraries().release();
    resourceLibraries().setEverythingFromOwn(false);
    setFatalExitHandler(nullptr);
    fs::remove_all(dir_);
  }
  cResourceStartup startup(cResourceStartMode mode = cResourceStartMode::editor) {
    return {mode, (dir_ / "zanbel").string(), ""};
  }
  std::string fatalMessage(const cResourceStartup& s) {
    try {
      openResourceLibraries(s);
    } catch (const cFatalExit& e) {
      return e.message;
    }
    return "(no fatal exit)";
  }

  cHeadlessPlatform hp;
  fs::path dir_;
};

}  // namespace

TEST_F(ResourceStartupTest, EditorReadsEachTypeFromItsModule) {
  openResourceLibraries(startup());
  cResourceLibraries& libs = resourceLibraries();
  ASSERT_TRUE(libs.gadgetLibrary() && libs.soundLibrary() && libs.own());
  EXPECT_EQ(libs.gadgetLibrary()->name(), "ZBGADGET.DLL");
  EXPECT_EQ(findResource(1014, 1029).module, libs.gadgetLibrary());
  EXPECT_EQ(lockResource(findResource(1014, 1029)).size(), 2u);
  EXPECT_EQ(lockResource(findResource(1006, 128)).size(), 50u);
  EXPECT_EQ(lockResource(findOwnResource(1023, 1)).size(), 2u);
  EXPECT_TRUE(hp.scriptedUi().messages().empty());
}

TEST_F(ResourceStartupTest, WithoutTheSoundLibraryEverySoundIsTheOwnSilence) {
  struct cCase {
    const char* what;
    std::vector<std::string> arguments;
    const char* setting;  // the NoSoundPlease key, or null
    bool removeLibrary;
    bool soundLibrary;
  };
  const cCase cases[] = {
      {"argument", {"zanbel", "NoSoundPlease"}, nullptr, false, false},
      {"key", {"zanbel"}, "1", false, false},
      {"key set to 0", {"zanbel"}, "0", false, true},
      {"library missing", {"zanbel"}, nullptr, true, false},
  };
  for (const cCase& c : cases) {
    SCOPED_TRACE(c.what);
    setCommandLine(c.arguments);
    if (c.setting) writeSetting("NoSoundPlease", c.setting); else removeSetting("NoSoundPlease");
    if (c.removeLibrary) fs::remove(dir_ / kSoundLibraryName);
    openResourceLibraries(startup());
    EXPECT_EQ(resourceLibraries().soundLibrary() != nullptr, c.soundLibrary);
    if (!c.soundLibrary) {
      const cResourceHandle h = findResource(1006, 1000);
      EXPECT_EQ(h.module, resourceLibraries().own());
      EXPECT_EQ(std::vector<uint8_t>(h.bytes.begin(), h.bytes.end()), std::vector<uint8_t>(4, 0x80));
    }
    resourceLibraries().release();
  }
  EXPECT_TRUE(hp.scriptedUi().messages().empty());
}

TEST_F(ResourceStartupTest, TheGadgetLibraryMustBeThereAndOpenOnlyOnce) {
  openResourceLibraries(startup());
  EXPECT_EQ(fatalMessage(startup()), "Kan ikke afvikle to kopier af Zanbel");
  resourceLibraries().release();

  for (const char* broken : {"missing", "not a program"}) {
    SCOPED_TRACE(broken);
    if (std::string(broken) == "missing") fs::remove(dir_ / kGadgetLibraryName);
    else writeFile(dir_ / kGadgetLibraryName, std::vector<uint8_t>(100, 'x'));
    hp.scriptedUi().forget();
    EXPECT_EQ(fatalMessage(startup()), "Failed to load library ZBGADGET.DLL");
    ASSERT_EQ(hp.scriptedUi().messages().size(), 1u);
    EXPECT_EQ(hp.scriptedUi().messages()[0].request.caption, "Zanbel");
    EXPECT_EQ(hp.scriptedUi().messages()[0].request.modality, cModality::system);
    EXPECT_EQ(resourceLibraries().own(), nullptr) << "the fatal exit frees the modules";
  }
}

TEST_F(ResourceStartupTest, PlayerReadsEverythingFromItsOwnFile) {
  fs::remove(dir_ / kGadgetLibraryName);
  openResourceLibraries(startup(cResourceStartMode::player));
  cResourceLibraries& libs = resourceLibraries();
  EXPECT_EQ(libs.gadgetLibrary(), nullptr);
  EXPECT_EQ(libs.soundLibrary(), nullptr);
  EXPECT_EQ(findResource(1023, 1).module, libs.own());
  // No silent stand-in in the player: a missing sound asks Retry / Cancel.
  hp.scriptedUi().answerNext(cMessageResult::cancel);
  EXPECT_THROW(findResource(1006, 128), cFatalExit);
  ASSERT_EQ(hp.scriptedUi().messages().size(), 1u);
  EXPECT_EQ(hp.scriptedUi().messages()[0].request.text, "Can't get resource\nid=128,type=1006\n");
}

TEST_F(ResourceStartupTest, AProgramWithoutResourcesHasAnEmptyOwnModule) {
  writeFile(dir_ / "zanbel", fixtures::buildElf({}, {.noRsrc = true}));
  openResourceLibraries(startup());
  ASSERT_NE(resourceLibraries().own(), nullptr);
  EXPECT_FALSE(resourceLibraries().own()->find(1023, 1).has_value());
}

// The module keeps its file open and reads a resource's bytes when asked;
// the bytes it hands out stay put while it lives.
TEST_F(ResourceStartupTest, FileModuleReadsOnDemand) {
  std::string error;
  EXPECT_EQ(cFileResourceModule::open((dir_ / "nothing").string(), &error), nullptr);
  EXPECT_FALSE(error.empty());
  auto m = cFileResourceModule::open((dir_ / kGadgetLibraryName).string());
  ASSERT_TRUE(m);
  const CWResourceElement* e = m->file().tree()->types.findByKey(1004)->names.first()->languages.first();
  EXPECT_FALSE(e->isLoaded());
  auto first = m->find(1004, 1029);
  ASSERT_TRUE(first);
  EXPECT_TRUE(e->isLoaded());
  EXPECT_EQ(first->data(), m->find(1004, 1029)->data());
  EXPECT_FALSE(m->find(1004, 1030));
  EXPECT_FALSE(m->find(1005, 1029));
}
