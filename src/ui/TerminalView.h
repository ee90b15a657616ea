// The terminal display surface: paints the renderer's off-screen image
// (TerminalWindow_Paint, one block copy of the exposed part) shifted by the
// horizontal scroll offset, fills the rest with the background colour, and
// hands key events to the window's key handlers.
#pragma once

#include "render/Renderer.h"

#include <QColor>
#include <QWidget>

#include <functional>

namespace kalvor::ui {

class TerminalView final : public QWidget {
public:
    explicit TerminalView(const render::Renderer& renderer, QWidget* parent = nullptr);

    // Horizontal scroll offset in logical pixels.
    void SetOffset(int x);
    int Offset() const { return offset_; }
    void SetBackground(QColor c);
    // The renderer's image changed over `rect` (image coordinates).
    void ImageChanged(const QRect& rect);
    int PaintCount() const { return paints_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    std::function<void(QKeyEvent*)> KeyPressed;
    std::function<void(QKeyEvent*)> KeyReleased;
    std::function<void()> Resized;
    std::function<void(double dpr)> PixelRatioChanged;
    // The mouse wheel turned over the text: rows to scroll (negative: up),
    // three a notch.
    std::function<void(int rows)> WheelRows;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    const render::Renderer& renderer_;
    int offset_ = 0;
    QColor background_ = Qt::black;
    int paints_ = 0;
    int wheelAngle_ = 0; // eighths of a degree not yet turned into rows
};

} // namespace kalvor::ui
