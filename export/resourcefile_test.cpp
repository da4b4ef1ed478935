#include "export/resourcefile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>

#include "export/resource_fixtures.h"
#include "platform/headless/headless.h"
#include "shell/core/strings.h"

using fixtures::cResource;

namespace {

std::vector<uint8_t> bytesOf(size_t n, uint8_t seed) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = uint8_t(seed + i * 7);
  return v;
}

// A small template: types out of order, one name with two languages.
const std::vector<cResource> kTemplate = {
    {20000, 20000, 0, {'E', 'n', 'd', ' ', 'o', 'f', ' ', 'r', 'e', 's', 'o', 'u', 'r', 'c', 'e', 's'}},
    {1004, 101, 1030, bytesOf(37, 1)},
    {1, 5000, 1030, bytesOf(5, 2)},
    {1020, 10000, 1030, bytesOf(130, 3)},
    {1004, 1, 1030, bytesOf(12, 4)},
    {2, 2, 1033, bytesOf(3, 5)},
    {2, 2, 1030, bytesOf(9, 6)},
};

CWResourceFile openMemory(std::vector<uint8_t> bytes, int mode) {
  return CWResourceFile(std::make_unique<cMemoryFile>(std::move(bytes)), mode);
}

const std::vector<uint8_t>& fileBytes(const CWResourceFile& f) {
  return static_cast<cMemoryFile&>(*f.tree()->file).bytes();
}

using fixtures::contents;

std::vector<cResource> sorted(std::vector<cResource> v) {
  std::stable_sort(v.begin(), v.end(), [](const cResource& a, const cResource& b) {
    if (a.type != b.type) return a.type < b.type;
    if (a.name != b.name) return a.name < b.name;
    return a.language < b.language;
  });
  return v;
}

uint32_t u32at(const std::vector<uint8_t>& b, size_t at) { return byteio::getU32LE(&b[at]); }

std::vector<uint8_t> templatePe() { return fixtures::buildPe(fixtures::buildTree(kTemplate, fixtures::kPeRsrcVirtualAddress)); }

struct cContainerCase {
  const char* name;
  std::function<std::vector<uint8_t>(const std::vector<cResource>&)> build;
};

const cContainerCase kContainers[] = {
    {"pe", [](const std::vector<cResource>& r) {
       return fixtures::buildPe(fixtures::buildTree(r, fixtures::kPeRsrcVirtualAddress));
     }},
    {"elf64", [](const std::vector<cResource>& r) { return fixtures::buildElf(fixtures::buildTree(r, 0)); }},
    {"elf32", [](const std::vector<cResource>& r) {
       return fixtures::buildElf(fixtures::buildTree(r, 0), {.elf64 = false});
     }},
    {"elf64 last", [](const std::vector<cResource>& r) {
       return fixtures::buildElf(fixtures::buildTree(r, 0), {.rsrcLast = true});
     }},
};

}  // namespace

TEST(ResourceFile, ReadsTheTreeInIdOrderFromEveryContainer) {
  for (const cContainerCase& c : kContainers) {
    SCOPED_TRACE(c.name);
    CWResourceFile f = openMemory(c.build(kTemplate), CWResourceFile::readOnly);
    ASSERT_FALSE(f.failed());
    EXPECT_EQ(contents(f), sorted(kTemplate));
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(f.Get(2, 1033, 2, data, size));
    EXPECT_EQ(std::vector<uint8_t>(data, data + size), bytesOf(3, 5));
    uint32_t language = 0;
    ASSERT_TRUE(f.GetFirst(2, 2, data, size, &language));
    EXPECT_EQ(language, 1030u);
    EXPECT_FALSE(f.Get(2, 1031, 2, data, size));
    EXPECT_FALSE(f.Get(3, 1030, 2, data, size));
    EXPECT_FALSE(f.GetFirst(1004, 2, data, size));
  }
}

TEST(ResourceFile, RewriteAndReadBackInEveryContainer) {
  for (const cContainerCase& c : kContainers) {
    SCOPED_TRACE(c.name);
    CWResourceFile f = openMemory(c.build(kTemplate), CWResourceFile::readWrite);
    ASSERT_TRUE(f.Add(1023, 0, 1, "invention", 9));
    ASSERT_TRUE(f.Write());
    std::vector<uint8_t> written = fileBytes(f);
    CWResourceFile again = openMemory(written, CWResourceFile::readOnly);
    std::vector<cResource> expected = kTemplate;
    expected.push_back({1023, 1, 0, {'i', 'n', 'v', 'e', 'n', 't', 'i', 'o', 'n'}});
    EXPECT_EQ(contents(again), sorted(expected));
  }
}

// The layout Write promises: directories, data entries, then the bytes, each
// 4-byte aligned, and the section and header sizes rounded as they must be.
TEST(ResourceFile, UnchangedPeRewriteKeepsTheLayoutRules) {
  CWResourceFile f = openMemory(templatePe(), CWResourceFile::readWrite);
  const std::vector<cResource> before = contents(f);
  ASSERT_TRUE(f.Write());
  const std::vector<uint8_t> out = fileBytes(f);

  const size_t sh = 0x80 + 248 + 2 * 40;  // .text, .data, then .rsrc
  const uint32_t virtualSize = u32at(out, sh + 8), va = u32at(out, sh + 12);
  const uint32_t rawSize = u32at(out, sh + 16), raw = u32at(out, sh + 20);
  EXPECT_EQ(raw, fixtures::kPeRsrcFileOffset);
  EXPECT_EQ(va, fixtures::kPeRsrcVirtualAddress);
  EXPECT_EQ(rawSize % 512, 0u);
  EXPECT_EQ(virtualSize % 4096, 0u);
  EXPECT_GE(virtualSize, rawSize);
  const uint32_t imageSize = u32at(out, 0x80 + 24 + 56);
  EXPECT_EQ(imageSize % 65536, 0u);
  EXPECT_GE(imageSize, va + virtualSize);

  CWResourceFile again = openMemory(out, CWResourceFile::readOnly);
  EXPECT_EQ(contents(again), before);
  // Data entries after every directory; each resource's bytes 4-byte aligned,
  // after every data entry, in tree order; zeros after the last one.
  uint32_t lastDirectoryEnd = 0, firstData = UINT32_MAX, previousData = 0;
  const CWResourceTypeDir* t = again.tree();
  for (const CWResourceDir& type : t->types) {
    lastDirectoryEnd = std::max(lastDirectoryEnd, (type.entry.offsetToData & 0x7FFFFFFF) + 16 + 8 * type.header.numberOfIdEntries);
    for (const CWResourceLangDir& name : type.names) {
      lastDirectoryEnd = std::max(lastDirectoryEnd, (name.entry.offsetToData & 0x7FFFFFFF) + 16 + 8 * name.header.numberOfIdEntries);
      for (const CWResourceElement& e : name.languages) {
        EXPECT_GE(e.entry.offsetToData, lastDirectoryEnd);
        const uint32_t at = e.dataEntry.offsetToData - va;
        EXPECT_EQ(at % 4, 0u);
        EXPECT_GT(at, previousData);
        previousData = at;
        firstData = std::min(firstData, at);
      }
    }
  }
  EXPECT_GE(firstData, lastDirectoryEnd);
  for (size_t i = raw + previousData + 16; i < raw + rawSize; ++i) ASSERT_EQ(out[i], 0) << i;
  // Nothing before the section changes but the three sizes.
  std::vector<uint8_t> original = templatePe();
  for (size_t i = 0; i < fixtures::kPeRsrcFileOffset; ++i) {
    if ((i >= sh + 8 && i < sh + 12) || (i >= sh + 16 && i < sh + 20) || (i >= 0x80 + 24 + 56 && i < 0x80 + 24 + 60))
      continue;
    ASSERT_EQ(out[i], original[i]) << "byte " << i;
  }
}

TEST(ResourceFile, GrowingPeSectionAdjustsTheSizes) {
  CWResourceFile f = openMemory(templatePe(), CWResourceFile::readWrite);
  const std::vector<uint8_t> big = bytesOf(70000, 9);
  ASSERT_TRUE(f.Add(1004, 0, 700, big.data(), uint32_t(big.size())));
  ASSERT_TRUE(f.Write());
  const std::vector<uint8_t>& out = fileBytes(f);
  const size_t sh = 0x80 + 248 + 2 * 40;
  const uint32_t rawSize = u32at(out, sh + 16);
  EXPECT_GT(rawSize, 70000u);
  EXPECT_EQ(rawSize % 512, 0u);
  EXPECT_EQ(u32at(out, sh + 8), (rawSize + 4095) / 4096 * 4096);
  EXPECT_EQ(u32at(out, 0x80 + 24 + 56), (0x3000 + u32at(out, sh + 8) + 65535) / 65536 * 65536);
  EXPECT_EQ(out.size(), fixtures::kPeRsrcFileOffset + rawSize);
}

TEST(ResourceFile, AddKeepsEveryListInIdOrder) {
  std::vector<cResource> types;
  for (uint32_t t : {1u, 2u, 3u, 1003u, 1004u, 1020u, 20000u}) types.push_back({t, 1, 0, {uint8_t(t)}});
  CWResourceFile f = openMemory(fixtures::buildPe(fixtures::buildTree(types, 0x3000)), CWResourceFile::readWrite);
  ASSERT_TRUE(f.Add(1023, 0, 1, "x", 1));
  ASSERT_TRUE(f.Add(1004, 0, 0, "y", 1));   // a name before the existing one
  ASSERT_TRUE(f.Write());
  CWResourceFile again = openMemory(fileBytes(f), CWResourceFile::readOnly);
  std::vector<uint32_t> order;
  for (const CWResourceDir& t : again.tree()->types) order.push_back(t.type());
  EXPECT_EQ(order, (std::vector<uint32_t>{1, 2, 3, 1003, 1004, 1020, 1023, 20000}));
  const CWResourceDir* d1004 = again.tree()->types.findByKey(1004);
  ASSERT_TRUE(d1004);
  EXPECT_EQ(d1004->names.first()->name(), 0u);
  EXPECT_EQ(d1004->names.last()->name(), 1u);
}

TEST(ResourceFile, AddingAnExistingKeyKeepsBothTheNewOneAfter) {
  CWResourceFile f = openMemory(templatePe(), CWResourceFile::readWrite);
  ASSERT_TRUE(f.Add(1004, 1030, 101, "new", 3));
  const uint8_t* data = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(f.Get(1004, 1030, 101, data, size));
  EXPECT_EQ(size, 37u);  // the first one is the one a lookup finds
  ASSERT_TRUE(f.Write());
  CWResourceFile again = openMemory(fileBytes(f), CWResourceFile::readOnly);
  const CWResourceLangDir* n = again.tree()->types.findByKey(1004)->names.findByKey(101);
  ASSERT_EQ(n->languages.count(), 2);
  EXPECT_EQ(n->languages.first()->size(), 37u);
  EXPECT_EQ(n->languages.last()->size(), 3u);
}

// Read-only handles read a resource's bytes only when asked, from section
// start + RVA - VirtualAddress: bytes changed on disk after the open show up.
TEST(ResourceFile, ReadOnlyHandleReadsBytesOnFirstGet) {
  char path[] = "/tmp/zanbel-rsrc-lazy-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  std::vector<uint8_t> pe = templatePe();
  { std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(pe.data()), std::streamsize(pe.size())); }

  CWResourceFile f(path, CWResourceFile::readOnly);
  ASSERT_FALSE(f.failed());
  const CWResourceElement* e = f.tree()->types.findByKey(1020)->names.first()->languages.first();
  EXPECT_FALSE(e->isLoaded());
  const size_t at = fixtures::kPeRsrcFileOffset + (e->dataEntry.offsetToData - fixtures::kPeRsrcVirtualAddress);
  pe[at] = 0xAB;
  { std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(pe.data()), std::streamsize(pe.size())); }
  const uint8_t* data = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(f.Get(1020, 1030, 10000, data, size));
  EXPECT_TRUE(e->isLoaded());
  EXPECT_EQ(data[0], 0xAB);
  EXPECT_EQ(size, 130u);
  std::remove(path);
}

// A handle opened read-only cannot write: the first write raises, and the
// file keeps its bytes.
TEST(ResourceFile, WritingAReadOnlyFileRaisesAndChangesNothing) {
  const std::vector<uint8_t> pe = templatePe();
  CWResourceFile f(std::make_unique<cMemoryFile>(pe, false), CWResourceFile::readOnly);
  f.Add(1023, 0, 1, "x", 1);
  EXPECT_THROW(f.Write(), CFileException);
  EXPECT_EQ(fileBytes(f), pe);
}

TEST(ResourceFile, MissingFileShowsAlertSixAndFailsEveryOperation) {
  cHeadlessPlatform hp;
  auto own = std::make_unique<cMemoryResourceModule>("zanbel");
  for (auto& [block, bytes] : makeStringTable({{8006, "ZANBEL.SLF mangler"}})) own->add(6, block, bytes);
  resourceLibraries().setOwn(std::move(own));

  CWResourceFile f("/nonexistent/ZANBEL.SLF", CWResourceFile::readWrite);
  EXPECT_TRUE(f.failed());
  EXPECT_EQ(f.tree(), nullptr);
  ASSERT_EQ(hp.scriptedUi().messages().size(), 1u);
  EXPECT_EQ(hp.scriptedUi().messages()[0].request.text, "ZANBEL.SLF mangler");
  EXPECT_EQ(hp.scriptedUi().messages()[0].request.caption, "Zanbel");
  const uint8_t* data = nullptr;
  uint32_t size = 0;
  EXPECT_FALSE(f.Add(1, 0, 1, "x", 1));
  EXPECT_FALSE(f.Get(1, 0, 1, data, size));
  EXPECT_FALSE(f.Write());
  resourceLibraries().release();
}

// Every file the writer cannot use is refused with the file exception and a
// reason, at open or (when only writing would do harm) at Write.
TEST(ResourceFile, RefusesDamagedAndHostileFiles) {
  using fixtures::buildElf;
  using fixtures::buildPe;
  using fixtures::buildTree;
  const uint32_t va = fixtures::kPeRsrcVirtualAddress;
  auto truncated = [&](size_t n) { std::vector<uint8_t> v = templatePe(); v.resize(n); return v; };
  auto patched = [&](size_t at, uint32_t value) { std::vector<uint8_t> v = templatePe(); byteio::putU32LE(&v[at], value); return v; };
  struct cCase {
    const char* what;
    std::vector<uint8_t> file;
    bool atWrite;
    const char* reason;  // a word of the message
  };
  const cCase cases[] = {
      {"empty file", {}, false, "slutter"},
      {"neither MZ nor ELF", std::vector<uint8_t>(200, 'x'), false, "hverken"},
      {"no PE signature", patched(0x80, 0x12345678), false, "PE-signatur"},
      {"e_lfanew outside the file", patched(60, 0x7FFFFFF0), false, "slutter"},
      {"64-bit optional header", buildPe(buildTree(kTemplate, va), {.pe32Plus = true}), false, "32-bit"},
      {"no .rsrc section", buildPe(buildTree(kTemplate, va), {.noRsrc = true}), false, "intet .rsrc"},
      {"all-zero section header before .rsrc", buildPe(buildTree(kTemplate, va), {.zeroHeaderBeforeRsrc = true}), false, "intet .rsrc"},
      {"named root entry", buildPe(buildTree(kTemplate, va, {.namedRootEntry = true})), false, "navne"},
      {"name directory loops to the root", buildPe(buildTree(kTemplate, va, {.loopNameToRoot = true})), false, "sig selv"},
      {"huge type count", buildPe(buildTree(kTemplate, va, {.hugeTypeCount = 0xFFFF})), false, "flere"},
      {"data before the section", buildPe(buildTree(kTemplate, va, {.dataOffsetShift = 0xFFFF0000})), false, "uden for"},
      {"data size past the end", buildPe(buildTree(kTemplate, va, {.dataSizeOverride = 0x7FFFFFFF})), false, "uden for"},
      {"section cut short", truncated(fixtures::kPeRsrcFileOffset + 40), false, "uden for"},
      {"section start outside the file", patched(0x80 + 248 + 80 + 20, 0x7FFFFFFF), false, "uden for"},
      {"ELF with no .rsrc", buildElf(buildTree(kTemplate, 0), {.noRsrc = true}), false, "intet .rsrc"},
      {"ELF section table cut off", [] { auto v = buildElf(buildTree(kTemplate, 0)); v.resize(v.size() - 10); return v; }(), false, "afsnitstabel"},
      {"ELF data outside the section", buildElf(buildTree(kTemplate, 0, {.dataOffsetShift = 0x10000})), false, "uden for"},
      {"PE .rsrc followed by another section", buildPe(buildTree(kTemplate, va), {.rsrcNotLast = true}), true, "sidste"},
      {"ELF .rsrc loaded with the program", buildElf(buildTree(kTemplate, 0), {.rsrcLoaded = true}), true, "indlæst"},
  };
  for (const cCase& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      CWResourceFile f = openMemory(c.file, CWResourceFile::readWrite);
      ASSERT_TRUE(c.atWrite) << "opened";
      EXPECT_FALSE(f.failed());
      try {
        f.Write();
        ADD_FAILURE() << "written";
      } catch (const CFileException& e) {
        EXPECT_NE(e.message().find(c.reason), std::string::npos) << e.message();
        EXPECT_EQ(fileBytes(f), c.file) << "the refused file was changed";
      }
    } catch (const CFileException& e) {
      EXPECT_FALSE(c.atWrite) << e.message();
      EXPECT_NE(e.message().find(c.reason), std::string::npos) << e.message();
    }
  }
}

// An ELF section in the middle of the file moves to the end; nothing before
// it changes but its own sh_offset and sh_size, and the old bytes stay.
TEST(ResourceFile, ElfSectionInTheMiddleMovesToTheEnd) {
  const std::vector<uint8_t> original = fixtures::buildElf(fixtures::buildTree(kTemplate, 0));
  CWResourceFile f = openMemory(original, CWResourceFile::readWrite);
  const uint64_t headerAt = f.tree()->sectionHeaderPosition;
  ASSERT_TRUE(f.Add(1023, 0, 1, "abc", 3));
  ASSERT_TRUE(f.Write());
  const std::vector<uint8_t>& out = fileBytes(f);
  const uint64_t newOffset = byteio::getU64LE(&out[headerAt + 24]);
  EXPECT_GE(newOffset, original.size());
  EXPECT_EQ(newOffset % 512, 0u);
  EXPECT_EQ(out.size(), newOffset + byteio::getU64LE(&out[headerAt + 32]));
  for (size_t i = 0; i < original.size(); ++i) {
    if (i >= headerAt + 24 && i < headerAt + 40) continue;
    ASSERT_EQ(out[i], original[i]) << "byte " << i;
  }
  // Written again, the section is now the last data and stays where it is.
  CWResourceFile again = openMemory(out, CWResourceFile::readWrite);
  ASSERT_TRUE(again.Add(1023, 0, 2, "de", 2));
  ASSERT_TRUE(again.Write());
  EXPECT_EQ(byteio::getU64LE(&fileBytes(again)[headerAt + 24]), newOffset);
  EXPECT_EQ(contents(again).size(), kTemplate.size() + 2);
}

TEST(ResourceFile, BareSectionStartsEmptyAndIsCutToItsTree) {
  CWResourceFile s = CWResourceFile::openSection(std::make_unique<cMemoryFile>());
  EXPECT_TRUE(s.tree()->types.isEmpty());
  for (const cResource& r : kTemplate) s.Add(r.type, r.language, r.name, r.bytes.data(), uint32_t(r.bytes.size()));
  ASSERT_TRUE(s.Write());
  const std::vector<uint8_t> once = fileBytes(s);
  EXPECT_EQ(once.size() % 512, 0u);
  CWResourceFile back = CWResourceFile::openSection(std::make_unique<cMemoryFile>(once));
  EXPECT_EQ(contents(back), sorted(kTemplate));
  // A bare section is the same tree an ELF file carries.
  CWResourceFile elf = openMemory(fixtures::buildElf(once), CWResourceFile::readOnly);
  EXPECT_EQ(contents(elf), sorted(kTemplate));
}
