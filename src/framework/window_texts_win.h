#pragma once
// The texts of the dialog templates and menus are written in English and put in the user's
// language when a window or menu is made.

#include <windows.h>

// The dialog's caption and its controls' captions (buttons, check boxes, group boxes, texts).
void TranslateDialogTexts(HWND dialog);
// Every item of a menu and of its submenus.
void TranslateMenuTexts(HMENU menu);
