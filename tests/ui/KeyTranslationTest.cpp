// Qt key events in the keyboard dispatcher's key codes and characters.
#include "ui/KeyTranslation.h"

#include "keyboard/KeyCodes.h"

#include <gtest/gtest.h>

#include <utility>

namespace kalvor::ui {
namespace {

TEST(KeyTranslation, LettersAndDigitsKeepTheirCodesAndCharacters)
{
    const KeyStroke a = TranslateKey(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_EQ(a.Code, 65);
    EXPECT_EQ(a.Shift, 0);
    EXPECT_EQ(a.Character, 'a');
    const KeyStroke shiftA = TranslateKey(Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
    EXPECT_EQ(shiftA.Shift, Mod::Shift);
    EXPECT_EQ(shiftA.Character, 'A');
    EXPECT_EQ(TranslateKey(Qt::Key_7, Qt::NoModifier, QStringLiteral("7")).Code, 55);
}

TEST(KeyTranslation, EditingAndFunctionKeys)
{
    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Up, Key::Up},
                                            {Qt::Key_Down, Key::Down},
                                            {Qt::Key_Left, Key::Left},
                                            {Qt::Key_Right, Key::Right},
                                            {Qt::Key_Home, Key::Home},
                                            {Qt::Key_End, Key::End},
                                            {Qt::Key_PageUp, Key::PageUp},
                                            {Qt::Key_PageDown, Key::PageDown},
                                            {Qt::Key_Insert, Key::Insert},
                                            {Qt::Key_Delete, Key::Delete},
                                            {Qt::Key_Escape, Key::Escape},
                                            {Qt::Key_Pause, Key::Pause},
                                            {Qt::Key_ScrollLock, Key::ScrollLock},
                                            {Qt::Key_F1, 112},
                                            {Qt::Key_F12, 123}};
    for (const auto& [qtKey, code] : keys)
        EXPECT_EQ(TranslateKey(qtKey, Qt::NoModifier, {}).Code, code) << "Qt key " << qtKey;
    EXPECT_EQ(TranslateKey(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b")).Code, Key::Backspace);
    EXPECT_EQ(TranslateKey(Qt::Key_F4, Qt::AltModifier, {}).Shift, Mod::Alt);
}

TEST(KeyTranslation, ShiftTabIsTabWithShift)
{
    const KeyStroke k = TranslateKey(Qt::Key_Backtab, Qt::ShiftModifier, {});
    EXPECT_EQ(k.Code, Key::Tab);
    EXPECT_EQ(k.Shift, Mod::Shift);
    EXPECT_EQ(TranslateKey(Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t")).Character, 9);
}

TEST(KeyTranslation, KeypadEnterIsTheNumericPadKey)
{
    const KeyStroke pad = TranslateKey(Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"));
    EXPECT_EQ(pad.Code, Key::Return);
    EXPECT_TRUE(pad.NumericPad);
    EXPECT_EQ(pad.Character, 13);
    const KeyStroke main = TranslateKey(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(main.Code, Key::Return);
    EXPECT_FALSE(main.NumericPad);
    EXPECT_EQ(main.Character, 13);
}

TEST(KeyTranslation, KeypadDigitsHaveTheirOwnCodes)
{
    EXPECT_EQ(TranslateKey(Qt::Key_5, Qt::KeypadModifier, QStringLiteral("5")).Code, 101);
    EXPECT_EQ(TranslateKey(Qt::Key_5, Qt::KeypadModifier, QStringLiteral("5")).Character, '5');
}

TEST(KeyTranslation, CtrlLettersAndAltKeysMakeNoCharacter)
{
    const KeyStroke ctrlN = TranslateKey(Qt::Key_N, Qt::ControlModifier, QStringLiteral("\x0e"));
    EXPECT_EQ(ctrlN.Code, 'N');
    EXPECT_EQ(ctrlN.Shift, Mod::Ctrl);
    EXPECT_EQ(ctrlN.Character, -1) << "the control-character setting decides";
    const KeyStroke altB = TranslateKey(Qt::Key_B, Qt::AltModifier, QStringLiteral("b"));
    EXPECT_EQ(altB.Code, Key::B);
    EXPECT_EQ(altB.Shift, Mod::Alt);
    EXPECT_EQ(altB.Character, -1);
}

TEST(KeyTranslation, LatinOneAndWindowsAdditionsBecomeDisplayCodes)
{
    EXPECT_EQ(TranslateKey(0, Qt::NoModifier, QString(QChar(0xe9))).Character, 0xe9);
    EXPECT_EQ(TranslateKey(0, Qt::NoModifier, QString(QChar(0x20ac))).Character, 128) << "euro sign";
    EXPECT_EQ(TranslateKey(0, Qt::NoModifier, QString(QChar(0x0416))).Character, -1) << "not in the display set";
    EXPECT_EQ(UnicodeToDisplayCode(0x2014), 151);
    EXPECT_EQ(UnicodeToDisplayCode(0x85), -1) << "a C1 control is not a Windows addition";
}

TEST(KeyTranslation, PunctuationHasNoKeyCodeButItsCharacter)
{
    const KeyStroke k = TranslateKey(Qt::Key_Comma, Qt::NoModifier, QStringLiteral(","));
    EXPECT_EQ(k.Code, 0);
    EXPECT_EQ(k.Character, ',');
}

} // namespace
} // namespace kalvor::ui
