// Open and save dialogs: the toolkit's file chooser, with our filters
// matched in any letter case (".wgt", ".WGT" and ".Wgt" alike) and Danish
// buttons.
#pragma once

#include <wx/string.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/userinterface.h"

// "*.wgt" as a pattern that matches the same names in any letter case:
// "*.[wW][gG][tT]". Only ASCII letters have two cases here.
std::string anyCasePattern(const std::string& pattern);

// The filter list as wx takes it ("description|patterns|..."); every pattern
// is given as it is first (wx takes the first one for the extension it adds)
// and then in its any-case form.
wxString wildcardFor(const std::vector<cFileFilter>& filters);

// The name with the default extension added when its last part has none.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

// Shows the dialog modally; the chosen path (UTF-8), or nothing when the
// user cancelled.
std::optional<std::string> showFileDialog(const cFileDialogRequest& request);
