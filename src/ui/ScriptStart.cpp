#include "ui/ScriptStart.h"

#include "comms/net/ConnectionManager.h"
#include "engine/ProgramFolder.h"
#include "script/ScriptPreparation.h"
#include "script/ScriptTarget.h"
#include "ui/MainWindow.h"
#include "ui/StartupWindow.h"

namespace kalvor::ui {

bool PrepareStartupScript(const std::filesystem::path& source)
{
    return script::ScriptInterpreter::PrepareWorkingScript(source, ProgramFolder() / script::kWorkingScript);
}

void RunStartupScript(StartupWindow& startup, net::ConnectionManager& connections)
{
    MainWindow* window = startup.Terminal();
    if (startup.Script().isEmpty() || window == nullptr)
        return;
    // The script reaches the windows through the main window's session observer.
    script::ScriptInterpreter& s = window->GetSession().Script();
    if (!s.Load())
        return;
    script::ApplyTarget(s.State(), connections.Settings());
    connections.Connect_Click();
}

} // namespace kalvor::ui
