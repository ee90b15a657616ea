// The surface of the forms window: shows the cursor layer of a built form
// through a viewport with scroll bars (PaintWindow, SetScrollAttributes),
// keeps painting suspended while a form is built, and rebuilds the form
// when the window is resized, with the preset its width allows and the
// values kept. The forms window puts it in place and drives it.
#pragma once

#include "ui/forms/CanvoForm.h"

#include <QAbstractScrollArea>
#include <QTimer>

#include <string>

namespace kalvor::ui::forms {

// "Fatal Forms Mode Error" texts: the layers could not be created when a
// form was built, or when /BACKGROUND made them anew.
QString FatalBuildMessage();
QString FatalBackgroundMessage();

class CanvoView : public QAbstractScrollArea {
public:
    explicit CanvoView(QWidget* parent = nullptr);

    CanvoForm& Form() { return form_; }
    const CanvoForm& Form() const { return form_; }

    // Builds a form from its text at the current preset. False when the
    // layers could not be created: the fatal message has been shown and the
    // forms mode must stop.
    bool BuildForm(std::string formText, kalvor::forms::BuildKind kind = kalvor::forms::BuildKind::NewForm);
    // The same form again at the preset the window's width allows, values kept.
    bool Rebuild();

    bool IgnorePaintEvent() const { return ignorePaint_; }
    void SetIgnorePaintEvent(bool ignore) { ignorePaint_ = ignore; }

    // Enables the scroll bars the form needs and sets their ranges.
    void SetScrollAttributes();
    QPoint ScrollPosition() const;
    // CopyCursorToWindow: a rectangle of the cursor layer (form pixels) to the window.
    void CopyCursorToWindow(const QRect& formRect);
    // Form pixel under a viewport position.
    QPoint FormPoint(QPoint viewportPoint) const { return viewportPoint + ScrollPosition(); }
    int PaintCount() const { return paints_; }

    QSize sizeHint() const override;

protected:
    // Shows the message box; a test may take the text instead.
    virtual void ShowFatal(const QString& text);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void PaintWindow(QPainter& p, const QRect& exposed);

    CanvoForm form_;
    std::string text_;
    bool built_ = false;
    bool ignorePaint_ = false;
    int paints_ = 0;
    QTimer rebuildTimer_;
};

} // namespace kalvor::ui::forms
