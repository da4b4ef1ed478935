#include "cli/commands.h"

#include <ostream>

#include "zanbel_version.h"

namespace {

// Every sub-command of zanbel-cli, in the order of the overview.
const cCliCommand kCommands[] = {
    {"run", "run [FIL] [--seconds N] [--png UD.png] [--values] [--key TAST@S] [--click X,Y@S]",
     "kører en opfindelse uden vindue (eksemplet, når der ingen fil er)", cmdRun},
    {"info", "info FIL", "viser, hvad en opfindelse indeholder", cmdInfo},
    {"check", "check FIL", "fortæller, om en fil er en gyldig opfindelse, og hvad der er galt", cmdCheck},
    {"settings",
     "settings get NØGLE [SEKTION]\n"
     "settings set NØGLE VÆRDI [SEKTION]",
     "læser og skriver indstillingsfilen ZANBEL.INI", cmdSettings},
    {"rsrc",
     "rsrc list FIL\n"
     "rsrc get FIL TYPE NAVN [SPROG]\n"
     "rsrc add FIL TYPE NAVN SPROG DATAFIL",
     "viser, udtager og tilføjer ressourcer i et program (ELF eller PE)", cmdRsrc},
    {"frames",
     "frames FIL NUMMER --png UD.png [--on grå|hvid|sort|700|701|702] [--mørk] [--gange N]",
     "tegner alle billeder i et billedsæt på ét ark (PNG)", cmdFrames},
    {"sound",
     "sound list [--fra FIL]\n"
     "sound play NUMMER... [--mellemrum MS] [--fra FIL]\n"
     "sound render NUMMER... --wav UD.wav [--mellemrum MS] [--fra FIL]\n"
     "sound tune --seconds N --wav UD.wav [--fra FIL]",
     "spiller lyde, blander dem til en WAV-fil, eller baggrundsmelodien", cmdSound},
    {"export", "export FIL.wgt UD [--template STI]",
     "gemmer en opfindelse som et selvstændigt program (en kopi af ZANBEL.SLF)", cmdExport},
    {"import", "import PROGRAM [UD.wgt]", "tager opfindelsen ud af et selvstændigt program", cmdImport},
};

void overview(std::ostream& out) {
  out << "zanbel-cli " ZANBEL_VERSION " - Zanbel uden vindue\n\n"
         "brug: zanbel-cli KOMMANDO [ARGUMENTER]\n"
         "      zanbel-cli --help | --version\n"
         "      zanbel-cli KOMMANDO --help\n\n"
         "Kommandoer:\n";
  for (const cCliCommand& c : kCommands) {
    out << "  " << c.name;
    for (size_t n = std::char_traits<char>::length(c.name); n < 10; ++n) out << ' ';
    out << c.summary << '\n';
  }
}

}  // namespace

std::span<const cCliCommand> cliCommands() { return kCommands; }

const cCliCommand* findCliCommand(const std::string& name) {
  for (const cCliCommand& c : kCommands)
    if (name == c.name) return &c;
  return nullptr;
}

int cliUsage(const cCliCommand& command, std::ostream& err) {
  std::string usage = command.usage;
  err << "brug: ";
  for (size_t start = 0; start < usage.size();) {
    size_t end = usage.find('\n', start);
    if (end == std::string::npos) end = usage.size();
    if (start) err << "      ";
    err << "zanbel-cli " << usage.substr(start, end - start) << '\n';
    start = end + 1;
  }
  return kCliUsage;
}

int runCli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  if (argv.size() < 2) {
    overview(err);
    return kCliUsage;
  }
  const std::string& first = argv[1];
  if (first == "--help" || first == "-h" || first == "help") {
    overview(out);
    return kCliOk;
  }
  if (first == "--version") {
    out << "zanbel-cli " ZANBEL_VERSION "\n";
    return kCliOk;
  }
  const cCliCommand* command = findCliCommand(first);
  if (!command) {
    err << "zanbel-cli: ukendt kommando \"" << first << "\". Skriv zanbel-cli --help for at se dem alle.\n";
    return kCliUsage;
  }
  cCliContext context{{argv.begin() + 2, argv.end()}, out, err};
  if (!context.args.empty() && (context.args[0] == "--help" || context.args[0] == "-h")) {
    cliUsage(*command, out);
    return kCliOk;
  }
  return command->run(context);
}
