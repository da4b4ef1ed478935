// Resource modules read from program files, and the opening of the three
// modules when a program starts.
//
// A cFileResourceModule holds the resource tree of one file (the ".rsrc"
// section of an ELF or PE file) and reads a resource's bytes the first time
// it is asked for. The libraries are read as data: nothing in them is loaded
// or run.
#pragma once

#include <memory>
#include <string>

#include "export/resourcefile.h"
#include "shell/core/resources.h"

class cFileResourceModule : public cResourceModule {
 public:
  // The module of a file; null, with the reason in error, when the file
  // cannot be read as one.
  static std::unique_ptr<cFileResourceModule> open(const std::string& path, std::string* error = nullptr);

  const std::string& name() const override { return name_; }
  std::optional<std::span<const uint8_t>> find(uint16_t type, uint16_t id) override;
  const CWResourceFile& file() const { return file_; }

 private:
  cFileResourceModule(std::string name, CWResourceFile file) : name_(std::move(name)), file_(std::move(file)) {}
  std::string name_;
  CWResourceFile file_;
};

inline constexpr const char* kGadgetLibraryName = "ZBGADGET.DLL";
inline constexpr const char* kSoundLibraryName = "ZBSOUND.DLL";

enum class cResourceStartMode {
  editor,  // own module, the gadget library (required) and the sound library (optional)
  player,  // every resource from the own module
};

struct cResourceStartup {
  cResourceStartMode mode = cResourceStartMode::editor;
  std::string programPath;    // empty: the running program
  std::string libraryFolder;  // empty: the program's folder
};

// Opens the program's modules into resourceLibraries(). In the editor the
// gadget library must be there ("Failed to load library ZBGADGET.DLL" ends the
// program otherwise) and may be opened only once ("Kan ikke afvikle to kopier
// af Zanbel"); the sound library is skipped with "NoSoundPlease" and may be
// missing. An own file without resources gives an empty own module, so that
// every lookup in it shows the retry box.
void openResourceLibraries(const cResourceStartup& startup = {});

// The path of the running program's file.
std::string runningProgramPath();
// The folder part of a path ("." when it has none).
std::string folderOf(const std::string& path);
