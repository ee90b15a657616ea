// TermSetupForm: the terminal preferences dialog "Terminal Preferences":
// display width (TermModeButton), the main and keypad Enter keys with the
// block-mode note (KeyDefnOption), "Smart Enter Key Mode" (SmartReturnBox),
// the keyboard layout (KeybrdStyleBox), the language (LanguageBox), the host
// character set (HostCodeSet), "Caps Only Mode" and "Block Cursor".
//
// Opening it keeps the current preferences (SaveTermConfig); "OK" (Enter)
// stores, applies and writes the "NewTerminalPref" section; "Cancel"
// (Escape) restores what was kept.
#pragma once

#include "config/TermSetupValues.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kalvor::config {
class Configuration;
}

namespace kalvor::ui {

class TermSetupForm final : public QDialog {
public:
    static constexpr const char* kTitle = "Terminal Preferences";

    explicit TermSetupForm(config::Configuration& config, QWidget* parent = nullptr);

    config::TermSetupValues Values() const;

    void OK_Click();
    void Cancel_Click();
    void accept() override;
    void reject() override;

    QRadioButton* TermModeButton(int i) const { return width_[static_cast<std::size_t>(i)]; }      // 80, 132, 200
    QRadioButton* MainEnterButton(int i) const { return mainEnter_[static_cast<std::size_t>(i)]; } // Return, Enter
    QRadioButton* KeypadEnterButton(int i) const
    {
        return padEnter_[static_cast<std::size_t>(i)];
    } // Return, Enter, Tab
    QLabel* EnterKeyNote() const { return note_; }
    QCheckBox* SmartReturnBox() const { return smart_; }
    QComboBox* KeybrdStyleBox() const { return layout_; }
    QComboBox* LanguageBox() const { return language_; }
    QComboBox* HostCodeSet() const { return codeSet_; }
    QCheckBox* CapsOnlyBox() const { return caps_; }
    QCheckBox* BlockCursorBox() const { return cursor_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    void Load(const config::TermSetupValues& values);

    config::Configuration& config_;
    bool done_ = false;
    std::array<QRadioButton*, 3> width_{};
    std::array<QRadioButton*, 2> mainEnter_{};
    std::array<QRadioButton*, 3> padEnter_{};
    QLabel* note_ = nullptr;
    QCheckBox* smart_ = nullptr;
    QComboBox* layout_ = nullptr;
    QComboBox* language_ = nullptr;
    QComboBox* codeSet_ = nullptr;
    QCheckBox* caps_ = nullptr;
    QCheckBox* cursor_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace kalvor::ui
