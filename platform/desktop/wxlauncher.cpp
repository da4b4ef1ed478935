#include "platform/desktop/wxlauncher.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace {

// Frees the attribute objects on every way out of launch().
struct cSpawnSettings {
  posix_spawn_file_actions_t files;
  posix_spawnattr_t attributes;
  bool ok = false;

  cSpawnSettings() {
    if (posix_spawn_file_actions_init(&files) != 0) return;
    if (posix_spawnattr_init(&attributes) != 0) {
      posix_spawn_file_actions_destroy(&files);
      return;
    }
    ok = true;
  }
  ~cSpawnSettings() {
    if (!ok) return;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
  }
  cSpawnSettings(const cSpawnSettings&) = delete;
  cSpawnSettings& operator=(const cSpawnSettings&) = delete;
};

}  // namespace

void cSpawnLauncher::restoreForChildren(const std::string& name, std::optional<std::string> value) {
  for (auto& r : restored_)
    if (r.first == name) {
      r.second = std::move(value);
      return;
    }
  restored_.emplace_back(name, std::move(value));
}

std::vector<std::string> cSpawnLauncher::childEnvironment() const {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const auto& r : restored_) replaced = replaced || r.first == name;
    if (!replaced) env.push_back(entry);
  }
  for (const auto& r : restored_)
    if (r.second) env.push_back(r.first + "=" + *r.second);
  return env;
}

bool cSpawnLauncher::launch(const std::string& program, const std::vector<std::string>& arguments) {
  if (program.empty()) return false;
  cSpawnSettings settings;
  if (!settings.ok) return false;

  // The toolkit's display connection and our own files stay ours.
  posix_spawn_file_actions_addclosefrom_np(&settings.files, 3);
  // Signals we block or ignore (SIGPIPE, say) must not be passed on.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&settings.attributes, &none);
  posix_spawnattr_setsigdefault(&settings.attributes, &all);
  posix_spawnattr_setflags(&settings.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> argv;
  argv.reserve(arguments.size() + 2);
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  std::vector<std::string> env = childEnvironment();
  std::vector<char*> envp;
  envp.reserve(env.size() + 1);
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  pid_t pid = 0;
  // posix_spawnp looks on PATH of this program's environment, not the child's.
  const bool searchPath = program.find('/') == std::string::npos;
  const int error = searchPath
      ? posix_spawnp(&pid, program.c_str(), &settings.files, &settings.attributes, argv.data(), envp.data())
      : posix_spawn(&pid, program.c_str(), &settings.files, &settings.attributes, argv.data(), envp.data());
  if (error != 0) return false;

  last_ = pid;
  // Nobody waits for the program; a thread of its own keeps it from lingering
  // as a zombie after it ends.
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}
