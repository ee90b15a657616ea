#include "ui/SoftKeyBar.h"

#include "keyboard/KeyCodes.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedLayout>

namespace kalvor::ui {

QString KeyCaption(const KeyLabel& label)
{
    return QString::fromLatin1(label.Line1.data(), static_cast<qsizetype>(label.Line1.size())) + QLatin1Char('\n') +
           QString::fromLatin1(label.Line2.data(), static_cast<qsizetype>(label.Line2.size()));
}

SoftKeyBar::SoftKeyBar(QWidget* parent) : QWidget(parent)
{
    stack_ = new QStackedLayout(this);
    auto* keys = new QWidget(this);
    auto* row = new QHBoxLayout(keys);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(3);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int i = 0; i < FunctionKeys::kButtons; ++i) {
        if (i == 4 || i == 8)
            row->addSpacing(10);
        auto* b = new QPushButton(keys);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFont(font);
        // Eight characters of average width: the twelve buttons fit an
        // 800-pixel screen.
        b->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QStringLiteral("00000000")));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b->setToolTip(QStringLiteral("F%1").arg(i + 1));
        connect(b, &QPushButton::clicked, this, [this, i] {
            if (Clicked) {
                const Qt::KeyboardModifiers m = QGuiApplication::keyboardModifiers();
                const int shift = (m.testFlag(Qt::ShiftModifier) ? Mod::Shift : 0) |
                                  (m.testFlag(Qt::ControlModifier) ? Mod::Ctrl : 0) |
                                  (m.testFlag(Qt::AltModifier) ? Mod::Alt : 0);
                Clicked(i, shift);
            }
        });
        buttons_[static_cast<std::size_t>(i)] = b;
        row->addWidget(b);
    }
    stack_->addWidget(keys);
    stack_->addWidget(new QWidget(this)); // the labels are off
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void SoftKeyBar::Refresh(const SoftKeyView& keys)
{
    for (int i = 0; i < FunctionKeys::kButtons; ++i) {
        QPushButton* b = buttons_[static_cast<std::size_t>(i)];
        const QString caption = KeyCaption(keys.ButtonLabel(i));
        if (b->text() != caption)
            b->setText(caption);
        b->setEnabled(keys.ButtonEnabled(i));
    }
    stack_->setCurrentIndex(keys.LabelsShown() ? 0 : 1);
}

QString SoftKeyBar::Caption(int index) const { return buttons_[static_cast<std::size_t>(index)]->text(); }

bool SoftKeyBar::ButtonsShown() const { return stack_->currentIndex() == 0; }

} // namespace kalvor::ui
