// The window system's key events in the keyboard dispatcher's terms: a key
// code (the Windows virtual-key numbering the dispatcher uses), the modifier
// state (1 Shift, 2 Ctrl, 4 Alt, summed), whether the key is the numeric-pad
// Enter, and the Latin-1 character the key makes.
#pragma once

#include <QString>
#include <Qt>

namespace kalvor::ui {

struct KeyStroke {
    int Code = 0;  // 0: a key the dispatcher has no code for
    int Shift = 0; // 1 Shift, 2 Ctrl, 4 Alt
    bool NumericPad = false;
    int Character = -1; // Latin-1 (with the Windows additions in 128..159), -1 for none
};

// `key` and `modifiers` as QKeyEvent reports them, `text` its text. Alt
// keys make no character; a Ctrl+letter makes none either (the window asks
// the control-character setting whether it is a control character).
KeyStroke TranslateKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);

// The display code of a Unicode character: itself up to 255 (except the
// Windows additions' range 128..159, which holds other characters), the
// Windows additions for the characters they stand for; -1 for anything else.
int UnicodeToDisplayCode(char32_t u);

} // namespace kalvor::ui
