// The log-on script of the command line in the desktop program. The start-up
// window prepares it with PrepareStartupScript (its PrepareScript); once the
// main window is loaded, RunStartupScript hands the working script to the
// window's session, lets the script reach the windows (HEAD sets the caption,
// XMIT the start-up label "Connecting to ...", EXIT stops the start-up timer
// and shows the terminal) and makes the automatic connect to the script's
// ADDR or DIAL target. A script that has not reached EXIT when the start-up
// timer fires (60 s) leaves the start-up window saying "Unable to make
// connection".
#pragma once

#include "script/ScriptPreparation.h"

#include <filesystem>

namespace kalvor::net {
class ConnectionManager;
}

namespace kalvor::ui {

class StartupWindow;

// Writes the working script "temp/zkscript.txt" under the program folder;
// it runs when its first line is ADDR or DIAL, else the result says why not.
script::PreparedScript PrepareStartupScript(const std::filesystem::path& source);

// After StartupWindow::Start: nothing when the start-up window has no script.
void RunStartupScript(StartupWindow& startup, net::ConnectionManager& connections);

} // namespace kalvor::ui
