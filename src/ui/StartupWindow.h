// The start-up window: a small splash with a status label, shown while the
// program starts. Start() runs the start-up steps in order: the temporary
// files of an earlier run are deleted and the program folder's four folders
// made, the terminal's fonts registered (RegZKFonts), the serial ports
// listed, the command line's script argument taken, and the main terminal
// window loaded. Its timer PictureInterval_Timer then decides: without a
// script (4000 ms) the terminal window is shown; with one (60000 ms, the
// label showing "Executing Script") the script has not reached EXIT in
// time: "Unable to make connection" is shown, the bell sounds, the
// communications log is switched off, and the terminal window follows.
//
// The log-on script meets the window through PrepareScript (it builds the
// working script and says whether there is one to run), SetStatus (e.g.
// "Connecting to ..."), ScriptExited (EXIT stops the timer) and
// DisplayTerminal.
//
// When the main window unloads, the start-up window unloads too: its timer
// stops and the program ends (EndProgram).
#pragma once

#include "logging/ErrorReport.h"
#include "script/ScriptPreparation.h"
#include "ui/ErrorWindow.h"
#include "ui/MainWindow.h"

#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kalvor::ui {

// What the start-up window asks of the program around it.
class ProgramEnvironment {
public:
    // Prepares the script of the command line (temp/zkscript.txt) and says
    // whether it is there to be run, or why not (shown at once, and the
    // terminal comes as without a script).
    virtual script::PreparedScript PrepareScript(const std::filesystem::path& script) = 0;
    // The serial ports of this machine.
    virtual std::vector<std::string> ListSerialPorts() = 0;
    // Ends the program (QCoreApplication::quit in the desktop program).
    virtual void EndProgram() = 0;

protected:
    ~ProgramEnvironment() = default;
};

class StartupWindow final : public QWidget, private StartupHost {
public:
    static constexpr int kPlainInterval = 4000;   // ms without a script
    static constexpr int kScriptInterval = 60000; // ms while a script connects

    explicit StartupWindow(ProgramEnvironment& environment, const WindowOptions& options = {},
                           QWidget* parent = nullptr);
    ~StartupWindow() override;

    // The start-up steps; `script` is the command-line argument (empty:
    // none). Shows this window first.
    void Start(const QString& script);

    // The main terminal window, after Start.
    MainWindow* Terminal() { return terminal_.get(); }
    QLabel& StatusLabel() { return *status_; }
    QTimer& PictureInterval() { return pictureInterval_; }
    logging::ErrorReport& Errors() { return errors_; }
    // The script file being run; empty when none was given or it does not exist.
    const QString& Script() const { return script_; }
    // The serial ports found ("COM 1", ...).
    const std::vector<std::string>& SerialPorts() const { return serialPorts_; }

    void PictureInterval_Timer();
    // DisplayTerminal: this window goes, the terminal window comes.
    void DisplayTerminal() override;
    // The script reached EXIT: the timer stops.
    void ScriptExited() override;
    void SetStatus(const QString& text) override;

private:
    // The main window has unloaded: the start-up window unloads and the program ends.
    void TerminalUnloaded() override;

    ProgramEnvironment& environment_;
    WindowOptions options_;
    ErrorWindowDisplay errorDisplay_{this};
    logging::ErrorReport errors_;
    QLabel* status_ = nullptr;
    QTimer pictureInterval_;
    QString script_;
    std::vector<std::string> serialPorts_;
    std::unique_ptr<MainWindow> terminal_;
};

} // namespace kalvor::ui
