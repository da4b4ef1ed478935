// Styles and ids of the dialog templates. The scripts are compiled without
// any system header, so the window styles they use are defined here, with
// the values Windows gives them.
#ifndef ZANBEL_DIALOGS_H
#define ZANBEL_DIALOGS_H

// Window styles.
#define WS_POPUP          0x80000000L
#define WS_CHILD          0x40000000L
#define WS_VISIBLE        0x10000000L
#define WS_DISABLED       0x08000000L
#define WS_CAPTION        0x00C00000L
#define WS_BORDER         0x00800000L
#define WS_SYSMENU        0x00080000L
#define WS_VSCROLL        0x00200000L
#define WS_GROUP          0x00020000L
#define WS_TABSTOP        0x00010000L

// Dialog styles.
#define DS_MODALFRAME     0x0080L
#define DS_SETFONT        0x0040L
#define DS_CENTER         0x0800L

// Buttons: the low four bits are the kind of button.
#define BS_PUSHBUTTON     0x0000L
#define BS_DEFPUSHBUTTON  0x0001L
#define BS_AUTOCHECKBOX   0x0003L
#define BS_RADIOBUTTON    0x0004L
#define BS_GROUPBOX       0x0007L
#define BS_AUTORADIOBUTTON 0x0009L
#define BS_OWNERDRAW      0x000BL

// Edit fields.
#define ES_LEFT           0x0000L
#define ES_MULTILINE      0x0004L
#define ES_AUTOVSCROLL    0x0040L
#define ES_AUTOHSCROLL    0x0080L
#define ES_READONLY       0x0800L
#define ES_WANTRETURN     0x1000L

// Static texts.
#define SS_LEFT           0x0000L
#define SS_CENTER         0x0001L
#define SS_RIGHT          0x0002L

// Combo boxes.
#define CBS_DROPDOWNLIST  0x0003L

#define IDC_STATIC        (-1)

// The style every property dialog has.
#define PROPERTY_DIALOG_STYLE (DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU)
#define DIALOG_FONT       8, "MS Sans Serif", 400, 0, 0

// The controls of a property dialog (see README.md for the numbering).
#define CHILD             (WS_CHILD | WS_VISIBLE)
#define RADIO_STYLE       (BS_AUTORADIOBUTTON | CHILD | WS_TABSTOP)
#define CHECK_STYLE       (BS_AUTOCHECKBOX | CHILD | WS_TABSTOP)
#define EDIT_STYLE        (ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | CHILD | WS_TABSTOP)
#define COMBO_STYLE       (CBS_DROPDOWNLIST | WS_VSCROLL | CHILD | WS_TABSTOP)
#define LABEL_STYLE       (SS_LEFT | CHILD)
#define OWNERDRAW_STYLE   (BS_OWNERDRAW | CHILD)

#define IDD_ABOUT         100
#define IDC_ABOUT_TEXT    101

#endif
