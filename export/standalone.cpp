#include "export/standalone.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "engine/invention.h"
#include "engine/worksheet.h"
#include "export/lzexpand.h"
#include "export/resfile.h"
#include "export/resourcefile.h"
#include "shell/core/binaryfile.h"
#include "platform/platform.h"
#include "shell/core/alert.h"
#include "shell/core/resourcemodule.h"
#include "shell/core/resources.h"

namespace {

constexpr uint16_t kArt = 1004, kSnd = 1006;

constexpr cStandAloneRow row(const char (&code)[5], uint16_t type, uint16_t id) {
  return {makeTypeCode(code[0], code[1], code[2], code[3]), type, id, 0};
}

// In exactly this order: the frame sets, then the sounds.
cStandAloneRow gTable[] = {
    row("disp", kArt, 100), row("di10", kArt, 100),
    row("GrPr", kArt, 200), row("GrPr", kArt, 201), row("GrPr", kArt, 202),
    row("GrPr", kArt, 203), row("GrPr", kArt, 204), row("GrPr", kArt, 205),
    row("Pend", kArt, 1000), row("Drop", kArt, 1001), row("Cano", kArt, 1002), row("Wtch", kArt, 1004),
    row("Ttlr", kArt, 1005), row("Coin", kArt, 1006), row("rand", kArt, 1007), row("Fork", kArt, 1008),
    row("DClk", kArt, 1009), row("Key_", kArt, 1010), row("Metr", kArt, 1011), row("swit", kArt, 1012),
    row("disp", kArt, 1013), row("di10", kArt, 1014), row("Sldr", kArt, 1015), row("bulb", kArt, 1016),
    row("hart", kArt, 1017), row("rgbd", kArt, 1018),
    row("Spl2", kArt, 1019), row("Spl3", kArt, 1019), row("Spl4", kArt, 1019),
    row("Addr", kArt, 1020), row("Subr", kArt, 1020), row("Mulr", kArt, 1020), row("Divr", kArt, 1020),
    row("cnst", kArt, 1021), row("Plnt", kArt, 1022), row("1ncr", kArt, 1024), row("ArVo", kArt, 1025),
    row("Conv", kArt, 1026), row("NmKP", kArt, 1027), row("Comp", kArt, 1028), row("AndG", kArt, 1029),
    row("OrGa", kArt, 1030), row("XorG", kArt, 1031), row("NotG", kArt, 1032), row("Mplx", kArt, 1036),
    row("Tape", kArt, 1037), row("Spkr", kArt, 1038), row("MsMv", kArt, 1039), row("MsCl", kArt, 1040),
    row("Cntr", kArt, 1041), row("AnSd", kArt, 1042), row("MsSd", kArt, 1043), row("SdTr", kArt, 1044),
    row("SdSw", kArt, 1045), row("TxLn", kArt, 1046), row("TxBx", kArt, 1047), row("DnPl", kArt, 1048),
    row("StCh", kArt, 1049),
    row("GrPr", kArt, 1050), row("GrPr", kArt, 200), row("GrPr", kArt, 201), row("GrPr", kArt, 202),
    row("GrPr", kArt, 203), row("GrPr", kArt, 204), row("GrPr", kArt, 205),
    row("Stop", kArt, 1051),
    row("Stk1", kArt, 1052), row("Stk2", kArt, 1053), row("Stk3", kArt, 1054), row("Stk4", kArt, 1055),
    row("Stk5", kArt, 1056), row("Stk6", kArt, 1057), row("Stk7", kArt, 1058), row("Stk8", kArt, 1059),
    row("Stk9", kArt, 1060), row("St10", kArt, 1061), row("MiCo", kArt, 1063),

    row("Pend", kSnd, 1000), row("Drop", kSnd, 1001), row("Drop", kSnd, 1101), row("Cano", kSnd, 1002),
    row("Coin", kSnd, 1006), row("rand", kSnd, 1007), row("Fork", kSnd, 1008), row("Metr", kSnd, 1011),
    row("swit", kSnd, 1012), row("hart", kSnd, 1017),
    row("Addr", kSnd, 1020), row("Subr", kSnd, 1020), row("Mulr", kSnd, 1020), row("Divr", kSnd, 1020),
    row("1ncr", kSnd, 1020), row("ArVo", kSnd, 1020), row("Conv", kSnd, 1020),
    row("NmKP", kSnd, 1027), row("cnst", kSnd, 1027), row("Mplx", kSnd, 1036),
    row("AnSd", kSnd, 200), row("AnSd", kSnd, 201), row("AnSd", kSnd, 202), row("AnSd", kSnd, 203),
    row("MsSd", kSnd, 300), row("MsSd", kSnd, 301), row("MsSd", kSnd, 302), row("MsSd", kSnd, 303),
    row("MsSd", kSnd, 304), row("MsSd", kSnd, 305), row("MsSd", kSnd, 306), row("MsSd", kSnd, 307),
    row("MsSd", kSnd, 308), row("MsSd", kSnd, 309),
    row("DnPl", kSnd, 1048), row("Stop", kSnd, 1051), row("Stop", kSnd, 1151),
    row("Spkr", kSnd, 220), row("Spkr", kSnd, 224),

    row("Done", 0, 0),
};
static_assert(std::size(gTable) == kStandAloneRowCount + 1);

bool isDoneRow(const cStandAloneRow& r) { return r.typeCode == "Done"_tc; }

bool isBackgroundPicture(uint16_t id) {
  return id == kBackgroundSand || id == kBackgroundWaves || id == kBackgroundSteel;
}

std::string fileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where the extension of the file name part starts, or npos. A leading dot
// (".skjult") is part of the name.
size_t extensionAt(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.rfind('.');
  return dot == std::string::npos || dot <= nameStart ? std::string::npos : dot;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool isPlainFile(const std::string& path) {
  struct stat s;
  return ::stat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode);
}

// The half-made program of the export under way: it goes when the export
// fails, and also when the program ends from a retry box in the middle of it.
std::string gInProgress;
bool gCleanupRegistered = false;

class cHalfMadeFile {
 public:
  explicit cHalfMadeFile(std::string path) {
    gInProgress = std::move(path);
    if (!gCleanupRegistered) {
      gCleanupRegistered = true;
      atFatalExit([] {
        gCleanupRegistered = false;
        if (!gInProgress.empty()) ::unlink(gInProgress.c_str());
        gInProgress.clear();
      });
    }
  }
  ~cHalfMadeFile() {
    if (!gInProgress.empty()) ::unlink(gInProgress.c_str());
    gInProgress.clear();
  }
  // The file is finished and has its own name now.
  void keep() { gInProgress.clear(); }
  const std::string& path() const { return gInProgress; }
};

std::string systemError(int error) { return describeSystemError(error); }

// Step 7: the template, unpacked when it was packed, into a new file with the
// template's permissions and our own right to write it.
bool copyTemplate(const std::string& templatePath, const std::string& to, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!loadFileBytes(templatePath, bytes, error)) return false;
  if (isLzCompressed(bytes)) {
    std::optional<std::vector<uint8_t>> expanded = expandLz(bytes);
    if (!expanded) {
      error = "Skabelonen " + templatePath + " er pakket, men kan ikke pakkes ud.";
      return false;
    }
    bytes = std::move(*expanded);
  }
  if (bytes.empty()) {
    error = "Skabelonen " + templatePath + " er tom.";
    return false;
  }
  struct stat s;
  const mode_t mode = ::stat(templatePath.c_str(), &s) == 0 ? ((s.st_mode & 0777) | 0600) : 0755;
  const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) {
    error = "Kan ikke lave " + to + ": " + systemError(errno);
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = "Kan ikke skrive " + to + ": " + systemError(errno);
      ::close(fd);
      return false;
    }
    done += size_t(n);
  }
  if (::close(fd) != 0) {
    error = "Kan ikke skrive " + to + ": " + systemError(errno);
    return false;
  }
  return true;
}

// The finished file on the disk before it takes the target's name, so that a
// crash cannot leave an empty program where the old one was.
bool syncFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

cExportResult failed(cExportOutcome outcome, std::string detail) {
  cAlert().show(4);
  return {outcome, std::move(detail)};
}

}  // namespace

std::span<cStandAloneRow> standAloneResources() { return gTable; }

std::vector<cResourceRef> neededResources(std::span<const cTypeCode> kinds) {
  // Step 10: clear every flag, then mark the rows of every gadget's kind.
  for (cStandAloneRow& r : gTable) r.needed = 0;
  for (cTypeCode kind : kinds)
    for (cStandAloneRow& r : gTable)
      if (!isDoneRow(r) && r.typeCode == kind) r.needed = 1;
  // Step 11: a marked row takes its resource and clears the later rows that name it.
  std::vector<cResourceRef> out;
  for (size_t i = 0; !isDoneRow(gTable[i]); ++i) {
    const cStandAloneRow& r = gTable[i];
    if (!r.needed) continue;
    for (size_t j = i + 1; !isDoneRow(gTable[j]); ++j)
      if (gTable[j].resourceType == r.resourceType && gTable[j].resourceId == r.resourceId) gTable[j].needed = 0;
    out.push_back({r.resourceType, r.resourceId});
  }
  return out;
}

std::vector<cResourceRef> standAloneContents(std::span<const cTypeCode> kinds, uint16_t background) {
  std::vector<cResourceRef> out = neededResources(kinds);
  if (isBackgroundPicture(background)) out.push_back({kArt, background});
  return out;
}

std::vector<cTypeCode> gadgetKinds(const cWorksheetPane& worksheet) {
  std::vector<cTypeCode> kinds;
  for (const cGadgetList::Node* n = worksheet.gadgets.head(); n; n = n->next) kinds.push_back(n->data->typeCode);
  return kinds;
}

bool isSameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (a.empty() || b.empty() || ::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

cExportResult writeStandAlone(const cExportRequest& request, std::span<const uint8_t> invention,
                              std::span<const cTypeCode> kinds, uint16_t background) {
  // Step 6. The same file under another spelling of its path counts too, and
  // so does the template: replacing it would destroy what is being copied.
  const std::string running = request.runningProgram.empty() ? runningProgramPath() : request.runningProgram;
  if (isSameFile(request.targetPath, running) || isSameFile(request.targetPath, request.templatePath)) {
    cMessageRequest box;
    box.text = "Kunne ikke gemme selvstændig opfindelse med dette navn";
    box.icon = cMessageIcon::warning;
    if (hasPlatform()) platform().ui().messageBox(box);
    return {cExportOutcome::refused, request.targetPath + " er " +
                                         (isSameFile(request.targetPath, running) ? "det program, der kører"
                                                                                  : "skabelonen selv")};
  }

  // The program is made under a name of its own beside the target and takes
  // the target's name only when it is whole.
  const std::string target = request.targetPath;
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  cHalfMadeFile work(folder + "." + fileNameOf(target) + ".zanbel-" + std::to_string(::getpid()));
  ::unlink(work.path().c_str());

  // Step 7.
  std::string error;
  if (!copyTemplate(request.templatePath, work.path(), error)) return failed(cExportOutcome::copyFailed, error);

  // Steps 8 to 12.
  try {
    CWResourceFile file(work.path(), CWResourceFile::readWrite);
    if (file.failed()) return failed(cExportOutcome::writeFailed, "Kopien af skabelonen forsvandt.");
    file.Add(kInventionResourceType, 0, kInventionResourceId, invention.data(), uint32_t(invention.size()));
    for (const cResourceRef& ref : standAloneContents(kinds, background)) {
      const std::span<const uint8_t> bytes = lockResource(findResource(ref.type, ref.id));
      file.Add(ref.type, 0, ref.id, bytes.data(), uint32_t(bytes.size()));
    }
    if (!file.Write()) return failed(cExportOutcome::writeFailed, "Ressourcerne kunne ikke skrives.");
  } catch (const CFileException& e) {
    return failed(cExportOutcome::writeFailed, e.message());
  } catch (const std::bad_alloc&) {
    return failed(cExportOutcome::writeFailed, "Der var for lidt hukommelse.");
  }

  if (!syncFile(work.path()) || ::rename(work.path().c_str(), target.c_str()) != 0)
    return failed(cExportOutcome::writeFailed, "Kan ikke gemme " + target + ": " + systemError(errno));
  work.keep();
  return {};
}

cExportResult exportStandAlone(const cExportRequest& request, cWorksheetPane& worksheet) {
  const std::vector<uint8_t> image = writeInvention(worksheet);
  const std::vector<cTypeCode> kinds = gadgetKinds(worksheet);
  return writeStandAlone(request, image, kinds, worksheet.backgroundNumber());
}

cImportResult readStandAloneInvention(const std::string& programPath) {
  cImportResult result;
  try {
    CWResourceFile file(programPath, CWResourceFile::readOnly);
    if (file.failed()) {
      result.outcome = cImportOutcome::missing;
      result.detail = programPath + " findes ikke.";
      return result;
    }
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!file.Get(kInventionResourceType, 0, kInventionResourceId, data, size)) {
      result.outcome = cImportOutcome::noInvention;
      result.detail = programPath + " har ingen opfindelse.";
      return result;
    }
    result.invention.assign(data, data + size);
  } catch (const CFileException& e) {
    // A file we cannot make out (or that ends too soon) is no stand-alone
    // invention; one the system would not let us read is a read error.
    const bool unreadable = e.cause() == cFileCause::accessDenied || e.cause() == cFileCause::hardIO ||
                            e.cause() == cFileCause::badSeek || e.cause() == cFileCause::fileNotFound;
    cAlert().show(unreadable ? 3 : 8);
    result.outcome = cImportOutcome::notStandAlone;
    result.detail = e.message();
  }
  return result;
}

std::string importedDocumentPath(const std::string& programPath) {
  const size_t ext = extensionAt(programPath);
  return ext == std::string::npos ? programPath + ".wgt" : programPath.substr(0, ext) + ".WGT";
}

std::string importedProgramPath(const std::string& documentPath) {
  const size_t ext = extensionAt(documentPath);
  if (ext == std::string::npos || !equalsIgnoringCase(documentPath.substr(ext), ".wgt")) return documentPath;
  const std::string stem = documentPath.substr(0, ext);
  const bool appended = documentPath.compare(ext, 4, ".wgt") == 0;
  auto windowsProgram = [&]() -> std::optional<std::string> {
    if (isPlainFile(stem + ".EXE")) return stem + ".EXE";
    const size_t slash = stem.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : stem.substr(0, slash);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return std::nullopt;
    std::optional<std::string> found;
    const std::string base = fileNameOf(stem);
    while (dirent* e = ::readdir(dir)) {
      const std::string name = e->d_name;
      if (name.size() == base.size() + 4 && name.compare(0, base.size(), base) == 0 &&
          equalsIgnoringCase(name.substr(base.size()), ".exe")) {
        found = (slash == std::string::npos ? "" : stem.substr(0, slash + 1)) + name;
        break;
      }
    }
    ::closedir(dir);
    return found;
  };
  if (appended && isPlainFile(stem)) return stem;
  if (std::optional<std::string> exe = windowsProgram()) return *exe;
  if (isPlainFile(stem)) return stem;
  return appended ? stem : stem + ".EXE";
}

std::string proposedProgramName(const std::string& documentName) {
  const std::string name = fileNameOf(documentName);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::optional<std::string> findFileIgnoringCase(const std::string& folder, const std::string& name) {
  const std::string prefix = folder.empty() ? "" : folder == "/" ? "/" : folder + "/";
  if (isPlainFile(prefix + name)) return prefix + name;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return std::nullopt;
  std::optional<std::string> found;
  while (dirent* e = ::readdir(dir)) {
    if (equalsIgnoringCase(e->d_name, name) && isPlainFile(prefix + e->d_name)) {
      found = prefix + e->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

std::optional<std::string> findPlayerTemplate(const std::string& programPath) {
  return findFileIgnoringCase(folderOf(programPath), proposedProgramName(programPath) + ".SLF");
}
