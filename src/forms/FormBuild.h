// Building a form from its file: a new form starts the interpreter from its
// initial settings; a rebuild (resize, rescale, reload) keeps the settings
// and puts the objects' values and the focus back after the form is read
// again. Either way the default tab sequence and the first focus follow.
#pragma once

#include "forms/InterpretScript.h"

namespace kalvor::forms {

enum class BuildKind { NewForm, Rebuild };

FormResult BuildForm(std::string_view formText, BuildKind kind, FormModel& model, InterpreterState& state,
                     FormDrawing& drawing, const FormSettings& settings, ResourceRequests* resources = nullptr);

} // namespace kalvor::forms
