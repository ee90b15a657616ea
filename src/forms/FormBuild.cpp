#include "forms/FormBuild.h"

#include "forms/CanvoState.h"

namespace kalvor::forms {

FormResult BuildForm(std::string_view formText, BuildKind kind, FormModel& model, InterpreterState& state,
                     FormDrawing& drawing, const FormSettings& settings, ResourceRequests* resources)
{
    CanvoState saved;
    if (kind == BuildKind::NewForm)
        state = {};
    else
        saved = SaveCanvoState(model);
    model.InitializeObjects();
    FormResult result = InterpretScript(formText, model, state, drawing, settings, resources);
    model.FinishBuild(kind == BuildKind::Rebuild ? RestoreCanvoState(model, saved) : 0);
    return result;
}

} // namespace kalvor::forms
