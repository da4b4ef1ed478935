// zanbel-cli export and import with the built programs: the template beside
// zanbel-cli, the libraries as built, and the made program read back as the
// player reads itself, with no library at hand.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "engine/invention.h"
#include "engine/runner.h"
#include "export/resfile.h"
#include "export/resource_fixtures.h"
#include "export/standalone.h"
#include "gadgets/registry.h"
#include "graphics/wingdib.h"
#include "platform/headless/headless.h"
#include "shell/core/resourcemodule.h"
#include "shell/core/resources.h"
#include "tools/invention/inventiontext.h"

namespace fs = std::filesystem;

namespace {

const std::string kBin = ZANBEL_BIN_DIR;

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class CliStandAlone : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("zanbel-cli-sa-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    const cInventionTextResult robot = compileInventionText(readText(ZANBEL_TESTDATA_DIR "/player/robot.txt"));
    ASSERT_TRUE(robot.ok()) << robot.error;
    robot_ = path("kilde.wgt");
    std::string error;
    ASSERT_TRUE(saveFileBytes(robot_, robot.image, error)) << error;
  }
  void TearDown() override {
    resourceLibraries().release();
    setFatalExitHandler(nullptr);
    fs::remove_all(folder_);
  }
  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  // zanbel-cli as the user runs it; its output with the error output after it.
  std::string cli(const std::string& args, int& status) const {
    std::string out = fixtures::runCommand(kBin + "/zanbel-cli " + args, status);
    status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
  }
  static std::vector<std::pair<uint32_t, uint32_t>> resourceIds(const std::string& program) {
    CWResourceFile f(program, CWResourceFile::readOnly);
    std::vector<std::pair<uint32_t, uint32_t>> ids;
    for (const fixtures::cResource& r : fixtures::contents(f)) ids.push_back({r.type, r.name});
    return ids;
  }

  cHeadlessPlatform hp;
  fs::path folder_;
  std::string robot_;
};

TEST_F(CliStandAlone, ExportAddsTheInventionAndWhatItsKindsNeedToTheTemplate) {
  int status = 0;
  const std::string program = path("robot");
  const std::string out = cli("export " + robot_ + " " + program, status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("Gemte " + program + ": 14 dimser, 13 ledninger"), std::string::npos) << out;

  // The template's resources plus exactly these, each once.
  std::vector<std::pair<uint32_t, uint32_t>> expected = resourceIds(kBin + "/ZANBEL.SLF");
  for (std::pair<uint32_t, uint32_t> added : std::vector<std::pair<uint32_t, uint32_t>>{
           {1023, 1}, {1004, 1020}, {1004, 1024}, {1004, 1028}, {1004, 1029}, {1004, 1030}, {1004, 1032},
           {1004, 1063}, {1004, 701}, {1006, 1020}})
    expected.push_back(added);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(resourceIds(program), expected);
  EXPECT_EQ(fs::status(program).permissions() & fs::perms::owner_exec, fs::perms::owner_exec);

  // Import takes it back out: beside the program, with ".wgt" after the name.
  const std::string back = cli("import " + program, status);
  ASSERT_EQ(status, 0) << back;
  std::vector<uint8_t> image;
  std::string error;
  ASSERT_TRUE(loadFileBytes(path("robot.wgt"), image, error)) << error;
  EXPECT_TRUE(isInventionImage(image));
  // A second import would replace that file: it must be named.
  EXPECT_NE(cli("import " + program, status).find("findes allerede"), std::string::npos);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(cli("import " + program + " " + path("igen.wgt"), status).find("fejl"), std::string::npos);
  EXPECT_EQ(status, 0);
}

// What "runs without the libraries" takes: the made program is the only
// module, every lookup goes to it, and any missing resource would end the
// run at its retry box.
TEST_F(CliStandAlone, TheMadeProgramCarriesEverythingItsInventionUses) {
  int status = 0;
  const std::string program = path("robot");
  ASSERT_EQ((cli("export " + robot_ + " " + program, status), status), 0);

  openResourceLibraries({cResourceStartMode::player, program, ""});
  installGadgetKinds();
  setFatalExitHandler([](const char*) { throw std::runtime_error("a resource is missing"); });
  const cImportResult invention = readStandAloneInvention(program);
  ASSERT_EQ(invention.outcome, cImportOutcome::read);
  CWinGInfo display;
  cInventionRunner runner(hp);
  cReadReport report;
  ASSERT_TRUE(runner.load(invention.invention, &report));
  EXPECT_EQ(report.gadgets, 14);
  cRunPlan plan;
  plan.milliseconds = 3000;
  plan.cycleMs = 5;
  runner.run(plan);
  runner.picture();
  EXPECT_TRUE(hp.scriptedUi().messages().empty()) << hp.scriptedUi().messages()[0].request.text;
  bool answered = false;
  for (const cPinValue& v : runner.values())
    if (v.code == "AndG"_tc) answered = v.kind == cPinValue::boolean && v.flag;
  EXPECT_TRUE(answered) << "14 >= 10 and 3 / 6";
}

TEST_F(CliStandAlone, RefusalsAndFailuresSayWhatIsWrong) {
  std::ofstream(path("tekst.wgt")) << "ikke en opfindelse";
  std::ofstream(path("tekst.exe")) << "ikke et program";
  fs::copy_file(kBin + "/ZANBEL.SLF", path("skabelon"));
  struct cCase {
    std::string args;
    int status;
    std::string says;
  };
  const std::vector<cCase> cases = {
      {"export " + robot_ + " " + kBin + "/zanbel-cli", 1, "Kunne ikke gemme selvstændig opfindelse med dette navn"},
      {"export " + robot_ + " " + path("skabelon") + " --template " + path("skabelon"), 1, "skabelonen selv"},
      {"export " + robot_ + " " + path("x") + " --template " + path("borte"), 1, "skabelonen " + path("borte") + " findes ikke"},
      {"export " + path("tekst.wgt") + " " + path("x"), 1, "Denne fil er ikke gemt i Zanbel"},
      {"export " + path("borte.wgt") + " " + path("x"), 1, "Der opstod en fejl under læsning af filen."},
      {"export " + robot_ + " " + path("mappe/findes/ikke"), 1, "Der opstod en fejl under skrivning til filen."},
      {"export " + robot_, 2, "brug: zanbel-cli export FIL.wgt UD [--template STI]"},
      {"import " + path("tekst.exe") + " " + path("x.wgt"), 1, "Denne fil er ikke gemt som en selvstændig opfindelse"},
      {"import " + path("skabelon") + " " + path("x.wgt"), 1, "der er ingen opfindelse i det"},
      {"import " + path("borte") + " " + path("x.wgt"), 1, path("borte") + " findes ikke"},
      {"import", 2, "brug: zanbel-cli import PROGRAM [UD.wgt]"},
  };
  for (const cCase& c : cases) {
    int status = 0;
    const std::string out = cli(c.args, status);
    EXPECT_EQ(status, c.status) << c.args << "\n" << out;
    EXPECT_NE(out.find(c.says), std::string::npos) << c.args << "\n" << out;
  }
  EXPECT_FALSE(fs::exists(path("x")));
  EXPECT_FALSE(fs::exists(path("x.wgt")));
  EXPECT_TRUE(fs::exists(kBin + "/zanbel-cli"));
}

}  // namespace
