// zanbel-rsrc, the build's resource tool: merges the .res files of one module
// (compiled scripts and generated resources) and attaches the merged tree to
// a linked program or library as its ".rsrc" section.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/resfile.h"

struct cResSource {
  std::string path;
  std::vector<cResEntry> entries;
};

// Every entry of every source, in order. A (type, name, language) that two
// entries share is an error that names both files.
bool mergeResources(const std::vector<cResSource>& sources, std::vector<cResEntry>& merged, std::string& error);

// The bytes of a bare resource section holding the entries.
std::vector<uint8_t> buildResourceSection(const std::vector<cResEntry>& entries);

// Makes `section` the ".rsrc" section of the ELF file `binary` (a non-loaded,
// read-only section, added or replaced) with objcopy. The section bytes are
// passed through a file beside the binary.
bool attachResourceSection(const std::string& binary, const std::vector<uint8_t>& section,
                           const std::string& objcopy, std::string& error);

// The whole tool; arguments as on the command line.
int runResourceTool(const std::vector<std::string>& args);
