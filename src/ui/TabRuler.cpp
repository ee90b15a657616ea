#include "ui/TabRuler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace kalvor::ui {

TabRuler::TabRuler(const TerminalState& state, QWidget* parent) : QWidget(parent), st_(state)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setToolTip(QStringLiteral("Click a column to set or clear its tab stop"));
}

void TabRuler::SetCellWidth(int width)
{
    if (width == cellWidth_)
        return;
    cellWidth_ = width;
    updateGeometry();
    update();
}

void TabRuler::SetOffset(int x)
{
    if (x == offset_)
        return;
    offset_ = x;
    update();
}

void TabRuler::SetColours(QColor ink, QColor background)
{
    if (ink == ink_ && background == background_)
        return;
    ink_ = ink;
    background_ = background;
    update();
}

int TabRuler::ColumnAt(int x) const
{
    const int col = (x + offset_) / std::max(1, cellWidth_);
    return x + offset_ >= 0 && col < st_.Mem.ColsInTerm ? col : -1;
}

QSize TabRuler::sizeHint() const { return QSize(st_.Mem.ColsInTerm * cellWidth_, std::max(10, cellWidth_ + 4)); }

void TabRuler::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), background_);
    const int h = height();
    const int w = cellWidth_;
    const int cols = st_.Mem.ColsInTerm;
    p.setPen(ink_);
    for (int c = 0; c < cols; ++c) {
        const int x = c * w - offset_;
        if (x + w < 0 || x > width())
            continue;
        const int mid = x + w / 2;
        const int tick = (c + 1) % 10 == 0 ? h / 2 : (c + 1) % 5 == 0 ? h / 3 : h / 6;
        p.drawLine(mid, h - 1, mid, h - 1 - tick);
        if (st_.TabStops[static_cast<std::size_t>(c)]) {
            QPolygon tri;
            const int t = std::max(2, w / 2);
            tri << QPoint(mid - t, 1) << QPoint(mid + t, 1) << QPoint(mid, 1 + t + 1);
            p.setBrush(ink_);
            p.drawPolygon(tri);
            p.setBrush(Qt::NoBrush);
        }
    }
    // Margins: brackets facing the columns they enclose.
    const auto bracket = [&](int col, int dir) {
        const int x = (dir > 0 ? col * w : (col + 1) * w - 1) - offset_;
        p.drawLine(x, 0, x, h - 1);
        p.drawLine(x, 0, x + dir * (w / 2), 0);
        p.drawLine(x, h - 1, x + dir * (w / 2), h - 1);
    };
    bracket(st_.Mem.LeftMargin, +1);
    bracket(st_.Mem.RightMargin, -1);
}

void TabRuler::mousePressEvent(QMouseEvent* event)
{
    const int col = ColumnAt(static_cast<int>(event->position().x()));
    if (col < 0 || event->button() != Qt::LeftButton)
        return;
    if (TabToggled)
        TabToggled(col);
    update();
}

} // namespace kalvor::ui
