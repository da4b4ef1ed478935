// The numbered alerts: alert n shows the string 8000 + n of the program's own
// resources in a message box captioned "Zanbel".
//
//   1 revert to the saved version?      6 the player template ZANBEL.SLF is missing
//   2 revert to the original puzzle?    7 not an invention file
//   3 a file could not be read          8 not a stand-alone invention
//   4 a file could not be written       9 too little memory for the inventions
//   5 the puzzle file is missing       10 too little memory for the operation
#pragma once

#include <string>

#include "platform/userinterface.h"
#include "shell/core/liveobjects.h"

inline constexpr int kAlertStringBase = 8000;

class cAlert : cLiveObject {
 public:
  // The text of alert n.
  static std::string text(int n);
  // Alert n with OK only.
  void show(int n);
  // Alert n with OK and Cancel; returns the button.
  cMessageResult ask(int n);
  // "Gem ændringerne i NAME?" with Yes, No and Cancel, task-modal.
  cMessageResult askSave(const std::string& name);
};
