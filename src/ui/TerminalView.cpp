#include "ui/TerminalView.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

namespace kalvor::ui {

TerminalView::TerminalView(const render::Renderer& renderer, TerminalViewEvents& events, QWidget* parent)
    : QWidget(parent), renderer_(renderer), events_(events)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TerminalView::SetOffset(int x)
{
    if (x == offset_)
        return;
    offset_ = x;
    update();
}

void TerminalView::SetBackground(QColor c)
{
    if (c == background_)
        return;
    background_ = c;
    update();
}

void TerminalView::ImageChanged(const QRect& rect)
{
    if (!rect.isEmpty())
        update(rect.translated(-offset_, 0));
}

QSize TerminalView::sizeHint() const { return renderer_.LogicalSize(); }

QSize TerminalView::minimumSizeHint() const
{
    // At least 24 rows high; the width may scroll.
    const QSize full = renderer_.LogicalSize();
    return QSize(std::min(full.width(), 40 * renderer_.Cell().Width), 24 * renderer_.Cell().Height);
}

void TerminalView::paintEvent(QPaintEvent* event)
{
    ++paints_;
    const double dpr = devicePixelRatioF();
    if (dpr != renderer_.DevicePixelRatio())
        events_.ViewPixelRatioChanged(dpr);
    QPainter p(this);
    const QImage& image = renderer_.Image();
    const QRect target = QRect(QPoint(-offset_, 0), renderer_.LogicalSize());
    const QRect exposed = event->rect();
    const QRect shown = exposed & target;
    if (!shown.isEmpty()) {
        const double r = image.devicePixelRatio();
        const QRect source(static_cast<int>((shown.x() + offset_) * r), static_cast<int>(shown.y() * r),
                           static_cast<int>(shown.width() * r), static_cast<int>(shown.height() * r));
        p.drawImage(shown, image, source);
    }
    const QRegion rest = QRegion(exposed) - QRegion(target);
    for (const QRect& r : rest)
        p.fillRect(r, background_);
}

void TerminalView::wheelEvent(QWheelEvent* event)
{
    // A notch is 15 degrees (120 eighths) and scrolls three rows; smaller
    // steps of touch pads add up.
    constexpr int kNotch = 120;
    constexpr int kRowsPerNotch = 3;
    wheelAngle_ += event->angleDelta().y();
    const int rows = -(wheelAngle_ / kNotch) * kRowsPerNotch;
    wheelAngle_ %= kNotch;
    if (rows != 0)
        events_.ViewWheelRows(rows);
    event->accept();
}

void TerminalView::keyPressEvent(QKeyEvent* event)
{
    events_.ViewKeyPressed(event);
    event->accept();
}

void TerminalView::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat())
        events_.ViewKeyReleased(event);
    event->accept();
}

void TerminalView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    events_.ViewResized();
}

bool TerminalView::focusNextPrevChild(bool) { return false; }

} // namespace kalvor::ui
