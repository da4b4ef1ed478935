// zanbel-rsrc: merges the resources of a module and attaches them to a binary.
#include <string>
#include <vector>

#include "tools/rsrc/rsrctool.h"

int main(int argc, char** argv) { return runResourceTool(std::vector<std::string>(argv + 1, argv + argc)); }
