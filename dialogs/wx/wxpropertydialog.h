// The property dialog of a gadget on the desktop: the kind's template made
// into real controls, and the framework's cDialog behind them. The toolkit
// only reports what the user does and paints what the framework draws.
#pragma once

#include <map>
#include <memory>
#include <optional>

#include "dialogs/dialog.h"
#include "dialogs/wx/wxtemplatedialog.h"

class CPropertyDialog : public CTemplateDialog, public cDialogHost {
 public:
  CPropertyDialog(wxWindow* parent, const cDialogTemplate& dialogTemplate, cGadget& gadget);
  ~CPropertyDialog() override;

  cDialog& dialog() { return *dialog_; }
  // Opens the dialog modally: 1 after OK, 2 after Cancel.
  int run();

  // ---- cDialogHost ----
  cControlWindow* item(int id) override;
  cWinRect itemRect(int id) override;
  void postCommand(int command) override;
  void endDialog(int result) override;

 protected:
  void onControlCommand(int id, int notification) override;
  // Property dialogs group radio buttons by the last character of their caption.
  std::string radioGroupKey(const cDialogItemTemplate& item, int groupNumber) const override;
  wxWindow* makeOwnerDrawn(const cDialogItemTemplate& item, const wxRect& rect) override;

 private:
  std::unique_ptr<cDialog> dialog_;
  std::map<int, std::unique_ptr<cControlWindow>> windows_;
  bool initialised_ = false;
};

// Template `id` of the program's own module, or nothing.
std::optional<cDialogTemplate> ownDialogTemplate(uint16_t id);
// The gadget's property dialog (its kind's template): 1 after OK, 2 after
// Cancel, 0 when the program has no template for the kind.
int runPropertyDialog(wxWindow* parent, cGadget& gadget);
// Dialog 100 "Om Zanbel", its text field filled with the credits (1020/10000
// of the program's own module).
void showAboutBox(wxWindow* parent);
