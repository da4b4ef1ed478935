// What a gadget sees of its property dialog.
//
// A dialog offers four classes of controls, numbered from 0 within each
// class: choice controls (radio groups; they hold bools[i]), number controls
// (lists and number fields; values[i]), on/off controls (check boxes; bit i
// of flags32) and text controls (texts). The dialog framework decides which
// control of its template is control i of a class; a gadget only asks by
// class and number, and a dialog that lacks a control says so.
//
// Texts here are Windows-1252 bytes, as the settings block holds them.
#pragma once

#include <cstdint>
#include <string>

#include "engine/gadget.h"

class cGadgetDialog {
 public:
  virtual ~cGadgetDialog() = default;

  virtual bool hasChoice(int i) const = 0;
  virtual int choice(int i) const = 0;
  virtual void setChoice(int i, int value) = 0;

  virtual bool hasNumber(int i) const = 0;
  virtual int32_t number(int i) const = 0;
  virtual void setNumber(int i, int32_t value) = 0;

  virtual bool hasOnOff(int i) const = 0;
  virtual bool onOff(int i) const = 0;
  virtual void setOnOff(int i, bool on) = 0;

  virtual bool hasText(int i) const = 0;
  virtual std::string text(int i) const = 0;
  virtual void setText(int i, const std::string& text) = 0;

  // Attaches the gadget's hook to the push button `control`.
  virtual void attachHook(int control, cDialogHook hook) = 0;
  // Draws the dialog's picture of the gadget again (the live preview).
  virtual void redrawGadgetPicture() = 0;
};
