// A dialog without a display: the windows of a template kept in memory,
// reporting to the dialog as the desktop's controls do (an edit field
// reports every change of its text, also one the program makes), with
// the user's clicks and typing as calls. The tests drive dialogs with it.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog.h"
#include "dialogs/dialogtemplate.h"

class cHeadlessDialogHost;

class cHeadlessControl : public cControlWindow {
 public:
  cHeadlessControl(cHeadlessDialogHost& host, const cDialogItemTemplate& item, const cWinRect& rect);

  int id() const override { return id_; }
  std::string className() const override { return className_; }
  uint32_t style() const override { return style_; }
  void addStyle(uint32_t bits) override { style_ |= bits; }
  uint32_t helpId() const override { return helpId_; }
  std::string text() const override { return text_; }
  void setText(const std::string& text) override;
  std::string textWithSoftBreaks() const override;
  bool isEnabled() const override { return enabled_; }
  void setEnabled(bool on) override { enabled_ = on; }
  int check() const override { return check_; }
  void setCheck(int state) override { check_ = state; }
  int selection() const override { return selection_; }
  void setSelection(int index) override;
  int entryCount() const override { return static_cast<int>(entries_.size()); }
  int addEntry(const std::string& text) override;
  void setFocus() override;
  void selectAllText() override { allSelected_ = true; }
  cSpriteSize clientSize() const override;
  void redraw() override { ++redraws_; }

  const std::vector<std::string>& entries() const { return entries_; }
  bool allSelected() const { return allSelected_; }
  int redraws() const { return redraws_; }
  const cWinRect& rect() const { return rect_; }
  // Where a multi-line field wraps: after this many characters of a line (0: never).
  void setWrapColumn(int column) { wrapColumn_ = column; }
  // The next entries added are refused (a list that is full).
  void refuseEntriesAfter(int count) { entryLimit_ = count; }

 private:
  cHeadlessDialogHost& host_;
  int id_;
  std::string className_;
  uint32_t style_;
  uint32_t helpId_;
  cWinRect rect_;
  std::string text_;
  bool enabled_;
  int check_ = 0;
  int selection_ = -1;
  std::vector<std::string> entries_;
  bool allSelected_ = false;
  int redraws_ = 0;
  int wrapColumn_ = 0;
  int entryLimit_ = -1;
};

class cHeadlessDialogHost : public cDialogHost {
 public:
  // The windows of the template, laid out with the base units.
  explicit cHeadlessDialogHost(const cDialogTemplate& dialogTemplate, cDialogBaseUnits base = {});

  // Initialises the dialog and delivers what it posted (command 253).
  void open(cDialog& dialog, bool deliverPosted = true);
  void deliverPosted();

  cControlWindow* item(int id) override;
  cWinRect itemRect(int id) override;
  void postCommand(int command) override { posted_.push_back(command); }
  void endDialog(int result) override { endResult_ = result; }

  cHeadlessControl* control(int id) { return static_cast<cHeadlessControl*>(item(id)); }
  // The id of the control that has the focus (0 none).
  int focus() const { return focus_; }
  // 0 while open.
  int endResult() const { return endResult_; }
  const cDialogTemplate& dialogTemplate() const { return template_; }

  // ---- what the user does ----
  // A click on a button: a check box changes, a radio button is checked, as
  // the toolkit does before it reports the click.
  void click(int id);
  // Replaces the text of an edit field, as typing or pasting does.
  void type(int id, const std::string& text);
  // Chooses a list entry.
  void choose(int id, int index);
  // Moves the focus into a combo box.
  void focusCombo(int id);

  // The notification of a control, as the toolkit sends it.
  void notify(int id, int notification);
  void setFocusTo(int id) { focus_ = id; }

 private:
  cDialogTemplate template_;
  std::map<int, std::unique_ptr<cHeadlessControl>> controls_;
  std::deque<int> posted_;
  cDialog* dialog_ = nullptr;
  int focus_ = 0;
  int endResult_ = 0;
};
