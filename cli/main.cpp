// zanbel-cli: Zanbel without a window, for scripts, tests and the curious.
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "platform/headless/headless.h"
#include "shell/core/settings.h"

int main(int argc, char** argv) {
  cHeadlessPlatform headless;
  headless.scriptedUi().echoTo(&std::cerr);
  std::vector<std::string> args(argv, argv + argc);
  // Option flags come from the arguments, as in the programs themselves.
  setCommandLine(args);
  return runCli(args, std::cout, std::cerr);
}
