// The resource writer: reads the resource tree of a program file, adds
// resources to it and writes it back in place. The same tree lives in two
// containers: the ".rsrc" section of a 32-bit PE file (stand-alone programs
// made on Windows) and a non-loaded ".rsrc" section of an ELF file (our own
// programs and libraries). A third, bare form is the section on its own; the
// build tool makes one before it attaches it to a program.
//
// The tree (all numbers little-endian, offsets relative to the section start
// unless named an RVA):
//
//   directory header, 16 bytes
//     0   u32  Characteristics
//     4   u32  TimeDateStamp
//     8   u16  MajorVersion
//     10  u16  MinorVersion
//     12  u16  NumberOfNamedEntries   always 0 here: only numbered resources
//     14  u16  NumberOfIdEntries
//   followed by NumberOfIdEntries directory entries, 8 bytes each
//     0   u32  Name/Id                the type, name or language number
//     4   u32  OffsetToData           bit 31 set: offset of the next directory;
//                                     clear: offset of a data entry
//   data entry, 16 bytes
//     0   u32  OffsetToData           RVA of the bytes: section VirtualAddress +
//                                     offset in the section (ELF: VirtualAddress 0)
//     4   u32  Size
//     8   u32  CodePage
//     12  u32  Reserved
//
// Three levels: types, names in a type, languages in a name. Every list is
// kept in ascending (signed) id order; an id that is already there goes after
// the ones that have it.
//
// Write lays the section out as: root header and type entries; every type's
// header and name entries; every name's header and language entries; every
// data entry; every resource's bytes, each padded to 4 bytes; zeros up to a
// multiple of 512. It writes that twice: the second time every offset is known.
//
// PE (32-bit): DOS header (64 bytes, "MZ", e_lfanew at 60); at e_lfanew "PE\0\0";
// the optional header (224 bytes) at e_lfanew + 24, SizeOfImage at its offset
// 56; the section table at e_lfanew + 248, 40 bytes a section: name (8),
// VirtualSize (8), VirtualAddress (12), SizeOfRawData (16), PointerToRawData
// (20). The ".rsrc" section must be the last one; Write rewrites it in place
// and adjusts VirtualSize (rounded up to 4096), SizeOfRawData and SizeOfImage
// (rounded up to 65536) only.
//
// ELF (32- and 64-bit little-endian): the section named ".rsrc" (PROGBITS, not
// loaded) found through the section name table. Write rewrites it in place
// when it is the last data of the file; otherwise it puts the new section after
// everything else. Only the section's sh_offset and sh_size change.
//
// Every refusal raises CFileException with a Danish sentence that says what
// is wrong; nothing is read outside the section.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "shell/core/binaryfile.h"
#include "shell/core/ftlist.h"

struct cResDirHeader {
  uint32_t characteristics = 0;
  uint32_t timeDateStamp = 0;
  uint16_t majorVersion = 0;
  uint16_t minorVersion = 0;
  uint16_t numberOfNamedEntries = 0;
  uint16_t numberOfIdEntries = 0;
};

struct cResDirEntry {
  uint32_t nameId = 0;
  uint32_t offsetToData = 0;
};

struct cResDataEntry {
  uint32_t offsetToData = 0;  // an RVA
  uint32_t size = 0;
  uint32_t codePage = 0;
  uint32_t reserved = 0;
};

// One language of one resource: the leaf of the tree.
class CWResourceElement : public FTElement<CWResourceElement> {
 public:
  int32_t sortKey() const override { return static_cast<int32_t>(entry.nameId); }
  uint32_t language() const { return entry.nameId; }
  uint32_t size() const { return dataEntry.size; }
  bool isLoaded() const { return data != nullptr; }

  cResDirEntry entry;
  cResDataEntry dataEntry;
  std::unique_ptr<uint8_t[]> data;  // null until loaded
};

// One resource name (its number) within a type; holds its languages.
class CWResourceLangDir : public FTElement<CWResourceLangDir> {
 public:
  int32_t sortKey() const override { return static_cast<int32_t>(entry.nameId); }
  uint32_t name() const { return entry.nameId; }

  cResDirEntry entry;
  cResDirHeader header;
  FTList<CWResourceElement> languages;
};

// One resource type; holds its names.
class CWResourceDir : public FTElement<CWResourceDir> {
 public:
  int32_t sortKey() const override { return static_cast<int32_t>(entry.nameId); }
  uint32_t type() const { return entry.nameId; }

  cResDirEntry entry;
  cResDirHeader header;
  FTList<CWResourceLangDir> names;
};

enum class cResourceContainer { pe, elf, section };

// The open file and the root of the tree.
class CWResourceTypeDir {
 public:
  cResourceContainer container = cResourceContainer::pe;
  uint64_t sectionStart = 0;          // file offset of the section's bytes
  uint64_t sectionHeaderPosition = 0; // file offset of the section's header
  uint64_t sectionSize = 0;           // bytes of the section as read (the readable extent)
  uint32_t virtualAddress = 0;        // the section's VirtualAddress (0 in ELF and bare sections)
  std::unique_ptr<cBinaryFile> file;
  bool loadData = false;              // opened for reading and writing: data is read at open
  cResDirHeader rootHeader;
  uint8_t sectionHeader[64] = {};     // PE: 40 bytes; ELF: 40 (32-bit) or 64 (64-bit)
  uint8_t dosHeader[64] = {};
  uint8_t optionalHeader[224] = {};
  uint64_t optionalHeaderPosition = 0;
  bool elf64 = false;
  FTList<CWResourceDir> types;
};

class CWResourceFile {
 public:
  enum Mode { readOnly = 0, readWrite = 2 };

  // Opens a program file. A file that does not exist shows alert 6 and gives a
  // failed handle; a file that is not one we can read raises CFileException.
  CWResourceFile(const std::string& path, int mode);
  // The same on a file that is already open (PE or ELF, told apart by their
  // first bytes). No alert: the caller has the file.
  CWResourceFile(std::unique_ptr<cBinaryFile> file, int mode);
  // A bare resource section: the whole file is the section (an empty file is
  // an empty tree). Always readable and writable.
  static CWResourceFile openSection(std::unique_ptr<cBinaryFile> file);
  ~CWResourceFile();
  CWResourceFile(CWResourceFile&&) noexcept;
  CWResourceFile& operator=(CWResourceFile&&) noexcept;

  bool failed() const { return failed_; }

  // Argument order (type, language, name), as everywhere in the writer.
  bool Add(uint32_t type, uint32_t language, uint32_t name, const void* data, uint32_t size);
  // The bytes (owned by the tree, valid while the handle lives) and their size;
  // false when any level is missing. Reads the bytes on first use.
  bool Get(uint32_t type, uint32_t language, uint32_t name, const uint8_t*& data, uint32_t& size);
  // The same for the first language the name holds; language may be null.
  bool GetFirst(uint32_t type, uint32_t name, const uint8_t*& data, uint32_t& size,
               uint32_t* language = nullptr);
  // Writes the tree back into the file.
  bool Write();

  // The tree, for listing; null on a failed handle.
  const CWResourceTypeDir* tree() const { return typeDir_.get(); }
  // Reads an element's bytes if they are not read yet.
  const uint8_t* load(CWResourceElement& element);

 private:
  CWResourceFile() = default;
  void open(std::unique_ptr<cBinaryFile> file, int mode, bool bareSection);

  bool failed_ = true;
  std::unique_ptr<CWResourceTypeDir> typeDir_;
};

// The section name and the fixed alignments of the layout.
inline constexpr const char* kResourceSectionName = ".rsrc";
inline constexpr uint32_t kResourceSectionPadding = 0x200;
inline constexpr uint32_t kPeVirtualSizeRounding = 0x1000;
inline constexpr uint32_t kPeImageSizeRounding = 0x10000;
