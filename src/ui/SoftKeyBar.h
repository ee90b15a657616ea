// The bar of twelve soft keys under the display: two-line buttons with the
// labels and enabled state of the function keys (F1..F8 from the current
// set, F9..F12 the fixed keys). While the host message panel is shown the
// buttons are hidden; the bar keeps its height.
#pragma once

#include "keyboard/FunctionKeys.h"

#include <QWidget>

#include <array>
#include <functional>

class QPushButton;
class QStackedLayout;

namespace kalvor::ui {

class SoftKeyBar final : public QWidget {
public:
    explicit SoftKeyBar(QWidget* parent = nullptr);

    // Rewrites the captions and enabled states from the soft keys.
    void Refresh(const SoftKeyView& keys);

    QPushButton* Button(int index) const { return buttons_[static_cast<std::size_t>(index)]; }
    QString Caption(int index) const;
    bool ButtonsShown() const;

    // ControlButton_MouseUp: button index 0..11 and the modifier state.
    std::function<void(int index, int shift)> Clicked;

private:
    std::array<QPushButton*, FunctionKeys::kButtons> buttons_{};
    QStackedLayout* stack_ = nullptr;
};

// "line 1\nline 2" as a button shows the two label lines.
QString KeyCaption(const KeyLabel& label);

} // namespace kalvor::ui
