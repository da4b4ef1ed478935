// zanbel-cli settings: the real settings file, as the programs read it.
#include <ostream>

#include "cli/commands.h"
#include "shell/core/settings.h"

int cmdSettings(cCliContext& c) {
  const cCliCommand& self = *findCliCommand("settings");
  const auto& a = c.args;
  if (a.size() >= 2 && a.size() <= 3 && a[0] == "get") {
    const char* section = a.size() == 3 ? a[2].c_str() : nullptr;
    const cProfile profile = settings().load();
    auto value = profile.get(section ? section : kDefaultSection, a[1]);
    if (!value) {
      c.err << "Nøglen \"" << a[1] << "\" findes ikke i sektionen \""
            << (section ? section : kDefaultSection) << "\" i " << settings().path() << ".\n";
      return kCliFailed;
    }
    c.out << *value << '\n';
    return kCliOk;
  }
  if (a.size() >= 3 && a.size() <= 4 && a[0] == "set") {
    const char* section = a.size() == 4 ? a[3].c_str() : nullptr;
    if (!settings().write(a[1], a[2], section)) {
      c.err << "Kunne ikke skrive " << settings().path() << ". Findes mappen, og må du skrive i den?\n";
      return kCliFailed;
    }
    return kCliOk;
  }
  return cliUsage(self, c.err);
}
