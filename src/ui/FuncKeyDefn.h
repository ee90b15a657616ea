// FuncKeyDefn: the dialog that edits the eight user keys f1..f8: two label
// lines, the string and the attribute ("Normal", "Local", "Transmit") of each,
// with "OK", "Cancel" and "Reset Defaults", and the check box "Type in control
// characters". Control characters in a string are shown as visible
// substitutes: code c (0..31) as c + 224; they are turned back on "OK".
#pragma once

#include "keyboard/FunctionKeys.h"
#include "session/Session.h"

#include <QDialog>

#include <array>
#include <string>
#include <string_view>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kalvor::ui {

class FuncKeyDefn final : public QDialog {
public:
    // The session's user keys, read from its soft keys and written back on "OK".
    FuncKeyDefn(Session& session, QWidget* parent = nullptr);

    QLineEdit* KeyLine1(int key) const { return rows_[static_cast<std::size_t>(key)].Line1; }
    QLineEdit* KeyLine2(int key) const { return rows_[static_cast<std::size_t>(key)].Line2; }
    QLineEdit* KeyValue(int key) const { return rows_[static_cast<std::size_t>(key)].Value; }
    QComboBox* Attribute(int key) const { return rows_[static_cast<std::size_t>(key)].Attribute; }
    QCheckBox* TypeControlCharacters() const { return controlChars_; }
    QPushButton* ResetDefaultsButton() const { return reset_; }

    // "Reset Defaults": the default labels, strings and attribute in the fields.
    void ResetDefaults();
    // "OK": the fields are written into the user-key tables.
    void accept() override;

    // A string with its control characters as substitutes, and back.
    static QString ToSubstitutes(std::string_view text);
    static std::string FromSubstitutes(const QString& text);
    // The substitute a key typed into a string field gives with the check box
    // ticked: 224..255, 0 to drop the key, -1 to let the field handle it.
    static int SubstituteFor(int key, Qt::KeyboardModifiers modifiers, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QLineEdit* Line1 = nullptr;
        QLineEdit* Line2 = nullptr;
        QLineEdit* Value = nullptr;
        QComboBox* Attribute = nullptr;
    };

    Session& session_;
    std::array<Row, FunctionKeys::kUserKeys> rows_{};
    QCheckBox* controlChars_ = nullptr;
    QPushButton* reset_ = nullptr;
};

} // namespace kalvor::ui
