#include "ui/KeyTranslation.h"

#include "keyboard/KeyCodes.h"
#include "render/GlyphCache.h"

namespace kalvor::ui {
namespace {

int KeyCode(int key, bool keypad)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return Key::A + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keypad ? 96 + (key - Qt::Key_0) : 48 + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return Key::F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return Key::Backspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return Key::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Return;
    case Qt::Key_Shift: return Key::ShiftKey;
    case Qt::Key_Control: return Key::CtrlKey;
    case Qt::Key_Alt: return Key::AltKey;
    case Qt::Key_Pause: return Key::Pause;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return Key::Escape;
    case Qt::Key_Space: return Key::Space;
    case Qt::Key_PageUp: return Key::PageUp;
    case Qt::Key_PageDown: return Key::PageDown;
    case Qt::Key_End: return Key::End;
    case Qt::Key_Home: return Key::Home;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Insert: return Key::Insert;
    case Qt::Key_Delete: return Key::Delete;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return Key::ScrollLock;
    default: break;
    }
    if (keypad) {
        switch (key) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period:
        case Qt::Key_Comma: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    return 0;
}

} // namespace

int UnicodeToDisplayCode(char32_t u)
{
    if (u < 128 || (u >= 160 && u < 256))
        return static_cast<int>(u);
    for (int code = 128; code < 160; ++code) {
        const char16_t v = render::DisplayCodeToUnicode(static_cast<unsigned char>(code));
        if (v != 0 && v == u)
            return code;
    }
    return -1;
}

KeyStroke TranslateKey(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    KeyStroke k;
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    k.Code = KeyCode(key, keypad);
    if (modifiers.testFlag(Qt::ShiftModifier) || key == Qt::Key_Backtab)
        k.Shift |= Mod::Shift;
    if (modifiers.testFlag(Qt::ControlModifier))
        k.Shift |= Mod::Ctrl;
    if (modifiers.testFlag(Qt::AltModifier))
        k.Shift |= Mod::Alt;
    k.NumericPad = k.Code == Key::Return && (key == Qt::Key_Enter || keypad);

    if ((k.Shift & Mod::Alt) != 0)
        return k;
    if ((k.Shift & Mod::Ctrl) != 0 && k.Code >= Key::A && k.Code <= Key::Z)
        return k;
    if (k.Code == Key::Return) {
        k.Character = 13;
        return k;
    }
    const QList<uint> ucs = text.toUcs4();
    if (ucs.size() == 1)
        k.Character = UnicodeToDisplayCode(ucs.front());
    return k;
}

} // namespace kalvor::ui
