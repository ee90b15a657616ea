// InterpretScript: reads a form file from top to bottom once, draws the
// static graphics through the drawing interface as it meets them and creates
// the interactive objects in the model. Malformed lines never stop it:
// unknown words are skipped, missing numbers read as 0, an object without a
// name is not created, a kind beyond 500 objects takes no more.
#pragma once

#include "forms/FormDrawing.h"
#include "forms/FormModel.h"
#include "forms/InterpreterState.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor::forms {

// What the forms window tells the interpreter about the surface.
struct FormSettings {
    double Scale = 1.0;  // window pixels per form unit (the display preset's factor)
    int ClientWidth = 0; // the window's client area in pixels
    int ClientHeight = 0;
    int ScrollStep = 10; // form sizes beyond the client area round up to this
    int CellWidth = 9;   // character cell of the preset's field font
    int CellHeight = 17;
    std::filesystem::path CacheFolder; // where /IMAGE takes plain file names from
};

// /RESOURCES and /PURGE, carried out by the resource cache.
class ResourceRequests {
public:
    virtual ~ResourceRequests() = default;
    virtual void DownloadResources(const ResourceServer& server, const std::vector<std::string>& names) = 0;
    // Deletes `file` from the cache when it is older than `date` (yyyymmddhhnn).
    virtual void Purge(const std::string& file, const std::string& date) = 0;
};

enum class FormFailure {
    None,
    Layers,          // the layers could not be created when the build began
    BackgroundLayers // the layers could not be recreated for /BACKGROUND
};

struct FormResult {
    FormFailure Failure = FormFailure::None;
    std::optional<std::string> Caption; // the last /CAPTION
    int Width = 0, Height = 0;          // the layers' size in pixels
};

// The layer size for a logical form size: at least 800 x 600 units, scaled;
// beyond the client area rounded up to whole scroll steps, within it the
// client size.
void FormSize(double unitsWide, double unitsHigh, const FormSettings& settings, int& width, int& height);

FormResult InterpretScript(std::string_view formText, FormModel& model, InterpreterState& state, FormDrawing& drawing,
                           const FormSettings& settings, ResourceRequests* resources = nullptr);

} // namespace kalvor::forms
