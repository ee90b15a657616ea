// SSHLogin: the SSH login dialog, a user name field SSHUserLogin and a
// password field SSHPasswordLogin with "OK" and "Cancel". It opens centred
// over the terminal window; "OK" keeps both fields (User(), Password()),
// "Cancel" leaves the caller's values as they were.
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

namespace kalvor::ui {

class SSHLogin final : public QDialog {
public:
    // Passwords are stored scrambled against a 73-character key.
    static constexpr int kMaxPassword = 73;

    SSHLogin(const std::string& user, const std::string& password, QWidget* terminalWindow, QWidget* parent);

    QLineEdit* UserField() const { return user_; }
    QLineEdit* PasswordField() const { return password_; }
    QPushButton* OkButton() const { return ok_; }

    std::string User() const;
    std::string Password() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* terminal_;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace kalvor::ui
