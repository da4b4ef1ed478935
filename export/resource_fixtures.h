// Small program files for the tests of the resource writer, built byte by
// byte: a 32-bit PE file and 32- and 64-bit ELF files, each with a resource
// tree laid out differently from the writer's own layout (the bytes first,
// the directories after them), so that reading does not lean on writing.
// Also what the tests need to look at a tree and to run the programs they make.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "export/resourcefile.h"
#include "shell/core/byteio.h"

namespace fixtures {

struct cResource {
  uint32_t type, name, language;
  std::vector<uint8_t> bytes;
  bool operator==(const cResource&) const = default;
};

// A resource section. Resources are stored in the order given (the reader
// sorts them); virtualAddress is added to every data entry's offset.
struct cTreeOptions {
  bool namedRootEntry = false;     // the root claims one named entry
  bool loopNameToRoot = false;     // the first name directory is the root again
  uint16_t hugeTypeCount = 0;      // when set, the root claims this many types
  uint32_t dataOffsetShift = 0;    // moves the first data entry's RVA by this much
  uint32_t dataSizeOverride = 0;   // when set, the first data entry's size
};

inline std::vector<uint8_t> buildTree(const std::vector<cResource>& resources, uint32_t virtualAddress,
                                      const cTreeOptions& o = {}) {
  // Group by type, then name, keeping the given order.
  struct cName { uint32_t id; std::vector<size_t> items; };
  struct cType { uint32_t id; std::vector<cName> names; };
  std::vector<cType> types;
  for (size_t i = 0; i < resources.size(); ++i) {
    const cResource& r = resources[i];
    cType* t = nullptr;
    for (auto& x : types) if (x.id == r.type) t = &x;
    if (!t) { types.push_back({r.type, {}}); t = &types.back(); }
    cName* n = nullptr;
    for (auto& x : t->names) if (x.id == r.name) n = &x;
    if (!n) { t->names.push_back({r.name, {}}); n = &t->names.back(); }
    n->items.push_back(i);
  }
  std::vector<uint8_t> s(16 + 8 * types.size(), 0);
  auto u16 = [&](size_t at, uint16_t v) { byteio::putU16LE(&s[at], v); };
  auto u32 = [&](size_t at, uint32_t v) { byteio::putU32LE(&s[at], v); };
  auto grow = [&](size_t n) { const size_t at = s.size(); s.resize(at + n, 0); return at; };
  u16(12, o.namedRootEntry ? 1 : 0);
  u16(14, o.hugeTypeCount ? o.hugeTypeCount : uint16_t(types.size()));
  // The bytes first, 8-byte aligned.
  std::vector<uint32_t> dataAt(resources.size());
  for (size_t i = 0; i < resources.size(); ++i) {
    dataAt[i] = uint32_t(grow((resources[i].bytes.size() + 7) & ~size_t(7)));
    std::copy(resources[i].bytes.begin(), resources[i].bytes.end(), s.begin() + dataAt[i]);
  }
  bool firstData = true, firstName = true;
  for (size_t ti = 0; ti < types.size(); ++ti) {
    const size_t dir = grow(16 + 8 * types[ti].names.size());
    u32(16 + 8 * ti, types[ti].id);
    u32(16 + 8 * ti + 4, uint32_t(dir) | 0x80000000u);
    u16(dir + 14, uint16_t(types[ti].names.size()));
    for (size_t ni = 0; ni < types[ti].names.size(); ++ni) {
      const cName& n = types[ti].names[ni];
      const size_t ndir = grow(16 + 8 * n.items.size());
      u32(dir + 16 + 8 * ni, n.id);
      u32(dir + 16 + 8 * ni + 4, uint32_t(firstName && o.loopNameToRoot ? 0 : ndir) | 0x80000000u);
      firstName = false;
      u16(ndir + 14, uint16_t(n.items.size()));
      for (size_t li = 0; li < n.items.size(); ++li) {
        const cResource& r = resources[n.items[li]];
        const size_t entry = grow(16);
        u32(ndir + 16 + 8 * li, r.language);
        u32(ndir + 16 + 8 * li + 4, uint32_t(entry));
        u32(entry, virtualAddress + dataAt[n.items[li]] + (firstData ? o.dataOffsetShift : 0));
        u32(entry + 4, firstData && o.dataSizeOverride ? o.dataSizeOverride : uint32_t(r.bytes.size()));
        u32(entry + 8, 1252);
        firstData = false;
      }
    }
  }
  return s;
}

struct cPeOptions {
  bool zeroHeaderBeforeRsrc = false;  // an all-zero section header comes before ".rsrc"
  bool rsrcNotLast = false;           // a section follows ".rsrc" in the file
  bool noRsrc = false;
  bool pe32Plus = false;              // the optional header says 64-bit
};

inline constexpr uint32_t kPeRsrcVirtualAddress = 0x3000;
inline constexpr uint32_t kPeRsrcFileOffset = 0x600;

// DOS header, "PE\0\0", a file header, a 224-byte optional header and the
// sections .text (0x1000), .data (0x2000) and .rsrc (0x3000, last).
inline std::vector<uint8_t> buildPe(const std::vector<uint8_t>& tree, const cPeOptions& o = {}) {
  std::vector<uint8_t> f(0x400, 0);
  auto u16 = [&](size_t at, uint16_t v) { byteio::putU16LE(&f[at], v); };
  auto u32 = [&](size_t at, uint32_t v) { byteio::putU32LE(&f[at], v); };
  f[0] = 'M'; f[1] = 'Z';
  const uint32_t lfanew = 0x80;
  u32(60, lfanew);
  f[lfanew] = 'P'; f[lfanew + 1] = 'E';
  u16(lfanew + 4, 0x14C);          // i386
  u16(lfanew + 20, 224);           // SizeOfOptionalHeader
  u16(lfanew + 22, 0x0102);        // executable, 32-bit
  const size_t opt = lfanew + 24;
  u16(opt, o.pe32Plus ? 0x20B : 0x10B);
  u32(opt + 16, 0x1000);           // AddressOfEntryPoint
  u32(opt + 28, 0x400000);         // ImageBase
  u32(opt + 32, 0x1000);           // SectionAlignment
  u32(opt + 36, 0x200);            // FileAlignment
  u32(opt + 60, 0x400);            // SizeOfHeaders
  u32(opt + 92, 16);               // NumberOfRvaAndSizes
  u32(opt + 96 + 8 * 2, kPeRsrcVirtualAddress);         // resource directory
  u32(opt + 96 + 8 * 2 + 4, uint32_t(tree.size()));
  struct cSec { const char* name; uint32_t va, raw, size; };
  const uint32_t rsrcRaw = uint32_t((tree.size() + 0x1FF) & ~size_t(0x1FF));
  std::vector<cSec> secs = {{".text", 0x1000, 0x400, 0x200}, {".data", 0x2000, 0x400 + 0x200, 0}};
  if (o.zeroHeaderBeforeRsrc) secs.push_back({"", 0, 0, 0});
  if (!o.noRsrc) secs.push_back({".rsrc", kPeRsrcVirtualAddress, kPeRsrcFileOffset, rsrcRaw});
  if (o.rsrcNotLast) secs.push_back({".reloc", 0x4000 + ((rsrcRaw + 0xFFF) & ~0xFFFu), kPeRsrcFileOffset + rsrcRaw, 0x200});
  u16(lfanew + 6, uint16_t(secs.size()));
  size_t at = lfanew + 248;
  for (const cSec& s : secs) {
    std::copy(s.name, s.name + std::char_traits<char>::length(s.name), f.begin() + at);
    if (s.va) {
      u32(at + 8, s.size ? s.size : 0x100);
      u32(at + 12, s.va);
      u32(at + 16, s.size);
      u32(at + 20, s.size ? s.raw : 0);
    }
    at += 40;
  }
  // SizeOfImage: up to the end of the last section.
  u32(opt + 56, o.rsrcNotLast ? 0x6000 : ((kPeRsrcVirtualAddress + rsrcRaw + 0xFFF) & ~0xFFFu));
  // .text: a few recognisable bytes; .data holds nothing in the file.
  f.resize(kPeRsrcFileOffset, 0);
  for (size_t i = 0x400; i < 0x600; ++i) f[i] = uint8_t(0xC3 ^ i);
  if (!o.noRsrc) {
    f.insert(f.end(), tree.begin(), tree.end());
    f.resize(kPeRsrcFileOffset + rsrcRaw, 0);
  }
  if (o.rsrcNotLast) f.resize(f.size() + 0x200, 0xEE);
  return f;
}

struct cElfOptions {
  bool elf64 = true;
  bool rsrcLast = false;     // .rsrc after the section header table
  bool rsrcLoaded = false;   // .rsrc carries the alloc flag
  bool noRsrc = false;
};

// An ELF file with the sections: null, .text, .rsrc, .symtab (some bytes),
// .shstrtab, then the section header table; or with .rsrc after that table.
inline std::vector<uint8_t> buildElf(const std::vector<uint8_t>& tree, const cElfOptions& o = {}) {
  const bool w = o.elf64;
  const size_t ehsize = w ? 64 : 52, shentsize = w ? 64 : 40;
  const std::string names = std::string("\0.text\0.rsrc\0.symtab\0.shstrtab\0", 32);
  struct cSec { uint32_t name, type; uint64_t flags, offset, size; };
  std::vector<uint8_t> f(ehsize, 0);
  auto append = [&](const std::vector<uint8_t>& b, size_t align) {
    while (f.size() % align) f.push_back(0);
    const size_t at = f.size();
    f.insert(f.end(), b.begin(), b.end());
    return at;
  };
  std::vector<cSec> secs(5);
  secs[0] = {0, 0, 0, 0, 0};
  const std::vector<uint8_t> text(48, 0x90), symtab(72, 0x5A);
  secs[1] = {1, 1, 6, append(text, 16), text.size()};
  if (!o.rsrcLast && !o.noRsrc) secs[2] = {7, 1, o.rsrcLoaded ? 2u : 0u, append(tree, 4), tree.size()};
  secs[3] = {13, 1, 0, append(symtab, 8), symtab.size()};
  secs[4] = {21, 3, 0, append(std::vector<uint8_t>(names.begin(), names.end()), 1), names.size()};
  while (f.size() % 8) f.push_back(0);
  const size_t shoff = f.size();
  f.resize(shoff + secs.size() * shentsize, 0);
  if (o.rsrcLast && !o.noRsrc) secs[2] = {7, 1, o.rsrcLoaded ? 2u : 0u, append(tree, 4), tree.size()};
  if (o.noRsrc) secs[2] = {22, 1, 0, 0, 0};  // named "shstrtab", not ".rsrc"
  for (size_t i = 0; i < secs.size(); ++i) {
    uint8_t* h = &f[shoff + i * shentsize];
    byteio::putU32LE(h, secs[i].name);
    byteio::putU32LE(h + 4, secs[i].type);
    if (w) {
      byteio::putU64LE(h + 8, secs[i].flags);
      byteio::putU64LE(h + 24, secs[i].offset);
      byteio::putU64LE(h + 32, secs[i].size);
      byteio::putU64LE(h + 48, 1);
    } else {
      byteio::putU32LE(h + 8, uint32_t(secs[i].flags));
      byteio::putU32LE(h + 16, uint32_t(secs[i].offset));
      byteio::putU32LE(h + 20, uint32_t(secs[i].size));
      byteio::putU32LE(h + 32, 1);
    }
  }
  f[0] = 0x7F; f[1] = 'E'; f[2] = 'L'; f[3] = 'F';
  f[4] = w ? 2 : 1; f[5] = 1; f[6] = 1;
  byteio::putU16LE(&f[16], 3);                    // shared object
  byteio::putU16LE(&f[18], w ? 62 : 3);           // x86-64 or i386
  byteio::putU32LE(&f[20], 1);
  if (w) {
    byteio::putU64LE(&f[0x28], shoff);
    byteio::putU16LE(&f[0x34], 64);
    byteio::putU16LE(&f[0x3A], 64);
    byteio::putU16LE(&f[0x3C], uint16_t(secs.size()));
    byteio::putU16LE(&f[0x3E], 4);
  } else {
    byteio::putU32LE(&f[0x20], uint32_t(shoff));
    byteio::putU16LE(&f[0x28], 52);
    byteio::putU16LE(&f[0x2E], 40);
    byteio::putU16LE(&f[0x30], uint16_t(secs.size()));
    byteio::putU16LE(&f[0x32], 4);
  }
  return f;
}

// Every resource of an open file in tree order, with its bytes.
inline std::vector<cResource> contents(CWResourceFile& f) {
  std::vector<cResource> out;
  for (CWResourceDir& t : const_cast<CWResourceTypeDir*>(f.tree())->types)
    for (CWResourceLangDir& n : t.names)
      for (CWResourceElement& e : n.languages) {
        const uint8_t* d = f.load(e);
        out.push_back({t.type(), n.name(), e.language(), std::vector<uint8_t>(d, d + e.size())});
      }
  return out;
}

// Runs a shell command; its output and error output, and its wait status.
inline std::string runCommand(const std::string& command, int& status) {
  std::string out;
  FILE* p = ::popen((command + " 2>&1").c_str(), "r");
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
  status = ::pclose(p);
  return out;
}

}  // namespace fixtures
