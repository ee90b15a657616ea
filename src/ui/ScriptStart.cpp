#include "ui/ScriptStart.h"

#include "base/ProgramInstance.h"
#include "comms/net/ConnectionManager.h"
#include "script/ScriptPreparation.h"
#include "script/ScriptTarget.h"
#include "ui/MainWindow.h"
#include "ui/StartupWindow.h"

namespace kalvor::ui {
namespace {

QString Latin1(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

script::PreparedScript PrepareStartupScript(const std::filesystem::path& source)
{
    return script::PrepareScriptFile(source, ProgramFile(script::kWorkingScript));
}

void RunStartupScript(StartupWindow& startup, net::ConnectionManager& connections)
{
    MainWindow* window = startup.Terminal();
    if (startup.Script().isEmpty() || window == nullptr)
        return;
    script::ScriptInterpreter& s = window->GetSession().Script();
    s.Events.Caption = [window](const std::string& text) { window->setWindowTitle(Latin1(text)); };
    s.Events.StartupStatus = [&startup](const std::string& text) { startup.SetStatus(Latin1(text)); };
    s.Events.StopStartupTimer = [&startup] { startup.ScriptExited(); };
    s.Events.DisplayTerminal = [&startup] { startup.DisplayTerminal(); };
    if (!s.Load())
        return;
    script::ApplyTarget(s.State(), connections.Settings());
    connections.Connect_Click();
}

} // namespace kalvor::ui
