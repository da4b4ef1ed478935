#include "platform/desktop/wxmessagebox.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <cstdio>

namespace {

struct cAnswerId {
  cMessageResult result;
  int id;
};

constexpr cAnswerId kAnswerIds[] = {
    {cMessageResult::ok, wxID_OK},         {cMessageResult::cancel, wxID_CANCEL},
    {cMessageResult::abort, wxID_ABORT},   {cMessageResult::retry, wxID_RETRY},
    {cMessageResult::ignore, wxID_IGNORE}, {cMessageResult::yes, wxID_YES},
    {cMessageResult::no, wxID_NO},
};

int idOf(cMessageResult result) {
  for (const cAnswerId& a : kAnswerIds)
    if (a.result == result) return a.id;
  return wxID_NONE;
}

wxArtID artOf(cMessageIcon icon) {
  switch (icon) {
    case cMessageIcon::information: return wxART_INFORMATION;
    case cMessageIcon::warning: return wxART_WARNING;
    case cMessageIcon::error: return wxART_ERROR;
    case cMessageIcon::question: return wxART_QUESTION;
    case cMessageIcon::none: break;
  }
  return wxArtID();
}

}  // namespace

std::vector<cMessageButton> messageButtons(cMessageButtons buttons) {
  const cMessageButton ok{cMessageResult::ok, "OK"};
  const cMessageButton cancel{cMessageResult::cancel, "Annuller"};
  const cMessageButton yes{cMessageResult::yes, "&Ja"};
  const cMessageButton no{cMessageResult::no, "&Nej"};
  const cMessageButton retry{cMessageResult::retry, "&Prøv igen"};
  switch (buttons) {
    case cMessageButtons::ok: return {ok};
    case cMessageButtons::okCancel: return {ok, cancel};
    case cMessageButtons::abortRetryIgnore:
      return {{cMessageResult::abort, "&Afbryd"}, retry, {cMessageResult::ignore, "&Ignorer"}};
    case cMessageButtons::yesNoCancel: return {yes, no, cancel};
    case cMessageButtons::yesNo: return {yes, no};
    case cMessageButtons::retryCancel: return {retry, cancel};
  }
  return {ok};
}

std::optional<cMessageResult> escapeAnswer(cMessageButtons buttons) {
  switch (buttons) {
    case cMessageButtons::ok: return cMessageResult::ok;
    case cMessageButtons::okCancel:
    case cMessageButtons::yesNoCancel:
    case cMessageButtons::retryCancel: return cMessageResult::cancel;
    case cMessageButtons::abortRetryIgnore:
    case cMessageButtons::yesNo: return std::nullopt;
  }
  return std::nullopt;
}

CMessageBox::CMessageBox(wxWindow* parent, const cMessageRequest& request)
    : buttons_(request.buttons) {
  const std::optional<cMessageResult> escape = escapeAnswer(request.buttons);
  long style = wxCAPTION | wxSYSTEM_MENU;
  if (escape) style |= wxCLOSE_BOX;
  if (request.modality == cModality::system) style |= wxSTAY_ON_TOP;
  Create(parent, wxID_ANY, wxString::FromUTF8(request.caption), wxDefaultPosition, wxDefaultSize, style);

  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* message = new wxBoxSizer(wxHORIZONTAL);
  const wxArtID art = artOf(request.icon);
  if (!art.empty()) {
    const wxBitmap icon = wxArtProvider::GetBitmap(art, wxART_MESSAGE_BOX);
    if (icon.IsOk()) message->Add(new wxStaticBitmap(this, wxID_ANY, icon), 0, wxALL, 12);
  }
  // The text is shown as it is: an "&" in it is no mnemonic.
  auto* text = new wxStaticText(this, wxID_ANY, wxControl::EscapeMnemonics(wxString::FromUTF8(request.text)));
  // Wide enough for the program's own lines; only longer ones are wrapped.
  text->Wrap(FromDIP(640));
  message->Add(text, 1, wxALL | wxALIGN_CENTER_VERTICAL, 12);
  top->Add(message, 1, wxEXPAND);

  auto* row = new wxBoxSizer(wxHORIZONTAL);
  wxButton* first = nullptr;
  for (const cMessageButton& b : messageButtons(request.buttons)) {
    auto* button = new wxButton(this, idOf(b.result), wxString::FromUTF8(b.label));
    button->SetMinSize(wxSize(FromDIP(88), -1));
    row->Add(button, 0, wxLEFT | wxRIGHT, 4);
    if (!first) first = button;
  }
  top->Add(row, 0, wxALIGN_CENTER | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(top);

  SetEscapeId(escape ? idOf(*escape) : wxID_NONE);
  SetAffirmativeId(wxID_NONE);
  first->SetDefault();
  first->SetFocus();
  Bind(wxEVT_BUTTON, &CMessageBox::onButton, this);
  Bind(wxEVT_CLOSE_WINDOW, &CMessageBox::onClose, this);
  Centre();
}

wxButton* CMessageBox::buttonFor(cMessageResult result) const {
  return dynamic_cast<wxButton*>(FindWindow(idOf(result)));
}

std::optional<cMessageResult> CMessageBox::answerOf(int returnCode) {
  for (const cAnswerId& a : kAnswerIds)
    if (a.id == returnCode) return a.result;
  return std::nullopt;
}

void CMessageBox::onButton(wxCommandEvent& event) {
  if (answerOf(event.GetId()) && IsModal()) EndModal(event.GetId());
}

void CMessageBox::onClose(wxCloseEvent& event) {
  const std::optional<cMessageResult> escape = escapeAnswer(buttons_);
  if (escape && IsModal()) {
    EndModal(idOf(*escape));
    return;
  }
  if (event.CanVeto()) event.Veto();
}

cMessageResult showMessageBox(const cMessageRequest& request) {
  CMessageBox box(nullptr, request);
  const std::optional<cMessageResult> answer = CMessageBox::answerOf(box.ShowModal());
  return answer ? *answer : cautiousAnswer(request.buttons);
}

cMessageResult messageBoxWithoutWindows(const cMessageRequest& request) {
  std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
  return cautiousAnswer(request.buttons);
}
