// The tab ruler above the screen: one mark per column, a longer mark every
// tenth column, a triangle at every tab stop and brackets at the left and
// right margins. A click on a column hands the column to TabToggled, which
// sets or clears its tab stop.
#pragma once

#include "engine/TerminalState.h"

#include <QWidget>

#include <functional>

namespace kalvor::ui {

class TabRuler final : public QWidget {
public:
    TabRuler(const TerminalState& state, QWidget* parent = nullptr);

    void SetCellWidth(int width);
    void SetOffset(int x);
    void SetColours(QColor ink, QColor background);
    // The column under a point of the ruler, or -1.
    int ColumnAt(int x) const;

    QSize sizeHint() const override;

    // The user clicked column `column`: its tab stop is set or cleared.
    std::function<void(int column)> TabToggled;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const TerminalState& st_;
    int cellWidth_ = 8;
    int offset_ = 0;
    QColor ink_ = QColor(0xffc000);
    QColor background_ = Qt::black;
};

} // namespace kalvor::ui
