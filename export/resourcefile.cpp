#include "export/resourcefile.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "shell/core/alert.h"
#include "shell/core/byteio.h"

using byteio::getU16LE;
using byteio::getU32LE;
using byteio::getU64LE;
using byteio::putU16LE;
using byteio::putU32LE;
using byteio::putU64LE;

namespace {

constexpr uint32_t kDirectoryFlag = 0x80000000;
constexpr uint32_t kHeaderBytes = 16, kEntryBytes = 8, kDataEntryBytes = 16;

// PE offsets
constexpr uint32_t kPeSignature = 0x00004550;
constexpr uint32_t kPeOptionalHeaderBytes = 224;
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint32_t kPeSectionHeaderBytes = 40;

// ELF section types and flags
constexpr uint32_t kShtNobits = 8;
constexpr uint64_t kShfAlloc = 2;

uint64_t roundUp(uint64_t v, uint64_t m) { return (v + m - 1) / m * m; }

cResDirHeader parseHeader(const uint8_t* b) {
  cResDirHeader h;
  h.characteristics = getU32LE(b);
  h.timeDateStamp = getU32LE(b + 4);
  h.majorVersion = getU16LE(b + 8);
  h.minorVersion = getU16LE(b + 10);
  h.numberOfNamedEntries = getU16LE(b + 12);
  h.numberOfIdEntries = getU16LE(b + 14);
  return h;
}

void putHeader(uint8_t* b, const cResDirHeader& h) {
  putU32LE(b, h.characteristics);
  putU32LE(b + 4, h.timeDateStamp);
  putU16LE(b + 8, h.majorVersion);
  putU16LE(b + 10, h.minorVersion);
  putU16LE(b + 12, h.numberOfNamedEntries);
  putU16LE(b + 14, h.numberOfIdEntries);
}

// An ELF section header's fields, whichever the class.
struct cElfSection {
  uint32_t name = 0, type = 0;
  uint64_t flags = 0, offset = 0, size = 0;
};

// An address-sized field: 8 bytes in 64-bit files, 4 in 32-bit ones.
uint64_t elfWord(const uint8_t* p, bool elf64) { return elf64 ? getU64LE(p) : getU32LE(p); }

cElfSection parseElfSection(const uint8_t* b, bool elf64) {
  const size_t w = elf64 ? 8 : 4;  // sh_flags, sh_addr, sh_offset, sh_size follow sh_type
  cElfSection s;
  s.name = getU32LE(b);
  s.type = getU32LE(b + 4);
  s.flags = elfWord(b + 8, elf64);
  s.offset = elfWord(b + 8 + 2 * w, elf64);
  s.size = elfWord(b + 8 + 3 * w, elf64);
  return s;
}

// Reads the tree of an open section. Every read is checked against the
// section, every directory is read once (a directory met again is a loop),
// and the entries and bytes together cannot claim more than the section holds.
class cTreeReader {
 public:
  explicit cTreeReader(CWResourceTypeDir& t) : t_(t), entriesLeft_(t.sectionSize / kEntryBytes) {}

  void read() {
    uint8_t b[kHeaderBytes];
    readSection(0, b, kHeaderBytes);
    t_.rootHeader = parseHeader(b);
    if (t_.rootHeader.numberOfNamedEntries != 0)
      throwFileFormat("Ressourcerne har navne i stedet for numre; kun nummererede ressourcer kan bruges.");
    visited_.insert(0);
    for (const cResDirEntry& e : readEntries(kHeaderBytes, t_.rootHeader.numberOfIdEntries)) {
      auto dir = std::make_unique<CWResourceDir>();
      dir->entry = e;
      dir->header = readDirectory(e);
      for (const cResDirEntry& n : readEntries(directoryOffset(e) + kHeaderBytes, dir->header.numberOfIdEntries)) {
        auto name = std::make_unique<CWResourceLangDir>();
        name->entry = n;
        name->header = readDirectory(n);
        for (const cResDirEntry& l : readEntries(directoryOffset(n) + kHeaderBytes, name->header.numberOfIdEntries))
          name->languages.insertSorted(readElement(l));
        dir->names.insertSorted(std::move(name));
      }
      t_.types.insertSorted(std::move(dir));
    }
  }

 private:
  void readSection(uint64_t offset, void* out, uint64_t count) {
    if (offset > t_.sectionSize || count > t_.sectionSize - offset)
      throwFileFormat("Ressourcerne peger uden for deres afsnit i filen.");
    t_.file->seek(static_cast<int64_t>(t_.sectionStart + offset), cSeekFrom::start);
    t_.file->read(out, static_cast<size_t>(count));
  }

  static uint32_t directoryOffset(const cResDirEntry& e) { return e.offsetToData & ~kDirectoryFlag; }

  std::vector<cResDirEntry> readEntries(uint64_t offset, uint16_t count) {
    if (count > entriesLeft_)
      throwFileFormat("Ressourcerne siger, at de er flere, end der er plads til i filen.");
    entriesLeft_ -= count;
    std::vector<uint8_t> raw(size_t(count) * kEntryBytes);
    readSection(offset, raw.data(), raw.size());
    std::vector<cResDirEntry> entries(count);
    for (size_t i = 0; i < count; ++i) {
      entries[i].nameId = getU32LE(&raw[i * kEntryBytes]);
      entries[i].offsetToData = getU32LE(&raw[i * kEntryBytes + 4]);
      if (entries[i].nameId & kDirectoryFlag)
        throwFileFormat("Ressourcerne har navne i stedet for numre; kun nummererede ressourcer kan bruges.");
    }
    return entries;
  }

  cResDirHeader readDirectory(const cResDirEntry& e) {
    const uint32_t at = directoryOffset(e);
    if (!visited_.insert(at).second)
      throwFileFormat("Ressourcernes register peger tilbage på sig selv.");
    uint8_t b[kHeaderBytes];
    readSection(at, b, kHeaderBytes);
    cResDirHeader h = parseHeader(b);
    if (h.numberOfNamedEntries != 0)
      throwFileFormat("Ressourcerne har navne i stedet for numre; kun nummererede ressourcer kan bruges.");
    return h;
  }

  std::unique_ptr<CWResourceElement> readElement(const cResDirEntry& e) {
    auto element = std::make_unique<CWResourceElement>();
    element->entry = e;
    uint8_t b[kDataEntryBytes];
    readSection(e.offsetToData, b, kDataEntryBytes);
    cResDataEntry& d = element->dataEntry;
    d.offsetToData = getU32LE(b);
    d.size = getU32LE(b + 4);
    d.codePage = getU32LE(b + 8);
    d.reserved = getU32LE(b + 12);
    // The bytes must lie in the section, and all of them together must fit in it.
    if (d.offsetToData < t_.virtualAddress || d.offsetToData - t_.virtualAddress > t_.sectionSize ||
        d.size > t_.sectionSize - (d.offsetToData - t_.virtualAddress))
      throwFileFormat("En ressource ligger uden for ressourceafsnittet i filen.");
    dataBytes_ += d.size;
    if (dataBytes_ > t_.sectionSize)
      throwFileFormat("Ressourcerne i filen overlapper hinanden.");
    if (t_.loadData) {
      element->data = std::make_unique<uint8_t[]>(d.size);
      readSection(d.offsetToData - t_.virtualAddress, element->data.get(), d.size);
    }
    return element;
  }

  CWResourceTypeDir& t_;
  uint64_t entriesLeft_;
  uint64_t dataBytes_ = 0;
  std::set<uint32_t> visited_;
};

void openPe(CWResourceTypeDir& t, uint64_t length) {
  cBinaryFile& f = *t.file;
  f.seek(0, cSeekFrom::start);
  f.read(t.dosHeader, sizeof t.dosHeader);
  if (getU16LE(t.dosHeader) != 0x5A4D)
    throwFileFormat("Filen er hverken et Windows-program (PE) eller et Linux-program (ELF).");
  const uint32_t lfanew = getU32LE(t.dosHeader + 60);
  uint8_t head[24];
  f.seek(lfanew, cSeekFrom::start);
  f.read(head, sizeof head);
  if (getU32LE(head) != kPeSignature)
    throwFileFormat("Filen begynder som et Windows-program, men har ingen PE-signatur.");
  // The optional header has a fixed size in the 32-bit form we edit; the section
  // table follows it, and reading a 64-bit program that way would misread it.
  if (getU16LE(head + 20) != kPeOptionalHeaderBytes)
    throwFileFormat("Filen er ikke et 32-bit Windows-program, og kun dem kan bruges.");
  t.optionalHeaderPosition = uint64_t(lfanew) + 24;
  f.read(t.optionalHeader, kPeOptionalHeaderBytes);
  if (getU16LE(t.optionalHeader) != kPe32Magic)
    throwFileFormat("Filen er ikke et 32-bit Windows-program, og kun dem kan bruges.");
  // The section headers one after the other until ".rsrc"; a header without a
  // name before it ends the search.
  f.seek(static_cast<int64_t>(t.optionalHeaderPosition + kPeOptionalHeaderBytes), cSeekFrom::start);
  for (;;) {
    f.read(t.sectionHeader, kPeSectionHeaderBytes);
    char name[9] = {};
    std::memcpy(name, t.sectionHeader, 8);
    if (std::strcmp(name, kResourceSectionName) == 0) break;
    if (name[0] == 0) throwFileFormat("Filen har ingen ressourcer (intet .rsrc-afsnit).");
  }
  t.sectionHeaderPosition = f.position() - kPeSectionHeaderBytes;
  t.sectionStart = getU32LE(t.sectionHeader + 20);
  t.virtualAddress = getU32LE(t.sectionHeader + 12);
  const uint64_t raw = getU32LE(t.sectionHeader + 16);
  t.sectionSize = t.sectionStart < length ? std::min(raw, length - t.sectionStart) : 0;
}

// Reads the ELF header fields we need; the section table goes to `table`.
struct cElfLayout {
  bool elf64 = false;
  uint64_t shoff = 0, phoff = 0;
  uint16_t shentsize = 0, shnum = 0, shstrndx = 0, phentsize = 0, phnum = 0, ehsize = 0;
  std::vector<uint8_t> table;
};

cElfLayout readElfLayout(cBinaryFile& f, uint64_t length) {
  cElfLayout l;
  uint8_t h[64] = {};
  f.seek(0, cSeekFrom::start);
  f.read(h, 52);
  if (h[4] != 1 && h[4] != 2) throwFileFormat("Filen er et Linux-program af en ukendt slags.");
  if (h[5] != 1) throwFileFormat("Filen er et Linux-program til en anden slags maskine (big-endian).");
  l.elf64 = h[4] == 2;
  if (l.elf64) f.read(h + 52, 12);
  // e_phoff and e_shoff after e_entry; e_ehsize and five 16-bit fields after e_flags.
  const size_t w = l.elf64 ? 8 : 4, halves = 0x18 + 3 * w + 4;
  l.phoff = elfWord(h + 0x18 + w, l.elf64);
  l.shoff = elfWord(h + 0x18 + 2 * w, l.elf64);
  l.ehsize = getU16LE(h + halves);
  l.phentsize = getU16LE(h + halves + 2);
  l.phnum = getU16LE(h + halves + 4);
  l.shentsize = getU16LE(h + halves + 6);
  l.shnum = getU16LE(h + halves + 8);
  l.shstrndx = getU16LE(h + halves + 10);
  if (l.shentsize != (l.elf64 ? 64 : 40) || l.shnum == 0 || l.shstrndx >= l.shnum)
    throwFileFormat("Filen er et Linux-program uden en læselig afsnitstabel.");
  const uint64_t tableBytes = uint64_t(l.shnum) * l.shentsize;
  if (l.shoff > length || tableBytes > length - l.shoff)
    throwFileFormat("Linux-programmets afsnitstabel ligger uden for filen.");
  l.table.resize(tableBytes);
  f.seek(static_cast<int64_t>(l.shoff), cSeekFrom::start);
  f.read(l.table.data(), l.table.size());
  return l;
}

// Where the data of everything but the resource section ends.
uint64_t elfDataEnd(const cElfLayout& l, unsigned rsrcIndex) {
  uint64_t end = std::max<uint64_t>(l.ehsize, l.shoff + l.table.size());
  end = std::max(end, l.phoff + uint64_t(l.phnum) * l.phentsize);
  for (unsigned i = 0; i < l.shnum; ++i) {
    if (i == rsrcIndex) continue;
    const cElfSection s = parseElfSection(&l.table[size_t(i) * l.shentsize], l.elf64);
    if (s.type != kShtNobits && s.size) end = std::max(end, s.offset + s.size);
  }
  return end;
}

unsigned findElfSection(CWResourceTypeDir& t, const cElfLayout& l, uint64_t length) {
  const cElfSection names = parseElfSection(&l.table[size_t(l.shstrndx) * l.shentsize], l.elf64);
  if (names.offset > length || names.size > length - names.offset)
    throwFileFormat("Linux-programmets navnetabel ligger uden for filen.");
  std::vector<char> strtab(names.size + 1, 0);
  t.file->seek(static_cast<int64_t>(names.offset), cSeekFrom::start);
  t.file->read(strtab.data(), names.size);
  for (unsigned i = 0; i < l.shnum; ++i) {
    const uint8_t* raw = &l.table[size_t(i) * l.shentsize];
    const cElfSection s = parseElfSection(raw, l.elf64);
    if (s.name >= names.size || std::strcmp(&strtab[s.name], kResourceSectionName) != 0) continue;
    if (s.type == kShtNobits) throwFileFormat("Programmets .rsrc-afsnit er tomt.");
    std::memcpy(t.sectionHeader, raw, l.shentsize);
    t.sectionHeaderPosition = l.shoff + uint64_t(i) * l.shentsize;
    t.sectionStart = s.offset;
    t.sectionSize = s.offset < length ? std::min(s.size, length - s.offset) : 0;
    t.virtualAddress = 0;
    return i;
  }
  throwFileFormat("Filen har ingen ressourcer (intet .rsrc-afsnit).");
}

void openElf(CWResourceTypeDir& t, uint64_t length) {
  const cElfLayout l = readElfLayout(*t.file, length);
  t.elf64 = l.elf64;
  findElfSection(t, l, length);
}

// Writes the layout of the section; counts what it writes in `pos`.
class cSectionWriter {
 public:
  cSectionWriter(CWResourceTypeDir& t, uint64_t start) : t_(t), start_(start) {}

  // The directories and the data entries: steps that both passes take.
  void writeDirectories() {
    cBinaryFile& f = *t_.file;
    pos_ = start_;
    f.seek(static_cast<int64_t>(start_), cSeekFrom::start);
    t_.rootHeader.numberOfIdEntries = static_cast<uint16_t>(t_.types.count());
    putDirectory(t_.rootHeader);
    for (CWResourceDir& type : t_.types) putEntry(type.entry);
    for (CWResourceDir& type : t_.types) {
      type.entry.offsetToData = relative() | kDirectoryFlag;
      type.header.numberOfIdEntries = static_cast<uint16_t>(type.names.count());
      putDirectory(type.header);
      for (CWResourceLangDir& name : type.names) putEntry(name.entry);
    }
    for (CWResourceDir& type : t_.types)
      for (CWResourceLangDir& name : type.names) {
        name.entry.offsetToData = relative() | kDirectoryFlag;
        name.header.numberOfIdEntries = static_cast<uint16_t>(name.languages.count());
        putDirectory(name.header);
        for (CWResourceElement& e : name.languages) putEntry(e.entry);
      }
    for (CWResourceDir& type : t_.types)
      for (CWResourceLangDir& name : type.names)
        for (CWResourceElement& e : name.languages) {
          e.entry.offsetToData = relative();
          uint8_t b[kDataEntryBytes];
          putU32LE(b, e.dataEntry.offsetToData);
          putU32LE(b + 4, e.dataEntry.size);
          putU32LE(b + 8, e.dataEntry.codePage);
          putU32LE(b + 12, e.dataEntry.reserved);
          put(b, sizeof b);
        }
  }

  // The bytes of every resource, 4-byte aligned, then padding to 512.
  // Returns the size of the section.
  uint64_t writeData() {
    for (CWResourceDir& type : t_.types)
      for (CWResourceLangDir& name : type.names)
        for (CWResourceElement& e : name.languages) {
          e.dataEntry.offsetToData = static_cast<uint32_t>(t_.virtualAddress + relative());
          put(e.data.get(), e.dataEntry.size);
          padTo(4);
        }
    padTo(kResourceSectionPadding);
    return pos_ - start_;
  }

 private:
  uint32_t relative() const {
    const uint64_t r = pos_ - start_;
    if (r + t_.virtualAddress >= kDirectoryFlag) throwFileFormat("Ressourcerne fylder for meget til én fil.");
    return static_cast<uint32_t>(r);
  }
  void put(const void* p, size_t n) {
    if (n) t_.file->write(p, n);
    pos_ += n;
  }
  void putDirectory(const cResDirHeader& h) {
    uint8_t b[kHeaderBytes];
    putHeader(b, h);
    put(b, sizeof b);
  }
  void putEntry(const cResDirEntry& e) {
    uint8_t b[kEntryBytes];
    putU32LE(b, e.nameId);
    putU32LE(b + 4, e.offsetToData);
    put(b, sizeof b);
  }
  void padTo(uint64_t multiple) {
    static const uint8_t zeros[kResourceSectionPadding] = {};
    const uint64_t over = (pos_ - start_) % multiple;
    if (over) put(zeros, static_cast<size_t>(multiple - over));
  }

  CWResourceTypeDir& t_;
  uint64_t start_;
  uint64_t pos_ = 0;
};

// A PE resource section is rewritten in place and may grow: nothing may follow it.
void checkPeSectionIsLast(CWResourceTypeDir& t) {
  const uint32_t lfanew = getU32LE(t.dosHeader + 60);
  uint8_t countBytes[2];
  t.file->seek(int64_t(lfanew) + 6, cSeekFrom::start);
  t.file->read(countBytes, 2);
  const uint16_t count = getU16LE(countBytes);
  const uint64_t table = t.optionalHeaderPosition + kPeOptionalHeaderBytes;
  const uint32_t ourRaw = getU32LE(t.sectionHeader + 20), ourVa = getU32LE(t.sectionHeader + 12);
  for (uint16_t i = 0; i < count; ++i) {
    const uint64_t at = table + uint64_t(i) * kPeSectionHeaderBytes;
    if (at == t.sectionHeaderPosition) continue;
    uint8_t s[kPeSectionHeaderBytes];
    t.file->seek(static_cast<int64_t>(at), cSeekFrom::start);
    t.file->read(s, sizeof s);
    const bool laterInFile = getU32LE(s + 16) != 0 && getU32LE(s + 20) > ourRaw;
    if (laterInFile || getU32LE(s + 12) > ourVa)
      throwFileFormat("Ressourcerne er ikke det sidste afsnit i programmet; de kan ikke skrives uden at "
                      "ødelægge det, der følger efter.");
  }
}

}  // namespace

CWResourceFile::CWResourceFile(const std::string& path, int mode) {
  if (!fileExists(path)) {
    cAlert().show(6);
    return;
  }
  open(std::make_unique<cDiskFile>(path, mode == readWrite ? cDiskFile::readWrite : cDiskFile::readOnly), mode,
       false);
}

CWResourceFile::CWResourceFile(std::unique_ptr<cBinaryFile> file, int mode) { open(std::move(file), mode, false); }

CWResourceFile CWResourceFile::openSection(std::unique_ptr<cBinaryFile> file) {
  CWResourceFile r;
  r.open(std::move(file), readWrite, true);
  return r;
}

CWResourceFile::~CWResourceFile() = default;
CWResourceFile::CWResourceFile(CWResourceFile&&) noexcept = default;
CWResourceFile& CWResourceFile::operator=(CWResourceFile&&) noexcept = default;

void CWResourceFile::open(std::unique_ptr<cBinaryFile> file, int mode, bool bareSection) {
  auto t = std::make_unique<CWResourceTypeDir>();
  t->file = std::move(file);
  t->loadData = mode == readWrite;
  const uint64_t length = t->file->seek(0, cSeekFrom::end);
  t->file->seek(0, cSeekFrom::start);
  if (bareSection) {
    t->container = cResourceContainer::section;
    t->sectionSize = length;
  } else {
    uint8_t magic[4] = {};
    if (length >= 4) t->file->read(magic, 4);
    if (magic[0] == 0x7F && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F') {
      t->container = cResourceContainer::elf;
      openElf(*t, length);
    } else {
      t->container = cResourceContainer::pe;
      openPe(*t, length);
    }
  }
  // An empty bare section is a new, empty tree.
  if (!(bareSection && length == 0)) cTreeReader(*t).read();
  typeDir_ = std::move(t);
  failed_ = false;
}

const uint8_t* CWResourceFile::load(CWResourceElement& e) {
  if (!e.data) {
    CWResourceTypeDir& t = *typeDir_;
    // The reader checked at open that the bytes lie in the section.
    auto data = std::make_unique<uint8_t[]>(e.dataEntry.size);
    t.file->seek(static_cast<int64_t>(t.sectionStart + (e.dataEntry.offsetToData - t.virtualAddress)),
                 cSeekFrom::start);
    t.file->read(data.get(), e.dataEntry.size);
    e.data = std::move(data);
  }
  return e.data.get();
}

bool CWResourceFile::Add(uint32_t type, uint32_t language, uint32_t name, const void* data, uint32_t size) {
  if (failed_) return false;
  CWResourceTypeDir& t = *typeDir_;
  CWResourceDir* dir = t.types.findByKey(static_cast<int32_t>(type));
  if (!dir) {
    auto d = std::make_unique<CWResourceDir>();
    d->entry.nameId = type;
    dir = t.types.insertSorted(std::move(d));
  }
  CWResourceLangDir* names = dir->names.findByKey(static_cast<int32_t>(name));
  if (!names) {
    auto n = std::make_unique<CWResourceLangDir>();
    n->entry.nameId = name;
    names = dir->names.insertSorted(std::move(n));
  }
  auto e = std::make_unique<CWResourceElement>();
  e->entry.nameId = language;
  e->dataEntry.size = size;
  e->data = std::make_unique<uint8_t[]>(size);
  if (size) std::memcpy(e->data.get(), data, size);
  names->languages.insertSorted(std::move(e));
  return true;
}

bool CWResourceFile::Get(uint32_t type, uint32_t language, uint32_t name, const uint8_t*& data, uint32_t& size) {
  if (failed_) return false;
  CWResourceDir* dir = typeDir_->types.findByKey(static_cast<int32_t>(type));
  CWResourceLangDir* names = dir ? dir->names.findByKey(static_cast<int32_t>(name)) : nullptr;
  CWResourceElement* e = names ? names->languages.findByKey(static_cast<int32_t>(language)) : nullptr;
  if (!e) return false;
  data = load(*e);
  size = e->dataEntry.size;
  return true;
}

bool CWResourceFile::GetFirst(uint32_t type, uint32_t name, const uint8_t*& data, uint32_t& size,
                              uint32_t* language) {
  if (failed_) return false;
  CWResourceDir* dir = typeDir_->types.findByKey(static_cast<int32_t>(type));
  CWResourceLangDir* names = dir ? dir->names.findByKey(static_cast<int32_t>(name)) : nullptr;
  CWResourceElement* e = names ? names->languages.first() : nullptr;
  if (!e) return false;
  data = load(*e);
  size = e->dataEntry.size;
  if (language) *language = e->language();
  return true;
}

bool CWResourceFile::Write() {
  if (failed_) return false;
  CWResourceTypeDir& t = *typeDir_;
  // The new section covers the old one: every resource's bytes must be in memory first.
  for (CWResourceDir& type : t.types)
    for (CWResourceLangDir& name : type.names)
      for (CWResourceElement& e : name.languages) load(e);

  uint64_t start = t.sectionStart;
  if (t.container == cResourceContainer::pe) {
    checkPeSectionIsLast(t);
  } else if (t.container == cResourceContainer::elf) {
    const uint64_t length = t.file->seek(0, cSeekFrom::end);
    const cElfLayout l = readElfLayout(*t.file, length);
    const unsigned index = static_cast<unsigned>((t.sectionHeaderPosition - l.shoff) / l.shentsize);
    if (parseElfSection(t.sectionHeader, t.elf64).flags & kShfAlloc)
      throwFileFormat("Programmets .rsrc-afsnit bliver indlæst med programmet og kan ikke skrives om.");
    if (t.sectionStart < elfDataEnd(l, index)) start = roundUp(length, kResourceSectionPadding);
  }

  cSectionWriter writer(t, start);
  writer.writeDirectories();
  const uint64_t size = writer.writeData();

  cBinaryFile& f = *t.file;
  if (t.container == cResourceContainer::pe) {
    const uint64_t virtualSize = roundUp(size, kPeVirtualSizeRounding);
    putU32LE(t.sectionHeader + 16, static_cast<uint32_t>(size));
    putU32LE(t.sectionHeader + 8, static_cast<uint32_t>(virtualSize));
    putU32LE(t.optionalHeader + 56,
             static_cast<uint32_t>(roundUp(t.virtualAddress + virtualSize, kPeImageSizeRounding)));
    f.seek(static_cast<int64_t>(t.optionalHeaderPosition), cSeekFrom::start);
    f.write(t.optionalHeader, kPeOptionalHeaderBytes);
    f.seek(static_cast<int64_t>(t.sectionHeaderPosition), cSeekFrom::start);
    f.write(t.sectionHeader, kPeSectionHeaderBytes);
  } else if (t.container == cResourceContainer::elf) {
    if (t.elf64) {
      putU64LE(t.sectionHeader + 24, start);
      putU64LE(t.sectionHeader + 32, size);
    } else {
      if (start + size > 0xFFFFFFFFu) throwFileFormat("Programmet bliver for stort til sin slags.");
      putU32LE(t.sectionHeader + 16, static_cast<uint32_t>(start));
      putU32LE(t.sectionHeader + 20, static_cast<uint32_t>(size));
    }
    f.seek(static_cast<int64_t>(t.sectionHeaderPosition), cSeekFrom::start);
    f.write(t.sectionHeader, t.elf64 ? 64 : 40);
  }

  writer.writeDirectories();
  // A bare section is the whole file: cut off what a longer tree left behind.
  if (t.container == cResourceContainer::section && f.length() > size) f.setLength(size);
  t.sectionStart = start;
  t.sectionSize = size;
  return true;
}
