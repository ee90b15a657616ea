// The three drawing layers of a Canvo form, each as large as the scaled
// form: "background" (everything the form file draws and the empty look of
// each object), "data" (the background with the objects' values) and
// "cursor" (the data with the focus and mouse markings; what the window
// shows). Only rectangles of changed objects are copied between them.
#pragma once

#include "forms/FormNumbers.h"

#include <QColor>
#include <QImage>
#include <QRect>

#include <string_view>

namespace kalvor::ui::forms {

enum class Layer { Background, Data, Cursor };

// "background", "data", "cursor" (case ignored); false for other names.
bool LayerByName(std::string_view name, Layer& layer);

inline QColor ToQColor(kalvor::forms::Colour c)
{
    return QColor(kalvor::forms::Red(c), kalvor::forms::Green(c), kalvor::forms::Blue(c));
}

// Layers beyond these limits are refused (the forms mode reports that its
// bitmaps could not be created) rather than exhausting memory.
constexpr int kMaxLayerSide = 16384;
constexpr qint64 kMaxLayerPixels = 24LL * 1024 * 1024;

class FormLayers {
public:
    // CreateCVBitmaps: three layers of width x height filled with `fill`.
    // False (and no layers) when they cannot be made.
    bool CreateCVBitmaps(int width, int height, QColor fill);
    // DeleteCVBitmaps
    void DeleteCVBitmaps();

    bool Exist() const { return !background_.isNull(); }
    QSize Size() const { return background_.size(); }
    QRect Bounds() const { return background_.rect(); }

    QImage& Get(Layer layer);
    const QImage& Get(Layer layer) const;

    // Copies `rect` (clipped to the layers) from one layer to the same place
    // of another.
    void Copy(Layer from, Layer to, const QRect& rect);
    // The data layer made a whole copy of the background.
    void DataFromBackground() { Copy(Layer::Background, Layer::Data, Bounds()); }

private:
    QImage background_;
    QImage data_;
    QImage cursor_;
};

} // namespace kalvor::ui::forms
