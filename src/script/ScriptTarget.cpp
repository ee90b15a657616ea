#include "script/ScriptTarget.h"

namespace kalvor::script {

void ApplyTarget(const ScriptState& state, ConnectionSettings& settings)
{
    if (state.Target == TargetKind::None)
        return;
    settings.DirectTarget = state.TargetText;
    settings.DirectPort = state.PortText;
    settings.DirectEntryType = state.TargetType();
    if (state.Target == TargetKind::Dial && !state.PortText.empty())
        settings.PortName = state.PortText;
}

} // namespace kalvor::script
