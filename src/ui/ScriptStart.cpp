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
    Session& session = window->GetSession();
    if (!session.LoadScript())
        return;
    script::ApplyTarget(session.LogonScript(), connections.Settings());
    connections.Connect_Click();
}

} // namespace kalvor::ui
