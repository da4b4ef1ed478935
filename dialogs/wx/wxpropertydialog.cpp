#include "dialogs/wx/wxpropertydialog.h"

#include <wx/checkbox.h>
#include <wx/ctrlsub.h>
#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "graphics/wingdib.h"
#include "platform/desktop/wxview.h"
#include "shell/core/resources.h"
#include "shell/core/text.h"

namespace {

constexpr uint16_t kCreditsText = 10000;
constexpr uint16_t kAboutDialog = 100;
constexpr int kAboutTextItem = 101;

// One control of the dialog as the framework sees it.
class cWxControlWindow : public cControlWindow {
 public:
  cWxControlWindow(CTemplateDialog& owner, wxWindow& window, const cDialogItemTemplate& item)
      : owner_(owner), window_(window), item_(item), style_(item.style) {}

  int id() const override { return static_cast<int>(item_.id); }
  std::string className() const override { return item_.className; }
  uint32_t style() const override { return style_; }
  void addStyle(uint32_t bits) override { style_ |= bits; }
  uint32_t helpId() const override { return item_.helpId; }

  std::string text() const override {
    if (pending_) return *pending_;
    if (auto* t = dynamic_cast<wxTextCtrl*>(&window_)) return fromWx(t->GetValue());
    if (auto* c = dynamic_cast<wxItemContainerImmutable*>(&window_)) return fromWx(c->GetStringSelection());
    return fromWx(window_.GetLabel());
  }
  void setText(const std::string& text) override {
    if (auto* t = dynamic_cast<wxTextCtrl*>(&window_)) {
      if (owner_.reportingTextOf(id())) {
        // A change refused while GTK makes it: put the old text back right
        // after, with the cursor where it was before the refused typing.
        const long typed = t->GetLastPosition() - static_cast<long>(toWx(text).length());
        const long caret = std::clamp(t->GetInsertionPoint() - typed, 0L, static_cast<long>(toWx(text).length()));
        pending_ = text;
        owner_.CallAfter([this, t, caret] {
          if (!pending_) return;
          const std::string put = *pending_;
          pending_.reset();
          t->SetValue(toWx(put));
          t->SetInsertionPoint(caret);
        });
        return;
      }
      t->SetValue(toWx(text));  // reports the change, as an edit field does
      t->SetInsertionPointEnd();
    } else {
      window_.SetLabel(toWx(text));
      window_.Refresh();
    }
  }
  std::string textWithSoftBreaks() const override {
    auto* t = dynamic_cast<wxTextCtrl*>(&window_);
    if (!t || !t->IsMultiLine()) return text();
    // Where a character starts a new row without a line break before it,
    // the field wrapped the line by itself.
    const wxString value = t->GetValue();
    wxString marked;
    int row = -1;
    for (size_t i = 0; i < value.length(); ++i) {
      const wxPoint at = t->PositionToCoords(static_cast<long>(i));
      if (at != wxDefaultPosition) {
        if (row >= 0 && at.y > row && i > 0 && value[i - 1] != '\n' && value[i] != '\n') marked += "\r\r\n";
        row = at.y;
      }
      marked += value[i];
    }
    std::string out = utf8ToCp1252(marked.ToStdString(wxConvUTF8));
    std::string withCrLf;
    for (size_t i = 0; i < out.size(); ++i) {
      if (out[i] == '\n' && (i == 0 || out[i - 1] != '\r')) withCrLf += '\r';
      withCrLf += out[i];
    }
    return withCrLf;
  }

  bool isEnabled() const override { return window_.IsEnabled(); }
  void setEnabled(bool on) override { window_.Enable(on); }

  int check() const override {
    if (auto* c = dynamic_cast<wxCheckBox*>(&window_)) return c->GetValue() ? 1 : 0;
    if (auto* r = dynamic_cast<wxRadioButton*>(&window_)) return r->GetValue() ? 1 : 0;
    return 0;
  }
  void setCheck(int state) override {
    if (auto* c = dynamic_cast<wxCheckBox*>(&window_)) c->SetValue(state != 0);
    if (auto* r = dynamic_cast<wxRadioButton*>(&window_)) {
      if (state) r->SetValue(true);
      else owner_.uncheckRadio(r);
    }
  }

  int selection() const override {
    auto* c = dynamic_cast<wxItemContainerImmutable*>(&window_);
    return c ? c->GetSelection() : -1;
  }
  void setSelection(int index) override {
    if (auto* c = dynamic_cast<wxItemContainerImmutable*>(&window_))
      c->SetSelection(index >= 0 && index < static_cast<int>(c->GetCount()) ? index : wxNOT_FOUND);
  }
  int entryCount() const override {
    auto* c = dynamic_cast<wxItemContainerImmutable*>(&window_);
    return c ? static_cast<int>(c->GetCount()) : 0;
  }
  int addEntry(const std::string& text) override {
    auto* c = dynamic_cast<wxItemContainer*>(&window_);
    return c ? c->Append(toWx(text)) : -1;
  }

  void setFocus() override { owner_.focusOn(&window_); }
  void selectAllText() override {
    if (auto* t = dynamic_cast<wxTextCtrl*>(&window_)) t->SelectAll();
  }
  cSpriteSize clientSize() const override {
    const wxSize s = window_.GetClientSize();
    return {s.GetWidth(), s.GetHeight()};
  }
  void redraw() override { window_.Refresh(false); }

 private:
  CTemplateDialog& owner_;
  wxWindow& window_;
  const cDialogItemTemplate& item_;
  uint32_t style_;
  std::optional<std::string> pending_;  // a text to put back once GTK is done
};

// The surface through the program's colours into a bitmap.
wxBitmap bitmapOf(const CWinGDib& surface) {
  wxImage image(surface.width(), surface.height(), false);
  convertToRgb(surface.topRowAddress(), surface.rowStride(), surface.width(), surface.height(),
               surface.colourTable(), image.GetData(), surface.width() * 3, cRgbLayout{});
  return wxBitmap(image);
}

}  // namespace

// An owner-drawn button: the framework draws it, a click is a command.
class COwnerDrawnItem : public wxWindow {
 public:
  COwnerDrawnItem(CPropertyDialog& owner, int id, const wxRect& rect, bool tabStop, std::function<void()> click)
      : wxWindow(&owner, id, rect.GetPosition(), rect.GetSize(), wxFULL_REPAINT_ON_RESIZE),
        owner_(owner),
        click_(std::move(click)),
        tabStop_(tabStop) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &COwnerDrawnItem::onPaint, this);
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) {
      pressed_ = true;
      if (tabStop_) SetFocus();
      CaptureMouse();
      Refresh(false);
    });
    Bind(wxEVT_MOTION, [this](wxMouseEvent& e) {
      if (!HasCapture()) return;
      const bool inside = GetClientRect().Contains(e.GetPosition());
      if (inside != pressed_) {
        pressed_ = inside;
        Refresh(false);
      }
    });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) {
      if (!HasCapture()) return;
      ReleaseMouse();
      const bool clicked = pressed_;
      pressed_ = false;
      Refresh(false);
      if (clicked) click_();
    });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
      pressed_ = false;
      Refresh(false);
    });
    Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& e) {
      if (e.GetKeyCode() == WXK_SPACE) click_();
      else e.Skip();
    });
  }

  bool AcceptsFocus() const override { return tabStop_; }

 private:
  void onPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const CWinGDib* picture = owner_.dialog().drawItem(GetId(), pressed_);
    if (!picture) {
      dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
      dc.Clear();
      return;
    }
    dc.DrawBitmap(bitmapOf(*picture), 0, 0);
  }

  CPropertyDialog& owner_;
  std::function<void()> click_;
  bool tabStop_;
  bool pressed_ = false;
};

CPropertyDialog::CPropertyDialog(wxWindow* parent, const cDialogTemplate& dialogTemplate, cGadget& gadget)
    : CTemplateDialog(parent, dialogTemplate),
      dialog_(std::make_unique<cDialog>(gadget, gadget.previewCallback)) {
  buildControls();
  for (const cDialogItemTemplate& item : this->dialogTemplate().items) {
    if (item.id < 1 || item.id > 0xFFFF) continue;
    if (wxWindow* w = control(static_cast<int>(item.id)))
      windows_[static_cast<int>(item.id)] = std::make_unique<cWxControlWindow>(*this, *w, item);
  }
}

CPropertyDialog::~CPropertyDialog() = default;

std::string CPropertyDialog::radioGroupKey(const cDialogItemTemplate& item, int) const {
  const std::string caption = utf8ToCp1252(item.text);
  return std::string(1, ::radioGroupKey(caption));
}

wxWindow* CPropertyDialog::makeOwnerDrawn(const cDialogItemTemplate& item, const wxRect& rect) {
  const int id = static_cast<int>(item.id);
  return new COwnerDrawnItem(*this, id, rect, (item.style & kWsTabStop) != 0,
                             [this, id] { onControlCommand(id, 0); });
}

int CPropertyDialog::run() {
  dialog_->initDialog(*this);
  // The toolkit gives the focus to a control of its choice when the dialog
  // appears; the framework's choice wins.
  wxWindow* focus = focusTarget();
  const bool selectAll = dynamic_cast<wxTextCtrl*>(focus) != nullptr;
  CallAfter([focus, selectAll] {
    if (!focus) return;
    focus->SetFocus();
    if (selectAll) static_cast<wxTextCtrl*>(focus)->SelectAll();
  });
  return ShowModal();
}

cControlWindow* CPropertyDialog::item(int id) {
  const auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : it->second.get();
}

cWinRect CPropertyDialog::itemRect(int id) {
  const wxWindow* w = control(id);
  if (!w) return {};
  const wxRect r = w->GetRect();
  return {r.x, r.y, r.x + r.width, r.y + r.height};
}

void CPropertyDialog::postCommand(int command) {
  CallAfter([this, command] { dialog_->onCommand(command, 0); });
}

void CPropertyDialog::endDialog(int result) {
  if (IsModal()) EndModal(result);
  else SetReturnCode(result);
}

void CPropertyDialog::onControlCommand(int id, int notification) {
  if (dialog_) dialog_->onCommand(id, notification);
}

std::optional<cDialogTemplate> ownDialogTemplate(uint16_t id) {
  cResourceModule* own = resourceLibraries().own();
  if (!own) return std::nullopt;
  const auto bytes = own->find(kDialogResourceType, id);
  if (!bytes) return std::nullopt;
  return parseDialogTemplate(*bytes);
}

int runPropertyDialog(wxWindow* parent, cGadget& gadget) {
  const auto t = ownDialogTemplate(static_cast<uint16_t>(gadget.textNumber));
  if (!t) return 0;
  CPropertyDialog dialog(parent, *t, gadget);
  return dialog.run();
}

void showAboutBox(wxWindow* parent) {
  const auto t = ownDialogTemplate(kAboutDialog);
  if (!t) return;
  CTemplateDialog about(parent, *t);
  about.buildControls();
  if (auto* text = dynamic_cast<wxTextCtrl*>(about.control(kAboutTextItem))) {
    std::string credits;
    if (cResourceModule* own = resourceLibraries().own())
      if (const auto bytes = own->find(1020, kCreditsText)) {
        const char* p = reinterpret_cast<const char*>(bytes->data());
        credits.assign(p, strnlen(p, bytes->size()));
      }
    text->ChangeValue(toWx(credits));
    text->SetInsertionPoint(0);
  }
  about.ShowModal();
}
