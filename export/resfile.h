// Win32 ".res" files: what the resource compiler writes, and what our own
// generators (artwork, sounds, tables) write for the build to merge.
//
// A .res file is a sequence of entries, each aligned to 4 bytes:
//
//   offset  size  field
//   0       4     DataSize         bytes of data after the header
//   4       4     HeaderSize       bytes from offset 0 to the data
//   8       4|n   Type             0xFFFF then a 16-bit id, or a UTF-16 name ending in 0
//   ..      4|n   Name             the same
//   ..      0-2   padding to 4
//   ..      4     DataVersion
//   ..      2     MemoryFlags
//   ..      2     LanguageId
//   ..      4     Version
//   ..      4     Characteristics
//   HeaderSize    DataSize bytes of data, then padding to 4
//
// The file starts with an empty entry (DataSize 0, type 0, name 0). We use
// numeric types and names only; a named entry is reported, not guessed at.
// All numbers are little-endian.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct cResEntry {
  uint16_t type = 0;
  uint16_t name = 0;
  uint16_t language = 0;
  uint16_t memoryFlags = 0x1030;  // moveable, pure, discardable: what the compiler writes
  std::vector<uint8_t> data;
};

struct cResReadResult {
  std::vector<cResEntry> entries;
  std::string error;  // empty when the whole file was read
  bool ok() const { return error.empty(); }
};

// Reads every entry (the leading empty entry is skipped). A damaged file
// yields the entries before the damage and an error that says what is wrong.
cResReadResult readResFile(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> writeResFile(const std::vector<cResEntry>& entries);

// File helpers; false with an error text on failure.
bool loadFileBytes(const std::string& path, std::vector<uint8_t>& out, std::string& error);
bool saveFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);
