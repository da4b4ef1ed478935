#include "tools/rsrc/rsrctool.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "export/resource_fixtures.h"

namespace fs = std::filesystem;

namespace {

std::string objcopy() {
  const char* p = std::getenv("ZANBEL_OBJCOPY");
  return p && *p ? p : "objcopy";
}

std::vector<cResEntry> entriesOf(const std::string& binary) {
  CWResourceFile f(std::make_unique<cDiskFile>(binary, cDiskFile::readOnly), CWResourceFile::readOnly);
  std::vector<cResEntry> out;
  for (const fixtures::cResource& r : fixtures::contents(f))
    out.push_back({uint16_t(r.type), uint16_t(r.name), uint16_t(r.language), 0x1030, r.bytes});
  return out;
}

}  // namespace

TEST(ResourceTool, MergeKeepsOrderAndRefusesAResourceDefinedTwice) {
  const std::vector<cResSource> sources = {
      {"strings.res", {{6, 501, 1030, 0x1030, {1}}, {1006, 1, 1030, 0x1030, {0x80}}}},
      {"artwork.res", {{1004, 1029, 1030, 0x1030, {2}}}},
  };
  std::vector<cResEntry> merged;
  std::string error;
  ASSERT_TRUE(mergeResources(sources, merged, error)) << error;
  ASSERT_EQ(merged.size(), 3u);
  EXPECT_EQ(merged[2].type, 1004);

  std::vector<cResSource> clash = sources;
  clash.push_back({"sounds.res", {{1006, 1, 1030, 0x1030, {0x80}}}});
  EXPECT_FALSE(mergeResources(clash, merged, error));
  EXPECT_NE(error.find("strings.res"), std::string::npos) << error;
  EXPECT_NE(error.find("sounds.res"), std::string::npos) << error;
  // The same number in another language is another resource.
  clash.back().entries[0].language = 1033;
  EXPECT_TRUE(mergeResources(clash, merged, error)) << error;
}

// Attached to a real program, the section is found again, readelf accepts
// the file, the program still runs, and attaching again replaces the section.
TEST(ResourceTool, AttachedProgramKeepsRunning) {
  const fs::path dir = fs::temp_directory_path() / ("zanbel-attach-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string program = (dir / "true").string();
  fs::copy_file("/bin/true", program, fs::copy_options::overwrite_existing);

  const std::vector<cResEntry> first = {{6, 501, 1030, 0x1030, {3, 0, 'a', 0, 'b', 0, 'c', 0}},
                                        {1006, 1, 1030, 0x1030, {0x80, 0x80, 0x80, 0x80}}};
  std::string error;
  ASSERT_TRUE(attachResourceSection(program, buildResourceSection(first), objcopy(), error)) << error;
  EXPECT_EQ(entriesOf(program).size(), 2u);
  EXPECT_EQ(entriesOf(program)[1].data, first[1].data);
  EXPECT_FALSE(fs::exists(program + ".rsrc")) << "the passing file is left behind";

  int status = 0;
  const std::string sections = fixtures::runCommand("readelf -W -S " + program, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(sections.find("Warning"), std::string::npos) << sections;
  EXPECT_EQ(sections.find("rror"), std::string::npos) << sections;
  EXPECT_NE(sections.find(".rsrc"), std::string::npos) << sections;
  fixtures::runCommand(program, status);
  EXPECT_EQ(status, 0);

  const std::vector<cResEntry> second = {{1023, 1, 0, 0x1030, std::vector<uint8_t>(3000, 9)}};
  ASSERT_TRUE(attachResourceSection(program, buildResourceSection(second), objcopy(), error)) << error;
  const std::vector<cResEntry> now = entriesOf(program);
  ASSERT_EQ(now.size(), 1u);
  EXPECT_EQ(now[0].data, second[0].data);
  fixtures::runCommand(program, status);
  EXPECT_EQ(status, 0);
  fs::remove_all(dir);
}

TEST(ResourceTool, AttachReportsAFileItCannotChange) {
  std::string error;
  EXPECT_FALSE(attachResourceSection("/nonexistent/dir/prog", buildResourceSection({}), objcopy(), error));
  EXPECT_FALSE(error.empty());
}
