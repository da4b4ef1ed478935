// Stand-alone inventions: a copy of the player template ZANBEL.SLF whose
// resource section also holds the invention and exactly the artwork and
// sounds its gadgets need, so that the copy runs by itself. Export makes one,
// import reads the invention back out of one. The editor and zanbel-cli both
// come here.
//
// What an export adds to the template, all in language 0:
//
//   type  id           content
//   1023  1            the invention's file image (FORM "Gadf"), unchanged
//   1004  table ids    the frame sets of the invention's kinds (the table below)
//   1006  table ids    the sounds of the invention's kinds
//   1004  700/701/702  the background's frame set, when it has one
//
// The stand-alone table, one row per (type code, resource); in memory each row
// is 9 bytes as the table has always been stored:
//
//   offset  size  field
//   0       4     type code, as the invention file stores it
//   4       2     resource type (1004 or 1006)
//   6       2     resource id
//   8       1     needed: scratch of one export
//
// The table ends with a row whose type code is "Done". A resource listed for
// several kinds (or twice for one) is copied once: the first marked row that
// names it takes it and clears the later ones.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "shell/core/types.h"

class cWorksheetPane;

inline constexpr uint16_t kInventionResourceType = 1023;
inline constexpr uint16_t kInventionResourceId = 1;

#pragma pack(push, 1)
struct cStandAloneRow {
  cTypeCode typeCode;
  uint16_t resourceType;
  uint16_t resourceId;
  uint8_t needed;
};
#pragma pack(pop)
static_assert(sizeof(cStandAloneRow) == 9);

// The rows before "Done": 77 frame-set rows and 39 sound rows. The sound
// rows carry 1027 for the three-digit constant too, which plays it when an
// arrow is refused, so that a constant without a keypad still has it.
inline constexpr size_t kStandAloneRowCount = 116;

// The table, "Done" row included. Its flags are what the last export left.
std::span<cStandAloneRow> standAloneResources();

struct cResourceRef {
  uint16_t type = 0;
  uint16_t id = 0;
  friend bool operator==(const cResourceRef&, const cResourceRef&) = default;
};

// Marks the rows of the given kinds and walks the table: every resource they
// need, in table order, each once.
std::vector<cResourceRef> neededResources(std::span<const cTypeCode> kinds);
// The same with the background's frame set at the end (none for 0).
std::vector<cResourceRef> standAloneContents(std::span<const cTypeCode> kinds, uint16_t background);
// The type codes of the worksheet's gadgets (with repeats, list order).
std::vector<cTypeCode> gadgetKinds(const cWorksheetPane& worksheet);

// ---- export ----

struct cExportRequest {
  std::string templatePath;  // the player template to copy
  std::string targetPath;    // the program to make
  // Refused as targets, besides the template itself: the running program
  // (empty: this process's own file).
  std::string runningProgram;
};

enum class cExportOutcome {
  written,     // the program is there
  refused,     // the target is the running program or the template: nothing written
  copyFailed,  // the template could not be read or copied
  writeFailed, // a resource could not be added or written
};

struct cExportResult {
  cExportOutcome outcome = cExportOutcome::written;
  std::string detail;  // what went wrong, in Danish (empty when written)
  bool ok() const { return outcome == cExportOutcome::written; }
};

// Makes the program: copies the template (unpacking a packed one) to a new
// file beside the target, adds the invention and what its kinds and
// background need, and puts the finished file in the target's place. The
// messages are the program's own boxes: the refusal "Kunne ikke gemme
// selvstændig opfindelse med dette navn", and alert 4 for any failure after
// it. On failure nothing is left behind and an earlier file of that name is
// still there. A resource missing in the libraries brings the lookup's retry
// box; giving up there ends the program, and the half-made file goes too.
cExportResult writeStandAlone(const cExportRequest& request, std::span<const uint8_t> invention,
                              std::span<const cTypeCode> kinds, uint16_t background);
// The same for the invention on the worksheet.
cExportResult exportStandAlone(const cExportRequest& request, cWorksheetPane& worksheet);

// Whether two paths name the same file (both must exist).
bool isSameFile(const std::string& a, const std::string& b);

// ---- import ----

enum class cImportOutcome {
  read,           // the invention is in `invention`
  noInvention,    // a program we can read, without an invention: nothing to do
  missing,        // no such file (the writer showed alert 6)
  notStandAlone,  // not a program we can read (alert 8 shown)
};

struct cImportResult {
  cImportOutcome outcome = cImportOutcome::read;
  std::vector<uint8_t> invention;
  std::string detail;  // why the file could not be read, in Danish
};

// Reads the invention (1023, language 0, name 1) out of a stand-alone program.
cImportResult readStandAloneInvention(const std::string& programPath);

// ---- file names ----

// The document path of an imported program: the extension replaced by
// ".WGT", or ".wgt" appended when there is none (ROBOT.EXE gives ROBOT.WGT,
// /x/robot gives /x/robot.wgt).
std::string importedDocumentPath(const std::string& programPath);
// The program that an imported document is read from again (revert): the
// document path without its ".wgt"; a program with an ".exe" ending in any
// case is preferred for a document ending in ".WGT", the bare name for one
// ending in ".wgt". When neither exists, the name the document came from.
std::string importedProgramPath(const std::string& documentPath);
// The name the export's save dialog proposes for a document name: the file
// name part without its extension ("udennavn.wgt" gives "udennavn").
std::string proposedProgramName(const std::string& documentName);
// The player template beside a program: its folder, its base name and
// ".SLF", the name compared without regard to case (the editor zanbel finds
// ZANBEL.SLF). Nothing when there is none.
std::optional<std::string> findPlayerTemplate(const std::string& programPath);
// A file of that name in the folder, compared without regard to case; an
// exact match first.
std::optional<std::string> findFileIgnoringCase(const std::string& folder, const std::string& name);
