// A wxWidgets dialog made from a dialog template, as Windows makes one: every
// control of the template becomes the toolkit's control for its window
// class and style, at its place in dialog units of the template's font.
// Controls keep their template ids as window ids; labels without an id get
// one of the toolkit's own.
#pragma once

#include <wx/dialog.h>

#include <map>
#include <string>
#include <vector>

#include "dialogs/dialogtemplate.h"

class wxRadioButton;

// What a control of the template became.
enum class cWxControlKind {
  pushButton, checkBox, radioButton, groupBox, ownerDrawn, edit, label, choice, comboBox, listBox, other
};
cWxControlKind wxControlKindOf(const cDialogItemTemplate& item);

class CTemplateDialog : public wxDialog {
 public:
  CTemplateDialog(wxWindow* parent, const cDialogTemplate& dialogTemplate);

  const cDialogTemplate& dialogTemplate() const { return template_; }
  const cDialogBaseUnits& baseUnits() const { return base_; }
  // The control of a template id, or null.
  wxWindow* control(int id) const;
  const cDialogItemTemplate* itemOf(int id) const;

  // A radio button of a group can be left with none checked: the group's
  // hidden button takes the check.
  void uncheckRadio(wxRadioButton* button);

  // The dialog's typeface mapped to a font of this system.
  static wxString systemTypeface(const std::string& typeface);

  // Makes the controls. Subclasses call it from their constructor, so that
  // their overrides below take part; others call it once after construction.
  void buildControls();

  // Gives a control the focus, also before the dialog is shown (the toolkit
  // then picks a control of its own, and this one is given the focus again).
  void focusOn(wxWindow* window);
  wxWindow* focusTarget() const { return focusTarget_; }

  // While an edit field reports a change of its text, it must not be
  // changed itself: GTK is still in the middle of the change.
  bool reportingTextOf(int id) const { return reportingText_ == id; }

 protected:
  // A control reports a command (id, notification): Windows' WM_COMMAND.
  // By default 1 ends the dialog with 1, 2 with 2.
  virtual void onControlCommand(int id, int notification);
  // Radio buttons with the same key are one group. By default groups run
  // from a WS_GROUP control to the next one, as in Windows.
  virtual std::string radioGroupKey(const cDialogItemTemplate& item, int groupNumber) const;
  // Owner-drawn items are made by the subclass; by default an empty window.
  virtual wxWindow* makeOwnerDrawn(const cDialogItemTemplate& item, const wxRect& rect);

 private:
  wxWindow* makeControl(const cDialogItemTemplate& item, const wxRect& rect);
  void makeRadioGroup(const std::vector<const cDialogItemTemplate*>& buttons);
  wxRect pixelRect(const cDialogItemTemplate& item) const;
  void bindEvents(wxWindow* window, const cDialogItemTemplate& item);

  cDialogTemplate template_;
  cDialogBaseUnits base_;
  std::map<int, wxWindow*> controls_;
  std::map<wxWindow*, wxRadioButton*> hiddenOf_;  // radio button -> its group's hidden button
  wxWindow* focusTarget_ = nullptr;
  int reportingText_ = 0;
};

// Texts between the program (Windows-1252, CR LF) and the toolkit.
wxString toWx(const std::string& cp1252);
std::string fromWx(const wxString& text);
