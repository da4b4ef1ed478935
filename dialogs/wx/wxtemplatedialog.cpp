#include "dialogs/wx/wxtemplatedialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <memory>

#include "shell/core/text.h"

namespace {

// Styles of the template's controls, as Windows numbers them.
constexpr uint32_t kEsCenter = 0x0001, kEsRight = 0x0002, kEsMultiLine = 0x0004, kEsReadOnly = 0x0800;
constexpr uint32_t kSsTypeMask = 0x001F, kSsCenter = 0x0001, kSsRight = 0x0002;
constexpr uint32_t kCbsTypeMask = 0x0003, kCbsDropDownList = 0x0003;

}  // namespace

wxString toWx(const std::string& cp1252) {
  std::string utf8 = cp1252ToUtf8(cp1252);
  utf8.erase(std::remove(utf8.begin(), utf8.end(), '\r'), utf8.end());
  return wxString::FromUTF8(utf8.data(), utf8.size());
}

std::string fromWx(const wxString& text) {
  const std::string cp = utf8ToCp1252(text.ToStdString(wxConvUTF8));
  std::string out;
  out.reserve(cp.size());
  for (char c : cp) {
    if (c == '\n') out += '\r';
    if (c != '\r') out += c;
  }
  return out;
}

cWxControlKind wxControlKindOf(const cDialogItemTemplate& item) {
  const std::string& cls = item.className;
  if (isWindowClass(cls, "Button")) {
    switch (item.style & 0xF) {
      case 0: case 1: return cWxControlKind::pushButton;
      case 2: case 3: case 5: case 6: return cWxControlKind::checkBox;
      case 4: case 9: return cWxControlKind::radioButton;
      case 7: return cWxControlKind::groupBox;
      case 11: return cWxControlKind::ownerDrawn;
      default: return cWxControlKind::pushButton;
    }
  }
  if (isWindowClass(cls, "Edit")) return cWxControlKind::edit;
  if (isWindowClass(cls, "Static")) return cWxControlKind::label;
  if (isWindowClass(cls, "ComboBox"))
    return (item.style & kCbsTypeMask) == kCbsDropDownList ? cWxControlKind::choice : cWxControlKind::comboBox;
  if (isWindowClass(cls, "ListBox")) return cWxControlKind::listBox;
  return cWxControlKind::other;
}

wxString CTemplateDialog::systemTypeface(const std::string& typeface) {
  // The Windows faces of our templates have a metric twin here.
  for (const char* windowsFace : {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Helvetica", "Arial", ""})
    if (typeface == windowsFace) return "Liberation Sans";
  return wxString::FromUTF8(typeface.c_str());
}

CTemplateDialog::CTemplateDialog(wxWindow* parent, const cDialogTemplate& dialogTemplate)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(dialogTemplate.title.c_str()), wxDefaultPosition,
               wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      template_(dialogTemplate) {
  // Windows sets "MS Sans Serif" 8 in lines 13 pixels high (at 96 pixels to
  // the inch, with its leading); our face is made as high, so that dialogs
  // have the size they have on Windows.
  const int points = template_.pointSize ? template_.pointSize : 8;
  const int lineHeight = (points * 96 * 6 + 180) / 360;  // points in pixels, and a fifth for the leading
  for (int em = lineHeight - 3; em <= lineHeight + 2; ++em) {
    SetFont(wxFont(wxFontInfo(wxSize(0, em)).FaceName(systemTypeface(template_.typeface)).Bold(template_.weight >= 700)));
    if (GetCharHeight() >= lineHeight) break;
  }
  // The grey of Windows dialogs, which the pictures in them share.
  SetBackgroundColour(wxColour(192, 192, 192));
  int width = 0, height = 0;
  GetTextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", &width, &height);
  base_ = dialogBaseUnits(width, GetCharHeight());
  SetClientSize(dialogXToPixels(template_.cx, base_), dialogYToPixels(template_.cy, base_));
  Centre();

  Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
    if (e.GetKeyCode() == WXK_ESCAPE) onControlCommand(2, 0);
    else e.Skip();
  });
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { onControlCommand(2, 0); });
}

wxRect CTemplateDialog::pixelRect(const cDialogItemTemplate& item) const {
  const cWinRect r = itemPixelRect(item, base_);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::string CTemplateDialog::radioGroupKey(const cDialogItemTemplate&, int groupNumber) const {
  return std::to_string(groupNumber);
}

wxWindow* CTemplateDialog::makeOwnerDrawn(const cDialogItemTemplate& item, const wxRect& rect) {
  return new wxWindow(this, static_cast<int>(item.id), rect.GetPosition(), rect.GetSize());
}

void CTemplateDialog::buildControls() {
  // Radio buttons of one group are made one after the other, with a hidden
  // button of their own at the end: the toolkit groups buttons in the order
  // they are made, and a group always has one button checked.
  std::map<std::string, std::vector<const cDialogItemTemplate*>> groups;
  std::map<const cDialogItemTemplate*, std::string> keyOf;
  int groupNumber = 0;
  for (const cDialogItemTemplate& item : template_.items) {
    if (item.style & kWsGroup) ++groupNumber;
    if (wxControlKindOf(item) != cWxControlKind::radioButton) continue;
    keyOf[&item] = radioGroupKey(item, groupNumber);
    groups[keyOf[&item]].push_back(&item);
  }

  std::vector<wxWindow*> tabOrder;
  for (const cDialogItemTemplate& item : template_.items) {
    if (wxControlKindOf(item) == cWxControlKind::radioButton) {
      auto& group = groups[keyOf[&item]];
      if (group.front() == &item) makeRadioGroup(group);
      if (wxWindow* w = control(static_cast<int>(item.id))) tabOrder.push_back(w);
      continue;
    }
    if (wxWindow* w = makeControl(item, pixelRect(item))) {
      if (item.id >= 1 && item.id <= 0xFFFF) controls_[static_cast<int>(item.id)] = w;
      bindEvents(w, item);
      tabOrder.push_back(w);
    }
  }
  for (size_t i = 1; i < tabOrder.size(); ++i) tabOrder[i]->MoveAfterInTabOrder(tabOrder[i - 1]);
}

namespace {

// GTK draws a check or radio button no lower than its mark: a template row
// lower than that keeps its middle.
void fitToMark(wxWindow* w, const wxRect& r) {
  const int best = w->GetBestSize().GetHeight();
  if (best > r.height) w->SetSize(r.x, r.y - (best - r.height) / 2, r.width, best);
}

}  // namespace

void CTemplateDialog::makeRadioGroup(const std::vector<const cDialogItemTemplate*>& buttons) {
  std::vector<wxRadioButton*> made;
  for (const cDialogItemTemplate* item : buttons) {
    const wxRect r = pixelRect(*item);
    auto* b = new wxRadioButton(this, static_cast<int>(item->id), toWx(utf8ToCp1252(item->text)),
                                r.GetPosition(), r.GetSize(), made.empty() ? wxRB_GROUP : 0);
    if (item->style & kWsDisabled) b->Disable();
    b->SetForegroundColour(*wxBLACK);
    fitToMark(b, r);
    controls_[static_cast<int>(item->id)] = b;
    bindEvents(b, *item);
    made.push_back(b);
  }
  auto* hidden = new wxRadioButton(this, wxID_ANY, "");
  hidden->Hide();
  for (wxRadioButton* b : made) hiddenOf_[b] = hidden;
}

void CTemplateDialog::uncheckRadio(wxRadioButton* button) {
  if (!button->GetValue()) return;
  const auto it = hiddenOf_.find(button);
  if (it != hiddenOf_.end()) it->second->SetValue(true);
}

wxWindow* CTemplateDialog::makeControl(const cDialogItemTemplate& item, const wxRect& rect) {
  const int id = item.id >= 1 && item.id <= 0xFFFF ? static_cast<int>(item.id) : wxID_ANY;
  const wxString text = toWx(utf8ToCp1252(item.text));
  const wxPoint at = rect.GetPosition();
  const wxSize size = rect.GetSize();
  wxWindow* w = nullptr;
  const cWxControlKind kind = wxControlKindOf(item);
  switch (kind) {
    case cWxControlKind::pushButton: {
      auto* b = new wxButton(this, id, text, at, size);
      if ((item.style & 0xF) == 1) b->SetDefault();
      w = b;
      break;
    }
    case cWxControlKind::checkBox:
      w = new wxCheckBox(this, id, text, at, size);
      fitToMark(w, rect);
      break;
    case cWxControlKind::groupBox:
      w = new wxStaticBox(this, wxID_ANY, text, at, size);
      break;
    case cWxControlKind::ownerDrawn:
      w = makeOwnerDrawn(item, rect);
      break;
    case cWxControlKind::edit: {
      long style = 0;
      if (item.style & kEsMultiLine) style |= wxTE_MULTILINE;
      if (item.style & kEsReadOnly) style |= wxTE_READONLY;
      if (item.style & kEsCenter) style |= wxTE_CENTRE;
      else if (item.style & kEsRight) style |= wxTE_RIGHT;
      // The template's text is in the field from the start, as in Windows.
      w = new wxTextCtrl(this, id, text, at, size, style);
      break;
    }
    case cWxControlKind::label: {
      long style = wxST_NO_AUTORESIZE;
      const uint32_t type = item.style & kSsTypeMask;
      if (type == kSsCenter) style |= wxALIGN_CENTRE_HORIZONTAL;
      else if (type == kSsRight) style |= wxALIGN_RIGHT;
      w = new wxStaticText(this, id, text, at, size, style);
      break;
    }
    case cWxControlKind::choice:
      // The template's height includes the dropped-down list.
      w = new wxChoice(this, id, at, wxSize(size.GetWidth(), -1));
      break;
    case cWxControlKind::comboBox:
      w = new wxComboBox(this, id, text, at, wxSize(size.GetWidth(), -1), 0, nullptr, wxCB_DROPDOWN);
      break;
    case cWxControlKind::listBox:
      w = new wxListBox(this, id, at, size);
      break;
    case cWxControlKind::radioButton:
    case cWxControlKind::other:
      break;
  }
  if (w && (item.style & kWsDisabled)) w->Disable();
  if (w && kind != cWxControlKind::edit && kind != cWxControlKind::ownerDrawn) w->SetForegroundColour(*wxBLACK);
  return w;
}

void CTemplateDialog::bindEvents(wxWindow* w, const cDialogItemTemplate& item) {
  if (item.id < 1 || item.id > 0xFFFF) return;
  const int id = static_cast<int>(item.id);
  auto send = [this, id](int notification) {
    return [this, id, notification](wxCommandEvent&) { onControlCommand(id, notification); };
  };
  switch (wxControlKindOf(item)) {
    case cWxControlKind::pushButton: w->Bind(wxEVT_BUTTON, send(0)); break;
    case cWxControlKind::checkBox: w->Bind(wxEVT_CHECKBOX, send(0)); break;
    case cWxControlKind::radioButton: w->Bind(wxEVT_RADIOBUTTON, send(0)); break;
    case cWxControlKind::edit:
      w->Bind(wxEVT_TEXT, [this, id](wxCommandEvent&) {
        const int outer = reportingText_;
        reportingText_ = id;
        onControlCommand(id, 768);
        reportingText_ = outer;
      });
      break;
    case cWxControlKind::choice:
    case cWxControlKind::comboBox: {
      // A list reports that it got the focus (3) before it reports a choice
      // (1). GTK does not give a list the focus when it is clicked, so a
      // choice made without the focus reports the focus first.
      auto focused = std::make_shared<bool>(false);
      auto chosen = [this, id, focused](wxCommandEvent&) {
        if (!*focused) onControlCommand(id, 3);
        onControlCommand(id, 1);
      };
      w->Bind(wxEVT_CHOICE, chosen);
      w->Bind(wxEVT_COMBOBOX, chosen);
      w->Bind(wxEVT_SET_FOCUS, [this, id, focused](wxFocusEvent& e) {
        e.Skip();
        *focused = true;
        onControlCommand(id, 3);
      });
      w->Bind(wxEVT_KILL_FOCUS, [focused](wxFocusEvent& e) {
        e.Skip();
        *focused = false;
      });
      break;
    }
    case cWxControlKind::listBox:
      w->Bind(wxEVT_LISTBOX, send(1));
      w->Bind(wxEVT_LISTBOX_DCLICK, send(2));
      break;
    default:
      break;
  }
}

wxWindow* CTemplateDialog::control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

const cDialogItemTemplate* CTemplateDialog::itemOf(int id) const {
  return template_.item(static_cast<uint32_t>(id));
}

void CTemplateDialog::focusOn(wxWindow* window) {
  focusTarget_ = window;
  // GTK selects an edit field's whole text whenever the field is given the
  // focus, also when it has it already; Windows changes nothing then.
  if (window && FindFocus() != window) window->SetFocus();
}

void CTemplateDialog::onControlCommand(int id, int) {
  if ((id == 1 || id == 2) && IsModal()) EndModal(id);
}
