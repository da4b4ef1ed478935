#include "export/standalone.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "engine/kinds.h"
#include "export/lzexpand.h"
#include "export/resfile.h"
#include "export/resource_fixtures.h"
#include "platform/headless/headless.h"
#include "shell/core/alert.h"
#include "shell/core/resources.h"
#include "shell/core/strings.h"

namespace fs = std::filesystem;
using fixtures::cResource;

namespace {

std::vector<cResourceRef> refs(std::initializer_list<std::pair<uint16_t, uint16_t>> list) {
  std::vector<cResourceRef> out;
  for (auto [type, id] : list) out.push_back({type, id});
  return out;
}

std::vector<cTypeCode> codes(std::initializer_list<const char*> list) {
  std::vector<cTypeCode> out;
  for (const char* c : list) out.push_back(makeTypeCode(c));
  return out;
}

std::string describe(const std::vector<cResourceRef>& v) {
  std::string s;
  for (const cResourceRef& r : v) s += std::to_string(r.type) + "/" + std::to_string(r.id) + " ";
  return s;
}

// ---- the table ----

TEST(StandAloneTable, EveryRowNamesAKindAndAResourceOfItsType) {
  const std::span<cStandAloneRow> rows = standAloneResources();
  ASSERT_EQ(rows.size(), kStandAloneRowCount + 1);
  EXPECT_EQ(rows.back().typeCode, "Done"_tc);
  bool soundSeen = false;
  for (size_t i = 0; i + 1 < rows.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i) + " " + typeCodeText(rows[i].typeCode));
    // A misspelt code would never match a gadget and silently leave its artwork out.
    EXPECT_NE(kindByCode(rows[i].typeCode), nullptr);
    ASSERT_TRUE(rows[i].resourceType == 1004 || rows[i].resourceType == 1006);
    // The frame sets come first, then the sounds.
    if (rows[i].resourceType == 1006) soundSeen = true;
    EXPECT_FALSE(soundSeen && rows[i].resourceType == 1004);
  }
}

struct cNeedCase {
  const char* what;
  std::vector<cTypeCode> kinds;
  std::vector<cResourceRef> expected;
};

TEST(StandAloneTable, EachNeededResourceOnceInTableOrder) {
  const std::vector<cNeedCase> cases = {
      {"nothing", {}, {}},
      {"two splitter kinds share one set", codes({"Spl2", "Spl4"}), refs({{1004, 1019}})},
      {"adder and converter", codes({"Addr", "Conv"}), refs({{1004, 1020}, {1004, 1026}, {1006, 1020}})},
      {"the projector lists its sets twice",
       codes({"GrPr"}),
       refs({{1004, 200}, {1004, 201}, {1004, 202}, {1004, 203}, {1004, 204}, {1004, 205}, {1004, 1050}})},
      {"the constant has its refused-arrow sound", codes({"cnst"}), refs({{1004, 1021}, {1006, 1027}})},
      {"keypad and constant share 1027", codes({"cnst", "NmKP"}),
       refs({{1004, 1021}, {1004, 1027}, {1006, 1027}})},
      {"two number windows share the digits", codes({"di10", "disp", "disp"}),
       refs({{1004, 100}, {1004, 1013}, {1004, 1014}})},
      {"a gate and the text label, which needs nothing", codes({"TxLb", "AndG", "AndG"}), refs({{1004, 1029}})},
      {"the judge's two sounds", codes({"Stop"}), refs({{1004, 1051}, {1006, 1051}, {1006, 1151}})},
  };
  for (const cNeedCase& c : cases) {
    const std::vector<cResourceRef> got = neededResources(c.kinds);
    EXPECT_EQ(got, c.expected) << c.what << ": " << describe(got);
  }
}

TEST(StandAloneTable, AnExportStartsFromClearFlags) {
  neededResources(codes({"GrPr", "Pend"}));
  EXPECT_EQ(neededResources(codes({"AndG"})), refs({{1004, 1029}}));
}

TEST(StandAloneTable, OnlyAPatternBackgroundIsAdded) {
  EXPECT_EQ(standAloneContents(codes({"NotG"}), 701), refs({{1004, 1032}, {1004, 701}}));
  EXPECT_EQ(standAloneContents({}, 700), refs({{1004, 700}}));
  EXPECT_EQ(standAloneContents({}, 0), refs({}));
  EXPECT_EQ(standAloneContents({}, 703), refs({}));
}

// ---- export and import on disk ----

std::vector<uint8_t> bytesOf(size_t n, uint8_t seed) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = uint8_t(seed + i * 13);
  return v;
}

// What the template carries itself.
const std::vector<cResource> kPlayerOwn = {
    {1003, 101, 0, bytesOf(1024, 1)},
    {1004, 101, 0, bytesOf(40, 2)},
    {20000, 20000, 0, {'E', 'n', 'd', ' ', 'o', 'f', ' ', 'r', 'e', 's', 'o', 'u', 'r', 'c', 'e', 's'}},
};

// A stand-in for a small invention image.
const std::vector<uint8_t> kInvention = {'F', 'O', 'R', 'M', 0, 0, 0, 14, 'G', 'a', 'd', 'f',
                                         'f', 'v', 'e', 'r', 0, 0, 0, 2, 0, 4};

class StandAloneFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zanbel-standalone-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir = pattern;
    templatePath = dir + "/ZANBEL.SLF";
    writeFile(templatePath, fixtures::buildElf(fixtures::buildTree(kPlayerOwn, 0)));
    ::chmod(templatePath.c_str(), 0755);
    running = dir + "/zanbel";
    writeFile(running, {'x'});

    auto gadgets = std::make_unique<cMemoryResourceModule>("ZBGADGET.DLL");
    for (uint16_t id : {1020, 1021, 1026, 1029, 1032, 701})
      gadgets->add(1004, id, bytesOf(30 + id % 50, uint8_t(id)));
    auto sounds = std::make_unique<cMemoryResourceModule>("ZBSOUND.DLL");
    for (uint16_t id : {1020, 1027}) sounds->add(1006, id, bytesOf(60, uint8_t(id)));
    auto own = std::make_unique<cMemoryResourceModule>("zanbel");
    std::map<uint16_t, std::string> alerts;
    for (uint16_t n = 1; n <= 10; ++n) alerts[uint16_t(kAlertStringBase + n)] = "alert " + std::to_string(n);
    for (auto& [block, bytes] : makeStringTable(alerts)) own->add(kStringResourceType, block, bytes);
    resourceLibraries().setOwn(std::move(own));
    resourceLibraries().setGadgetLibrary(std::move(gadgets));
    resourceLibraries().setSoundLibrary(std::move(sounds));
  }
  void TearDown() override {
    resourceLibraries().release();
    setFatalExitHandler(nullptr);
    fs::remove_all(dir);
  }

  static void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string error;
    ASSERT_TRUE(saveFileBytes(path, bytes, error)) << error;
  }
  static std::vector<uint8_t> readFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string error;
    loadFileBytes(path, bytes, error);
    return bytes;
  }
  cExportRequest request(const std::string& target) const { return {templatePath, target, running}; }
  std::vector<std::string> filesInDir() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> messages() {
    std::vector<std::string> out;
    for (const cRecordedMessage& m : platform.scriptedUi().messages()) out.push_back(m.request.text);
    return out;
  }
  static std::vector<cResource> resourcesOf(const std::string& path) {
    CWResourceFile f(path, CWResourceFile::readOnly);
    return f.failed() ? std::vector<cResource>{} : fixtures::contents(f);
  }

  cHeadlessPlatform platform;
  std::string dir, templatePath, running;
};

TEST_F(StandAloneFiles, TheCopyHoldsTheTemplateTheInventionAndWhatItsKindsNeed) {
  const std::string target = dir + "/robot";
  const std::vector<cTypeCode> kinds = codes({"Addr", "Conv", "Addr"});
  ASSERT_TRUE(writeStandAlone(request(target), kInvention, kinds, 701).ok());
  EXPECT_TRUE(messages().empty());

  std::vector<cResource> expected = kPlayerOwn;
  expected.push_back({1023, 1, 0, kInvention});
  for (auto [type, id] : {std::pair<uint16_t, uint16_t>{1004, 1020}, {1004, 1026}, {1004, 701}, {1006, 1020}})
    expected.push_back({type, id, 0, std::vector<uint8_t>(lockResource(findResource(type, id)).begin(),
                                                          lockResource(findResource(type, id)).end())});
  std::vector<cResource> got = resourcesOf(target);
  auto order = [](const cResource& a, const cResource& b) {
    return std::tie(a.type, a.name, a.language) < std::tie(b.type, b.name, b.language);
  };
  std::sort(expected.begin(), expected.end(), order);
  EXPECT_EQ(got, expected);

  // A program that runs: the template's permissions, and nothing else left beside it.
  struct stat s;
  ASSERT_EQ(::stat(target.c_str(), &s), 0);
  EXPECT_EQ(s.st_mode & 0100, 0100u);
  EXPECT_EQ(filesInDir(), (std::vector<std::string>{"ZANBEL.SLF", "robot", "zanbel"}));

  // Import gives the image back unchanged.
  const cImportResult back = readStandAloneInvention(target);
  EXPECT_EQ(back.outcome, cImportOutcome::read);
  EXPECT_EQ(back.invention, kInvention);
}

TEST_F(StandAloneFiles, AnEmptyInventionGetsOnlyItsImage) {
  const std::string target = dir + "/tom";
  ASSERT_TRUE(writeStandAlone(request(target), kInvention, {}, 0).ok());
  std::vector<cResource> got = resourcesOf(target);
  ASSERT_EQ(got.size(), kPlayerOwn.size() + 1);
  EXPECT_EQ(std::count_if(got.begin(), got.end(), [](const cResource& r) { return r.type == 1023; }), 1);
  for (const cResource& r : got) {
    if (r.type == 1004 || r.type == 1006) {
      EXPECT_TRUE(std::find(kPlayerOwn.begin(), kPlayerOwn.end(), r) != kPlayerOwn.end()) << r.type << "/" << r.name;
    }
  }
}

TEST_F(StandAloneFiles, TheRunningProgramAndTheTemplateAreRefusedUnderAnySpelling) {
  const std::vector<uint8_t> templateBefore = readFile(templatePath);
  ::symlink(running.c_str(), (dir + "/genvej").c_str());
  for (const std::string& target :
       {running, dir + "/./zanbel", dir + "/genvej", templatePath, dir + "/../" + fs::path(dir).filename().string() + "/ZANBEL.SLF"}) {
    SCOPED_TRACE(target);
    platform.scriptedUi().forget();
    EXPECT_EQ(writeStandAlone(request(target), kInvention, {}, 0).outcome, cExportOutcome::refused);
    EXPECT_EQ(messages(), std::vector<std::string>{"Kunne ikke gemme selvstændig opfindelse med dette navn"});
  }
  EXPECT_EQ(readFile(running), std::vector<uint8_t>{'x'});
  EXPECT_EQ(readFile(templatePath), templateBefore);
  EXPECT_EQ(filesInDir(), (std::vector<std::string>{"ZANBEL.SLF", "genvej", "zanbel"}));
}

TEST_F(StandAloneFiles, AFailureLeavesNoHalfProgramAndKeepsAnEarlierOne) {
  const std::string target = dir + "/robot";
  writeFile(target, {'g', 'a', 'm', 'm', 'e', 'l'});
  struct cFailure {
    const char* what;
    std::function<void()> arrange;
    cExportOutcome outcome;
  };
  const std::vector<cFailure> failures = {
      {"no template", [&] { fs::remove(templatePath); }, cExportOutcome::copyFailed},
      {"an empty template", [&] { writeFile(templatePath, {}); }, cExportOutcome::copyFailed},
      {"a template that is no program", [&] { writeFile(templatePath, bytesOf(300, 9)); },
       cExportOutcome::writeFailed},
      {"a template whose resources are loaded with it",
       [&] {
         fixtures::cElfOptions loaded;
         loaded.rsrcLoaded = true;
         writeFile(templatePath, fixtures::buildElf(fixtures::buildTree(kPlayerOwn, 0), loaded));
       },
       cExportOutcome::writeFailed},
  };
  for (const cFailure& f : failures) {
    SCOPED_TRACE(f.what);
    f.arrange();
    platform.scriptedUi().forget();
    EXPECT_EQ(writeStandAlone(request(target), kInvention, codes({"AndG"}), 0).outcome, f.outcome);
    EXPECT_EQ(messages(), std::vector<std::string>{cAlert::text(4)});
    EXPECT_EQ(readFile(target), (std::vector<uint8_t>{'g', 'a', 'm', 'm', 'e', 'l'}));
    const std::vector<std::string> left = filesInDir();
    EXPECT_EQ(std::count_if(left.begin(), left.end(), [](const std::string& n) { return n[0] == '.'; }), 0);
  }
}

TEST_F(StandAloneFiles, AFolderThatIsNotThereIsNamedInDanish) {
  const cExportResult result =
      writeStandAlone(request(dir + "/ingen-mappe/robot"), kInvention, codes({"AndG"}), 0);
  EXPECT_FALSE(result.ok());
  EXPECT_NE(result.detail.find("findes ikke"), std::string::npos) << result.detail;
  EXPECT_EQ(result.detail.find("No such"), std::string::npos) << result.detail;
  EXPECT_EQ(messages(), std::vector<std::string>{cAlert::text(4)});
}

TEST_F(StandAloneFiles, GivingUpOnAMissingResourceTakesTheHalfProgramAlong) {
  setFatalExitHandler([](const char*) { throw std::runtime_error("ended"); });
  // "Pend" needs artwork 1000, which the library does not have; Cancel is the cautious answer.
  EXPECT_THROW(writeStandAlone(request(dir + "/pendul"), kInvention, codes({"Pend"}), 0), std::runtime_error);
  EXPECT_EQ(filesInDir(), (std::vector<std::string>{"ZANBEL.SLF", "zanbel"}));
  ASSERT_FALSE(messages().empty());
  EXPECT_EQ(messages()[0], "Can't get resource\nid=1000,type=1004\n");
}

std::vector<uint8_t> lzHeader(uint32_t length) {
  std::vector<uint8_t> out = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A', 'F'};
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(length >> (8 * i)));
  return out;
}

// Packs with literals only, as the compressor does with data that does not repeat.
std::vector<uint8_t> pack(const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> out = lzHeader(uint32_t(bytes.size()));
  for (size_t i = 0; i < bytes.size(); i += 8) {
    out.push_back(0xFF);
    for (size_t j = i; j < std::min(bytes.size(), i + 8); ++j) out.push_back(bytes[j]);
  }
  return out;
}

TEST(LzExpand, UnpacksLiteralsAndReferences) {
  struct cCase {
    const char* what;
    std::vector<uint8_t> data;  // after the header
    std::string expected;
  };
  const std::vector<cCase> cases = {
      // Three literals, then a reference to them six long that overlaps itself.
      {"a repeat", {0x07, 'a', 'b', 'c', 0xF0, 0xF3}, "abcabcabc"},
      // The window starts as spaces: a reference to it before anything was written.
      {"the first spaces", {0x06, 0x00, 0x00, 'h', 'i'}, "   hi"},
  };
  for (const cCase& c : cases) {
    std::vector<uint8_t> packed = lzHeader(uint32_t(c.expected.size()));
    packed.insert(packed.end(), c.data.begin(), c.data.end());
    const auto out = expandLz(packed);
    ASSERT_TRUE(out) << c.what;
    EXPECT_EQ(std::string(out->begin(), out->end()), c.expected) << c.what;
  }
  EXPECT_EQ(expandLz(pack(bytesOf(100, 5))), bytesOf(100, 5));
}

TEST(LzExpand, RefusesWhatItCannotUnpackWhole) {
  const std::vector<uint8_t> good = pack(bytesOf(40, 3));
  ASSERT_TRUE(expandLz(good));
  std::vector<uint8_t> cut(good.begin(), good.end() - 5), otherMethod = good, longer = good;
  otherMethod[8] = 'B';
  longer[10] += 1;  // promises one byte more than there is
  EXPECT_FALSE(expandLz(cut));
  EXPECT_FALSE(expandLz(otherMethod));
  EXPECT_FALSE(expandLz(longer));
  EXPECT_FALSE(expandLz(std::vector<uint8_t>(good.begin(), good.begin() + 12)));
  EXPECT_FALSE(isLzCompressed(bytesOf(40, 3)));
}

TEST_F(StandAloneFiles, APackedTemplateIsUnpackedOnTheWay) {
  writeFile(templatePath, pack(readFile(templatePath)));
  ASSERT_TRUE(writeStandAlone(request(dir + "/robot"), kInvention, {}, 0).ok());
  EXPECT_EQ(readStandAloneInvention(dir + "/robot").invention, kInvention);
  std::vector<uint8_t> broken = readFile(templatePath);
  broken.resize(broken.size() - 20);
  writeFile(templatePath, broken);
  EXPECT_EQ(writeStandAlone(request(dir + "/robot2"), kInvention, {}, 0).outcome, cExportOutcome::copyFailed);
  EXPECT_FALSE(fs::exists(dir + "/robot2"));
}

TEST_F(StandAloneFiles, ImportSaysWhatKindOfFileItGot) {
  const std::string bare = dir + "/bar";
  writeFile(bare, readFile(templatePath));
  writeFile(dir + "/tekst.exe", bytesOf(200, 4));
  struct cImportCase {
    std::string path;
    cImportOutcome outcome;
    std::vector<std::string> shown;
  };
  const std::vector<cImportCase> cases = {
      {bare, cImportOutcome::noInvention, {}},
      {dir + "/tekst.exe", cImportOutcome::notStandAlone, {cAlert::text(8)}},
      {dir + "/findes-ikke.exe", cImportOutcome::missing, {cAlert::text(6)}},
  };
  for (const cImportCase& c : cases) {
    SCOPED_TRACE(c.path);
    platform.scriptedUi().forget();
    const cImportResult r = readStandAloneInvention(c.path);
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_TRUE(r.invention.empty());
    EXPECT_EQ(messages(), c.shown);
  }
}

// ---- file names ----

TEST(StandAloneNames, ImportedDocumentsAndProposedNames) {
  const std::vector<std::pair<std::string, std::string>> documents = {
      {"C:/X/ROBOT.EXE", "C:/X/ROBOT.WGT"},
      {"/x/robot", "/x/robot.wgt"},
      {"/x/robot.exe", "/x/robot.WGT"},
      {"/x.d/robot", "/x.d/robot.wgt"},
      {"/x/.skjult", "/x/.skjult.wgt"},
  };
  for (const auto& [program, document] : documents) EXPECT_EQ(importedDocumentPath(program), document) << program;

  const std::vector<std::pair<std::string, std::string>> proposals = {
      {"udennavn.wgt", "udennavn"},
      {"/home/barn/Opfindelser/Robot.WGT", "Robot"},
      {"Hovedbrud", "Hovedbrud"},
      {"min.lille.wgt", "min.lille"},
  };
  for (const auto& [document, name] : proposals) EXPECT_EQ(proposedProgramName(document), name) << document;
}

TEST_F(StandAloneFiles, RevertFindsTheProgramTheDocumentCameFrom) {
  writeFile(dir + "/linux", {'1'});
  writeFile(dir + "/ROBOT.EXE", {'2'});
  writeFile(dir + "/lille.Exe", {'3'});
  writeFile(dir + "/begge", {'4'});
  writeFile(dir + "/begge.EXE", {'5'});
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/linux.wgt", "/linux"},
      {"/ROBOT.WGT", "/ROBOT.EXE"},
      {"/lille.WGT", "/lille.Exe"},
      {"/begge.wgt", "/begge"},
      {"/begge.WGT", "/begge.EXE"},
      {"/borte.WGT", "/borte.EXE"},
      {"/borte.wgt", "/borte"},
  };
  for (const auto& [document, program] : cases)
    EXPECT_EQ(importedProgramPath(dir + document), dir + program) << document;
  // The document made by import leads back to the program.
  EXPECT_EQ(importedProgramPath(importedDocumentPath(dir + "/ROBOT.EXE")), dir + "/ROBOT.EXE");
  EXPECT_EQ(importedProgramPath(importedDocumentPath(dir + "/linux")), dir + "/linux");
}

TEST_F(StandAloneFiles, TheTemplateIsFoundBesideTheProgramWhateverItsCase) {
  EXPECT_EQ(findPlayerTemplate(dir + "/zanbel"), templatePath);
  EXPECT_EQ(findPlayerTemplate(dir + "/ZANBEL.EXE"), templatePath);
  EXPECT_EQ(findPlayerTemplate(dir + "/andet"), std::nullopt);
  fs::create_directory(dir + "/mappe.slf");
  EXPECT_EQ(findFileIgnoringCase(dir, "MAPPE.SLF"), std::nullopt);
}

}  // namespace
