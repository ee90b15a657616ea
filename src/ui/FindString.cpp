#include "ui/FindString.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvor::ui {
namespace {

QString FromLatin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

// Text of the boxes as the terminal's Latin-1: other characters become "?".
std::string ToLatin1(const QString& s)
{
    const QByteArray bytes = s.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

FindString::FindString(QWidget* parent, const edit::FindSettings& settings, const QString& proposed)
    : QDialog(parent),
      find_(new QLineEdit(this)),
      replace_(new QLineEdit(this)),
      caseMatch_(new QCheckBox(QStringLiteral(" Match upper and lower case characters"), this))
{
    setWindowTitle(QStringLiteral("Find String"));
    setObjectName(QStringLiteral("FindString"));
    find_->setObjectName(QStringLiteral("FindText"));
    replace_->setObjectName(QStringLiteral("ReplaceText"));
    caseMatch_->setObjectName(QStringLiteral("CaseMatch"));
    find_->setText(proposed.isEmpty() ? FromLatin1(settings.FindText) : proposed);
    find_->selectAll();
    caseMatch_->setChecked(settings.Mode == edit::CaseMode::Exact);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Find what"), find_);
    form->addRow(QStringLiteral("Replace  with what (optional)"), replace_);
    layout->addLayout(form);
    layout->addWidget(caseMatch_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    find_->setFocus();
}

edit::FindSettings FindString::Settings() const
{
    edit::FindSettings s;
    s.FindText = ToLatin1(find_->text());
    s.ReplaceText = ToLatin1(replace_->text());
    s.Mode = caseMatch_->isChecked() ? edit::CaseMode::Exact : edit::CaseMode::IgnoreCase;
    return s;
}

} // namespace kalvor::ui
