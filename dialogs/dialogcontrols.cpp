#include "dialogs/dialogcontrols.h"

#include <string_view>

bool cDialogControl::isEnabled() const { return window_ && window_->isEnabled(); }

void cDialogControl::enable() {
  if (window_) window_->setEnabled(true);
}

void cDialogControl::disable() {
  if (window_) window_->setEnabled(false);
}

int cBoolControl::getValue() const { return window_ ? window_->check() : 0; }

void cBoolControl::setValue(int v) {
  if (window_ && window_->check() != v) window_->setCheck(v);
}

int cIntControl::getValue() const {
  const int selected = window_ ? window_->selection() : -1;
  return selected >= 0 ? selected : given_;
}

void cIntControl::setValue(int v) {
  given_ = v;
  if (window_ && window_->selection() != v) window_->setSelection(v);
}

std::string cTextControl::getText() const {
  if (!window_) return {};
  const std::string raw = window_->textWithSoftBreaks();
  std::string out;
  for (size_t i = 0; i < raw.size() && out.size() < 255; ++i) {
    // A soft break is "\r\r\n"; the ordinary one is "\r\n".
    if (raw.compare(i, 3, "\r\r\n") == 0) {
      out += '\r';
      i += 1;
      continue;
    }
    out += raw[i];
  }
  return out;
}

void cTextControl::setText(const std::string& text) {
  if (window_) window_->setText(text);
}

bool cEditText::validate() {
  if (!window_) return true;
  std::string text = window_->text();
  if (text.size() > 256) text.resize(256);
  if (editTextPasses(rule_, text)) {
    lastAccepted_ = text;
    return true;
  }
  window_->setText(lastAccepted_);
  return false;
}

void cEditText::setAcceptedText(const std::string& text) {
  lastAccepted_ = text.size() > 256 ? text.substr(0, 256) : text;
}

double cEditText::getReal() const { return editTextReal(window_ ? window_->text() : std::string()); }

void cEditText::setReal(double value) {
  const std::string text = editRealText(value);
  setAcceptedText(text);
  setText(text);
}

cDialogControl* cRadioGroup::link() const {
  if (selected_ < 0 || selected_ >= static_cast<int>(buttons_.size())) return nullptr;
  return buttons_[static_cast<size_t>(selected_)]->link();
}

void cRadioGroup::enable() {
  for (auto& b : buttons_) b->enable();
  enabled_ = true;
}

void cRadioGroup::disable() {
  for (auto& b : buttons_) b->disable();
  enabled_ = false;
}

bool cRadioGroup::hasId(uint16_t id) const { return indexOf(id) >= 0; }

void cRadioGroup::setValue(int v) {
  // A value that names no button (a setting from a file) checks none and is kept.
  if (v >= 0 && v < static_cast<int>(buttons_.size())) buttons_[static_cast<size_t>(v)]->setValue(1);
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (static_cast<int>(i) != v) buttons_[i]->setValue(0);
  selected_ = static_cast<int16_t>(v);
}

cBoolControl& cRadioGroup::addButton(cControlWindow* window, uint16_t id) {
  auto button = std::make_unique<cBoolControl>(window, id);
  button->group = this;
  if (buttons_.empty()) {
    id_ = id;
    button->setValue(1);
    selected_ = 0;
  } else {
    button->setValue(0);
  }
  buttons_.push_back(std::move(button));
  return *buttons_.back();
}

int cRadioGroup::indexOf(uint16_t id) const {
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (buttons_[i]->id() == id) return static_cast<int>(i);
  return -1;
}

char radioGroupKey(const std::string& caption) { return caption.empty() ? '\0' : caption.back(); }
