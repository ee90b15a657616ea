#include "ui/TabPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace kalvor::ui {
namespace {

struct ButtonEntry {
    TabPanel::Command Command;
    const char* Text;
    const char* Name;
    int Key;
};

constexpr ButtonEntry kButtons[] = {
    {TabPanel::Command::SetTab, "&Set Tab", "SetTab", Qt::Key_S},
    {TabPanel::Command::ClearTab, "&Clear Tab", "ClearTab", Qt::Key_C},
    {TabPanel::Command::ClearAllTabs, "Clear &All Tabs", "ClearAllTabs", Qt::Key_A},
    {TabPanel::Command::LeftMargin, "&Left Margin", "LeftMargin", Qt::Key_L},
    {TabPanel::Command::RightMargin, "&Right Margin", "RightMargin", Qt::Key_R},
};

} // namespace

TabPanel::TabPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("TabPanel"));
    setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 6, 3);
    row->addWidget(new QLabel(QStringLiteral("Tabs and margins at the cursor column:"), this));
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        const ButtonEntry& entry = kButtons[i];
        auto* b = new QPushButton(QString::fromLatin1(entry.Text), this);
        b->setObjectName(QString::fromLatin1(entry.Name));
        b->setFocusPolicy(Qt::NoFocus); // the keys stay with the terminal
        connect(b, &QPushButton::clicked, this, [this, command = entry.Command] {
            if (Run)
                Run(command);
        });
        row->addWidget(b);
        buttons_[i] = b;
    }
    done_ = new QPushButton(QStringLiteral("&Done"), this);
    done_->setObjectName(QStringLiteral("TabDone"));
    done_->setFocusPolicy(Qt::NoFocus);
    connect(done_, &QPushButton::clicked, this, [this] {
        if (Done)
            Done();
    });
    row->addWidget(done_);
    row->addStretch(1);
    hide();
}

bool TabPanel::HandleKey(int qtKey)
{
    for (const ButtonEntry& entry : kButtons) {
        if (entry.Key == qtKey) {
            if (Run)
                Run(entry.Command);
            return true;
        }
    }
    if (qtKey == Qt::Key_D || qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter || qtKey == Qt::Key_Escape) {
        if (Done)
            Done();
        return true;
    }
    return false;
}

QPushButton* TabPanel::Button(Command command) const
{
    for (std::size_t i = 0; i < std::size(kButtons); ++i)
        if (kButtons[i].Command == command)
            return buttons_[i];
    return nullptr;
}

} // namespace kalvor::ui
