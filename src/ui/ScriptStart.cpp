#include "ui/ScriptStart.h"

#include "base/ProgramInstance.h"
#include "comms/net/ConnectionManager.h"
#include "script/ScriptPreparation.h"
#include "script/ScriptTarget.h"
#include "ui/MainWindow.h"
#include "ui/StartupWindow.h"

namespace kalvor::ui {

script::PreparedScript PrepareStartupScript(const std::filesystem::path& source)
{
    return script::PrepareScriptFile(source, ProgramFile(script::kWorkingScript));
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
