// Starting another program on the desktop: posix_spawn, never a shell, so
// the name and the arguments reach the program exactly as given.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/launcher.h"

class cSpawnLauncher : public cLauncher {
 public:
  // A name without "/" is looked for on PATH. The program gets the
  // environment of this one (with the user's values of the variables given
  // to restoreForChildren), no other open files than standard input, output
  // and error, and default signal handling. True when it was started; the
  // finished program is reaped in the background.
  bool launch(const std::string& program, const std::vector<std::string>& arguments) override;

  // The process of the last successful launch (0 before any).
  pid_t lastProcess() const { return last_; }

  // A variable this program changed for itself: programs it starts get the
  // user's own value back (none: the variable is not set for them).
  void restoreForChildren(const std::string& name, std::optional<std::string> value);

 private:
  std::vector<std::string> childEnvironment() const;

  pid_t last_ = 0;
  std::vector<std::pair<std::string, std::optional<std::string>>> restored_;
};
