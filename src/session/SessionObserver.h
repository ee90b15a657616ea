// What a session tells the program around it and asks of it: the desktop
// window (ui::MainWindow) and the headless terminal (kalvor-screen) each
// implement it and register with Session::SetObserver; a session without one
// behaves as the defaults below say.
//
// The defaults are for what a terminal without a window has nothing to do
// about: no display to repaint, no printer, no text editor, no selection, no
// forms mode. Errors and the log-on script's window effects have no default:
// every observer decides where they go.
#pragma once

#include "keyboard/KeyCodes.h"
#include "logging/ErrorReport.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kalvor {

class SessionObserver {
public:
    // The display: the bell, a repaint now, indicators, soft-key labels,
    // colours or the tab ruler changed.
    virtual void Bell() {}
    virtual void Repaint() {}
    virtual void StateChanged() {}
    // A connection delivered data: Session::ArrivalPass may run before the
    // next tick (the window posts one; a headless terminal keeps to its ticks).
    virtual void DataArrived() {}

    // The host: ESC % c chose the Telnet variant (0 standard, 1 advanced);
    // ESC & k I changed the data bits (a serial line follows); ESC % k E
    // ends the program (the window closes).
    virtual void TelnetVariant(int variant) { (void)variant; }
    virtual void EightBitDataChanged() {}
    virtual void ExitRequested() {}

    // Side files: a file to print or to show in the text editor (diagnostic
    // dumps, the communications log), ESC 0 prints the screen, and the
    // questions of saving the record file (a file name, nullopt when
    // cancelled; a yes/no question, true for "Yes").
    virtual void PrintFile(const std::filesystem::path& file) { (void)file; }
    virtual void OpenDocument(const std::filesystem::path& file) { (void)file; }
    virtual void PrintScreen() {}
    virtual std::optional<std::filesystem::path> AskFileName(std::string_view title)
    {
        (void)title;
        return std::nullopt;
    }
    virtual bool AskYesNo(std::string_view title, std::string_view text)
    {
        (void)title, (void)text;
        return false;
    }
    // The "Kalvor Error" window of the session's error report.
    virtual void ShowError(const logging::ErrorWindow& error) = 0;

    // The window around the keyboard: Alt+F4 on the soft keys, the focus
    // back to the display, the tab-setting panel, the output routing and the
    // control-character switch changed.
    virtual void ExitTerminal() {}
    virtual void FocusDisplay() {}
    virtual void ShowTabPanel(bool shown) { (void)shown; }
    virtual void DestinationsChanged() {}
    virtual void ControlCharactersChanged() {}

    // A marked region of the display: whether there is one, deleting it,
    // clearing the mark.
    virtual bool SelectionActive() { return false; }
    virtual void ClipCut() {}
    virtual void ClearSelection() {}

    // The forms mode: whether it shows objects (Enter is then its own),
    // holds the keyboard (Tab and the arrows move between its objects), and
    // is ready to take over after a log-on script that ended with EXIT CANV.
    virtual bool FormsShowObjects() { return false; }
    virtual void FormsEnter() {}
    virtual bool FormsHoldKeyboard() { return false; }
    virtual void FormsTab(int shift) { (void)shift; }
    virtual void FormsNavigate(FieldDirection direction) { (void)direction; }
    virtual bool FormsModeReady() { return true; }
    // The Canvo window: a form download ended (ESC % k C) or ESC % k X came,
    // and the window builds the form from the form file and shows it. While
    // it is open its own receive loop reads the session's receive buffer and
    // the terminal's receive pass leaves the data there.
    virtual void FormsShow() {}
    virtual bool FormsWindowOpen() { return false; }

    // The log-on script: HEAD sets the window caption, XMIT the start-up
    // window's status ("Connecting to ..."), EXIT stops the start-up timer
    // and shows the terminal window.
    virtual void ScriptCaption(const std::string& caption) = 0;
    virtual void StartupStatus(const std::string& text) = 0;
    virtual void StopStartupTimer() = 0;
    virtual void DisplayTerminal() = 0;

protected:
    ~SessionObserver() = default;
};

} // namespace kalvor
