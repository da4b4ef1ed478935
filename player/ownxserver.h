// A display of the caller's own for the player's desktop tests and its
// benchmark: Xvfb on a free display number, 24 bits, so that the colours on
// the screen are exactly the program's whatever display the caller had.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern char** environ;

class cOwnXServer {
 public:
  // Starts the server and points DISPLAY at it; started() tells whether it came up.
  cOwnXServer(int width, int height) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    const std::string fd = std::to_string(fds[1]);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", nullptr};
    const bool spawned = posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, const_cast<char* const*>(argv), environ) == 0;
    ::close(fds[1]);
    std::string number;
    char c;
    // Xvfb writes the number it took once it listens.
    while (spawned && ::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    if (number.empty()) return;
    display_ = ":" + number;
    ::setenv("DISPLAY", display_.c_str(), 1);
  }
  ~cOwnXServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  cOwnXServer(const cOwnXServer&) = delete;
  cOwnXServer& operator=(const cOwnXServer&) = delete;

  bool started() const { return !display_.empty(); }
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};
