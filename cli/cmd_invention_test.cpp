// zanbel-cli run, info and check, against the built program's resources and
// the built gadget library.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/commands.h"
#include "export/resfile.h"
#include "platform/headless/headless.h"
#include "shell/core/resourcemodule.h"
#include "shell/core/resources.h"
#include "tools/invention/inventiontext.h"

namespace {

struct cRun {
  int code;
  std::string out, err;
};

class CliInventionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // zanbel-cli carries the editor's resources (the example among them).
    std::string error;
    auto own = cFileResourceModule::open(std::string(ZANBEL_BIN_DIR) + "/zanbel-cli", &error);
    auto gadgets = cFileResourceModule::open(std::string(ZANBEL_BIN_DIR) + "/ZBGADGET.DLL", &error);
    ASSERT_TRUE(own && gadgets) << error;
    resourceLibraries().setOwn(std::move(own));
    resourceLibraries().setGadgetLibrary(std::move(gadgets));
    folder_ = std::filesystem::temp_directory_path() / ("zanbel-cli-inv-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    resourceLibraries().release();
    std::filesystem::remove_all(folder_);
  }

  cRun run(std::vector<std::string> args) {
    args.insert(args.begin(), "zanbel-cli");
    std::ostringstream out, err;
    const int code = runCli(args, out, err);
    return {code, out.str(), err.str()};
  }
  // An invention from its text, written to a file of the test's folder.
  std::string invention(const std::string& name, const std::string& text) {
    const cInventionTextResult r = compileInventionText(text);
    EXPECT_TRUE(r.ok()) << r.error;
    return write(name, r.image);
  }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = (folder_ / name).string();
    std::string error;
    EXPECT_TRUE(saveFileBytes(path, bytes, error)) << error;
    return path;
  }

  cHeadlessPlatform hp;
  std::filesystem::path folder_;
};

const char* kThreeBelowFive =
    "gadget MiCo tre x 20 y 100\n  text 0 \"3\"\n"
    "gadget MiCo fem x 100 y 20\n  text 0 \"5\"\n"
    "gadget Comp mindre x 100 y 100\n  choice 0 0\n"
    "wire tre.0 -> mindre.0\nwire fem.0 -> mindre.1\n";

}  // namespace

TEST_F(CliInventionTest, RunPrintsEveryOutputPinOfTheExample) {
  const cRun r = run({"run", "--values", "--seconds", "2"});
  ASSERT_EQ(r.code, kCliOk) << r.err;
  // The example's constants 1, 0 and 10 and the comparison are built kinds.
  EXPECT_NE(r.out.find(" MiCo ff000004 pin=0 number 10\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" Comp ff000002 pin=2 bool "), std::string::npos) << r.out;
}

TEST_F(CliInventionTest, RunComputesAFileAndDrawsIt) {
  const std::string file = invention("mindre.wgt", kThreeBelowFive);
  const std::string png = (folder_ / "mindre.png").string();
  const cRun r = run({"run", file, "--seconds", "1", "--values", "--png", png});
  ASSERT_EQ(r.code, kCliOk) << r.err;
  EXPECT_EQ(r.out,
            "0 Comp ff000003 pin=2 bool true\n"
            "1 MiCo ff000002 pin=0 number 5\n"
            "2 MiCo ff000001 pin=0 number 3\n");
  std::ifstream picture(png, std::ios::binary);
  char magic[8] = {};
  picture.read(magic, 8);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");

  const cRun summary = run({"run", file, "--seconds", "0,5"});
  EXPECT_EQ(summary.out, "Kørte " + file + " i 0.5 sekunder: 3 dimser, 2 ledninger.\n");
}

TEST_F(CliInventionTest, RunRefusesBadArgumentsInDanish) {
  struct { std::vector<std::string> args; const char* says; } cases[] = {
      {{"run", "--seconds", "lang"}, "\"lang\" er ikke et antal sekunder"},
      {{"run", "--key", "A"}, "skriv --key TAST@SEKUNDER"},
      {{"run", "--key", "hop@1"}, "kender ikke tasten \"hop\""},
      {{"run", "--click", "12@1"}, "\"12\" skal skrives X,Y"},
      {{"run", "--click", "1,2,3@1"}, "\"1,2,3\" skal skrives X,Y"},
  };
  for (const auto& c : cases) {
    const cRun r = run(c.args);
    EXPECT_EQ(r.code, kCliUsage);
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
  const cRun missing = run({"run", (folder_ / "findes-ikke.wgt").string()});
  EXPECT_EQ(missing.code, kCliFailed);
  EXPECT_NE(missing.err.find("Der opstod en fejl under læsning af filen."), std::string::npos);
  const cRun foreign = run({"run", write("tekst.wgt", {'h', 'e', 'j'})});
  EXPECT_EQ(foreign.code, kCliFailed);
  EXPECT_NE(foreign.err.find("Denne fil er ikke gemt i Zanbel"), std::string::npos);
}

TEST_F(CliInventionTest, InfoShowsWhatTheFileHolds) {
  const std::string file = invention("mindre.wgt",
                                     std::string("background bølger\n") + kThreeBelowFive +
                                         "wire mindre.2 -> tre.0 via 5,6 locked\nlimit Comp 2\n");
  const cRun r = run({"info", file});
  ASSERT_EQ(r.code, kCliOk) << r.err;
  for (const char* line : {"Version: 4\n", "Baggrund: 701 (Bølger)\n", "Dimser: 3 (bagerst først)\n",
                           "  1 MiCo ff000001 \"Konstant\" x 20 y 100\n", "     tekst0 \"3\"\n",
                           "  3 Comp ff000003 \"Sammenligner\" x 100 y 100\n", "Ledninger: 3\n",
                           "  3 ff000003.2 -> ff000001.0  knæk 5,6  låst\n", "Grænser i bakken: Comp=2\n"})
    EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
  EXPECT_EQ(run({"info"}).code, kCliUsage);
}

TEST_F(CliInventionTest, CheckSaysWhatIsWrong) {
  const cInventionTextResult good = compileInventionText(kThreeBelowFive);
  const cRun ok = run({"check", write("god.wgt", good.image)});
  EXPECT_EQ(ok.code, kCliOk);
  EXPECT_NE(ok.out.find("er en gyldig Zanbel-opfindelse (version 4, 3 dimser, 2 ledninger)"), std::string::npos)
      << ok.out;

  std::vector<uint8_t> cut(good.image.begin(), good.image.end() - 20);
  const cRun truncated = run({"check", write("kort.wgt", cut)});
  EXPECT_EQ(truncated.code, kCliFailed);
  EXPECT_NE(truncated.out.find("er ikke en gyldig Zanbel-opfindelse"), std::string::npos);
  EXPECT_NE(truncated.out.find("filen er skåret af her"), std::string::npos) << truncated.out;

  const cInventionTextResult dangling = compileInventionText(std::string(kThreeBelowFive) + "wire tre.0 -> mindre.7\n");
  const cRun badPin = run({"check", write("ben.wgt", dangling.image)});
  EXPECT_EQ(badPin.code, kCliFailed);
  EXPECT_NE(badPin.out.find("ben 7, som dimsen ikke har"), std::string::npos) << badPin.out;

  const cRun foreign = run({"check", write("tekst.wgt", {'h', 'e', 'j'})});
  EXPECT_EQ(foreign.code, kCliFailed);
  EXPECT_NE(foreign.out.find("er ikke en Zanbel-opfindelse"), std::string::npos);
}
