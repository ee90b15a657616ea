// The tab-setting panel (the system keys' "Margins/Tabs/Col"): a visible row
// of buttons that set and clear tab stops and put the margins at the cursor
// column, shown above the soft keys while the panel is open. The buttons
// answer the mouse and their letters (S, C, A, L, R; D, Return or Esc for
// Done); the cursor keys still move the cursor, and the tab ruler shows
// every change at once.
#pragma once

#include <QFrame>

#include <functional>

class QPushButton;

namespace kalvor::ui {

class TabPanel final : public QFrame {
public:
    // What a button does: the terminal's own tab and margin commands.
    enum class Command : char {
        SetTab = '1',
        ClearTab = '2',
        ClearAllTabs = '3',
        LeftMargin = '4',
        RightMargin = '5',
    };

    explicit TabPanel(QWidget* parent = nullptr);

    // A key typed while the panel is open: true when it is one of the
    // panel's (the command is carried out, or the panel closed).
    bool HandleKey(int qtKey);

    QPushButton* Button(Command command) const;
    QPushButton* DoneButton() const { return done_; }

    std::function<void(Command)> Run;
    std::function<void()> Done;

private:
    QPushButton* buttons_[5] = {};
    QPushButton* done_ = nullptr;
};

} // namespace kalvor::ui
