#include "dialogs/dialog.h"

#include <algorithm>

#include "dialogs/combotexts.h"
#include "dialogs/dialogtemplate.h"
#include "shell/core/resources.h"
#include "sound/soundsystem.h"

namespace {

// Button styles by their low four bits.
enum : uint32_t {
  kBsPushButton = 0,
  kBsDefPushButton = 1,
  kBsCheckBox = 2,
  kBsAutoCheckBox = 3,
  kBsRadioButton = 4,
  kBsAutoRadioButton = 9,
  kBsOwnerDraw = 11,
};

// "Pic<n>": the frame set to show; nothing for "Pic" and any other caption.
std::optional<uint16_t> pictureNumber(const std::string& caption) {
  if (caption.compare(0, 3, "Pic") != 0) return std::nullopt;
  size_t i = 3;
  while (i < caption.size() && caption[i] == ' ') ++i;
  if (i == caption.size()) return std::nullopt;
  unsigned long n = 0;
  for (; i < caption.size(); ++i) {
    if (caption[i] < '0' || caption[i] > '9') return std::nullopt;
    n = n * 10 + static_cast<unsigned long>(caption[i] - '0');
    if (n > 0xFFFF) return std::nullopt;
  }
  return static_cast<uint16_t>(n);
}

template <typename T>
T* byId(const std::vector<std::unique_ptr<T>>& list, int id) {
  for (const auto& c : list)
    if (c->hasId(static_cast<uint16_t>(id))) return c.get();
  return nullptr;
}

template <typename T>
bool inRange(const std::vector<T>& list, int i) {
  return i >= 0 && i < static_cast<int>(list.size());
}

}  // namespace

cDialog::cDialog(cGadget& gadget, cPreviewCallback changeRoutine)
    : gadget_(gadget), changeRoutine_(changeRoutine) {}

cDialog::~cDialog() = default;

void cDialog::initDialog(cDialogHost& host) {
  host_ = &host;
  initialised_ = false;
  soundService();

  for (int id = kFirstScannedItem; id <= kLastScannedItem; ++id) {
    cControlWindow* window = host.item(id);
    if (!window) continue;
    window->addStyle(kWsClipSiblings);
    buildControl(*window);
  }
  linkControls();
  if (hasCombos_) fillCombos();
  cEditText* focused = edits_.empty() ? nullptr : edits_.front().get();
  if (!focused)
    if (cControlWindow* ok = host.item(kItemOk)) ok->setFocus();
  gadget_.loadDialog(*this);
  if (focused) focused->window()->selectAllText();
  host.postCommand(kCommandInitialised);
}

void cDialog::buildControl(cControlWindow& window) {
  const uint16_t id = static_cast<uint16_t>(window.id());
  const std::string cls = window.className();
  if (isWindowClass(cls, "Edit")) {
    const cEditRule rule = parseEditRule(window.text());
    window.setText("");
    edits_.push_back(std::make_unique<cEditText>(&window, id, rule));
    if (edits_.size() == 1) window.setFocus();
  } else if (isWindowClass(cls, "Static")) {
    statics_.push_back(std::make_unique<cTextControl>(&window, id));
  } else if (isWindowClass(cls, "ComboBox")) {
    combos_.push_back(std::make_unique<cIntControl>(&window, id));
    hasCombos_ = true;
  } else if (isWindowClass(cls, "Button")) {
    switch (window.style() & 0xF) {
      case kBsPushButton:
      case kBsDefPushButton:
        buttons_.push_back(std::make_unique<cButton>(&window, id));
        break;
      case kBsCheckBox:
      case kBsAutoCheckBox:
        checks_.push_back(std::make_unique<cBoolControl>(&window, id));
        break;
      case kBsRadioButton:
      case kBsAutoRadioButton: {
        std::string caption = window.text();
        const char key = radioGroupKey(caption);
        if (!caption.empty()) caption.pop_back();
        window.setText(caption);
        auto group = std::find_if(radios_.begin(), radios_.end(),
                                  [key](const auto& g) { return g->key() == key; });
        if (group == radios_.end()) {
          radios_.push_back(std::make_unique<cRadioGroup>(key));
          group = radios_.end() - 1;
        }
        (*group)->addButton(&window, id);
        break;
      }
      case kBsOwnerDraw:
        buildOwnerDrawn(window);
        break;
      default:
        break;
    }
  }
}

void cDialog::buildOwnerDrawn(cControlWindow& window) {
  switch (window.id()) {
    case kItemPicture:
      if (const auto n = pictureNumber(window.text()))
        picture_ = makeFramePicture(*n, window.clientSize());
      else
        graphic_ = std::make_unique<cDialogGadgetGraphic>(gadget_, window.clientSize());
      break;
    case kItemHelpText: {
      const cWinRect toggle = host_->item(kItemHelpToggle) ? host_->itemRect(kItemHelpToggle) : cWinRect{};
      help_ = std::make_unique<cDialogDocItem>(templateId(), host_->itemRect(kItemHelpText), toggle);
      break;
    }
    case kItemProgress:
      hasProgress_ = true;
      break;
    default:
      break;
  }
}

cDialogControl* cDialog::controlOf(int id) const {
  if (cDialogControl* c = byId(buttons_, id)) return c;
  if (cDialogControl* c = byId(combos_, id)) return c;
  if (cDialogControl* c = byId(edits_, id)) return c;
  if (cDialogControl* c = byId(statics_, id)) return c;
  if (cDialogControl* c = byId(checks_, id)) return c;
  for (const auto& group : radios_) {
    const int i = group->indexOf(static_cast<uint16_t>(id));
    if (i >= 0) return group->buttons()[static_cast<size_t>(i)].get();
  }
  return nullptr;
}

void cDialog::linkControls() {
  auto linkOne = [this](cDialogControl& c) {
    if (const uint32_t target = c.window() ? c.window()->helpId() : 0; target > 0 && target <= 0xFFFF)
      c.setLink(controlOf(static_cast<int>(target)));
  };
  for (auto& c : buttons_) linkOne(*c);
  for (auto& c : combos_) linkOne(*c);
  for (auto& c : edits_) linkOne(*c);
  for (auto& c : statics_) linkOne(*c);
  for (auto& c : checks_) linkOne(*c);
  for (auto& g : radios_)
    for (auto& b : g->buttons()) linkOne(*b);
}

void cDialog::fillCombos() {
  cResourceModule* own = resourceLibraries().own();
  if (!own) return;
  const auto bytes = own->find(kComboTextResourceType, templateId());
  if (!bytes) return;
  for (const cComboText& record : parseComboTexts(*bytes)) {
    int answer = 0;
    if (cControlWindow* window = host_->item(record.control)) {
      const std::string cls = window->className();
      if ((record.message == kMessageAddComboString && isWindowClass(cls, "ComboBox")) ||
          (record.message == kMessageAddListString && isWindowClass(cls, "ListBox")))
        answer = window->addEntry(record.text);
    }
    if (answer == -1) break;
  }
}

cDialogControl* cDialog::findControl(int id) {
  cDialogControl* c = controlOf(id);
  // A radio button answers for its group, which selects it first.
  if (c && c->kind() == 1 && static_cast<cBoolControl*>(c)->group) {
    cRadioGroup* group = static_cast<cBoolControl*>(c)->group;
    group->setValue(group->indexOf(static_cast<uint16_t>(id)));
    return group;
  }
  return c;
}

bool cDialog::onCommand(int id, int notification) {
  switch (id) {
    case kItemOk:
      gadget_.saveDialog(*this);
      result_ = 1;
      if (host_) host_->endDialog(1);
      return true;
    case kItemCancel:
      gadget_.settingsChanged(*this);
      result_ = 2;
      if (host_) host_->endDialog(2);
      return true;
    case kItemHelpToggle:
      if (help_) {
        help_->toggle();
        redraw(kItemHelpText);
        redraw(kItemHelpToggle);
      }
      return true;
    case kCommandInitialised:
      initialised_ = true;
      return true;
    default:
      break;
  }
  if (!initialised_ || id < 0 || id > kLastRoutedCommand) return false;
  cDialogControl* control = findControl(id);
  if (!control) return false;
  const int kind = control->kind();
  if (kind == 4 && notification == kNotifyEditChanged) validateEdit(static_cast<cEditText&>(*control));
  const bool click = notification == kNotifyClicked && (kind == 1 || kind == 2 || kind == 6 || kind == 8);
  if (click || (kind == 4 && notification == kNotifyEditChanged) || (kind == 3 && notification == kNotifyComboFocus))
    runChain(control);
  if (changeRoutine_) changeRoutine_(*this, gadget_);
  return true;
}

void cDialog::validateEdit(cEditText& edit) {
  if (validating_) return;  // putting the old text back reports a change too
  validating_ = true;
  edit.validate();
  validating_ = false;
}

void cDialog::runChain(cDialogControl* start) {
  // Links may lead back to a control already passed (a list and its radio
  // button point at each other): the chain ends there.
  std::vector<cDialogControl*> passed;
  for (cDialogControl* c = start; c; c = c->link()) {
    if (std::find(passed.begin(), passed.end(), c) != passed.end()) break;
    const bool first = passed.empty();
    passed.push_back(c);
    switch (c->kind()) {
      case 1: {
        auto* b = static_cast<cBoolControl*>(c);
        if (!first) b->setValue(1);
        if (b->group) b->group->setValue(b->group->indexOf(b->id()));
        break;
      }
      case 2: {
        auto* b = static_cast<cButton*>(c);
        if (b->clickRoutine) b->clickRoutine(*this, gadget_);
        break;
      }
      case 4:
        if (c->window()) c->window()->setFocus();
        break;
      default:
        break;
    }
  }
}

void cDialog::redraw(int id) {
  if (!host_) return;
  if (cControlWindow* w = host_->item(id)) w->redraw();
}

const CWinGDib* cDialog::drawItem(int id, bool pressed) {
  if (id == kItemPicture) {
    if (picture_) return picture_.get();
    if (graphic_) return &graphic_->surface();
    return nullptr;
  }
  const bool drawn = (id == kItemHelpText || id == kItemHelpToggle) ? help_ != nullptr
                     : id == kItemProgress                          ? hasProgress_
                                                                    : false;
  cControlWindow* window = host_ ? host_->item(id) : nullptr;
  if (!drawn || !window) return nullptr;
  const cSpriteSize size = window->clientSize();
  auto& out = drawn_[id];
  if (!out || out->width() != std::max(size.width, 1) || out->height() != std::max(size.height, 1))
    out = std::make_unique<CWinGDib>(std::max(size.width, 1), std::max(size.height, 1));
  if (id == kItemHelpText) help_->drawTextItem(*out);
  else if (id == kItemHelpToggle) help_->drawToggle(*out, pressed);
  else drawProgressBar(*out, progress_);
  return out.get();
}

void cDialog::setProgress(int percent) {
  progress_ = percent;
  if (hasProgress_) redraw(kItemProgress);
}

// ---- cGadgetDialog ----

bool cDialog::hasChoice(int i) const { return inRange(radios_, i); }
int cDialog::choice(int i) const { return hasChoice(i) ? radios_[size_t(i)]->getValue() : 0; }
void cDialog::setChoice(int i, int value) {
  if (hasChoice(i)) radios_[size_t(i)]->setValue(value);
}

bool cDialog::hasNumber(int i) const { return inRange(combos_, i); }
int32_t cDialog::number(int i) const { return hasNumber(i) ? combos_[size_t(i)]->getValue() : 0; }
void cDialog::setNumber(int i, int32_t value) {
  if (hasNumber(i)) combos_[size_t(i)]->setValue(value);
}

bool cDialog::hasOnOff(int i) const { return inRange(checks_, i); }
bool cDialog::onOff(int i) const { return hasOnOff(i) && checks_[size_t(i)]->getValue() != 0; }
void cDialog::setOnOff(int i, bool on) {
  if (hasOnOff(i)) checks_[size_t(i)]->setValue(on ? 1 : 0);
}

bool cDialog::hasText(int i) const { return inRange(edits_, i); }
std::string cDialog::text(int i) const { return hasText(i) ? edits_[size_t(i)]->getText() : std::string(); }
void cDialog::setText(int i, const std::string& text) {
  if (!hasText(i)) return;
  edits_[size_t(i)]->setAcceptedText(text);
  edits_[size_t(i)]->setText(text);
}

void cDialog::attachHook(int control, cDialogHook hook) {
  for (auto& b : buttons_)
    if (b->id() == control) b->clickRoutine = hook;
}

void cDialog::redrawGadgetPicture() {
  if (!graphic_) return;
  graphic_->render();
  redraw(kItemPicture);
}
