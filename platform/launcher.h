// Starting another program: directly, never through a shell.
#pragma once

#include <string>
#include <vector>

class cLauncher {
 public:
  virtual ~cLauncher() = default;
  // True when the program was started.
  virtual bool launch(const std::string& program, const std::vector<std::string>& arguments) = 0;
};
