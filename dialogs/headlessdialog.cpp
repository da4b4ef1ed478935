#include "dialogs/headlessdialog.h"

#include "shell/core/text.h"

namespace {

constexpr uint32_t kEsMultiLine = 0x0004;


}  // namespace

cHeadlessControl::cHeadlessControl(cHeadlessDialogHost& host, const cDialogItemTemplate& item,
                                   const cWinRect& rect)
    : host_(host),
      id_(static_cast<int>(item.id)),
      className_(item.className),
      style_(item.style),
      helpId_(item.helpId),
      rect_(rect),
      text_(utf8ToCp1252(item.text)),
      enabled_((item.style & kWsDisabled) == 0) {}

void cHeadlessControl::setText(const std::string& text) {
  text_ = text;
  if (isWindowClass(className_, "Edit")) host_.notify(id_, kNotifyEditChanged);
}

std::string cHeadlessControl::textWithSoftBreaks() const {
  if (!(style_ & kEsMultiLine) || wrapColumn_ <= 0) return text_;
  std::string out;
  int column = 0;
  for (size_t i = 0; i < text_.size(); ++i) {
    const char c = text_[i];
    if (c == '\r' || c == '\n') {
      column = 0;
    } else if (column == wrapColumn_) {
      out += "\r\r\n";
      column = 0;
    }
    out += c;
    if (c != '\r' && c != '\n') ++column;
  }
  return out;
}

void cHeadlessControl::setSelection(int index) {
  selection_ = index >= 0 && index < entryCount() ? index : -1;
}

int cHeadlessControl::addEntry(const std::string& text) {
  if (entryLimit_ >= 0 && entryCount() >= entryLimit_) return -1;
  entries_.push_back(text);
  return entryCount() - 1;
}

void cHeadlessControl::setFocus() { host_.setFocusTo(id_); }

cSpriteSize cHeadlessControl::clientSize() const {
  return {rect_.right - rect_.left, rect_.bottom - rect_.top};
}

cHeadlessDialogHost::cHeadlessDialogHost(const cDialogTemplate& dialogTemplate, cDialogBaseUnits base)
    : template_(dialogTemplate) {
  for (const cDialogItemTemplate& item : template_.items)
    controls_[static_cast<int>(item.id)] =
        std::make_unique<cHeadlessControl>(*this, item, itemPixelRect(item, base));
}

void cHeadlessDialogHost::open(cDialog& dialog, bool deliver) {
  dialog_ = &dialog;
  dialog.initDialog(*this);
  if (deliver) deliverPosted();
}

void cHeadlessDialogHost::deliverPosted() {
  while (!posted_.empty()) {
    const int command = posted_.front();
    posted_.pop_front();
    if (dialog_) dialog_->onCommand(command, 0);
  }
}

cControlWindow* cHeadlessDialogHost::item(int id) {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second.get();
}

cWinRect cHeadlessDialogHost::itemRect(int id) {
  const auto it = controls_.find(id);
  return it == controls_.end() ? cWinRect{} : it->second->rect();
}

void cHeadlessDialogHost::notify(int id, int notification) {
  if (dialog_) dialog_->onCommand(id, notification);
}

void cHeadlessDialogHost::click(int id) {
  cHeadlessControl* c = control(id);
  if (!c || !c->isEnabled()) return;
  if (isWindowClass(c->className(), "Button")) {
    switch (c->style() & 0xF) {
      case 3: c->setCheck(c->check() ? 0 : 1); break;  // auto check box
      case 9: c->setCheck(1); break;                  // auto radio button
      default: break;
    }
  }
  notify(id, kNotifyClicked);
}

void cHeadlessDialogHost::type(int id, const std::string& text) {
  if (cHeadlessControl* c = control(id)) {
    focus_ = id;
    c->setText(text);
  }
}

void cHeadlessDialogHost::choose(int id, int index) {
  if (cHeadlessControl* c = control(id)) {
    c->setSelection(index);
    notify(id, 1);  // the selection changed
  }
}

void cHeadlessDialogHost::focusCombo(int id) {
  focus_ = id;
  notify(id, kNotifyComboFocus);
}
