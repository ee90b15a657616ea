// Qt key events in the keyboard dispatcher's key codes and characters.
#include "ui/KeyTranslation.h"

#include "keyboard/KeyCodes.h"

#include <gtest/gtest.h>

namespace kalvor::ui {
namespace {

TEST(KeyTranslation, QtKeysBecomeKeyStrokes)
{
    const QString none;
    const struct {
        int QtKey;
        Qt::KeyboardModifiers Modifiers;
        QString Text;
        KeyStroke Stroke; // code, shift, numeric pad, character
    } rows[] = {
        // Letters and digits keep their codes and characters.
        {Qt::Key_A, Qt::NoModifier, "a", {65, 0, false, 'a'}},
        {Qt::Key_A, Qt::ShiftModifier, "A", {65, Mod::Shift, false, 'A'}},
        {Qt::Key_7, Qt::NoModifier, "7", {55, 0, false, '7'}},
        // Editing and function keys (the others of the cursor block below).
        {Qt::Key_Escape, Qt::NoModifier, none, {Key::Escape, 0, false, -1}},
        {Qt::Key_F1, Qt::NoModifier, none, {112, 0, false, -1}},
        {Qt::Key_F12, Qt::NoModifier, none, {123, 0, false, -1}},
        {Qt::Key_F4, Qt::AltModifier, none, {115, Mod::Alt, false, -1}},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", {Key::Backspace, 0, false, 8}},
        // Shift+Tab is Tab with Shift.
        {Qt::Key_Backtab, Qt::ShiftModifier, none, {Key::Tab, Mod::Shift, false, -1}},
        {Qt::Key_Tab, Qt::NoModifier, "\t", {Key::Tab, 0, false, 9}},
        // The keypad's Enter is the numeric pad's Enter; its digits have their own codes.
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", {Key::Return, 0, true, 13}},
        {Qt::Key_Return, Qt::NoModifier, "\r", {Key::Return, 0, false, 13}},
        {Qt::Key_5, Qt::KeypadModifier, "5", {101, 0, false, '5'}},
        // Ctrl letters and Alt keys make no character: the control-character setting decides.
        {Qt::Key_N, Qt::ControlModifier, "\x0e", {'N', Mod::Ctrl, false, -1}},
        {Qt::Key_B, Qt::AltModifier, "b", {Key::B, Mod::Alt, false, -1}},
        // Punctuation has no key code but its character; Latin-1 and the
        // Windows additions become display codes.
        {Qt::Key_Comma, Qt::NoModifier, ",", {0, 0, false, ','}},
        {0, Qt::NoModifier, QString(QChar(0xe9)), {0, 0, false, 0xe9}},
        {0, Qt::NoModifier, QString(QChar(0x20ac)), {0, 0, false, 128}},
        {0, Qt::NoModifier, QString(QChar(0x0416)), {0, 0, false, -1}},
    };
    for (const auto& row : rows) {
        const KeyStroke k = TranslateKey(row.QtKey, row.Modifiers, row.Text);
        EXPECT_EQ(k.Code, row.Stroke.Code) << "Qt key " << row.QtKey;
        EXPECT_EQ(k.Shift, row.Stroke.Shift) << "Qt key " << row.QtKey;
        EXPECT_EQ(k.NumericPad, row.Stroke.NumericPad) << "Qt key " << row.QtKey;
        EXPECT_EQ(k.Character, row.Stroke.Character) << "Qt key " << row.QtKey;
    }
    for (const auto& [qt, code] : {std::pair{Qt::Key_Up, Key::Up},
                                   {Qt::Key_Down, Key::Down},
                                   {Qt::Key_Left, Key::Left},
                                   {Qt::Key_Right, Key::Right},
                                   {Qt::Key_Home, Key::Home},
                                   {Qt::Key_End, Key::End},
                                   {Qt::Key_PageUp, Key::PageUp},
                                   {Qt::Key_PageDown, Key::PageDown},
                                   {Qt::Key_Insert, Key::Insert},
                                   {Qt::Key_Delete, Key::Delete},
                                   {Qt::Key_Pause, Key::Pause},
                                   {Qt::Key_ScrollLock, Key::ScrollLock}})
        EXPECT_EQ(TranslateKey(qt, Qt::NoModifier, none).Code, code) << "Qt key " << qt;
    EXPECT_EQ(UnicodeToDisplayCode(0x2014), 151);
    EXPECT_EQ(UnicodeToDisplayCode(0x85), -1) << "a C1 control is not a Windows addition";
}

} // namespace
} // namespace kalvor::ui
