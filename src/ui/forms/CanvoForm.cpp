#include "ui/forms/CanvoForm.h"

#include "ui/forms/QtFormDrawing.h"

#include <QPainter>

namespace kalvor::ui::forms {

using namespace kalvor::forms;

CanvoForm::CanvoForm(int preset) : preset_(std::clamp(preset, 1, kPresetCount)), metrics_(MetricsFor(preset_)) {}

void CanvoForm::SetPreset(int preset)
{
    preset_ = std::clamp(preset, 1, kPresetCount);
    metrics_ = MetricsFor(preset_);
}

FormSettings CanvoForm::Settings(QSize client) const
{
    FormSettings s;
    s.Scale = Preset(preset_).Scale;
    s.ClientWidth = std::max(0, client.width());
    s.ClientHeight = std::max(0, client.height());
    s.CellWidth = metrics_.Cell.Width;
    s.CellHeight = metrics_.Cell.Height;
    s.CacheFolder = cacheFolder_;
    return s;
}

FormResult CanvoForm::Build(std::string_view formText, BuildKind kind, QSize client)
{
    const FormSettings settings = Settings(client);
    FormResult result;
    {
        QtFormDrawing drawing(layers_, metrics_);
        result = BuildForm(formText, kind, model_, state_, drawing, settings, resources_);
    }
    caption_ = result.Caption;
    if (result.Failure != FormFailure::None) {
        layers_.DeleteCVBitmaps();
        return result;
    }
    layers_.DataFromBackground();
    DrawAllValues();
    layers_.Copy(Layer::Data, Layer::Cursor, layers_.Bounds());
    if (model_.Listed(model_.Focus.CurFocusObj))
        DrawMarking(model_.Focus.CurFocusObj, true, layers_.Bounds());
    return result;
}

void CanvoForm::DrawAllValues()
{
    QPainter p(&layers_.Get(Layer::Data));
    auto each = [&](ObjectType type, int count) {
        for (int i = 1; i <= count; ++i)
            DrawValue(p, model_, {type, i}, metrics_);
    };
    each(ObjectType::Check, model_.Checks.Count());
    each(ObjectType::Entry, model_.Cursors.Count());
    each(ObjectType::Pick, model_.Picks.Count());
    each(ObjectType::Radio, model_.Radios.Count());
    each(ObjectType::DisplayField, model_.DisplayFields.Count());
}

QRect CanvoForm::ObjectRect(int position) const
{
    return model_.Listed(position) ? forms::ObjectRect(model_, model_.At(position), metrics_) : QRect();
}

QRect CanvoForm::MarkRect(int position) const
{
    return model_.Listed(position) ? forms::MarkRect(model_, model_.At(position), metrics_) : QRect();
}

QRect CanvoForm::DrawNewData(ObjectRef object)
{
    if (!layers_.Exist() || object.Index < 1 || object.Index > model_.KindCount(object.Type))
        return {};
    const QRect r = forms::ObjectRect(model_, object, metrics_).intersected(layers_.Bounds());
    if (r.isEmpty())
        return {};
    if (log_ != nullptr && log_->On()) {
        const std::string at = std::to_string(r.x()), y = std::to_string(r.y());
        const std::string size = ", w = " + std::to_string(r.width()) + ", h = " + std::to_string(r.height());
        log_->WriteToDebugFile("status",
                               "DataDC x = " + at + ", y =" + y + size + "  <- BackgroundDC x = " + at + ", y = " + y);
        log_->WriteToDebugFile("status",
                               "CursorDC x = " + at + ", y =" + y + size + "  <- DataDC x = " + at + ", y = " + y);
    }
    layers_.Copy(Layer::Background, Layer::Data, r);
    {
        QPainter p(&layers_.Get(Layer::Data));
        p.setClipRect(r);
        DrawValue(p, model_, object, metrics_);
    }
    Unmark(r);
    return r;
}

QRect CanvoForm::DrawNewData(int position)
{
    return model_.Listed(position) ? DrawNewData(model_.At(position)) : QRect();
}

void CanvoForm::DrawMarking(int position, bool focus, const QRect& clip)
{
    if (!model_.Listed(position) || !layers_.Exist())
        return;
    QPainter p(&layers_.Get(Layer::Cursor));
    p.setClipRect(clip);
    if (focus)
        DrawFocusMark(p, model_, model_.At(position), metrics_);
    else
        DrawMouseMark(p, model_, model_.At(position), metrics_);
}

void CanvoForm::Unmark(const QRect& rect)
{
    layers_.Copy(Layer::Data, Layer::Cursor, rect);
    // The mouse marking first, the focus marking over it.
    if (model_.Listed(model_.Focus.MouseObj) && MarkRect(model_.Focus.MouseObj).intersects(rect))
        DrawMarking(model_.Focus.MouseObj, false, rect);
    if (model_.Listed(model_.Focus.CurFocusObj) && MarkRect(model_.Focus.CurFocusObj).intersects(rect))
        DrawMarking(model_.Focus.CurFocusObj, true, rect);
}

std::vector<QRect> CanvoForm::SetFocusMarking(int position)
{
    std::vector<QRect> changed;
    const int old = model_.Focus.CurFocusObj;
    model_.Focus.PrevFocusObj = old;
    model_.Focus.CurFocusObj = model_.Listed(position) ? position : 0;
    if (!layers_.Exist())
        return changed;
    if (model_.Listed(old)) {
        const QRect r = MarkRect(old).intersected(layers_.Bounds());
        Unmark(r);
        changed.push_back(r);
    }
    if (model_.Listed(position)) {
        const QRect r = MarkRect(position).intersected(layers_.Bounds());
        Unmark(r);
        changed.push_back(r);
    }
    return changed;
}

std::vector<QRect> CanvoForm::SetMouseMarking(int position)
{
    std::vector<QRect> changed;
    const int old = model_.Focus.MouseObj;
    model_.Focus.PrevMouseObj = old;
    model_.Focus.MouseObj = model_.Listed(position) ? position : 0;
    if (!layers_.Exist() || old == model_.Focus.MouseObj)
        return changed;
    for (const int p : {old, model_.Focus.MouseObj}) {
        if (!model_.Listed(p))
            continue;
        const QRect r = MarkRect(p).intersected(layers_.Bounds());
        Unmark(r);
        changed.push_back(r);
    }
    return changed;
}

std::vector<QRect> CanvoForm::RedrawMarkings(int from, int to)
{
    std::vector<QRect> changed;
    if (!layers_.Exist())
        return changed;
    for (const int p : {from, to}) {
        if (!model_.Listed(p))
            continue;
        const QRect r = MarkRect(p).intersected(layers_.Bounds());
        Unmark(r);
        changed.push_back(r);
    }
    return changed;
}

} // namespace kalvor::ui::forms
