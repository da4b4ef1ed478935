#include "shell/core/resources.h"

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace {

cResourceLibraries gLibraries;
std::vector<std::function<void()>> gCleanups;
std::function<void(const char*)> gExitHandler;

// Asks whether to try again; Cancel ends the program without a message.
void retryOrEnd(uint16_t type, uint16_t id) {
  char text[64];
  std::snprintf(text, sizeof text, "Can't get resource\nid=%i,type=%i\n", static_cast<int16_t>(id),
                static_cast<int16_t>(type));
  cMessageRequest box;
  box.text = text;
  box.buttons = cMessageButtons::retryCancel;
  box.icon = cMessageIcon::error;
  const cMessageResult answer =
      hasPlatform() ? platform().ui().messageBox(box) : cMessageResult::cancel;
  if (answer != cMessageResult::retry) fatalExit(nullptr);
}

}  // namespace

std::optional<std::span<const uint8_t>> cMemoryResourceModule::find(uint16_t type, uint16_t id) {
  auto it = resources_.find({type, id});
  if (it == resources_.end()) return std::nullopt;
  return std::span<const uint8_t>(it->second);
}

void cMemoryResourceModule::add(uint16_t type, uint16_t id, std::vector<uint8_t> bytes) {
  resources_[{type, id}] = std::move(bytes);
}

cResourceModule* cResourceLibraries::moduleFor(uint16_t type) const {
  if (everythingFromOwn_) return own_.get();
  if (type == kSoundResourceType) return sound_.get();
  return gadget_.get();
}

void cResourceLibraries::release() {
  sound_.reset();
  gadget_.reset();
  own_.reset();
}

cResourceLibraries& resourceLibraries() { return gLibraries; }

cResourceHandle findResource(cResourceModule& module, uint16_t type, uint16_t id) {
  for (;;) {
    if (auto bytes = module.find(type, id)) return {&module, *bytes};
    retryOrEnd(type, id);
  }
}

cResourceHandle findResource(uint16_t type, uint16_t id) {
  cResourceLibraries& libs = resourceLibraries();
  // Without a sound library every sound is the own module's silence.
  if (!libs.everythingFromOwn() && type == kSoundResourceType && !libs.soundLibrary() && libs.own())
    return findResource(*libs.own(), kSoundResourceType, 1);
  for (;;) {
    if (cResourceModule* m = libs.moduleFor(type)) return findResource(*m, type, id);
    retryOrEnd(type, id);
  }
}

cResourceHandle findOwnResource(uint16_t type, uint16_t id) {
  for (;;) {
    if (cResourceModule* own = resourceLibraries().own()) return findResource(*own, type, id);
    retryOrEnd(type, id);
  }
}

std::span<const uint8_t> lockResource(const cResourceHandle& handle) {
  if (!handle.valid()) fatalExit("Can't lock resource. Program aborted");
  return handle.bytes;
}

std::optional<std::span<const uint8_t>> peekResource(uint16_t type, uint16_t id) {
  cResourceLibraries& libs = resourceLibraries();
  if (!libs.everythingFromOwn() && type == kSoundResourceType && !libs.soundLibrary() && libs.own())
    return libs.own()->find(kSoundResourceType, 1);
  cResourceModule* m = libs.moduleFor(type);
  return m ? m->find(type, id) : std::nullopt;
}

void atFatalExit(std::function<void()> cleanup) { gCleanups.push_back(std::move(cleanup)); }

void setFatalExitHandler(std::function<void(const char*)> handler) { gExitHandler = std::move(handler); }

void fatalExit(const char* message) {
  // Clean-ups may register nothing new while they run.
  std::vector<std::function<void()>> cleanups;
  cleanups.swap(gCleanups);
  for (auto it = cleanups.rbegin(); it != cleanups.rend(); ++it) (*it)();
  gLibraries.release();
  if (message && hasPlatform()) {
    cMessageRequest box;
    box.text = message;
    box.icon = cMessageIcon::error;
    box.modality = cModality::system;
    platform().ui().messageBox(box);
  }
  if (gExitHandler) gExitHandler(message);
  std::exit(-1);
}
