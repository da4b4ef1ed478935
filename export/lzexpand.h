// Files packed by the Windows file compressor (COMPRESS.EXE, "SZDD"): a
// player template may come that way, and the export unpacks it as it copies.
//
//   offset  size  field
//   0       8     "SZDD" 88 F0 27 33
//   8       1     'A': the only method there is (LZSS)
//   9       1     the last letter of the file name, which the packer dropped
//   10      4     the unpacked length, little-endian
//   14      ...   packed data
//
// Packed data: a control byte, then eight items, one per bit from the lowest:
// a set bit is a literal byte; a clear bit is a reference of two bytes b1 b2
// to (b1 | (b2 & 0xF0) << 4) in a 4096-byte window, (b2 & 0x0F) + 3 bytes long.
// The window starts filled with spaces and is written from position 4080 on.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

inline constexpr size_t kLzHeaderBytes = 14;

// Whether the bytes begin with the packer's signature.
bool isLzCompressed(std::span<const uint8_t> bytes);
// The unpacked file; nothing when the header is cut short, the method is
// unknown or the data ends before the length the header promises.
std::optional<std::vector<uint8_t>> expandLz(std::span<const uint8_t> bytes);
