#include "ui/forms/CanvoView.h"

#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace kalvor::ui::forms {

using namespace kalvor::forms;

namespace {

constexpr int kScrollStep = 20; // pixels per scroll-bar arrow click
constexpr int kResizeSettleMs = 60;

} // namespace

QString FatalBuildMessage()
{
    return QStringLiteral("Forms mode cannot run because its bitmaps\n"
                          "could not be created. Please exit Kalvor\n"
                          "and try to run it again.\n"
                          "___________________________________\n"
                          "If the problem persists, your PC may not\n"
                          "have enough resources.");
}

QString FatalBackgroundMessage()
{
    return QStringLiteral("Forms mode cannot be run because its \n"
                          "bitmaps could not be created. \n"
                          "Please exit Kalvor and try to run it again.");
}

CanvoView::CanvoView(QWidget* parent) : QAbstractScrollArea(parent)
{
    LoadFormFonts();
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setFrameShape(QFrame::NoFrame);
    rebuildTimer_.setSingleShot(true);
    rebuildTimer_.setInterval(kResizeSettleMs);
    connect(&rebuildTimer_, &QTimer::timeout, this, [this] { Rebuild(); });
}

QSize CanvoView::sizeHint() const
{
    return {Preset(form_.PresetNumber()).ScreenWidth, Preset(form_.PresetNumber()).ScreenWidth * 3 / 4};
}

bool CanvoView::BuildForm(std::string formText, BuildKind kind)
{
    text_ = std::move(formText);
    ignorePaint_ = true;
    const FormResult result = form_.Build(text_, kind, viewport()->size());
    built_ = result.Failure == FormFailure::None;
    SetScrollAttributes();
    ignorePaint_ = false;
    if (result.Caption)
        setWindowTitle(QString::fromLatin1(result.Caption->data(), static_cast<qsizetype>(result.Caption->size())));
    if (!built_) {
        ShowFatal(result.Failure == FormFailure::BackgroundLayers ? FatalBackgroundMessage() : FatalBuildMessage());
        return false;
    }
    viewport()->update();
    return true;
}

bool CanvoView::Rebuild()
{
    if (!built_)
        return true;
    const QPoint scroll = ScrollPosition();
    form_.SetPreset(PresetForWidth(width()));
    const bool ok = BuildForm(text_, BuildKind::Rebuild);
    horizontalScrollBar()->setValue(scroll.x());
    verticalScrollBar()->setValue(scroll.y());
    return ok;
}

void CanvoView::SetScrollAttributes()
{
    const QSize form = form_.Layers().Size();
    const QSize view = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    const bool wide = form.width() > view.width();
    const bool high = form.height() > view.height();
    setHorizontalScrollBarPolicy(wide ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(high ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    h->setRange(0, wide ? form.width() - viewport()->width() : 0);
    v->setRange(0, high ? form.height() - viewport()->height() : 0);
    h->setSingleStep(kScrollStep);
    v->setSingleStep(kScrollStep);
    h->setPageStep(std::max(1, viewport()->width()));
    v->setPageStep(std::max(1, viewport()->height()));
}

QPoint CanvoView::ScrollPosition() const { return {horizontalScrollBar()->value(), verticalScrollBar()->value()}; }

void CanvoView::CopyCursorToWindow(const QRect& formRect)
{
    viewport()->update(formRect.translated(-ScrollPosition()));
}

void CanvoView::ShowFatal(const QString& text)
{
    QMessageBox::critical(this, QStringLiteral("Fatal Forms Mode Error"), text);
}

void CanvoView::paintEvent(QPaintEvent* event)
{
    if (ignorePaint_)
        return;
    QPainter p(viewport());
    PaintWindow(p, event->rect());
}

// PaintWindow: the exposed part of the cursor layer at the scroll position;
// outside the form the window's own background.
void CanvoView::PaintWindow(QPainter& p, const QRect& exposed)
{
    ++paints_;
    const QImage& image = form_.CursorImage();
    const QPoint scroll = ScrollPosition();
    const QRect source = exposed.translated(scroll).intersected(image.rect());
    if (!source.isEmpty())
        p.drawImage(source.topLeft() - scroll, image, source);
    const QRegion rest = QRegion(exposed) - QRegion(source.translated(-scroll));
    for (const QRect& r : rest)
        p.fillRect(r, palette().color(QPalette::Window));
}

void CanvoView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (built_)
        rebuildTimer_.start();
}

void CanvoView::scrollContentsBy(int, int) { viewport()->update(); }

} // namespace kalvor::ui::forms
