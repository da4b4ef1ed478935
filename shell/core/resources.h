// Resource access: the program's three modules and the lookup of a resource
// by (type, id) with the retry box.
//
//   own module      the program's own file (the editor, or the player)
//   gadget library  ZBGADGET.DLL beside the program: artwork, tables, help texts
//   sound library   ZBSOUND.DLL beside the program: the sounds (type 1006); optional
//
// The editor looks up type 1006 in the sound library (or, without one, gets
// its own silent sound 1006/1 whatever id it asked for) and every other type
// in the gadget library, unless a module is named. The player looks up
// everything in its own module. A resource that is missing shows
// "Can't get resource\nid=%i,type=%i\n" with Retry and Cancel; Cancel ends
// the program through fatalExit.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

inline constexpr uint16_t kSoundResourceType = 1006;

// A file (or a piece of memory) whose resources can be looked up.
class cResourceModule {
 public:
  virtual ~cResourceModule() = default;
  // The file name, for messages.
  virtual const std::string& name() const = 0;
  // The bytes of (type, id) in the first language the module holds, or nothing.
  // The bytes stay valid while the module lives.
  virtual std::optional<std::span<const uint8_t>> find(uint16_t type, uint16_t id) = 0;
};

// Resources held in memory: tests, and resources built while the program runs.
class cMemoryResourceModule : public cResourceModule {
 public:
  explicit cMemoryResourceModule(std::string name = "memory") : name_(std::move(name)) {}
  const std::string& name() const override { return name_; }
  std::optional<std::span<const uint8_t>> find(uint16_t type, uint16_t id) override;
  // Replaces any earlier resource with the same type and id.
  void add(uint16_t type, uint16_t id, std::vector<uint8_t> bytes);

 private:
  std::string name_;
  std::map<std::pair<uint16_t, uint16_t>, std::vector<uint8_t>> resources_;
};

// What findResource hands back. `module` is null only in a handle that was never found.
struct cResourceHandle {
  cResourceModule* module = nullptr;
  std::span<const uint8_t> bytes;
  bool valid() const { return module != nullptr; }
};

class cResourceLibraries {
 public:
  cResourceModule* own() const { return own_.get(); }
  cResourceModule* gadgetLibrary() const { return gadget_.get(); }
  cResourceModule* soundLibrary() const { return sound_.get(); }

  void setOwn(std::unique_ptr<cResourceModule> m) { own_ = std::move(m); }
  void setGadgetLibrary(std::unique_ptr<cResourceModule> m) { gadget_ = std::move(m); }
  void setSoundLibrary(std::unique_ptr<cResourceModule> m) { sound_ = std::move(m); }

  // The player reads every resource from its own module.
  bool everythingFromOwn() const { return everythingFromOwn_; }
  void setEverythingFromOwn(bool v) { everythingFromOwn_ = v; }

  // The module a lookup of this type goes to (null when that module is absent).
  cResourceModule* moduleFor(uint16_t type) const;

  // Frees the sound library first, then the gadget library, then the own module.
  void release();

 private:
  std::unique_ptr<cResourceModule> own_, gadget_, sound_;
  bool everythingFromOwn_ = false;
};

// The process's modules.
cResourceLibraries& resourceLibraries();

// Finds (type, id) by the lookup rules, asking Retry / Cancel until it is
// found or the user cancels (which ends the program).
cResourceHandle findResource(uint16_t type, uint16_t id);
// The same in a named module.
cResourceHandle findResource(cResourceModule& module, uint16_t type, uint16_t id);
// The same in the program's own module (strings, menus, dialogs, the palette);
// without an own module the retry box comes up as for a missing resource.
cResourceHandle findOwnResource(uint16_t type, uint16_t id);
// The bytes of a found resource; a handle without bytes ends the program
// with "Can't lock resource. Program aborted".
std::span<const uint8_t> lockResource(const cResourceHandle& handle);
// A lookup without any box: nothing when it is missing.
std::optional<std::span<const uint8_t>> peekResource(uint16_t type, uint16_t id);

// Ends the program: runs the clean-ups registered with atFatalExit (the
// sound output first of all), frees the libraries, shows the message (if
// any) in a system-modal box captioned "Zanbel", and exits with code -1.
[[noreturn]] void fatalExit(const char* message);
// Registers a clean-up for fatalExit; they run newest first.
void atFatalExit(std::function<void()> cleanup);
// Tests replace the final exit (the handler may throw); null restores it.
void setFatalExitHandler(std::function<void(const char* message)> handler);
