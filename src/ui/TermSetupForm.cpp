#include "ui/TermSetupForm.h"

#include "config/Configuration.h"
#include "config/DialogValueLists.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kalvor::ui {
namespace {

using namespace kalvor::config;

QString Latin1(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

template <std::size_t N>
QComboBox* Choices(const std::array<std::string_view, N>& texts, const char* name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (std::string_view t : texts)
        box->addItem(Latin1(t));
    return box;
}

} // namespace

TermSetupForm::TermSetupForm(Configuration& config, QWidget* parent) : QDialog(parent), config_(config)
{
    setObjectName(QStringLiteral("TermSetupForm"));
    setWindowTitle(QString::fromLatin1(kTitle));
    auto* outer = new QVBoxLayout(this);

    auto* widthBox = new QGroupBox(QStringLiteral("Display Width"), this);
    widthBox->setObjectName(QStringLiteral("TermModeButton"));
    auto* widthRow = new QHBoxLayout(widthBox);
    auto* widthGroup = new QButtonGroup(this);
    const char* const widthKeys[] = {"&80", "&132", "&200"};
    for (std::size_t i = 0; i < width_.size(); ++i) {
        // "80 characters wide" with its first digits as the mnemonic.
        QString text = Latin1(kDisplayWidthTexts[i]);
        text.replace(QString::fromLatin1(widthKeys[i] + 1), QString::fromLatin1(widthKeys[i]));
        width_[i] = new QRadioButton(text, widthBox);
        widthGroup->addButton(width_[i]);
        widthRow->addWidget(width_[i]);
    }
    outer->addWidget(widthBox);

    auto* enterBox = new QGroupBox(QStringLiteral("Enter Keys"), this);
    enterBox->setObjectName(QStringLiteral("KeyDefnOption"));
    auto* enterGrid = new QGridLayout(enterBox);
    auto* mainLabel = new QLabel(QStringLiteral("&Main Enter key:"), enterBox);
    auto* padLabel = new QLabel(QStringLiteral("Ke&ypad Enter key:"), enterBox);
    enterGrid->addWidget(mainLabel, 0, 0);
    enterGrid->addWidget(padLabel, 1, 0);
    auto* mainGroup = new QButtonGroup(this);
    auto* padGroup = new QButtonGroup(this);
    for (std::size_t i = 0; i < padEnter_.size(); ++i) {
        const QString text = Latin1(kEnterKeyTexts[i]);
        if (i < mainEnter_.size()) {
            mainEnter_[i] = new QRadioButton(text, enterBox);
            mainGroup->addButton(mainEnter_[i]);
            enterGrid->addWidget(mainEnter_[i], 0, static_cast<int>(i) + 1);
        }
        padEnter_[i] = new QRadioButton(text, enterBox);
        padGroup->addButton(padEnter_[i]);
        enterGrid->addWidget(padEnter_[i], 1, static_cast<int>(i) + 1);
    }
    mainLabel->setBuddy(mainEnter_[0]);
    padLabel->setBuddy(padEnter_[0]);
    note_ = new QLabel(Latin1(kEnterKeyNote[0]) + QStringLiteral("<b>") + Latin1(kEnterKeyNote[1]) +
                           QStringLiteral("</b>") + Latin1(kEnterKeyNote[2]),
                       enterBox);
    note_->setTextFormat(Qt::RichText);
    enterGrid->addWidget(note_, 2, 0, 1, 4);
    smart_ = new QCheckBox(QStringLiteral("&Smart Enter Key Mode"), enterBox);
    smart_->setObjectName(QStringLiteral("SmartReturnBox"));
    enterGrid->addWidget(smart_, 3, 0, 1, 4);
    outer->addWidget(enterBox);

    auto* form = new QFormLayout;
    outer->addLayout(form);
    layout_ = Choices(kKeyboardLayoutTexts, "KeybrdStyleBox", this);
    language_ = Choices(kLanguageTexts, "LanguageBox", this);
    codeSet_ = Choices(kHostCodeSetTexts, "HostCodeSet", this);
    auto addRow = [&](const char* caption, const char* mnemonic, QComboBox* box) {
        QString text = QString::fromLatin1(caption);
        text.replace(QString::fromLatin1(mnemonic + 1), QString::fromLatin1(mnemonic));
        form->addRow(text, box);
    };
    addRow(kKeyboardLayoutCaption, "&Keyboard", layout_);
    addRow(kLanguageCaption, "&Language", language_);
    addRow(kHostCodeSetCaption, "&Host", codeSet_);

    caps_ = new QCheckBox(QString::fromLatin1(kCapsOnlyText).replace(QStringLiteral("Caps"), QStringLiteral("&Caps")),
                          this);
    caps_->setObjectName(QStringLiteral("CapsOnlyBox"));
    cursor_ = new QCheckBox(
        QString::fromLatin1(kBlockCursorText).replace(QStringLiteral("Block"), QStringLiteral("&Block")), this);
    cursor_->setObjectName(QStringLiteral("BlockCursorBox"));
    outer->addWidget(caps_);
    outer->addWidget(cursor_);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("OK"));
    cancel_ = buttons->addButton(QDialogButtonBox::Cancel);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    ok_->setDefault(true);
    outer->addWidget(buttons);
    connect(ok_, &QPushButton::clicked, this, [this] { OK_Click(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { Cancel_Click(); });

    OpenTermPreferences(config_);
    Load(TermSetupValuesFrom(config_.Values()));
}

void TermSetupForm::Load(const TermSetupValues& v)
{
    for (std::size_t i = 0; i < width_.size(); ++i)
        width_[i]->setChecked(kDisplayWidths[i] == v.DisplayWidth);
    mainEnter_[static_cast<std::size_t>(v.KbEnterKey)]->setChecked(true);
    padEnter_[static_cast<std::size_t>(v.NumEnterKey)]->setChecked(true);
    smart_->setChecked(v.SmartReturn);
    layout_->setCurrentIndex(v.KeyboardLayout);
    language_->setCurrentIndex(v.Language);
    codeSet_->setCurrentIndex(v.Latin1 ? 1 : 0);
    caps_->setChecked(v.CapsOnly);
    cursor_->setChecked(v.BlockCursor);
}

TermSetupValues TermSetupForm::Values() const
{
    TermSetupValues v;
    v.DisplayWidth = 0;
    for (std::size_t i = 0; i < width_.size(); ++i)
        if (width_[i]->isChecked())
            v.DisplayWidth = kDisplayWidths[i];
    v.KbEnterKey = mainEnter_[1]->isChecked() ? 1 : 0;
    v.NumEnterKey = padEnter_[1]->isChecked() ? 1 : padEnter_[2]->isChecked() ? 2 : 0;
    v.SmartReturn = smart_->isChecked();
    v.KeyboardLayout = layout_->currentIndex();
    v.Language = language_->currentIndex();
    v.Latin1 = codeSet_->currentIndex() == 1;
    v.CapsOnly = caps_->isChecked();
    v.BlockCursor = cursor_->isChecked();
    return v;
}

void TermSetupForm::OK_Click()
{
    if (done_)
        return;
    const TermSetupValues values = Values();
    if (const auto message = CheckTermSetupValues(values)) {
        auto* box =
            new QMessageBox(QMessageBox::Warning, QString::fromLatin1(kTitle), Latin1(*message), QMessageBox::Ok, this);
        box->setObjectName(QStringLiteral("InvalidValue"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    done_ = true;
    AcceptTermPreferences(config_, values);
    QDialog::accept();
}

void TermSetupForm::Cancel_Click()
{
    if (done_)
        return;
    done_ = true;
    CancelTermPreferences(config_);
    QDialog::reject();
}

void TermSetupForm::accept() { OK_Click(); }

void TermSetupForm::reject() { Cancel_Click(); }

} // namespace kalvor::ui
