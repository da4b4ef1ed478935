// cDialog: the property dialog of one gadget. It is not written for any
// kind: it wraps every control of the kind's template in a control object
// chosen by the control's window class and style, fills the lists from the
// combo texts, draws the owner-drawn items, and passes every click and
// change to the gadget. The toolkit side (cDialogHost) makes the windows
// from the template, runs the dialog modally and forwards the controls'
// notifications to onCommand.
//
// The gadget sees the controls by class and number (cGadgetDialog): choice
// control i is the i-th radio group, number control i the i-th combo box,
// on/off control i the i-th check box and text control i the i-th edit
// field, each counted in ascending item id; a radio group counts at the id
// of its first button. The templates follow this (resources/dialogs/).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialogcontrols.h"
#include "dialogs/dialogpictures.h"
#include "engine/gadget.h"
#include "engine/gadgetdialog.h"
#include "shell/core/liveobjects.h"

// Item ids the framework knows.
enum : int {
  kItemOk = 1,
  kItemCancel = 2,
  kItemPicture = 102,
  kItemHelpText = 103,
  kItemHelpToggle = 150,
  kItemProgress = 160,
  kFirstScannedItem = 1,
  kLastScannedItem = 169,
  kLastRoutedCommand = 255,
  kCommandInitialised = 253,
};

// Notifications as the controls report them.
enum : int {
  kNotifyClicked = 0,
  kNotifyComboFocus = 3,
  kNotifyEditChanged = 768,
};

// What the framework needs of the toolkit's dialog window.
class cDialogHost {
 public:
  virtual ~cDialogHost() = default;
  // The control with this id, or null.
  virtual cControlWindow* item(int id) = 0;
  // Where the item lies in the dialog's client area, in pixels.
  virtual cWinRect itemRect(int id) = 0;
  // Delivers the command to onCommand once the toolkit has handled what it has waiting.
  virtual void postCommand(int command) = 0;
  virtual void endDialog(int result) = 0;
};

class cDialog : public cGadgetDialog, public cLiveObject {
 public:
  // The dialog of the gadget; its template is the kind's text number.
  cDialog(cGadget& gadget, cPreviewCallback changeRoutine);
  ~cDialog() override;
  cDialog(const cDialog&) = delete;
  cDialog& operator=(const cDialog&) = delete;

  uint16_t templateId() const { return static_cast<uint16_t>(gadget_.textNumber); }
  cGadget& gadget() { return gadget_; }

  // Builds the control objects once the host has made the windows, and
  // hands the settings to them (the dialog's initialisation).
  void initDialog(cDialogHost& host);
  // A command from a control (id, notification). False: not the dialog's
  // business; the toolkit does what it does by default.
  bool onCommand(int id, int notification);

  bool initialised() const { return initialised_; }
  // 1 after OK, 2 after Cancel, 0 while open.
  int result() const { return result_; }

  // The control object of an id: push buttons, combo boxes, edit fields,
  // static texts and check boxes, then the radio groups (a group that holds
  // the id selects that button first).
  cDialogControl* findControl(int id);

  // The picture of an owner-drawn item (102, 103, 150, 160) at the item's
  // client size, drawn anew; null for other items.
  const CWinGDib* drawItem(int id, bool pressed);

  // The progress bar of item 160, in percent.
  void setProgress(int percent);
  int progress() const { return progress_; }

  const std::vector<std::unique_ptr<cBoolControl>>& checkBoxes() const { return checks_; }
  const std::vector<std::unique_ptr<cButton>>& pushButtons() const { return buttons_; }
  const std::vector<std::unique_ptr<cRadioGroup>>& radioGroups() const { return radios_; }
  const std::vector<std::unique_ptr<cIntControl>>& comboBoxes() const { return combos_; }
  const std::vector<std::unique_ptr<cEditText>>& editFields() const { return edits_; }
  const std::vector<std::unique_ptr<cTextControl>>& staticTexts() const { return statics_; }
  cDialogGadgetGraphic* gadgetGraphic() const { return graphic_.get(); }
  cDialogDocItem* helpItem() const { return help_.get(); }

  // ---- cGadgetDialog ----
  bool hasChoice(int i) const override;
  int choice(int i) const override;
  void setChoice(int i, int value) override;
  bool hasNumber(int i) const override;
  int32_t number(int i) const override;
  void setNumber(int i, int32_t value) override;
  bool hasOnOff(int i) const override;
  bool onOff(int i) const override;
  void setOnOff(int i, bool on) override;
  bool hasText(int i) const override;
  std::string text(int i) const override;
  void setText(int i, const std::string& text) override;
  void attachHook(int control, cDialogHook hook) override;
  void redrawGadgetPicture() override;

 private:
  void buildControl(cControlWindow& window);
  void buildOwnerDrawn(cControlWindow& window);
  void linkControls();
  void fillCombos();
  void runChain(cDialogControl* start);
  void validateEdit(cEditText& edit);
  void redraw(int id);
  // The control object of an id without selecting anything (links).
  cDialogControl* controlOf(int id) const;

  cGadget& gadget_;
  cPreviewCallback changeRoutine_;
  cDialogHost* host_ = nullptr;
  bool initialised_ = false;
  bool validating_ = false;
  int result_ = 0;

  std::vector<std::unique_ptr<cBoolControl>> checks_;
  std::vector<std::unique_ptr<cButton>> buttons_;
  std::vector<std::unique_ptr<cRadioGroup>> radios_;
  std::vector<std::unique_ptr<cIntControl>> combos_;
  std::vector<std::unique_ptr<cEditText>> edits_;
  std::vector<std::unique_ptr<cTextControl>> statics_;
  bool hasCombos_ = false;

  std::unique_ptr<CWinGDib> picture_;              // 102 "Pic<n>"
  std::unique_ptr<cDialogGadgetGraphic> graphic_;  // 102 "Pic"
  std::unique_ptr<cDialogDocItem> help_;           // 103 with 150
  bool hasProgress_ = false;
  int progress_ = 0;
  std::map<int, std::unique_ptr<CWinGDib>> drawn_;  // what drawItem hands out
};
