// The resources as built: the scripts compiled, merged and attached to the
// programs and libraries in the build's bin folder.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "export/resource_fixtures.h"
#include "platform/headless/headless.h"
#include "shell/core/alert.h"
#include "shell/core/resourcemodule.h"
#include "shell/core/strings.h"

namespace {

std::unique_ptr<cFileResourceModule> builtModule(const char* file) {
  std::string error;
  auto m = cFileResourceModule::open(std::string(ZANBEL_BIN_DIR) + "/" + file, &error);
  EXPECT_TRUE(m) << file << ": " << error;
  return m;
}

const struct {
  int id;
  const char* text;
} kAlerts[] = {
    {8001, "Vend tilbage til den sidst gemte version?"},
    {8002, "Vend tilbage til det oprindelige hovedbrud?"},
    {8003, "Der opstod en fejl under læsning af filen."},
    {8004, "Der opstod en fejl under skrivning til filen. Din harddisk er sikkert fuld."},
    {8005, "Kan ikke finde hovedbruddet. Det skal ligge i samme mappe som Zanbel og skal hedde ZANBEL.PZL."},
    {8006, "Kan ikke finde ressourcen. Den skal ligge i samme mappe som Zanbel og skal hedde ZANBEL.SLF"},
    {8007, "Denne fil er ikke gemt i Zanbel"},
    {8008, "Denne fil er ikke gemt som en selvstændig opfindelse"},
    {8009, "Der er for lidt hukommelse til opfindelserne.\nDu skal gemme dit arbejde med det samme. Prøv at lukke "
           "alle åbne programmer,\ninden du gør opfindelserne aktive igen."},
    {8010, "Der er for lidt hukommelse til at udføre handlingen"},
};

const char* const kTemplateString = "Zanbel\n udennavn.wgt\nOpfindelse\n\n\nOpfindelse\nOpfindelse";

}  // namespace

TEST(BuiltResources, EditorAndPlayerCarryTheAlertTexts) {
  for (const char* file : {"zanbel-cli", "ZANBEL.SLF"}) {
    SCOPED_TRACE(file);
    auto m = builtModule(file);
    ASSERT_TRUE(m);
    for (const auto& a : kAlerts) EXPECT_EQ(loadString(*m, uint16_t(a.id)).value_or("(none)"), a.text) << a.id;
    EXPECT_EQ(loadString(*m, 2).value_or("(none)"), kTemplateString);
  }
}

TEST(BuiltResources, EditorCarriesKindNamesAndTheSilentSound) {
  auto m = builtModule("zanbel-cli");
  ASSERT_TRUE(m);
  for (int id = 2501; id <= 2564; ++id) EXPECT_FALSE(loadString(*m, uint16_t(id)).value_or("").empty()) << id;
  const struct {
    int id;
    const char* text;
  } names[] = {{2501, "Pendul"}, {2506, "Møntkast"}, {2519, "Tovejsforgrener"}, {2529, "Areal/rumfang"},
               {2538, "Båndoptager"}, {2540, "Afstandsmåler til mus"}, {2551, "Skærm"}, {2562, "Klistermærke"},
               {2564, "Etiket"}};
  for (const auto& n : names) EXPECT_EQ(loadString(*m, uint16_t(n.id)).value_or(""), n.text);
  EXPECT_FALSE(loadString(*m, 2565).has_value() && !loadString(*m, 2565)->empty());
  auto silence = m->find(1006, 1);
  ASSERT_TRUE(silence);
  EXPECT_EQ(std::vector<uint8_t>(silence->begin(), silence->end()), std::vector<uint8_t>(4, 0x80));
}

TEST(BuiltResources, PlayerEndsWithTheEndMarkerAndHasNoInvention) {
  auto m = builtModule("ZANBEL.SLF");
  ASSERT_TRUE(m);
  auto marker = m->find(20000, 20000);
  ASSERT_TRUE(marker);
  EXPECT_EQ(std::string(marker->begin(), marker->end()), "End of resources");
  EXPECT_FALSE(m->find(1023, 1));
  EXPECT_FALSE(m->find(1006, 1)) << "the player has no silent stand-in";
}

TEST(BuiltResources, GadgetLibraryExportsInstanceCount) {
  EXPECT_TRUE(builtModule("ZBGADGET.DLL"));
  EXPECT_TRUE(builtModule("ZBSOUND.DLL"));
  // Nothing in Zanbel loads the library as code; this test does, to try the export.
  void* lib = dlopen((std::string(ZANBEL_BIN_DIR) + "/ZBGADGET.DLL").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_TRUE(lib) << dlerror();
  auto count = reinterpret_cast<int32_t (*)(int32_t)>(dlsym(lib, "InstanceCount"));
  ASSERT_TRUE(count);
  EXPECT_EQ(count(5), 5);
  EXPECT_EQ(count(-7), -2);
  EXPECT_EQ(count(0), -2);
  dlclose(lib);
}

// The alerts through the platform's message boxes, with the editor's own strings.
TEST(BuiltResources, AlertsAskThroughTheMessageBoxes) {
  cHeadlessPlatform hp;
  resourceLibraries().setOwn(builtModule("zanbel-cli"));
  cAlert alert;
  alert.show(3);
  hp.scriptedUi().answerNext(cMessageResult::cancel);
  EXPECT_EQ(alert.ask(1), cMessageResult::cancel);
  hp.scriptedUi().answerNext(cMessageResult::no);
  EXPECT_EQ(alert.askSave("bil.wgt"), cMessageResult::no);
  const auto& boxes = hp.scriptedUi().messages();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].request.text, "Der opstod en fejl under læsning af filen.");
  EXPECT_EQ(boxes[0].request.buttons, cMessageButtons::ok);
  EXPECT_EQ(boxes[1].request.text, "Vend tilbage til den sidst gemte version?");
  EXPECT_EQ(boxes[1].request.buttons, cMessageButtons::okCancel);
  EXPECT_EQ(boxes[2].request.text, "Gem ændringerne i bil.wgt?");
  EXPECT_EQ(boxes[2].request.buttons, cMessageButtons::yesNoCancel);
  EXPECT_EQ(boxes[2].request.modality, cModality::task);
  for (const auto& b : boxes) EXPECT_EQ(b.request.caption, "Zanbel");
  resourceLibraries().release();
}

using fixtures::runCommand;

// What an export does to the player template, done with zanbel-cli: the
// invention is found in the copy (as the player finds it), and readelf still
// accepts the program. The player's window is tried by its desktop tests.
TEST(BuiltResources, PlayerWithAnAddedInventionStillStarts) {
  const std::string bin = ZANBEL_BIN_DIR;
  const std::string dir = ::testing::TempDir() + "zanbel-export-" + std::to_string(::getpid());
  const std::string player = dir + "/Opfindelse";
  ASSERT_EQ(std::system(("mkdir -p " + dir + " && cp " + bin + "/ZANBEL.SLF " + player).c_str()), 0);
  { std::ofstream(dir + "/opfindelse.wgt", std::ios::binary) << "FORM\0\0\0\4Gadf"; }
  int status = 0;
  std::string out = runCommand(bin + "/zanbel-cli import " + player + " " + dir + "/ud.wgt", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(out.find("der er ingen opfindelse i det"), std::string::npos) << out;

  out = runCommand(bin + "/zanbel-cli rsrc add " + player + " 1023 1 0 " + dir + "/opfindelse.wgt", status);
  ASSERT_EQ(status, 0) << out;
  out = runCommand(bin + "/zanbel-cli import " + player + " " + dir + "/ud.wgt", status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("Gemte opfindelsen fra"), std::string::npos) << out;
  out = runCommand("readelf -W -S " + player, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out.find("Warning"), std::string::npos) << out;
  EXPECT_EQ(out.find("rror"), std::string::npos) << out;
  std::system(("rm -rf " + dir).c_str());
}

TEST(BuiltResources, CliListsWhatTheGadgetLibraryHolds) {
  auto m = builtModule("ZBGADGET.DLL");
  ASSERT_TRUE(m);
  int expected = 0;
  for (const CWResourceDir& t : m->file().tree()->types)
    for (const CWResourceLangDir& n : t.names) expected += n.languages.count();
  int status = 0;
  const std::string out = runCommand(std::string(ZANBEL_BIN_DIR) + "/zanbel-cli rsrc list " + ZANBEL_BIN_DIR + "/ZBGADGET.DLL", status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(out.rfind("type\tnavn\tsprog\tstørrelse\n", 0), 0u) << out;
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), expected + 1);
}
