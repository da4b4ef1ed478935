// What the program asks of the user through the platform: message boxes and
// the open and save file dialogs. Core code calls this facade and never
// knows which toolkit (or which test script) answers.
//
// Texts are UTF-8 here; callers convert Windows-1252 texts at this edge.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Button sets and results carry the Windows numbers.
enum class cMessageButtons { ok = 0, okCancel = 1, abortRetryIgnore = 2, yesNoCancel = 3, yesNo = 4, retryCancel = 5 };
enum class cMessageIcon { none, information, warning, error, question };
enum class cMessageResult { ok = 1, cancel = 2, abort = 3, retry = 4, ignore = 5, yes = 6, no = 7 };
enum class cModality { application, task, system };

struct cMessageRequest {
  std::string text;
  std::string caption = "Zanbel";
  cMessageButtons buttons = cMessageButtons::ok;
  cMessageIcon icon = cMessageIcon::none;
  cModality modality = cModality::application;
};

struct cFileFilter {
  std::string description;           // "Zanbel-opfindelser (*.wgt)"
  std::vector<std::string> patterns; // {"*.wgt"}; matched without regard to case
};

struct cFileDialogRequest {
  bool save = false;
  std::string title;
  std::string initialFolder;
  std::string initialName;
  std::vector<cFileFilter> filters;
  std::string defaultExtension;      // without the dot
  bool askOverwrite = true;          // save dialogs only
};

class cUserInterface {
 public:
  virtual ~cUserInterface() = default;
  virtual cMessageResult messageBox(const cMessageRequest& request) = 0;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> fileDialog(const cFileDialogRequest& request) = 0;
};

// The answer a box gives when nobody can be asked: the button that changes nothing.
cMessageResult cautiousAnswer(cMessageButtons buttons);
