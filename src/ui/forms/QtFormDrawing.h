// The form language's drawing interface painted with Qt onto the background
// layer: antialiased shapes and text, gradients row by row, pictures through
// Qt's image readers, and each object's empty look as it is created.
#pragma once

#include "forms/FormDrawing.h"
#include "ui/forms/FormLayers.h"
#include "ui/forms/ObjectLook.h"

#include <QPainter>

#include <memory>

namespace kalvor::ui::forms {

class QtFormDrawing final : public kalvor::forms::FormDrawing {
public:
    QtFormDrawing(FormLayers& layers, const LookMetrics& metrics) : layers_(layers), metrics_(metrics) {}
    ~QtFormDrawing() override { End(); }

    // Ends painting on the background layer (before it is copied).
    void End();

    bool CreateLayers(int width, int height, kalvor::forms::Colour background) override;
    void Box(const kalvor::forms::Rect& r, const kalvor::forms::FillStyle& fill,
             const kalvor::forms::PenStyle& pen) override;
    void Polygon(const std::vector<kalvor::forms::Point>& points, const kalvor::forms::FillStyle& fill,
                 const kalvor::forms::PenStyle& pen) override;
    void Polyline(const std::vector<kalvor::forms::Point>& points, const kalvor::forms::PenStyle& pen) override;
    void Oval(const kalvor::forms::Rect& bounds, const kalvor::forms::FillStyle& fill,
              const kalvor::forms::PenStyle& pen) override;
    void Line(kalvor::forms::Point from, kalvor::forms::Point to, const kalvor::forms::PenStyle& pen) override;
    void Text(kalvor::forms::Point at, const kalvor::forms::TextStyle& style, std::string_view text) override;
    bool Image(const kalvor::forms::ImageRequest& style) override;
    void Grid(double scale) override;
    void ObjectCreated(const kalvor::forms::FormModel& model, kalvor::forms::ObjectRef object) override;

private:
    QPainter& Painter();
    // Fills `shape` (clipped to it) with the fill colour or the gradient.
    void FillShape(const QPainterPath& shape, const QRect& bounds, const kalvor::forms::FillStyle& fill);

    FormLayers& layers_;
    const LookMetrics& metrics_;
    std::unique_ptr<QPainter> painter_;
};

} // namespace kalvor::ui::forms
