#include "tools/rsrc/rsrctool.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <tuple>

#include "export/resourcefile.h"

extern char** environ;

namespace {

// Runs a program without a shell; true when it exits with 0.
bool runProgram(const std::vector<std::string>& argv, std::string& error) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int rc = ::posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ);
  if (rc != 0) {
    error = argv[0] + ": kan ikke startes";
    return false;
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {}
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    error = argv[0] + " mislykkedes";
    return false;
  }
  return true;
}

bool hasResourceSection(const std::string& binary) {
  try {
    CWResourceFile f(std::make_unique<cDiskFile>(binary, cDiskFile::readOnly), CWResourceFile::readOnly);
    return !f.failed();
  } catch (const CFileException&) {
    return false;
  }
}

int usage() {
  std::cerr << "brug: zanbel-rsrc merge UD.res IND.res...\n"
               "      zanbel-rsrc attach [--objcopy PROGRAM] FIL IND.res\n";
  return 2;
}

}  // namespace

bool mergeResources(const std::vector<cResSource>& sources, std::vector<cResEntry>& merged, std::string& error) {
  std::map<std::tuple<uint16_t, uint16_t, uint16_t>, const std::string*> seen;
  merged.clear();
  for (const cResSource& s : sources)
    for (const cResEntry& e : s.entries) {
      auto [it, fresh] = seen.emplace(std::make_tuple(e.type, e.name, e.language), &s.path);
      if (!fresh) {
        error = "ressource type " + std::to_string(e.type) + ", nummer " + std::to_string(e.name) + ", sprog " +
                std::to_string(e.language) + " findes både i " + *it->second + " og i " + s.path;
        return false;
      }
      merged.push_back(e);
    }
  return true;
}

std::vector<uint8_t> buildResourceSection(const std::vector<cResEntry>& entries) {
  CWResourceFile section = CWResourceFile::openSection(std::make_unique<cMemoryFile>());
  for (const cResEntry& e : entries)
    section.Add(e.type, e.language, e.name, e.data.data(), static_cast<uint32_t>(e.data.size()));
  section.Write();
  return static_cast<cMemoryFile&>(*section.tree()->file).release();
}

bool attachResourceSection(const std::string& binary, const std::vector<uint8_t>& section,
                           const std::string& objcopy, std::string& error) {
  const std::string blob = binary + ".rsrc";
  if (!saveFileBytes(blob, section, error)) return false;
  const bool replace = hasResourceSection(binary);
  const bool ok = runProgram({objcopy, replace ? "--update-section" : "--add-section",
                              std::string(kResourceSectionName) + "=" + blob, "--set-section-flags",
                              std::string(kResourceSectionName) + "=noload,readonly", binary},
                             error);
  std::remove(blob.c_str());
  if (!ok) return false;
  // Read the result back: what we attached must be what the programs will find.
  try {
    CWResourceFile check(std::make_unique<cDiskFile>(binary, cDiskFile::readOnly), CWResourceFile::readOnly);
    (void)check;
  } catch (const CFileException& e) {
    error = binary + ": " + e.message();
    return false;
  }
  return true;
}

int runResourceTool(const std::vector<std::string>& args) {
  if (args.size() >= 2 && args[0] == "merge") {
    std::vector<cResSource> sources;
    for (size_t i = 2; i < args.size(); ++i) {
      std::vector<uint8_t> bytes;
      std::string error;
      if (!loadFileBytes(args[i], bytes, error)) {
        std::cerr << "zanbel-rsrc: " << error << '\n';
        return 1;
      }
      cResReadResult r = readResFile(bytes);
      if (!r.ok()) {
        std::cerr << "zanbel-rsrc: " << args[i] << ": " << r.error << '\n';
        return 1;
      }
      sources.push_back({args[i], std::move(r.entries)});
    }
    std::vector<cResEntry> merged;
    std::string error;
    if (!mergeResources(sources, merged, error) || !saveFileBytes(args[1], writeResFile(merged), error)) {
      std::cerr << "zanbel-rsrc: " << error << '\n';
      return 1;
    }
    return 0;
  }
  if (!args.empty() && args[0] == "attach") {
    std::string objcopy = "objcopy";
    size_t i = 1;
    if (args.size() > 2 && args[1] == "--objcopy") {
      objcopy = args[2];
      i = 3;
    }
    if (args.size() != i + 2) return usage();
    const std::string& binary = args[i];
    std::vector<uint8_t> bytes;
    std::string error;
    if (!loadFileBytes(args[i + 1], bytes, error)) {
      std::cerr << "zanbel-rsrc: " << error << '\n';
      return 1;
    }
    const cResReadResult r = readResFile(bytes);
    if (!r.ok()) {
      std::cerr << "zanbel-rsrc: " << args[i + 1] << ": " << r.error << '\n';
      return 1;
    }
    if (!attachResourceSection(binary, buildResourceSection(r.entries), objcopy, error)) {
      std::cerr << "zanbel-rsrc: " << error << '\n';
      return 1;
    }
    return 0;
  }
  return usage();
}
