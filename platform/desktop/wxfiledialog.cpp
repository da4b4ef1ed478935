#include "platform/desktop/wxfiledialog.h"

#include <wx/filedlg.h>

#include <dlfcn.h>
#include <sys/stat.h>

#include "platform/desktop/wxmessagebox.h"

std::string anyCasePattern(const std::string& pattern) {
  std::string out;
  for (char c : pattern) {
    const bool lower = c >= 'a' && c <= 'z';
    const bool upper = c >= 'A' && c <= 'Z';
    if (!lower && !upper) {
      out += c;
      continue;
    }
    const char small = lower ? c : static_cast<char>(c - 'A' + 'a');
    out += '[';
    out += small;
    out += static_cast<char>(small - 'a' + 'A');
    out += ']';
  }
  return out;
}

wxString wildcardFor(const std::vector<cFileFilter>& filters) {
  wxString wildcard;
  for (const cFileFilter& filter : filters) {
    wxString patterns;
    for (const std::string& p : filter.patterns) {
      if (!patterns.empty()) patterns += ';';
      patterns += wxString::FromUTF8(p);
      const std::string any = anyCasePattern(p);
      if (any != p) patterns += ';' + wxString::FromUTF8(any);
    }
    if (patterns.empty()) patterns = "*";
    if (!wildcard.empty()) wildcard += '|';
    wildcard += wxString::FromUTF8(filter.description) + '|' + patterns;
  }
  return wildcard;
}

std::string withDefaultExtension(const std::string& path, const std::string& extension) {
  if (extension.empty()) return path;
  const size_t slash = path.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.rfind('.');
  // A leading dot (".profile") makes a hidden name, not an extension.
  if (dot != std::string::npos && dot > nameStart) return path;
  return path + "." + extension;
}

namespace {

// wx gives the chooser's two buttons its own English labels, and has no
// Danish translation on this system; the chooser's other texts are GTK's,
// which follow the language of the program. The two GTK calls are taken
// from the library wx already uses.
void relabelButtons(wxFileDialog& dialog, bool save) {
  using cResponseWidget = void* (*)(void*, int);
  using cSetLabel = void (*)(void*, const char*);
  static const auto widgetFor =
      reinterpret_cast<cResponseWidget>(dlsym(RTLD_DEFAULT, "gtk_dialog_get_widget_for_response"));
  static const auto setLabel = reinterpret_cast<cSetLabel>(dlsym(RTLD_DEFAULT, "gtk_button_set_label"));
  void* widget = dialog.GetHandle();
  if (!widgetFor || !setLabel || !widget) return;
  constexpr int kAccept = -3, kCancel = -6;  // GTK_RESPONSE_ACCEPT, GTK_RESPONSE_CANCEL
  if (void* button = widgetFor(widget, kCancel)) setLabel(button, "_Annuller");
  if (void* button = widgetFor(widget, kAccept)) setLabel(button, save ? "_Gem" : "_Åbn");
}

bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

}  // namespace

std::optional<std::string> showFileDialog(const cFileDialogRequest& request) {
  long style = request.save ? wxFD_SAVE : wxFD_OPEN | wxFD_FILE_MUST_EXIST;
  if (request.save && request.askOverwrite) style |= wxFD_OVERWRITE_PROMPT;
  const std::string title = !request.title.empty() ? request.title : request.save ? "Gem som" : "Åbn";
  wxFileDialog dialog(nullptr, wxString::FromUTF8(title), wxString::FromUTF8(request.initialFolder),
                      wxString::FromUTF8(request.initialName), wildcardFor(request.filters), style);
  relabelButtons(dialog, request.save);
  for (;;) {
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    const std::string chosen = dialog.GetPath().utf8_string();
    if (!request.save) return chosen;
    const std::string path = withDefaultExtension(chosen, request.defaultExtension);
    // The chooser asked about the name it was given, not about the one with
    // the extension added.
    if (path == chosen || !request.askOverwrite || !exists(path)) return path;
    cMessageRequest ask;
    ask.text = path.substr(path.rfind('/') + 1) + " findes allerede.\nVil du erstatte den?";
    ask.buttons = cMessageButtons::yesNo;
    ask.icon = cMessageIcon::warning;
    if (showMessageBox(ask) == cMessageResult::yes) return path;
    dialog.SetPath(wxString::FromUTF8(path));
  }
}
