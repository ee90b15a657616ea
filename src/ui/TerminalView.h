// The terminal display surface: paints the renderer's off-screen image
// (TerminalWindow_Paint, one block copy of the exposed part) shifted by the
// horizontal scroll offset, fills the rest with the background colour, and
// hands key events to the window's key handlers.
#pragma once

#include "render/Renderer.h"

#include <QColor>
#include <QWidget>

namespace kalvor::ui {

// What the display surface hands to the window: its key events, its size,
// the pixel ratio of the screen it moved to, and the mouse wheel.
class TerminalViewEvents {
public:
    virtual void ViewKeyPressed(QKeyEvent* event) = 0;
    virtual void ViewKeyReleased(QKeyEvent* event) = 0; // not for auto-repeat
    virtual void ViewResized() = 0;
    virtual void ViewPixelRatioChanged(double dpr) = 0;
    // The mouse wheel turned over the text: rows to scroll (negative: up),
    // three a notch.
    virtual void ViewWheelRows(int rows) = 0;

protected:
    ~TerminalViewEvents() = default;
};

class TerminalView final : public QWidget {
public:
    TerminalView(const render::Renderer& renderer, TerminalViewEvents& events, QWidget* parent = nullptr);

    // Horizontal scroll offset in logical pixels.
    void SetOffset(int x);
    int Offset() const { return offset_; }
    void SetBackground(QColor c);
    // The renderer's image changed over `rect` (image coordinates).
    void ImageChanged(const QRect& rect);
    int PaintCount() const { return paints_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    const render::Renderer& renderer_;
    TerminalViewEvents& events_;
    int offset_ = 0;
    QColor background_ = Qt::black;
    int paints_ = 0;
    int wheelAngle_ = 0; // eighths of a degree not yet turned into rows
};

} // namespace kalvor::ui
