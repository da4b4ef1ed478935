// zanbel-combotexts: makes the combo texts (type 1022) from their source,
// after checking each list against the compiled dialog templates.
//
//   zanbel-combotexts SOURCE.txt TEMPLATES.res OUT.res
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "dialogs/combosource.h"
#include "dialogs/dialogtemplate.h"
#include "export/resfile.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("brug: zanbel-combotexts KILDE.txt SKABELONER.res UD.res\n", stderr);
    return 2;
  }
  const std::string sourcePath = argv[1], templatesPath = argv[2], outPath = argv[3];
  auto fail = [&](const std::string& where, const std::string& what) {
    std::fprintf(stderr, "zanbel-combotexts: %s: %s\n", where.c_str(), what.c_str());
    std::remove(outPath.c_str());
    return 1;
  };

  std::vector<uint8_t> bytes;
  std::string error;
  if (!loadFileBytes(sourcePath, bytes, error)) return fail(sourcePath, error);
  const cComboSource source = parseComboSource(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (!source.ok()) return fail(sourcePath, source.error);

  std::vector<uint8_t> resBytes;
  if (!loadFileBytes(templatesPath, resBytes, error)) return fail(templatesPath, error);
  const cResReadResult res = readResFile(resBytes);
  if (!res.ok()) return fail(templatesPath, res.error);
  std::map<uint16_t, cDialogTemplate> templates;
  uint16_t language = 0;
  for (const cResEntry& e : res.entries) {
    if (e.type != kDialogResourceType) continue;
    const auto t = parseDialogTemplate(e.data);
    if (!t) return fail(templatesPath, "dialog " + std::to_string(e.name) + " kan ikke læses");
    templates[e.name] = *t;
    language = e.language;
  }
  if (const std::string problem = checkComboSource(source, templates); !problem.empty())
    return fail(sourcePath, problem);

  if (!saveFileBytes(outPath, writeResFile(comboTextResources(source, language)), error))
    return fail(outPath, error);
  return 0;
}
