// The resource reader against arbitrary files. The first byte chooses the
// container (the fuzzer mutates real PE and ELF files from the seed corpus
// made by the tests' fixtures); the rest is the file. Opening must either
// refuse with the file exception or give a tree whose every resource can be
// read, and writing that tree and reading it back must give the same tree.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "export/resource_fixtures.h"

using fixtures::contents;
using cItem = fixtures::cResource;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const bool bare = data[0] & 1;
  const bool writable = data[0] & 2;
  std::vector<uint8_t> file(data + 1, data + size);
  try {
    auto memory = std::make_unique<cMemoryFile>(file);
    CWResourceFile f = bare ? CWResourceFile::openSection(std::move(memory))
                            : CWResourceFile(std::move(memory), writable ? CWResourceFile::readWrite
                                                                         : CWResourceFile::readOnly);
    const std::vector<cItem> before = contents(f);
    if (!writable && !bare) return 0;
    // What was read must survive a write unchanged, plus the one resource added.
    f.Add(1023, 0, 1, "abc", 3);
    try {
      f.Write();
    } catch (const CFileException&) {
      return 0;  // refused at Write: a PE section that is not the last one, a loaded ELF section
    }
    const std::vector<cItem> after = contents(f);
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
