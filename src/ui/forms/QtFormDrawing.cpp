#include "ui/forms/QtFormDrawing.h"

#include <QImageReader>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace kalvor::ui::forms {
namespace {

using namespace kalvor::forms;

constexpr int kMaxPenWidth = 1000;
constexpr int kMaxFontPixels = 2000;
constexpr int kMaxImageSide = 16384;

// Coordinates far outside any layer are pulled in, so that huge shapes
// cost no more than large ones.
constexpr int kFar = 1 << 16;
int Near(int v) { return std::clamp(v, -kFar, kFar); }

QRect Between(int x1, int y1, int x2, int y2)
{
    x1 = Near(x1), y1 = Near(y1), x2 = Near(x2), y2 = Near(y2);
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
}

QPen MakePen(const PenStyle& pen)
{
    if (!pen.Visible)
        return Qt::NoPen;
    return QPen(ToQColor(pen.Color), std::clamp(pen.Width, 1, kMaxPenWidth), Qt::SolidLine, Qt::SquareCap,
                Qt::MiterJoin);
}

// Half a pixel for odd widths, so that lines on whole coordinates cover whole pixels.
double Centre(const PenStyle& pen) { return pen.Visible && pen.Width % 2 == 1 ? 0.5 : 0.0; }

// The colour of row `i` of `n` rows moving in equal steps from `top` to `bottom`.
QColor Blended(Colour top, Colour bottom, qint64 i, qint64 n)
{
    const double t = n <= 1 ? 0.0 : static_cast<double>(i) / static_cast<double>(n - 1);
    auto step = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return QColor(step(Red(top), Red(bottom)), step(Green(top), Green(bottom)), step(Blue(top), Blue(bottom)));
}

QPolygonF ToPolygon(const std::vector<Point>& points, double shift)
{
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& pt : points)
        poly << QPointF(Near(pt.X) + shift, Near(pt.Y) + shift);
    return poly;
}

} // namespace

QPainter& QtFormDrawing::Painter()
{
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&layers_.Get(Layer::Background));
        painter_->setRenderHint(QPainter::Antialiasing);
        painter_->setRenderHint(QPainter::TextAntialiasing);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform);
    }
    return *painter_;
}

void QtFormDrawing::End() { painter_.reset(); }

bool QtFormDrawing::CreateLayers(int width, int height, Colour background)
{
    End();
    return layers_.CreateCVBitmaps(width, height, ToQColor(background));
}

void QtFormDrawing::FillShape(const QPainterPath& shape, const QRect& bounds, const FillStyle& fill)
{
    QPainter& p = Painter();
    if (!fill.Blend) {
        p.fillPath(shape, ToQColor(fill.Fill));
        return;
    }
    // One band per pixel row of the shape; only the rows on the layer are drawn.
    const QRect rows = bounds.intersected(layers_.Bounds());
    if (rows.isEmpty())
        return;
    p.save();
    p.setClipPath(shape);
    p.setRenderHint(QPainter::Antialiasing, false);
    const qint64 n = bounds.height();
    for (int y = rows.top(); y <= rows.bottom(); ++y)
        p.fillRect(QRect(rows.left(), y, rows.width(), 1), Blended(fill.Fill, fill.BlendColor, y - bounds.top(), n));
    p.restore();
}

void QtFormDrawing::Box(const Rect& r, const FillStyle& fill, const PenStyle& pen)
{
    const QRect box = Between(r.X1, r.Y1, r.X2, r.Y2);
    if (box.isEmpty())
        return;
    QPainterPath path;
    path.addRect(box);
    FillShape(path, box, fill);
    if (!pen.Visible)
        return;
    // The outline lies inside the box, as four bands of whole pixels.
    const int w = std::min({std::clamp(pen.Width, 1, kMaxPenWidth), (box.width() + 1) / 2, (box.height() + 1) / 2});
    const QColor ink = ToQColor(pen.Color);
    QPainter& p = Painter();
    p.fillRect(QRect(box.left(), box.top(), box.width(), w), ink);
    p.fillRect(QRect(box.left(), box.bottom() + 1 - w, box.width(), w), ink);
    p.fillRect(QRect(box.left(), box.top(), w, box.height()), ink);
    p.fillRect(QRect(box.right() + 1 - w, box.top(), w, box.height()), ink);
}

void QtFormDrawing::Polygon(const std::vector<Point>& points, const FillStyle& fill, const PenStyle& pen)
{
    const QPolygonF poly = ToPolygon(points, Centre(pen));
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    FillShape(path, poly.boundingRect().toAlignedRect(), fill);
    QPainter& p = Painter();
    p.setPen(MakePen(pen));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(poly);
}

void QtFormDrawing::Polyline(const std::vector<Point>& points, const PenStyle& pen)
{
    if (!pen.Visible)
        return;
    QPainter& p = Painter();
    p.setPen(MakePen(pen));
    p.drawPolyline(ToPolygon(points, Centre(pen)));
}

void QtFormDrawing::Oval(const Rect& r, const FillStyle& fill, const PenStyle& pen)
{
    const QRect box = Between(r.X1, r.Y1, r.X2, r.Y2);
    if (box.isEmpty())
        return;
    const double w = pen.Visible ? std::clamp(pen.Width, 1, kMaxPenWidth) : 0;
    const QRectF inner = QRectF(box).adjusted(w / 2, w / 2, -w / 2, -w / 2);
    QPainterPath path;
    path.addEllipse(QRectF(box));
    FillShape(path, box, fill);
    if (!pen.Visible)
        return;
    QPainter& p = Painter();
    p.setPen(MakePen(pen));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(inner);
}

void QtFormDrawing::Line(Point from, Point to, const PenStyle& pen)
{
    if (!pen.Visible)
        return;
    QPainter& p = Painter();
    const double c = Centre(pen);
    p.setPen(MakePen(pen));
    p.drawLine(QPointF(Near(from.X) + c, Near(from.Y) + c), QPointF(Near(to.X) + c, Near(to.Y) + c));
}

void QtFormDrawing::Text(Point at, const TextStyle& style, std::string_view text)
{
    QPainter& p = Painter();
    QFont font(QString::fromLatin1(style.Font.Face.data(), static_cast<qsizetype>(style.Font.Face.size())));
    font.setPixelSize(std::clamp(style.Font.Height, 1, kMaxFontPixels));
    font.setWeight(style.Font.Weight >= 550 ? QFont::Bold : QFont::Normal);
    font.setItalic(style.Font.Italic);
    font.setUnderline(style.Font.Underline);
    font.setStrikeOut(style.Font.StrikeOut);
    const QString s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    p.save();
    p.setFont(font);
    const double width = p.fontMetrics().horizontalAdvance(s);
    const double x = style.Justify == TextAlign::Center ? -width / 2 : style.Justify == TextAlign::Right ? -width : 0;
    p.translate(Near(at.X), Near(at.Y));
    if (style.Font.Escapement != 0)
        p.rotate(-style.Font.Escapement / 10.0);
    if (style.Shadow) {
        p.setPen(ToQColor(style.ShadowColor));
        p.drawText(QPointF(x + style.ShadowDx, style.ShadowDy), s);
    }
    p.setPen(ToQColor(style.Color));
    p.drawText(QPointF(x, 0), s);
    p.restore();
}

// A picture from any format Qt's image readers know. With MASK, the picture
// holds its mask beside it: the picture is the part above and left of the
// mask's corner, the mask an equal area from that corner; dark mask pixels
// let the picture through, light ones keep the background.
bool QtFormDrawing::Image(const ImageRequest& style)
{
    QImageReader reader(QString::fromStdString(style.File.string()));
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxImageSide || size.height() > kMaxImageSide))
        return false;
    QImage picture = reader.read();
    if (picture.isNull())
        return false;
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    if (style.Mask) {
        const int mx = std::clamp(style.MaskAt.X, 0, picture.width());
        const int my = std::clamp(style.MaskAt.Y, 0, picture.height());
        const int w = mx > 0 ? mx : picture.width();
        const int h = my > 0 ? my : picture.height();
        QImage part = picture.copy(0, 0, w, h);
        const QImage mask = picture.copy(mx, my, w, h);
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<QRgb*>(part.scanLine(y));
            const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            for (int x = 0; x < w; ++x)
                if (qGray(m[x]) >= 128 || qAlpha(m[x]) == 0)
                    row[x] = 0;
        }
        picture = part;
    }
    const int w = style.Width > 0 ? std::min(style.Width, kMaxImageSide) : picture.width();
    const int h = style.Height > 0 ? std::min(style.Height, kMaxImageSide) : picture.height();
    Painter().drawImage(QRect(Near(style.At.X), Near(style.At.Y), w, h), picture);
    return true;
}

// Lines every 10 units in light grey, every 100 units in the colour value
// 0x8080FF with their coordinate beside them.
void QtFormDrawing::Grid(double scale)
{
    QPainter& p = Painter();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect area = layers_.Bounds();
    const double step = 10 * scale;
    if (step < 1)
        return p.restore();
    for (int pass = 0; pass < 2; ++pass) {
        const int every = pass == 0 ? 1 : 10;
        p.setPen(QPen(ToQColor(pass == 0 ? 0xC0C0C0 : 0x8080FF), 1));
        for (int i = 0; i * step < area.width(); i += every)
            p.drawLine(QPointF(std::round(i * step), 0), QPointF(std::round(i * step), area.height()));
        for (int i = 0; i * step < area.height(); i += every)
            p.drawLine(QPointF(0, std::round(i * step)), QPointF(area.width(), std::round(i * step)));
    }
    QFont label(QStringLiteral("DejaVu Sans"));
    label.setPixelSize(std::max(8, static_cast<int>(std::lround(9 * scale))));
    p.setFont(label);
    p.setPen(ToQColor(0x8080FF));
    for (int i = 10; i * step < area.width(); i += 10)
        p.drawText(QPointF(std::round(i * step) + 2, label.pixelSize() + 1), QString::number(i * 10));
    for (int i = 10; i * step < area.height(); i += 10)
        p.drawText(QPointF(2, std::round(i * step) - 2), QString::number(i * 10));
    p.restore();
}

void QtFormDrawing::ObjectCreated(const FormModel& model, ObjectRef object)
{
    DrawEmptyLook(Painter(), model, object, metrics_);
}

} // namespace kalvor::ui::forms
