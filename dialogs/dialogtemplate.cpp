#include "dialogs/dialogtemplate.h"

#include "shell/core/strings.h"

namespace {

// Reads the template's little-endian fields, refusing to pass its end.
class cTemplateReader {
 public:
  explicit cTemplateReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  size_t offset() const { return at_; }

  uint16_t u16() {
    if (!need(2)) return 0;
    const uint16_t v = static_cast<uint16_t>(bytes_[at_] | (bytes_[at_ + 1] << 8));
    at_ += 2;
    return v;
  }
  uint32_t u32() {
    const uint32_t lo = u16();
    return lo | (static_cast<uint32_t>(u16()) << 16);
  }
  int16_t s16() { return static_cast<int16_t>(u16()); }
  uint8_t u8() {
    if (!need(1)) return 0;
    return bytes_[at_++];
  }

  // A zero-terminated UTF-16 text, as UTF-8.
  std::string text() {
    std::vector<uint8_t> units;
    for (;;) {
      const uint16_t u = u16();
      if (!ok_ || u == 0) break;
      units.push_back(static_cast<uint8_t>(u & 0xFF));
      units.push_back(static_cast<uint8_t>(u >> 8));
    }
    return utf16leToUtf8(units.data(), units.size() / 2);
  }

  // sz_Or_Ord: a text, a number, or nothing.
  void textOrNumber(std::string& text, std::optional<uint16_t>& number) {
    if (!need(2)) return;
    const uint16_t first = static_cast<uint16_t>(bytes_[at_] | (bytes_[at_ + 1] << 8));
    if (first == 0xFFFF) {
      at_ += 2;
      number = u16();
    } else if (first == 0) {
      at_ += 2;
    } else {
      text = this->text();
    }
  }

  void skip(size_t n) {
    if (need(n)) at_ += n;
  }
  void alignTo(size_t n) {
    const size_t pad = (n - at_ % n) % n;
    if (at_ + pad <= bytes_.size()) at_ += pad; else at_ = bytes_.size();
  }
  std::vector<uint8_t> take(size_t n) {
    if (!need(n)) return {};
    std::vector<uint8_t> out(bytes_.begin() + static_cast<ptrdiff_t>(at_),
                             bytes_.begin() + static_cast<ptrdiff_t>(at_ + n));
    at_ += n;
    return out;
  }

 private:
  bool need(size_t n) {
    if (!ok_ || bytes_.size() - at_ < n) ok_ = false;
    return ok_;
  }
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
  bool ok_ = true;
};

// The predefined classes by their names.
std::string classByNumber(uint16_t atom) {
  switch (atom) {
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x83: return "ListBox";
    case 0x84: return "ScrollBar";
    case 0x85: return "ComboBox";
    default: return "#" + std::to_string(atom);
  }
}

// Windows' MulDiv for the small positive and negative numbers of a template.
int mulDiv(int a, int b, int c) {
  const long long p = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(p >= 0 ? (p + half) / c : -((-p + half) / c));
}

}  // namespace

bool isWindowClass(std::string_view className, std::string_view name) {
  if (className.size() != name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(className[i]) != lower(name[i])) return false;
  }
  return true;
}

const cDialogItemTemplate* cDialogTemplate::item(uint32_t id) const {
  for (const cDialogItemTemplate& i : items)
    if (i.id == id) return &i;
  return nullptr;
}

std::optional<cDialogTemplate> parseDialogTemplate(std::span<const uint8_t> bytes) {
  cTemplateReader r(bytes);
  cDialogTemplate t;
  const uint16_t version = r.u16();
  const uint16_t signature = r.u16();
  if (!r.ok()) return std::nullopt;
  t.extended = version == 1 && signature == 0xFFFF;

  uint16_t count = 0;
  if (t.extended) {
    t.helpId = r.u32();
    t.exStyle = r.u32();
    t.style = r.u32();
  } else {
    t.style = static_cast<uint32_t>(version) | (static_cast<uint32_t>(signature) << 16);
    t.exStyle = r.u32();
  }
  count = r.u16();
  t.x = r.s16();
  t.y = r.s16();
  t.cx = r.s16();
  t.cy = r.s16();
  std::string ignoredText;
  std::optional<uint16_t> ignoredNumber;
  r.textOrNumber(ignoredText, ignoredNumber);  // menu
  r.textOrNumber(ignoredText, ignoredNumber);  // window class
  t.title = r.text();
  if (t.style & kDsSetFont) {
    t.pointSize = r.u16();
    if (t.extended) {
      t.weight = r.u16();
      t.italic = r.u8() != 0;
      r.u8();  // charset
    }
    t.typeface = r.text();
  }
  if (!r.ok()) return std::nullopt;

  for (uint16_t n = 0; n < count; ++n) {
    r.alignTo(4);
    cDialogItemTemplate item;
    if (t.extended) {
      item.helpId = r.u32();
      item.exStyle = r.u32();
      item.style = r.u32();
    } else {
      item.style = r.u32();
      item.exStyle = r.u32();
    }
    item.x = r.s16();
    item.y = r.s16();
    item.cx = r.s16();
    item.cy = r.s16();
    item.id = t.extended ? r.u32() : r.u16();
    std::optional<uint16_t> classAtom;
    r.textOrNumber(item.className, classAtom);
    if (classAtom) item.className = classByNumber(*classAtom);
    r.textOrNumber(item.text, item.textNumber);
    const uint16_t extra = r.u16();
    if (extra > 0) {
      r.alignTo(2);
      item.creationData = r.take(extra);
    }
    if (!r.ok()) return std::nullopt;
    t.items.push_back(std::move(item));
  }
  return t;
}

cDialogBaseUnits dialogBaseUnits(int widthOf52Letters, int fontHeight) {
  return {(widthOf52Letters / 26 + 1) / 2, fontHeight};
}

int dialogXToPixels(int x, const cDialogBaseUnits& base) { return mulDiv(x, base.x, 4); }
int dialogYToPixels(int y, const cDialogBaseUnits& base) { return mulDiv(y, base.y, 8); }

cWinRect itemPixelRect(const cDialogItemTemplate& item, const cDialogBaseUnits& base) {
  const int left = dialogXToPixels(item.x, base);
  const int top = dialogYToPixels(item.y, base);
  return {left, top, left + dialogXToPixels(item.cx, base), top + dialogYToPixels(item.cy, base)};
}
