// ZANBEL.SLF, the player template. Until the player has its window this
// program opens its own resources as the player does and says what it holds.
#include <cstdio>

#include "shell/core/resourcemodule.h"

int main() {
  openResourceLibraries({cResourceStartMode::player, "", ""});
  cResourceModule* own = resourceLibraries().own();
  int count = 0;
  if (auto* file = dynamic_cast<cFileResourceModule*>(own))
    for (const CWResourceDir& type : file->file().tree()->types)
      for (const CWResourceLangDir& name : type.names) count += name.languages.count();
  const bool invention = own && own->find(1023, 1).has_value();
  std::printf("%s: %d ressourcer, %s\n", own ? own->name().c_str() : "ZANBEL.SLF", count,
              invention ? "med en opfindelse (1023/1)" : "uden opfindelse");
  resourceLibraries().release();
  return 0;
}
