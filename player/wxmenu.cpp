#include "player/wxmenu.h"

#include <wx/menu.h>

namespace {

void fill(wxMenu& menu, const std::vector<cMenuItem>& items) {
  for (const cMenuItem& item : items) {
    const wxString text = wxString::FromUTF8(item.text);
    if (item.separator) {
      menu.AppendSeparator();
    } else if (item.popup) {
      auto* sub = new wxMenu;
      fill(*sub, item.items);
      menu.AppendSubMenu(sub, text);
    } else {
      wxMenuItem* added = menu.Append(menuItemId(item.command), text);
      if (item.checked) {
        added->SetCheckable(true);
        added->Check(true);
      }
      if (item.greyed) added->Enable(false);
    }
  }
}

}  // namespace

wxMenuBar* makeMenuBar(const std::vector<cMenuItem>& items) {
  auto* bar = new wxMenuBar;
  for (const cMenuItem& item : items) {
    auto* menu = new wxMenu;
    fill(*menu, item.items);
    bar->Append(menu, wxString::FromUTF8(item.text));
  }
  return bar;
}
