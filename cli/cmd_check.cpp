// zanbel-cli check FIL
//
// Says in plain words whether a file is a valid invention, and what is wrong
// with it when it is not. The exit code is 0 for a valid invention.
#include <map>
#include <ostream>
#include <set>

#include "cli/commands.h"
#include "cli/inventionfiles.h"
#include "engine/runner.h"
#include "engine/worksheet.h"

int cmdCheck(cCliContext& c) {
  if (c.args.size() != 1) return cliUsage(*findCliCommand("check"), c.err);
  const std::string& file = c.args[0];
  std::vector<uint8_t> image;
  if (!loadInventionForCli(file, image, c.err)) return kCliFailed;
  if (!isInventionImage(image)) {
    c.out << file << " er ikke en Zanbel-opfindelse: den begynder ikke med FORM, Gadf og fver.\n";
    return kCliFailed;
  }
  startEngineForCli();
  cWorksheetPane worksheet;
  cReadReport report;
  readInvention(worksheet, image, true, &report);

  // Gadgets this program cannot make yet are left out; the wires to them
  // cannot be checked. Neither is a fault of the file.
  std::map<std::string, int> skippedKinds;
  std::set<uint32_t> skipped;
  for (const cReadNote& n : report.notes)
    if (n.kind == cReadNote::kindNotAvailable) {
      skipped.insert(n.detail);
      ++skippedKinds[typeCodeText(n.chunkId)];
    }
  std::vector<const cReadNote*> errors, remarks;
  std::set<size_t> uncheckedWires;
  for (const cReadNote& n : report.notes) {
    if (n.kind == cReadNote::kindNotAvailable) continue;
    if (n.kind == cReadNote::wireEndMissing && skipped.count(n.detail2)) {
      uncheckedWires.insert(n.offset);
      continue;
    }
    (readNoteIsError(n) ? errors : remarks).push_back(&n);
  }
  if (errors.empty()) {
    c.out << file << " er en gyldig Zanbel-opfindelse (version " << report.version << ", "
          << countOf(report.gadgets + long(skipped.size()), "dims", "dimser") << ", "
          << countOf(report.wires, "ledning", "ledninger") << ").\n";
  } else {
    c.out << file << " er ikke en gyldig Zanbel-opfindelse:\n";
    for (const cReadNote* n : errors) c.out << "  - " << describeReadNote(*n) << "\n";
  }
  if (!remarks.empty() || !skippedKinds.empty()) c.out << "Bemærk:\n";
  for (const cReadNote* n : remarks) c.out << "  - " << describeReadNote(*n) << "\n";
  if (!skippedKinds.empty()) {
    c.out << "  - disse dimser findes ikke i denne udgave af Zanbel endnu og kan ikke efterprøves:";
    for (const auto& [code, count] : skippedKinds) c.out << ' ' << code << " (" << count << ")";
    c.out << "\n";
  }
  if (!uncheckedWires.empty())
    c.out << "  - " << countOf(long(uncheckedWires.size()), "ledning", "ledninger")
          << " går til dem og kan heller ikke efterprøves\n";
  return errors.empty() ? kCliOk : kCliFailed;
}
