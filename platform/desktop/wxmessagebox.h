// Message boxes: the Windows button sets with their answers, and Danish
// labels ("OK", "Annuller", "Afbryd", "Prøv igen", "Ignorer", "Ja", "Nej").
#pragma once

#include <wx/dialog.h>

#include <optional>
#include <vector>

#include "platform/userinterface.h"

class wxButton;

// One button of a set: the answer it gives and its label (with its mnemonic).
struct cMessageButton {
  cMessageResult result;
  const char* label;
};

// The buttons of a set, left to right; the first is the default.
std::vector<cMessageButton> messageButtons(cMessageButtons buttons);
// What Escape and the window's close box answer; nothing for Yes/No and
// Abort/Retry/Ignore, which have to be answered with a button.
std::optional<cMessageResult> escapeAnswer(cMessageButtons buttons);

class CMessageBox : public wxDialog {
 public:
  CMessageBox(wxWindow* parent, const cMessageRequest& request);

  // The button that gives this answer, or null when the set has none.
  wxButton* buttonFor(cMessageResult result) const;
  // The answer of the button the dialog was ended with.
  static std::optional<cMessageResult> answerOf(int returnCode);

 private:
  void onButton(wxCommandEvent& event);
  void onClose(wxCloseEvent& event);

  cMessageButtons buttons_;
};

// Shows the box modally over the program's windows and returns the answer.
cMessageResult showMessageBox(const cMessageRequest& request);
// Where no window can be shown: the text on standard error, and the answer
// that changes nothing.
cMessageResult messageBoxWithoutWindows(const cMessageRequest& request);
