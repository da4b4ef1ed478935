#include "platform/wave.h"

#include <algorithm>

bool cWaveInQueue::addBuffer(cWaveHeader& header) {
  if (!header.prepared) return false;
  header.queued = true;
  header.done = false;
  queue_.push_back(&header);
  return true;
}

void cWaveInQueue::reset() {
  for (cWaveHeader* h : queue_) {
    h->queued = false;
    h->done = true;
  }
  queue_.clear();
  filled_ = 0;
  position_ = 0;
}

void cWaveInQueue::fill(const std::function<uint32_t(uint8_t*, uint32_t)>& fetch, uint64_t limit) {
  while (!queue_.empty() && limit > 0) {
    cWaveHeader& h = *queue_.front();
    const uint32_t room = static_cast<uint32_t>(std::min<uint64_t>(h.length - filled_, limit));
    const uint32_t got = std::min(fetch(h.data + filled_, room), room);
    filled_ += got;
    position_ += got;
    limit -= got;
    if (filled_ == h.length) {
      h.queued = false;
      h.done = true;
      queue_.pop_front();
      filled_ = 0;
    } else if (got < room) {
      break;  // nothing more to be had now
    }
  }
}
