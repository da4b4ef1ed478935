#include "shell/core/menuresource.h"

#include "shell/core/strings.h"

namespace {

enum : uint16_t { kGreyed = 0x0001, kInactive = 0x0002, kChecked = 0x0008, kPopup = 0x0010, kLast = 0x0080 };
// Pop-ups inside pop-ups are fine; this many levels is not a menu any more.
constexpr int kDeepestMenu = 8;

class cMenuReader {
 public:
  explicit cMenuReader(std::span<const uint8_t> bytes) : b_(bytes) {}

  bool items(std::vector<cMenuItem>& out, int depth) {
    if (depth > kDeepestMenu) return fail("Menuen har for mange niveauer.");
    for (;;) {
      uint16_t flags = 0;
      if (!u16(flags)) return false;
      cMenuItem item;
      item.popup = flags & kPopup;
      item.greyed = flags & (kGreyed | kInactive);
      item.checked = flags & kChecked;
      if (!item.popup && !u16(item.command)) return false;
      if (!text(item.text)) return false;
      item.separator = !item.popup && item.command == 0 && item.text.empty() && (flags & ~kLast) == 0;
      if (item.popup && !items(item.items, depth + 1)) return false;
      out.push_back(std::move(item));
      if (flags & kLast) return true;
    }
  }
  bool header() {
    uint16_t version = 0, offset = 0;
    if (!u16(version) || !u16(offset)) return false;
    if (version != 0) return fail("Menuen er af en anden slags (udvidet menu).");
    if (offset > b_.size() - at_) return fail("Menuens hoved er for langt.");
    at_ += offset;
    return true;
  }
  const std::string& error() const { return error_; }

 private:
  bool fail(const char* why) {
    if (error_.empty()) error_ = why;
    return false;
  }
  bool u16(uint16_t& v) {
    if (b_.size() - at_ < 2) return fail("Menuen slutter midt i et punkt.");
    v = uint16_t(b_[at_] | b_[at_ + 1] << 8);
    at_ += 2;
    return true;
  }
  bool text(std::string& out) {
    const size_t start = at_;
    for (;;) {
      uint16_t unit = 0;
      if (!u16(unit)) return false;
      if (unit == 0) break;
    }
    out = utf16leToUtf8(b_.data() + start, (at_ - start) / 2 - 1);
    return true;
  }

  std::span<const uint8_t> b_;
  size_t at_ = 0;
  std::string error_;
};

}  // namespace

std::optional<std::vector<cMenuItem>> parseMenuResource(std::span<const uint8_t> bytes, std::string* error) {
  cMenuReader reader(bytes);
  std::vector<cMenuItem> bar;
  if (!reader.header() || !reader.items(bar, 0)) {
    if (error) *error = reader.error();
    return std::nullopt;
  }
  return bar;
}

std::optional<std::vector<cMenuItem>> ownMenu(uint16_t id) {
  return parseMenuResource(lockResource(findOwnResource(kMenuResourceType, id)));
}
