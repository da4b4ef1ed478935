// zanbel-cli: the sub-commands and how they are dispatched.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

struct cCliContext {
  std::vector<std::string> args;  // the arguments after the sub-command's name
  std::ostream& out;
  std::ostream& err;
};

struct cCliCommand {
  const char* name;
  const char* usage;    // "settings get NØGLE [SEKTION]" ...; one line per form
  const char* summary;  // one line for the overview
  int (*run)(cCliContext&);
};

// Exit codes of every sub-command.
enum : int { kCliOk = 0, kCliFailed = 1, kCliUsage = 2 };

// The sub-commands, in the order the overview shows them.
std::span<const cCliCommand> cliCommands();

// The whole program: dispatch, --help and --version.
int runCli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err);

// Prints "brug: zanbel-cli <usage>" for a command and returns kCliUsage.
int cliUsage(const cCliCommand& command, std::ostream& err);
const cCliCommand* findCliCommand(const std::string& name);

// Sub-commands, each in its own file.
int cmdRun(cCliContext& c);
int cmdInfo(cCliContext& c);
int cmdCheck(cCliContext& c);
int cmdSettings(cCliContext& c);
int cmdRsrc(cCliContext& c);
int cmdFrames(cCliContext& c);
int cmdSound(cCliContext& c);
int cmdExport(cCliContext& c);
int cmdImport(cCliContext& c);
