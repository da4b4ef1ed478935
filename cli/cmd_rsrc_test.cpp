#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/commands.h"
#include "export/resource_fixtures.h"
#include "export/resourcefile.h"

namespace fs = std::filesystem;

namespace {

struct cRun {
  int code;
  std::string out, err;
};

cRun rsrc(std::vector<std::string> args) {
  args.insert(args.begin(), {"zanbel-cli", "rsrc"});
  std::ostringstream out, err;
  const int code = runCli(args, out, err);
  return {code, out.str(), err.str()};
}

const std::vector<fixtures::cResource> kResources = {
    {1004, 1029, 1030, {'H', 'R', 1, 0}},
    {6, 501, 1030, {0, 0, 3, 0}},
    {1004, 1000, 1030, std::vector<uint8_t>(300, 7)},
    {1004, 1000, 0, {9}},
};

class RsrcCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zanbel-cli-rsrc-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string file(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string p = (dir_ / name).string();
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return p;
  }
  static std::vector<uint8_t> read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  std::string pe() { return file("prog.exe", fixtures::buildPe(fixtures::buildTree(kResources, 0x3000))); }
  std::string elf() { return file("prog", fixtures::buildElf(fixtures::buildTree(kResources, 0))); }
  fs::path dir_;
};

// One line, ending the output: what a refusal must look like.
void expectOneLine(const cRun& r) {
  EXPECT_EQ(r.code, kCliFailed);
  ASSERT_FALSE(r.err.empty());
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
}

}  // namespace

TEST_F(RsrcCommandTest, ListsEveryResourceInTreeOrder) {
  for (const std::string& path : {pe(), elf()}) {
    SCOPED_TRACE(path);
    const cRun r = rsrc({"list", path});
    EXPECT_EQ(r.code, kCliOk) << r.err;
    EXPECT_EQ(r.out,
              "type\tnavn\tsprog\tstørrelse\n"
              "6\t501\t1030\t4\n"
              "1004\t1000\t0\t1\n"
              "1004\t1000\t1030\t300\n"
              "1004\t1029\t1030\t4\n");
  }
}

TEST_F(RsrcCommandTest, GetWritesTheBytesOfOneLanguageOrTheFirst) {
  for (const std::string& path : {pe(), elf()}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(rsrc({"get", path, "1004", "1029"}).out, std::string("HR\x01\x00", 4));
    EXPECT_EQ(rsrc({"get", path, "1004", "1000"}).out, "\x09");
    EXPECT_EQ(rsrc({"get", path, "1004", "1000", "1030"}).out, std::string(300, '\x07'));
    expectOneLine(rsrc({"get", path, "1004", "1000", "1033"}));
    expectOneLine(rsrc({"get", path, "1023", "1"}));
  }
}

TEST_F(RsrcCommandTest, AddWritesInPlaceAndKeepsTheRest) {
  const std::string data = file("invention.wgt", {'F', 'O', 'R', 'M'});
  for (const std::string& path : {pe(), elf()}) {
    SCOPED_TRACE(path);
    fs::permissions(path, fs::perms::owner_all);
    const cRun r = rsrc({"add", path, "1023", "1", "0", data});
    ASSERT_EQ(r.code, kCliOk) << r.err;
    EXPECT_EQ(rsrc({"get", path, "1023", "1", "0"}).out, "FORM");
    EXPECT_EQ(rsrc({"get", path, "1004", "1000", "1030"}).out, std::string(300, '\x07'));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
    EXPECT_FALSE(fs::exists(path + ".zanbel-ny"));
  }
}

// Each refusal is one plain line, and a refused file is left exactly as it was.
TEST_F(RsrcCommandTest, RefusesInOneLineAndChangesNothing) {
  const std::string data = file("data.bin", {1, 2, 3});
  const std::string notLast = file("notlast.exe", fixtures::buildPe(fixtures::buildTree(kResources, 0x3000), {.rsrcNotLast = true}));
  const std::string text = file("readme.txt", std::vector<uint8_t>(100, 'a'));
  const std::string noRsrc = file("plain", fixtures::buildElf({}, {.noRsrc = true}));
  const std::string named = file("named.exe", fixtures::buildPe(fixtures::buildTree(kResources, 0x3000, {.namedRootEntry = true})));
  const struct {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"list", (dir_ / "missing").string()}, "findes ikke"},
      {{"list", dir_.string()}, "almindelig fil"},
      {{"list", text}, "hverken"},
      {{"list", noRsrc}, "ingen ressourcer"},
      {{"list", named}, "numre"},
      {{"get", text, "1", "1"}, "hverken"},
      {{"add", notLast, "1023", "1", "0", data}, "sidste afsnit"},
      {{"add", noRsrc, "1023", "1", "0", data}, "ingen ressourcer"},
      {{"add", text, "1023", "1", "0", (dir_ / "nodata").string()}, "findes ikke"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const std::vector<uint8_t> before = fs::is_regular_file(c.args[1]) ? read(c.args[1]) : std::vector<uint8_t>();
    const cRun r = rsrc(c.args);
    expectOneLine(r);
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    if (fs::is_regular_file(c.args[1])) {
      EXPECT_EQ(read(c.args[1]), before);
    }
    EXPECT_FALSE(fs::exists(c.args[1] + ".zanbel-ny"));
  }
}

TEST_F(RsrcCommandTest, NumbersAndArgumentsAreChecked) {
  const std::string path = pe();
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"get", path, "x", "1"}, {"get", path, "1004", "65536"}, {"get", path, "1004", "-1"},
           {"add", path, "1023", "1", "1e3", path}, {"list"}, {"get", path, "1004"}, {"frob", path}}) {
    const cRun r = rsrc(args);
    EXPECT_EQ(r.code, kCliUsage) << args[0];
    EXPECT_FALSE(r.err.empty());
  }
}
