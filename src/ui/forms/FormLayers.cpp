#include "ui/forms/FormLayers.h"

#include <cstring>

namespace kalvor::ui::forms {

bool LayerByName(std::string_view name, Layer& layer)
{
    auto is = [name](std::string_view word) {
        if (name.size() != word.size())
            return false;
        for (std::size_t i = 0; i < name.size(); ++i)
            if ((name[i] | 0x20) != word[i])
                return false;
        return true;
    };
    if (is("background"))
        layer = Layer::Background;
    else if (is("data"))
        layer = Layer::Data;
    else if (is("cursor"))
        layer = Layer::Cursor;
    else
        return false;
    return true;
}

bool FormLayers::CreateCVBitmaps(int width, int height, QColor fill)
{
    DeleteCVBitmaps();
    if (width <= 0 || height <= 0 || width > kMaxLayerSide || height > kMaxLayerSide ||
        static_cast<qint64>(width) * height > kMaxLayerPixels)
        return false;
    background_ = QImage(width, height, QImage::Format_RGB32);
    data_ = QImage(width, height, QImage::Format_RGB32);
    cursor_ = QImage(width, height, QImage::Format_RGB32);
    if (background_.isNull() || data_.isNull() || cursor_.isNull()) {
        DeleteCVBitmaps();
        return false;
    }
    background_.fill(fill);
    data_.fill(fill);
    cursor_.fill(fill);
    return true;
}

void FormLayers::DeleteCVBitmaps()
{
    background_ = QImage();
    data_ = QImage();
    cursor_ = QImage();
}

QImage& FormLayers::Get(Layer layer)
{
    switch (layer) {
    case Layer::Background: return background_;
    case Layer::Data: return data_;
    case Layer::Cursor: return cursor_;
    }
    return cursor_;
}

const QImage& FormLayers::Get(Layer layer) const { return const_cast<FormLayers*>(this)->Get(layer); }

void FormLayers::Copy(Layer from, Layer to, const QRect& rect)
{
    const QRect r = rect.intersected(Bounds());
    if (r.isEmpty() || from == to)
        return;
    const QImage& src = Get(from);
    QImage& dst = Get(to);
    const auto bytes = static_cast<std::size_t>(r.width()) * 4;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(dst.scanLine(y) + r.left() * 4, src.constScanLine(y) + r.left() * 4, bytes);
}

} // namespace kalvor::ui::forms
