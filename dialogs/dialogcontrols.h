// The control objects of a property dialog: each wraps one control window
// of the template, chosen by its window class and style, and passes clicks
// on along its link word to the next control of a chain.
//
// Virtual operations, in slot order, and what each class answers:
//
//   slot  operation  cDialogControl  cBoolControl  cButton  cIntControl  cTextControl  cEditText  cRadioGroup
//   0     destructor
//   1     isEnabled  window enabled                                                                group flag
//   2     link       the link word                                                                 selected button's
//   3     kind       0               1             2        3            5             4          8
//   4     enable     enable window                                                                 every button, flag 1
//   5     disable    disable window                                                                every button, flag 0
//   6     hasId      id equal                                                                      any button's
//   7     getValue   -               check state   same     selection    -             -          selected index
//   8     setValue   -               check         same     select       -             -          check v, uncheck others
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/editrule.h"
#include "engine/gadget.h"
#include "graphics/wingdib.h"
#include "shell/core/liveobjects.h"

// One child window of a dialog as the framework sees it. The desktop layer
// wraps a real control; the headless layer keeps the state in memory. Texts
// are Windows-1252 bytes.
class cControlWindow {
 public:
  virtual ~cControlWindow() = default;

  virtual int id() const = 0;
  // "Button", "Edit", "Static", "ComboBox", "ListBox", ...
  virtual std::string className() const = 0;
  virtual uint32_t style() const = 0;
  virtual void addStyle(uint32_t bits) = 0;
  // The template's help id; our templates name the control a click passes on to.
  virtual uint32_t helpId() const = 0;

  virtual std::string text() const = 0;
  // An edit field reports the change (notification 768), as Windows does.
  virtual void setText(const std::string& text) = 0;
  // Multi-line edit fields: the text with "\r\r\n" where the field wraps a
  // line by itself; other controls: the text.
  virtual std::string textWithSoftBreaks() const { return text(); }

  virtual bool isEnabled() const = 0;
  virtual void setEnabled(bool on) = 0;

  // Buttons: 0 unchecked, 1 checked.
  virtual int check() const = 0;
  virtual void setCheck(int state) = 0;

  // Combo boxes and list boxes: the selected entry (-1 none), the entries.
  virtual int selection() const = 0;
  // An index outside the entries selects none.
  virtual void setSelection(int index) = 0;
  virtual int entryCount() const = 0;
  // Appends an entry; its index, or -1 when it cannot be added.
  virtual int addEntry(const std::string& text) = 0;

  virtual void setFocus() = 0;
  virtual void selectAllText() = 0;

  // The client area in pixels (owner-drawn items draw into it).
  virtual cSpriteSize clientSize() const = 0;
  // Owner-drawn items: ask for a new drawing.
  virtual void redraw() = 0;
};

class cDialog;
class cRadioGroup;

class cDialogControl : public cLiveObject {
 public:
  cDialogControl(cControlWindow* window, uint16_t id) : window_(window), id_(id) {}
  virtual ~cDialogControl() = default;
  cDialogControl(const cDialogControl&) = delete;
  cDialogControl& operator=(const cDialogControl&) = delete;

  virtual bool isEnabled() const;
  virtual cDialogControl* link() const { return link_; }
  virtual int kind() const { return 0; }
  virtual void enable();
  virtual void disable();
  virtual bool hasId(uint16_t id) const { return id == id_; }
  virtual int getValue() const { return 0; }
  virtual void setValue(int) {}

  cControlWindow* window() const { return window_; }
  uint16_t id() const { return id_; }
  void setLink(cDialogControl* next) { link_ = next; }

 protected:
  cControlWindow* window_;  // null for a radio group
  uint16_t id_;
  cDialogControl* link_ = nullptr;
};

// A check box, or a radio button (then it belongs to a group).
class cBoolControl : public cDialogControl {
 public:
  using cDialogControl::cDialogControl;
  int kind() const override { return 1; }
  int getValue() const override;
  void setValue(int v) override;

  cRadioGroup* group = nullptr;
};

class cButton : public cBoolControl {
 public:
  using cBoolControl::cBoolControl;
  int kind() const override { return 2; }

  cDialogHook clickRoutine = nullptr;
};

// A combo box: its value is the selected entry. When the box selects
// nothing (its list is empty, or the value was not one of its entries) it
// keeps the value it was given, so that opening a dialog and pressing OK
// never changes a setting by itself.
class cIntControl : public cDialogControl {
 public:
  using cDialogControl::cDialogControl;
  int kind() const override { return 3; }
  int getValue() const override;
  void setValue(int v) override;

 private:
  int given_ = 0;
};

// A static text.
class cTextControl : public cDialogControl {
 public:
  using cDialogControl::cDialogControl;
  int kind() const override { return 5; }

  // The text with soft line breaks made ordinary ones, at most 255 characters.
  std::string getText() const;
  void setText(const std::string& text);
};

// An edit field with the rule of its template text.
class cEditText : public cTextControl {
 public:
  cEditText(cControlWindow* window, uint16_t id, const cEditRule& rule)
      : cTextControl(window, id), rule_(rule) {}
  int kind() const override { return 4; }

  const cEditRule& rule() const { return rule_; }
  // Checks the field's text after a change: a text that passes becomes the
  // last accepted one, any other is replaced by the last accepted text.
  // Returns whether it passed.
  bool validate();
  // What the program puts into the field is what a refused change returns to.
  void setAcceptedText(const std::string& text);
  const std::string& lastAccepted() const { return lastAccepted_; }

  double getReal() const;
  void setReal(double value);

 private:
  cEditRule rule_;
  std::string lastAccepted_;
};

// Radio buttons with the same group key, in template order.
class cRadioGroup : public cDialogControl {
 public:
  explicit cRadioGroup(char key) : cDialogControl(nullptr, 0), key_(key) {}
  bool isEnabled() const override { return enabled_; }
  cDialogControl* link() const override;
  int kind() const override { return 8; }
  void enable() override;
  void disable() override;
  bool hasId(uint16_t id) const override;
  int getValue() const override { return selected_; }
  void setValue(int v) override;

  char key() const { return key_; }
  // Appends a button; the first one of a group starts checked and selected.
  cBoolControl& addButton(cControlWindow* window, uint16_t id);
  const std::vector<std::unique_ptr<cBoolControl>>& buttons() const { return buttons_; }
  // The place of the button with this id, or -1.
  int indexOf(uint16_t id) const;

 private:
  char key_;
  std::vector<std::unique_ptr<cBoolControl>> buttons_;
  int16_t selected_ = -1;
  bool enabled_ = true;
};

// The group key of a radio button's caption: its last character.
char radioGroupKey(const std::string& caption);
