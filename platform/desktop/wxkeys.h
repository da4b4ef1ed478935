// Keys and mouse buttons of wxWidgets events as Windows virtual-key numbers,
// the numbers the key gadgets and the invention files use.
#pragma once

// The virtual keys one key event stands for. `alias` is a second number that
// is held down with the first (0 when there is none): the Danish letters Æ, Ø
// and Å also count as their Windows-1252 codes, so that a key gadget whose
// character is one of them reacts to its key.
struct cVirtualKeys {
  int primary = 0;
  int alias = 0;
};

// keyCode and unicodeKey as wxKeyEvent gives them for a key going down or up;
// rawKeysym is the toolkit's own key symbol (the X keysym on GTK), used for
// the dead accent keys, which have neither. Nothing known gives {0, 0}.
cVirtualKeys virtualKeysFromWx(int keyCode, int unicodeKey, unsigned rawKeysym);

// wxMouseButton (1 left, 2 middle, 3 right, 4 and 5 the side buttons) as a
// virtual key; 0 for anything else.
int virtualKeyFromMouseButton(int wxButton);
