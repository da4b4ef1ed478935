// zanbel-cli export FIL.wgt UD [--template STI]
// zanbel-cli import PROGRAM [UD.wgt]
//
// Export makes a stand-alone program of an invention, as the editor's "Gem
// som selvstændig opfindelse" does: a copy of the player template ZANBEL.SLF
// beside zanbel-cli (or the one named) with the invention and what its
// gadgets need. Import takes the invention back out of such a program.
#include <ostream>

#include "cli/commands.h"
#include "cli/inventionfiles.h"
#include "engine/runner.h"
#include "export/resfile.h"
#include "export/standalone.h"
#include "graphics/wingdib.h"
#include "shell/core/binaryfile.h"
#include "shell/core/resourcemodule.h"
#include "shell/core/resources.h"

namespace {

const char* resourceKind(uint16_t type) { return type == 1006 ? "lyd" : "billedsæt"; }

// The kinds that ask for a resource, for the message about a missing one.
std::string kindsNeeding(const cResourceRef& ref, const std::vector<cTypeCode>& kinds) {
  std::string out;
  for (const cStandAloneRow& r : standAloneResources()) {
    if (r.resourceType != ref.type || r.resourceId != ref.id) continue;
    const std::string code = typeCodeText(r.typeCode);
    bool used = false;
    for (cTypeCode k : kinds) used = used || k == r.typeCode;
    if (used && out.find(code) == std::string::npos) out += (out.empty() ? "" : ", ") + code;
  }
  return out;
}

}  // namespace

int cmdExport(cCliContext& c) {
  const cCliCommand& self = *findCliCommand("export");
  std::string file, target, templatePath;
  for (size_t i = 0; i < c.args.size(); ++i) {
    const std::string& a = c.args[i];
    if (a == "--template" && i + 1 < c.args.size()) templatePath = c.args[++i];
    else if (!a.empty() && a[0] != '-' && file.empty()) file = a;
    else if (!a.empty() && a[0] != '-' && target.empty()) target = a;
    else return cliUsage(self, c.err);
  }
  if (file.empty() || target.empty()) return cliUsage(self, c.err);

  if (templatePath.empty()) {
    std::optional<std::string> found = findFileIgnoringCase(folderOf(runningProgramPath()), "ZANBEL.SLF");
    if (!found) {
      c.err << "zanbel-cli export: Kan ikke finde filen: ZANBEL.SLF\n"
               "Den skal ligge i samme bibliotek som zanbel-cli, eller du kan nævne den med --template.\n";
      return kCliFailed;
    }
    templatePath = *found;
  } else if (!fileExists(templatePath)) {
    c.err << "zanbel-cli export: skabelonen " << templatePath << " findes ikke\n";
    return kCliFailed;
  }

  std::vector<uint8_t> image;
  if (!loadInventionForCli(file, image, c.err)) return kCliFailed;
  startEngineForCli();
  CWinGInfo display;
  cInventionRunner runner(cliPlatform());
  cReadReport report;
  if (!runner.load(image, &report)) {
    c.err << "zanbel-cli export: " << file << ": Denne fil er ikke gemt i Zanbel\n";
    return kCliFailed;
  }
  reportSkippedKinds(report, c.err);

  // Everything the program will need must be in the libraries; otherwise the
  // lookup's retry box would end zanbel-cli halfway.
  const std::vector<cTypeCode> kinds = gadgetKinds(runner.worksheet());
  const std::vector<cResourceRef> contents = standAloneContents(kinds, runner.worksheet().backgroundNumber());
  bool missing = false;
  for (const cResourceRef& ref : contents) {
    if (peekResource(ref.type, ref.id)) continue;
    const cResourceModule* library = resourceLibraries().moduleFor(ref.type);
    c.err << "zanbel-cli export: " << (library ? library->name() : std::string(kGadgetLibraryName)) << " mangler "
          << resourceKind(ref.type) << " " << ref.id;
    const std::string who = kindsNeeding(ref, kinds);
    c.err << (who.empty() ? std::string(" (baggrunden)") : " (til " + who + ")") << "\n";
    missing = true;
  }
  if (missing) return kCliFailed;
  bool sounds = false;
  for (const cResourceRef& ref : contents) sounds = sounds || ref.type == kSoundResourceType;
  if (sounds && !resourceLibraries().soundLibrary())
    c.err << "Bemærk: " << kSoundLibraryName << " findes ikke; dimsernes egne lyde bliver stille i programmet.\n";

  const cExportResult result = exportStandAlone({templatePath, target, ""}, runner.worksheet());
  if (!result.ok()) {
    c.err << "zanbel-cli export: " << result.detail << "\n";
    return kCliFailed;
  }
  c.out << "Gemte " << target << ": " << countOf(report.gadgets, "dims", "dimser") << ", "
        << countOf(report.wires, "ledning", "ledninger") << " og "
        << countOf(long(contents.size()), "billedsæt eller lyd", "billedsæt og lyde") << " fra biblioteket.\n";
  return kCliOk;
}

int cmdImport(cCliContext& c) {
  const cCliCommand& self = *findCliCommand("import");
  if (c.args.empty() || c.args.size() > 2 || c.args[0].empty() || c.args[0][0] == '-' ||
      (c.args.size() == 2 && (c.args[1].empty() || c.args[1][0] == '-')))
    return cliUsage(self, c.err);
  const std::string program = c.args[0];
  const bool named = c.args.size() == 2;
  const std::string target = named ? c.args[1] : importedDocumentPath(program);
  if (!fileExists(program)) {
    c.err << "zanbel-cli import: " << program << " findes ikke\n";
    return kCliFailed;
  }
  // A name we made up ourselves never replaces a file that is there.
  if (!named && fileExists(target)) {
    c.err << "zanbel-cli import: " << target << " findes allerede; skriv navnet på den nye fil efter programmet\n";
    return kCliFailed;
  }
  // The messages come from the program's own texts.
  if (!resourceLibraries().own()) resourceLibraries().setOwn(cFileResourceModule::open(runningProgramPath()));
  const cImportResult r = readStandAloneInvention(program);
  switch (r.outcome) {
    case cImportOutcome::read:
      break;
    case cImportOutcome::noInvention:
      c.err << "zanbel-cli import: " << program << " er ikke en selvstændig opfindelse: der er ingen opfindelse i det\n";
      return kCliFailed;
    case cImportOutcome::missing:
    case cImportOutcome::notStandAlone:
      c.err << "zanbel-cli import: " << program << ": " << r.detail << "\n";
      return kCliFailed;
  }
  if (!isInventionImage(r.invention))
    c.err << "Bemærk: det, " << program << " har gemt som opfindelse, er ikke en Zanbel-opfindelse.\n";
  std::string error;
  if (!saveFileBytes(target, r.invention, error)) {
    c.err << "zanbel-cli import: Der opstod en fejl under skrivning til filen. " << error << "\n";
    return kCliFailed;
  }
  c.out << "Gemte opfindelsen fra " << program << " i " << target << " (" << r.invention.size() << " byte).\n";
  return kCliOk;
}
