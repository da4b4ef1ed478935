// The headless platform: the real program without a display, a sound device
// or a user. Its clock is virtual and only moves when told, its input is a
// script of key and button changes at given times, and message boxes and
// file dialogs are recorded and answered from scripts. zanbel-cli and every
// test of the core run on it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

class cVirtualClock : public cClock {
 public:
  uint32_t milliseconds() override { return now_; }
  void set(uint32_t ms) { now_ = ms; }
  void advance(uint32_t ms) { now_ += ms; }

 private:
  uint32_t now_ = 0;
};

// Key and button changes that take effect when the clock reaches their time.
class cScriptedInput : public cInputState {
 public:
  explicit cScriptedInput(cClock& clock) : clock_(clock) {}

  bool isKeyDown(int virtualKey) override;
  cPoint cursorPosition() override;

  // Immediate changes.
  void press(int virtualKey) { setNow(virtualKey, true); }
  void release(int virtualKey) { setNow(virtualKey, false); }
  void moveTo(cPoint p) { cursor_ = p; }

  // Changes at a later time of the clock (milliseconds); kept in time order.
  void scheduleKey(uint32_t atMs, int virtualKey, bool down);
  void scheduleMove(uint32_t atMs, cPoint p);
  // A press at atMs held for holdMs.
  void scheduleTap(uint32_t atMs, int virtualKey, uint32_t holdMs);

 private:
  struct cEvent {
    uint32_t at;
    int key;      // -1: a pointer move
    bool down;
    cPoint point;
  };
  void applyDue();
  void setNow(int virtualKey, bool down);

  cClock& clock_;
  bool down_[vk::count] = {};
  cPoint cursor_;
  std::vector<cEvent> pending_;  // sorted by time, stable
};

struct cRecordedMessage {
  cMessageRequest request;
  cMessageResult answer;
};

// Message boxes and file dialogs answered from scripts; every question is kept.
class cScriptedUserInterface : public cUserInterface {
 public:
  cMessageResult messageBox(const cMessageRequest& request) override;
  std::optional<std::string> fileDialog(const cFileDialogRequest& request) override;

  // Answers are used in order; with none left a box gets the cautious answer
  // (the button that changes nothing) and a dialog is cancelled.
  void answerNext(cMessageResult r) { answers_.push_back(r); }
  void chooseNext(std::optional<std::string> path) { files_.push_back(std::move(path)); }

  const std::vector<cRecordedMessage>& messages() const { return messages_; }
  const std::vector<cFileDialogRequest>& dialogs() const { return dialogs_; }
  void forget() { messages_.clear(); dialogs_.clear(); }

  // Also write every box to this stream (zanbel-cli shows them on stderr).
  void echoTo(std::ostream* out) { echo_ = out; }

 private:
  std::deque<cMessageResult> answers_;
  std::deque<std::optional<std::string>> files_;
  std::vector<cRecordedMessage> messages_;
  std::vector<cFileDialogRequest> dialogs_;
  std::ostream* echo_ = nullptr;
};

// Records launches instead of starting anything.
class cRecordingLauncher : public cLauncher {
 public:
  struct cLaunch {
    std::string program;
    std::vector<std::string> arguments;
  };
  bool launch(const std::string& program, const std::vector<std::string>& arguments) override;
  const std::vector<cLaunch>& launches() const { return launches_; }
  void refuse(bool r) { refuse_ = r; }

 private:
  std::vector<cLaunch> launches_;
  bool refuse_ = false;
};

// All of the above, installed as the process's platform while it lives.
class cHeadlessPlatform : public cPlatform {
 public:
  cHeadlessPlatform();
  ~cHeadlessPlatform() override;

  cClock& clock() override { return clock_; }
  cInputState& input() override { return input_; }
  cUserInterface& ui() override { return ui_; }
  cLauncher& launcher() override { return launcher_; }
  int displayDepth() override { return depth_; }

  cVirtualClock& virtualClock() { return clock_; }
  cScriptedInput& scriptedInput() { return input_; }
  cScriptedUserInterface& scriptedUi() { return ui_; }
  cRecordingLauncher& recordingLauncher() { return launcher_; }
  // The headless display can pretend to be 4, 8 or 24 bits deep.
  void setDisplayDepth(int bits) { depth_ = bits; }

 private:
  cVirtualClock clock_;
  cScriptedInput input_{clock_};
  cScriptedUserInterface ui_;
  cRecordingLauncher launcher_;
  int depth_ = 8;
  cPlatformScope scope_{*this};
};
