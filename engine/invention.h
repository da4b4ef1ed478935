// The invention file: one IFF-style container of type "Gadf". The same
// bytes are a ".wgt" file, the undo snapshot, a puzzle's content and the
// invention inside a stand-alone program. All numbers are big-endian.
//
//   offset  size  content
//   0       4     "FORM"
//   4       4     length of everything after this field (total - 8)
//   8       4     "Gadf"
//   12      ...   chunks: 4-byte id, 4-byte body length, body; no padding
//
// Chunks in the order the writer emits them:
//   "fver"  2 bytes: file version (4); always the first chunk
//   "back"  2 bytes: background number (0, 700, 701, 702)
//   one chunk per gadget, id = its type code, body = its record (gadget.h),
//           from the back of the gadget list to the front
//   "conn"  one per wire, body = the wire record (connection.h), from the
//           back of the wire list to the front
//   "numG"  the tray's limits (partlimits.h), only when a kind has one
//
// The reader puts each new gadget and wire at the front of its list, so both
// lists keep their order through a save and a load. Versions 1 and 2 have
// 12-byte wire records without lock and knots; versions 0 and above 4 are
// not this program's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "shell/core/types.h"

class cWorksheetPane;

inline constexpr uint16_t kFileVersion = 4;
inline constexpr size_t kEmptyInventionSize = 32;

// One chunk of an image: where it starts, its id (four bytes) and its body.
struct cChunkView {
  size_t offset = 0;
  cTypeCode id = 0;
  std::span<const uint8_t> body;
  bool is(const char* fourLetters) const;
};

// The container test: "FORM" ... "Gadf" with "fver" as the first chunk, and
// the version it holds.
bool isInventionImage(std::span<const uint8_t> image, uint16_t* version = nullptr);
// Visits the chunks after "fver" in order until visit returns false or a
// chunk runs past the end (then *pastEnd is set, when given, and that chunk
// is not visited). Returns the offset reached.
size_t walkChunks(std::span<const uint8_t> image, const std::function<bool(const cChunkView&)>& visit,
                  cChunkView* pastEnd = nullptr);

// Bytes the writer needs for the worksheet.
size_t inventionSize(const cWorksheetPane& worksheet);
// Writes the invention into a buffer of inventionSize() bytes; returns the
// bytes written (0 when the buffer is too small). Gives every gadget a key
// that no other gadget of the file has.
size_t writeInvention(cWorksheetPane& worksheet, std::span<uint8_t> buffer);
std::vector<uint8_t> writeInvention(cWorksheetPane& worksheet);

// What the reader met on its way, for zanbel-cli check and the tests.
struct cReadNote {
  enum Kind : uint8_t {
    notAnInvention,     // no "FORM" ... "Gadf", or "fver" is not the first chunk
    unknownVersion,     // version 0 or above 4 (reading goes on)
    chunkPastEnd,       // a chunk runs past the end of the image: it and the rest are not read
    unknownKind,        // a chunk id that names no kind: skipped
    kindNotAvailable,   // a kind this program cannot make yet: skipped (detail: its key)
    gadgetTooShort,     // a gadget chunk shorter than its kind's record: skipped
    wireTooShort,       // a wire chunk shorter than its version's layout: skipped
    wireEndMissing,     // a wire end names no gadget of the file (detail: 0 output end, 1 input end)
    wirePinInvalid,     // a wire end names a pin the gadget does not have
    wirePinTaken,       // a wire end names a pin that already holds a wire
    duplicateKey,       // a second gadget with a key already used (the first one keeps it)
    badBackground,      // a background number no background has: none is used
    shortChunk,         // "back" or "numG" shorter than its contents
    outOfMemory,        // the memory check failed: the worksheet was emptied
  };
  Kind kind;
  size_t offset = 0;       // where the chunk starts
  cTypeCode chunkId = 0;
  uint32_t detail = 0;     // a key, a pin, a version or a number, by kind
  uint32_t detail2 = 0;
};

struct cReadReport {
  uint16_t version = 0;
  int gadgets = 0;   // gadgets made
  int wires = 0;     // wires made
  std::vector<cReadNote> notes;
  bool has(cReadNote::Kind k) const;
};

// Adds the image's gadgets, wires, background and limits to the worksheet
// and returns the bytes consumed, or 0 when the image is not an invention or
// memory ran out (then the worksheet is emptied). `quiet` keeps the messages
// 8007 and 8010 from being shown.
size_t readInvention(cWorksheetPane& worksheet, std::span<const uint8_t> image, bool quiet,
                     cReadReport* report = nullptr);
