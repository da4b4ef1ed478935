// zanbel-cli rsrc: the resources of a program file (ELF or PE), listed,
// taken out and added, through the same resource writer the export uses.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ostream>

#include "cli/commands.h"
#include "export/resfile.h"
#include "export/resourcefile.h"
#include "shell/core/binaryfile.h"

namespace {

// A resource number: 0 to 65535.
bool parseId(const std::string& text, uint32_t& out) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  const unsigned long v = std::stoul(text);
  if (v > 0xFFFF) return false;
  out = static_cast<uint32_t>(v);
  return true;
}

bool parseIds(cCliContext& c, const std::vector<std::string>& texts, std::vector<uint32_t>& out) {
  static const char* const kWhat[] = {"TYPE", "NAVN", "SPROG"};
  out.assign(texts.size(), 0);
  for (size_t i = 0; i < texts.size(); ++i)
    if (!parseId(texts[i], out[i])) {
      c.err << "zanbel-cli: " << kWhat[i] << " skal være et tal fra 0 til 65535, ikke \"" << texts[i] << "\".\n";
      return false;
    }
  return true;
}

bool existsOrSay(cCliContext& c, const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    c.err << "zanbel-cli: filen " << path << " findes ikke.\n";
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    c.err << "zanbel-cli: " << path << " er ikke en almindelig fil.\n";
    return false;
  }
  return true;
}

int refused(cCliContext& c, const std::string& path, const CFileException& e) {
  c.err << "zanbel-cli: " << path << " kan ikke bruges: " << e.message() << '\n';
  return kCliFailed;
}

int list(cCliContext& c, const std::string& path) {
  if (!existsOrSay(c, path)) return kCliFailed;
  try {
    CWResourceFile f(path, CWResourceFile::readOnly);
    c.out << "type\tnavn\tsprog\tstørrelse\n";
    for (const CWResourceDir& t : f.tree()->types)
      for (const CWResourceLangDir& n : t.names)
        for (const CWResourceElement& e : n.languages)
          c.out << t.type() << '\t' << n.name() << '\t' << e.language() << '\t' << e.size() << '\n';
  } catch (const CFileException& e) {
    return refused(c, path, e);
  }
  return kCliOk;
}

int get(cCliContext& c, const std::string& path, const std::vector<uint32_t>& ids) {
  if (!existsOrSay(c, path)) return kCliFailed;
  try {
    CWResourceFile f(path, CWResourceFile::readOnly);
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    const bool found = ids.size() == 3 ? f.Get(ids[0], ids[2], ids[1], data, size)
                                       : f.GetFirst(ids[0], ids[1], data, size);
    if (!found) {
      c.err << "zanbel-cli: " << path << " har ingen ressource med type " << ids[0] << " og nummer " << ids[1];
      if (ids.size() == 3) c.err << " på sprog " << ids[2];
      c.err << ".\n";
      return kCliFailed;
    }
    c.out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    c.out.flush();
  } catch (const CFileException& e) {
    return refused(c, path, e);
  }
  return kCliOk;
}

// Adds to a copy beside the file and puts the copy in its place only when it
// is complete: a refusal or a full disk leaves the file as it was.
int add(cCliContext& c, const std::string& path, const std::vector<uint32_t>& ids, const std::string& dataPath) {
  if (!existsOrSay(c, path) || !existsOrSay(c, dataPath)) return kCliFailed;
  std::vector<uint8_t> data, original;
  std::string error;
  if (!loadFileBytes(dataPath, data, error) || !loadFileBytes(path, original, error)) {
    c.err << "zanbel-cli: kan ikke læse " << error << ".\n";
    return kCliFailed;
  }
  if (data.size() > 0x7FFFFFFF) {
    c.err << "zanbel-cli: " << dataPath << " er for stor til en ressource.\n";
    return kCliFailed;
  }
  const std::string temporary = path + ".zanbel-ny";
  if (!saveFileBytes(temporary, original, error)) {
    c.err << "zanbel-cli: kan ikke skrive ved siden af " << path << " (" << error << ").\n";
    return kCliFailed;
  }
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) ::chmod(temporary.c_str(), st.st_mode & 07777);
  try {
    CWResourceFile f(std::make_unique<cDiskFile>(temporary, cDiskFile::readWrite), CWResourceFile::readWrite);
    f.Add(ids[0], ids[2], ids[1], data.data(), static_cast<uint32_t>(data.size()));
    f.Write();
  } catch (const CFileException& e) {
    std::remove(temporary.c_str());
    return refused(c, path, e);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    c.err << "zanbel-cli: kan ikke erstatte " << path << " (" << describeSystemError(errno) << ").\n";
    std::remove(temporary.c_str());
    return kCliFailed;
  }
  return kCliOk;
}

}  // namespace

int cmdRsrc(cCliContext& c) {
  const cCliCommand& self = *findCliCommand("rsrc");
  const auto& a = c.args;
  std::vector<uint32_t> ids;
  if (a.size() == 2 && a[0] == "list") return list(c, a[1]);
  if ((a.size() == 4 || a.size() == 5) && a[0] == "get") {
    if (!parseIds(c, {a.begin() + 2, a.end()}, ids)) return kCliUsage;
    return get(c, a[1], ids);
  }
  if (a.size() == 6 && a[0] == "add") {
    if (!parseIds(c, {a.begin() + 2, a.begin() + 5}, ids)) return kCliUsage;
    return add(c, a[1], ids, a[5]);
  }
  return cliUsage(self, c.err);
}
