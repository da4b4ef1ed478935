// The resource reader against hostile files. The first byte chooses what the
// rest is: byte patches (offset, value) applied to one of the small PE, ELF
// or bare-section files of the tests, or a whole file as it stands. Opening
// must either refuse with the file exception or give a tree whose every
// resource can be read; a tree that was read must survive a write and a
// second reading unchanged, plus the one resource added.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "export/resource_fixtures.h"

namespace {

using fixtures::contents;

enum : uint8_t { kPe, kElf64, kElf32, kElf64Last, kBareFixture, kRawFile, kRawSection, kKinds };

const std::vector<uint8_t>& fixture(uint8_t kind) {
  static const std::vector<fixtures::cResource> resources = {
      {1004, 1029, 1030, {'H', 'R', 1, 0}}, {6, 501, 1030, {0, 0, 3, 0}},
      {1004, 1000, 0, {9, 9, 9}}, {1004, 1000, 1030, {1}}, {20000, 20000, 0, {'E', 'n', 'd'}}};
  static const std::vector<uint8_t> files[] = {
      fixtures::buildPe(fixtures::buildTree(resources, fixtures::kPeRsrcVirtualAddress)),
      fixtures::buildElf(fixtures::buildTree(resources, 0)),
      fixtures::buildElf(fixtures::buildTree(resources, 0), {.elf64 = false}),
      fixtures::buildElf(fixtures::buildTree(resources, 0), {.rsrcLast = true}),
      fixtures::buildTree(resources, 0),
  };
  return files[kind];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t kind = (data[0] & 7) % kKinds;
  const bool writable = data[0] & 8;
  const bool bare = kind == kBareFixture || kind == kRawSection;
  std::vector<uint8_t> file;
  if (kind == kRawFile || kind == kRawSection) {
    file.assign(data + 1, data + size);
  } else {
    file = fixture(kind);
    for (size_t i = 1; i + 3 <= size; i += 3) file[(data[i] | (data[i + 1] << 8)) % file.size()] = data[i + 2];
  }
  try {
    auto memory = std::make_unique<cMemoryFile>(file);
    CWResourceFile f = bare ? CWResourceFile::openSection(std::move(memory))
                            : CWResourceFile(std::move(memory), writable ? CWResourceFile::readWrite
                                                                         : CWResourceFile::readOnly);
    const std::vector<fixtures::cResource> before = contents(f);
    if (!writable && !bare) return 0;
    f.Add(1023, 0, 1, "abc", 3);
    try {
      f.Write();
    } catch (const CFileException&) {
      return 0;  // refused at Write: a PE section that is not the last one, a loaded ELF section
    }
    const std::vector<fixtures::cResource> after = contents(f);
    if (after.size() != before.size() + 1) std::abort();
    std::vector<uint8_t> written = static_cast<cMemoryFile&>(*f.tree()->file).release();
    auto again = std::make_unique<cMemoryFile>(std::move(written));
    CWResourceFile back = bare ? CWResourceFile::openSection(std::move(again))
                               : CWResourceFile(std::move(again), CWResourceFile::readOnly);
    if (contents(back) != after) std::abort();
  } catch (const CFileException&) {
  }
  return 0;
}
