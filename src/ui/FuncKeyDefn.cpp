#include "ui/FuncKeyDefn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvor::ui {
namespace {

constexpr int kSubstituteBase = 224;

QString Latin1(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

std::string ToLatin1(const QString& s)
{
    const QByteArray b = s.toLatin1();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

} // namespace

QString FuncKeyDefn::ToSubstitutes(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32)
            c = static_cast<char>(static_cast<unsigned char>(c) + kSubstituteBase);
    return Latin1(out);
}

std::string FuncKeyDefn::FromSubstitutes(const QString& text)
{
    std::string out = ToLatin1(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) >= kSubstituteBase)
            c = static_cast<char>(static_cast<unsigned char>(c) - kSubstituteBase);
    return out;
}

int FuncKeyDefn::SubstituteFor(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    if (modifiers.testFlag(Qt::ControlModifier)) {
        if (key >= 64 && key <= 95)
            return key + 160;
        if (key >= 96 && key <= 127)
            return key + 128;
        if (key >= 32 && key <= 63)
            return 0;
        return -1;
    }
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete)
        return -1;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return 13 + kSubstituteBase;
    if (key == Qt::Key_Tab)
        return 9 + kSubstituteBase;
    if (key == Qt::Key_Escape)
        return 27 + kSubstituteBase;
    if (text.size() == 1 && text.front().unicode() < 32)
        return text.front().unicode() + kSubstituteBase;
    return -1;
}

FuncKeyDefn::FuncKeyDefn(Session& session, QWidget* parent) : QDialog(parent), session_(session)
{
    const SoftKeyView& keys = session.SoftKeys();
    setWindowTitle(QStringLiteral("Define User Keys"));
    auto* outer = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);
    grid->addWidget(new QLabel(QStringLiteral("Key"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Label line 1"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Label line 2"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("String"), this), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Attribute"), this), 0, 4);
    const QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int k = 0; k < FunctionKeys::kUserKeys; ++k) {
        Row& r = rows_[static_cast<std::size_t>(k)];
        r.Line1 = new QLineEdit(this);
        r.Line2 = new QLineEdit(this);
        r.Value = new QLineEdit(this);
        r.Attribute = new QComboBox(this);
        for (QLineEdit* e : {r.Line1, r.Line2}) {
            e->setMaxLength(FunctionKeys::kLabelLineLength);
            e->setFont(mono);
            e->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QStringLiteral("MMMMMMMMMM")));
        }
        r.Value->setMaxLength(255);
        r.Value->setFont(mono);
        r.Value->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(30, QLatin1Char('M'))));
        r.Attribute->addItems({QStringLiteral("Normal"), QStringLiteral("Local"), QStringLiteral("Transmit")});
        const KeyLabel& label = keys.Label(FunctionKeys::kUserSet, k);
        r.Line1->setText(Latin1(label.Line1));
        r.Line2->setText(Latin1(label.Line2));
        r.Value->setText(ToSubstitutes(keys.UserKeyString(k)));
        r.Attribute->setCurrentIndex(std::clamp(keys.UserKeyAttribute(k), 0, 2));
        for (QLineEdit* e : {r.Line1, r.Line2, r.Value})
            e->installEventFilter(this);
        grid->addWidget(new QLabel(QStringLiteral("f%1").arg(k + 1), this), k + 1, 0);
        grid->addWidget(r.Line1, k + 1, 1);
        grid->addWidget(r.Line2, k + 1, 2);
        grid->addWidget(r.Value, k + 1, 3);
        grid->addWidget(r.Attribute, k + 1, 4);
    }
    controlChars_ = new QCheckBox(QStringLiteral("Type in control characters"), this);
    outer->addWidget(controlChars_);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    reset_ = buttons->addButton(QStringLiteral("Reset Defaults"), QDialogButtonBox::ResetRole);
    ok->setDefault(false);
    ok->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &FuncKeyDefn::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FuncKeyDefn::reject);
    connect(reset_, &QPushButton::clicked, this, &FuncKeyDefn::ResetDefaults);
    outer->addWidget(buttons);
}

void FuncKeyDefn::ResetDefaults()
{
    for (int k = 0; k < FunctionKeys::kUserKeys; ++k) {
        const Row& r = rows_[static_cast<std::size_t>(k)];
        const KeyLabel label = FunctionKeys::DefaultLabel(FunctionKeys::kUserSet, k);
        r.Line1->setText(Latin1(label.Line1));
        r.Line2->setText(Latin1(label.Line2));
        r.Value->setText(ToSubstitutes(FunctionKeys::DefaultUserKeyString(k)));
        r.Attribute->setCurrentIndex(FunctionKeys::kTransmitOnly);
    }
}

void FuncKeyDefn::accept()
{
    for (int k = 0; k < FunctionKeys::kUserKeys; ++k) {
        const Row& r = rows_[static_cast<std::size_t>(k)];
        session_.SetUserKey(k, ToLatin1(r.Line1->text()), ToLatin1(r.Line2->text()), r.Attribute->currentIndex(),
                            FromSubstitutes(r.Value->text()));
    }
    QDialog::accept();
}

bool FuncKeyDefn::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* edit = qobject_cast<QLineEdit*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    if (edit == nullptr)
        return false;
    bool isValue = false;
    for (const Row& r : rows_)
        isValue = isValue || r.Value == edit;
    if (isValue && controlChars_->isChecked()) {
        const int sub = SubstituteFor(key->key(), key->modifiers(), key->text());
        if (sub > 0)
            edit->insert(QString(QChar(sub)));
        return sub >= 0;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        focusNextChild();
        return true;
    }
    return false;
}

} // namespace kalvor::ui
