#include "shell/core/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const char* sectionOr(const char* section) { return section ? section : kDefaultSection; }

std::string trimTrailing(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

bool writeAll(int fd, const std::string& text) {
  const char* p = text.data();
  size_t left = text.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

cProfile cSettingsFile::load() const {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return cProfile();
  std::ostringstream text;
  text << in.rdbuf();
  return cProfile(text.str());
}

bool cSettingsFile::store(const cProfile& profile) const {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path target(path_);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);

  // The new file goes beside the old one so that the rename stays on one disk.
  std::string temp = path_ + ".new-" + std::to_string(::getpid());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = writeAll(fd, profile.text()) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temp.c_str(), path_.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

std::string cSettingsFile::read(std::string_view key, std::string_view fallback, const char* section) const {
  if (auto v = load().get(sectionOr(section), key)) return *v;
  return trimTrailing(fallback);
}

int32_t cSettingsFile::readNumber(std::string_view key, int32_t fallback, const char* section) const {
  std::string text = read(key, "", section);
  if (text.size() > 255) text.resize(255);  // the design reads into a 256-byte buffer
  long value = 0;
  if (std::sscanf(text.c_str(), "%ld", &value) != 1) return fallback;
  // A Windows long is 32 bits; its scanner saturates.
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

bool cSettingsFile::write(std::string_view key, std::string_view value, const char* section) {
  cProfile p = load();
  p.set(sectionOr(section), key, value);
  return store(p);
}

bool cSettingsFile::writeNumber(std::string_view key, int32_t value, const char* section) {
  char text[16];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
  return write(key, text, section);
}

bool cSettingsFile::remove(std::string_view key, const char* section) {
  cProfile p = load();
  if (!p.remove(sectionOr(section), key)) return true;
  return store(p);
}

std::string defaultSettingsPath() {
  if (const char* named = std::getenv("ZANBEL_INI"); named && *named) return named;
  std::string folder;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    folder = xdg;
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home && *home ? home : ".") + "/.config";
  }
  return folder + "/zanbel/ZANBEL.INI";
}

namespace {
std::optional<cSettingsFile> gSettings;
std::vector<std::string> gCommandLine;
}  // namespace

cSettingsFile& settings() {
  if (!gSettings) gSettings.emplace(defaultSettingsPath());
  return *gSettings;
}

void setSettingsPath(std::string path) { gSettings.emplace(std::move(path)); }

void writeSetting(const char* key, const char* text, const char* section) {
  settings().write(key, text ? text : "", section);
}

void writeSettingNumber(const char* key, int32_t value, const char* section) {
  settings().writeNumber(key, value, section);
}

int readSetting(const char* key, const char* fallback, char* buffer, int size, const char* section) {
  if (!buffer || size <= 0) return 0;
  const std::string v = settings().read(key, fallback ? fallback : "", section);
  const size_t n = std::min(v.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, v.data(), n);
  buffer[n] = 0;
  return static_cast<int>(n);
}

int32_t readSettingNumber(const char* key, int32_t fallback, const char* section) {
  return settings().readNumber(key, fallback, section);
}

void removeSetting(const char* key, const char* section) { settings().remove(key, section); }

void setCommandLine(int argc, const char* const* argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");
  setCommandLine(std::move(args));
}

void setCommandLine(std::vector<std::string> arguments) { gCommandLine = std::move(arguments); }

const std::vector<std::string>& commandLine() { return gCommandLine; }

bool isOptionSet(const char* name) {
  for (size_t i = 1; i < gCommandLine.size(); ++i)
    if (gCommandLine[i].find(name) != std::string::npos) return true;
  return readSettingNumber(name, 0) != 0;
}

const cPlatformFlags& platformFlags() {
  static const cPlatformFlags flags;
  return flags;
}
