// The dialog "Find String": the text to find, the replacement and whether
// upper and lower case must match. Modal; OK keeps the values, Cancel
// changes nothing.
#pragma once

#include "edit/Editor.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace kalvor::ui {

class FindString final : public QDialog {
public:
    // The dialog over `parent` with `settings` and the proposed find text
    // (selected in its box); the replace box starts empty.
    FindString(QWidget* parent, const edit::FindSettings& settings, const QString& proposed);

    // The settings as the dialog leaves them.
    edit::FindSettings Settings() const;

    QLineEdit& FindText() { return *find_; }
    QLineEdit& ReplaceText() { return *replace_; }
    QCheckBox& CaseMatch() { return *caseMatch_; }

private:
    QLineEdit* find_;
    QLineEdit* replace_;
    QCheckBox* caseMatch_;
};

} // namespace kalvor::ui
