#include "shell/core/alert.h"

#include "platform/platform.h"
#include "shell/core/strings.h"

namespace {

cMessageResult ask(std::string text, cMessageButtons buttons, cMessageIcon icon, cModality modality) {
  cMessageRequest box;
  box.text = std::move(text);
  box.buttons = buttons;
  box.icon = icon;
  box.modality = modality;
  return hasPlatform() ? platform().ui().messageBox(box) : cautiousAnswer(buttons);
}

}  // namespace

std::string cAlert::text(int n) { return loadString(static_cast<uint16_t>(kAlertStringBase + n)); }

void cAlert::show(int n) {
  ::ask(text(n), cMessageButtons::ok, cMessageIcon::warning, cModality::application);
}

cMessageResult cAlert::ask(int n) {
  return ::ask(text(n), cMessageButtons::okCancel, cMessageIcon::question, cModality::application);
}

cMessageResult cAlert::askSave(const std::string& name) {
  return ::ask("Gem ændringerne i " + name + "?", cMessageButtons::yesNoCancel, cMessageIcon::question,
               cModality::task);
}
