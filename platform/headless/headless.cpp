#include "platform/headless/headless.h"

#include <algorithm>
#include <ostream>

// --- scripted input ---

void cScriptedInput::setNow(int virtualKey, bool down) {
  if (virtualKey >= 0 && virtualKey < vk::count) down_[virtualKey] = down;
}

void cScriptedInput::scheduleKey(uint32_t atMs, int virtualKey, bool down) {
  cEvent e{atMs, virtualKey, down, {}};
  auto at = std::upper_bound(pending_.begin(), pending_.end(), e,
                             [](const cEvent& a, const cEvent& b) { return a.at < b.at; });
  pending_.insert(at, e);
}

void cScriptedInput::scheduleMove(uint32_t atMs, cPoint p) {
  cEvent e{atMs, -1, false, p};
  auto at = std::upper_bound(pending_.begin(), pending_.end(), e,
                             [](const cEvent& a, const cEvent& b) { return a.at < b.at; });
  pending_.insert(at, e);
}

void cScriptedInput::scheduleTap(uint32_t atMs, int virtualKey, uint32_t holdMs) {
  scheduleKey(atMs, virtualKey, true);
  scheduleKey(atMs + holdMs, virtualKey, false);
}

void cScriptedInput::applyDue() {
  const uint32_t now = clock_.milliseconds();
  size_t done = 0;
  while (done < pending_.size() && pending_[done].at <= now) {
    const cEvent& e = pending_[done++];
    if (e.key < 0) cursor_ = e.point; else setNow(e.key, e.down);
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(done));
}

bool cScriptedInput::isKeyDown(int virtualKey) {
  applyDue();
  return virtualKey >= 0 && virtualKey < vk::count && down_[virtualKey];
}

cPoint cScriptedInput::cursorPosition() {
  applyDue();
  return cursor_;
}

// --- scripted user interface ---

namespace {
const char* buttonsText(cMessageButtons b) {
  switch (b) {
    case cMessageButtons::ok: return "OK";
    case cMessageButtons::okCancel: return "OK/Annuller";
    case cMessageButtons::abortRetryIgnore: return "Afbryd/Prøv igen/Ignorer";
    case cMessageButtons::yesNoCancel: return "Ja/Nej/Annuller";
    case cMessageButtons::yesNo: return "Ja/Nej";
    case cMessageButtons::retryCancel: return "Prøv igen/Annuller";
  }
  return "";
}
}  // namespace

cMessageResult cScriptedUserInterface::messageBox(const cMessageRequest& request) {
  cMessageResult answer = cautiousAnswer(request.buttons);
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  messages_.push_back({request, answer});
  if (echo_)
    *echo_ << "[" << request.caption << "] " << request.text << " (" << buttonsText(request.buttons)
           << ")\n";
  return answer;
}

std::optional<std::string> cScriptedUserInterface::fileDialog(const cFileDialogRequest& request) {
  dialogs_.push_back(request);
  if (files_.empty()) return std::nullopt;
  std::optional<std::string> r = std::move(files_.front());
  files_.pop_front();
  return r;
}

// --- launcher ---

bool cRecordingLauncher::launch(const std::string& program, const std::vector<std::string>& arguments) {
  launches_.push_back({program, arguments});
  return !refuse_;
}

cHeadlessPlatform::cHeadlessPlatform() = default;
cHeadlessPlatform::~cHeadlessPlatform() = default;
