#include "ui/SSHLogin.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvor::ui {
namespace {

QString Latin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

std::string ToLatin1(const QString& s)
{
    const QByteArray b = s.toLatin1();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

} // namespace

SSHLogin::SSHLogin(const std::string& user, const std::string& password, QWidget* terminalWindow, QWidget* parent)
    : QDialog(parent), terminal_(terminalWindow)
{
    setObjectName(QStringLiteral("SSHLogin"));
    setWindowTitle(QStringLiteral("SSH Login"));
    auto* outer = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    outer->addLayout(form);

    user_ = new QLineEdit(Latin1(user), this);
    user_->setObjectName(QStringLiteral("SSHUserLogin"));
    password_ = new QLineEdit(Latin1(password), this);
    password_->setObjectName(QStringLiteral("SSHPasswordLogin"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setMaxLength(kMaxPassword);
    user_->setMinimumWidth(220);
    form->addRow(QStringLiteral("&User name:"), user_);
    form->addRow(QStringLiteral("&Password:"), password_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("OK"));
    ok_->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
    outer->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    setTabOrder(user_, password_);
    user_->setFocus();
}

std::string SSHLogin::User() const { return ToLatin1(user_->text().trimmed()); }

std::string SSHLogin::Password() const { return ToLatin1(password_->text()); }

void SSHLogin::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (terminal_ != nullptr) {
        adjustSize();
        const QRect over = terminal_->frameGeometry();
        move(over.center() - QPoint(width() / 2, height() / 2));
    }
    if (user_->text().isEmpty())
        user_->setFocus();
    else
        password_->setFocus();
}

} // namespace kalvor::ui
