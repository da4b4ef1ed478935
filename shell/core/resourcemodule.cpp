#include "shell/core/resourcemodule.h"

#include <unistd.h>

#include <climits>

#include "shell/core/settings.h"

std::unique_ptr<cFileResourceModule> cFileResourceModule::open(const std::string& path, std::string* error) {
  try {
    auto file = std::make_unique<cDiskFile>(path, cDiskFile::readOnly);
    CWResourceFile rf(std::move(file), CWResourceFile::readOnly);
    const size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return std::unique_ptr<cFileResourceModule>(new cFileResourceModule(std::move(name), std::move(rf)));
  } catch (const CFileException& e) {
    if (error) *error = e.message();
    return nullptr;
  }
}

std::optional<std::span<const uint8_t>> cFileResourceModule::find(uint16_t type, uint16_t id) {
  const uint8_t* data = nullptr;
  uint32_t size = 0;
  try {
    if (!file_.failed() && file_.GetFirst(type, id, data, size))
      return std::span<const uint8_t>(data, size);
  } catch (const CFileException&) {
    // A file that cannot be read any more holds nothing we can use.
  }
  return std::nullopt;
}

std::string runningProgramPath() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "/proc/self/exe";
  return std::string(buffer, static_cast<size_t>(n));
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void openResourceLibraries(const cResourceStartup& startup) {
  cResourceLibraries& libs = resourceLibraries();
  const bool player = startup.mode == cResourceStartMode::player;
  if (!player && libs.gadgetLibrary()) fatalExit("Kan ikke afvikle to kopier af Zanbel");

  const std::string program = startup.programPath.empty() ? runningProgramPath() : startup.programPath;
  const std::string folder = startup.libraryFolder.empty() ? folderOf(program) : startup.libraryFolder;

  std::unique_ptr<cResourceModule> own = cFileResourceModule::open(program);
  if (!own) own = std::make_unique<cMemoryResourceModule>(program.substr(program.rfind('/') + 1));
  libs.setOwn(std::move(own));
  libs.setEverythingFromOwn(player);
  if (player) return;

  libs.setGadgetLibrary(cFileResourceModule::open(folder + "/" + kGadgetLibraryName));
  if (!isOptionSet("NoSoundPlease")) libs.setSoundLibrary(cFileResourceModule::open(folder + "/" + kSoundLibraryName));
  if (!libs.gadgetLibrary()) fatalExit("Failed to load library ZBGADGET.DLL");
}
