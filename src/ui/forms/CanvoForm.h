// One built Canvo form with Qt: the model, the interpreter's carried
// settings, the three layers and the display preset. Building draws the form
// file into the background layer, puts the values on the data layer and the
// focus marking on the cursor layer; afterwards only the rectangles of
// changed objects are redrawn and copied (DrawNewData, the markings).
#pragma once

#include "forms/FormBuild.h"
#include "forms/FormsDebugLog.h"
#include "ui/forms/FormLayers.h"
#include "ui/forms/ObjectLook.h"

#include <QRect>
#include <QSize>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kalvor::ui::forms {

class CanvoForm {
public:
    explicit CanvoForm(int preset = kStartPreset);

    int PresetNumber() const { return preset_; }
    void SetPreset(int preset);
    void SetCacheFolder(std::filesystem::path folder) { cacheFolder_ = std::move(folder); }
    void SetResourceRequests(kalvor::forms::ResourceRequests* requests) { resources_ = requests; }
    // The forms debug log, which records DrawNewData's layer copies.
    void SetDebugLog(kalvor::forms::FormsDebugLog* log) { log_ = log; }

    // Builds the form for a client area of `client` pixels. On a failure the
    // layers are gone and the result says which message applies.
    kalvor::forms::FormResult Build(std::string_view formText, kalvor::forms::BuildKind kind, QSize client);

    kalvor::forms::FormModel& Model() { return model_; }
    const kalvor::forms::FormModel& Model() const { return model_; }
    kalvor::forms::InterpreterState& State() { return state_; }
    FormLayers& Layers() { return layers_; }
    const FormLayers& Layers() const { return layers_; }
    const QImage& CursorImage() const { return layers_.Get(Layer::Cursor); }
    const LookMetrics& Metrics() const { return metrics_; }
    const std::optional<std::string>& Caption() const { return caption_; }
    kalvor::forms::FormSettings Settings(QSize client) const;

    // Rectangles of the object at an object-list position (empty when none).
    QRect ObjectRect(int position) const;
    QRect MarkRect(int position) const;

    // DrawNewData: the object's rectangle copied from the background to the
    // data layer, its value drawn there, the rectangle copied on to the
    // cursor layer (with any marking it carries). Returns the rectangle.
    QRect DrawNewData(kalvor::forms::ObjectRef object);
    QRect DrawNewData(int position);

    // Moves the focus (or mouse) marking to the object at `position` (0:
    // none). Returns the rectangles of the cursor layer that changed.
    std::vector<QRect> SetFocusMarking(int position);
    std::vector<QRect> SetMouseMarking(int position);
    // The markings of two objects drawn again after the model's focus or
    // mouse object moved from one to the other. Returns the rectangles.
    std::vector<QRect> RedrawMarkings(int from, int to);

private:
    void DrawAllValues();
    // The rectangle copied from the data layer, then the markings within it drawn again.
    void Unmark(const QRect& rect);
    void DrawMarking(int position, bool focus, const QRect& clip);

    int preset_;
    LookMetrics metrics_;
    kalvor::forms::FormModel model_;
    kalvor::forms::InterpreterState state_;
    FormLayers layers_;
    std::filesystem::path cacheFolder_;
    kalvor::forms::ResourceRequests* resources_ = nullptr;
    kalvor::forms::FormsDebugLog* log_ = nullptr;
    std::optional<std::string> caption_;
};

} // namespace kalvor::ui::forms
