// The settings file "ZANBEL.INI" and the option flags.
//
// The file lives in $XDG_CONFIG_HOME/zanbel/ (by default ~/.config/zanbel/),
// or wherever the environment variable ZANBEL_INI points. Every call reads
// the file anew, as the Windows profile functions do, so two programs see
// each other's changes. Writing replaces the file in one step (a new file
// beside it, then a rename): a crash or a full disk leaves the old file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/core/profile.h"

inline constexpr const char* kDefaultSection = "Zanbel";

class cSettingsFile {
 public:
  explicit cSettingsFile(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }

  // The value, or the default (trailing blanks trimmed) when the key is absent.
  std::string read(std::string_view key, std::string_view fallback, const char* section = nullptr) const;
  // Exactly one "%ld" value, else the default.
  int32_t readNumber(std::string_view key, int32_t fallback, const char* section = nullptr) const;
  bool write(std::string_view key, std::string_view value, const char* section = nullptr);
  bool writeNumber(std::string_view key, int32_t value, const char* section = nullptr);
  bool remove(std::string_view key, const char* section = nullptr);

  // The whole file as a profile (empty when the file does not exist).
  cProfile load() const;
  // Replaces the file atomically; false (and the old file untouched) on failure.
  bool store(const cProfile& profile) const;

 private:
  std::string path_;
};

// Where the settings file of this user is.
std::string defaultSettingsPath();

// The process's settings file, fixed at start-up (by default defaultSettingsPath()).
cSettingsFile& settings();
void setSettingsPath(std::string path);

// The profile calls of the design, on the process's settings file. A null
// section means "Zanbel".
void writeSetting(const char* key, const char* text, const char* section = nullptr);
void writeSettingNumber(const char* key, int32_t value, const char* section = nullptr);
// Copies at most size - 1 characters and a terminating zero; returns the count copied.
int readSetting(const char* key, const char* fallback, char* buffer, int size, const char* section = nullptr);
int32_t readSettingNumber(const char* key, int32_t fallback, const char* section = nullptr);
void removeSetting(const char* key, const char* section = nullptr);

// --- option flags ---

// The program's command line (argument 0 is the program), kept for isOptionSet.
void setCommandLine(int argc, const char* const* argv);
void setCommandLine(std::vector<std::string> arguments);
const std::vector<std::string>& commandLine();

// Set when an argument after the program name contains the name (letter case
// counts), or else when the key of that name in "Zanbel" reads as non-zero.
bool isOptionSet(const char* name);

// --- platform flags ---

// What the program knows of the system it runs on. Linux counts as an NT-class
// system with the new shell: platform class 2.
struct cPlatformFlags {
  uint16_t version = 0x0400;  // major and minor swapped into one word: 4.0 gives 0x0400
  bool notNT = false;
  bool newShell = true;
  bool oldShell = false;
  bool win32s = false;
  int platformClass = 2;      // 2 = NT, 1 = not NT with major above 3, 0 = otherwise
};
const cPlatformFlags& platformFlags();
