// A session observer that records what the session tells the window, and
// answers its questions with preset values. Files handed to the printer are
// read at once: the session removes some of them right after.
#pragma once

#include "FileBytes.h"

#include "session/SessionObserver.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kalvor::test {

class RecordingObserver : public SessionObserver {
public:
    int Bells = 0;
    int Repaints = 0;
    int Arrivals = 0; // connections' deliveries between ticks
    int StateChanges = 0;
    std::vector<int> TelnetVariants;
    int ExitRequests = 0;

    std::vector<std::string> Printed;          // the contents of every printed file
    std::vector<std::filesystem::path> Opened; // documents shown in the text editor
    int ScreenPrints = 0;
    std::optional<std::filesystem::path> FileName; // the answer to the file chooser
    bool Yes = false;                              // the answer to a yes/no question
    std::vector<std::string> Questions;            // the titles of the questions asked
    std::vector<logging::ErrorWindow> Errors;

    int ExitTerminals = 0;
    int Focuses = 0;
    std::vector<bool> TabPanels;
    int DestinationChanges = 0;
    int ControlCharacterChanges = 0;

    bool Selected = false; // a region is marked
    int Cuts = 0;
    int SelectionClears = 0;

    bool FormsShown = false; // the forms mode shows objects
    int FormsEnters = 0;
    bool FormsHold = false; // the forms mode holds the keyboard
    int FormsTabs = 0;
    std::vector<FieldDirection> FormsMoves;
    int FormsShows = 0;     // the Canvo window was asked to show the form file
    bool CanvoOpen = false; // the Canvo window is open (set by FormsShow)

    std::string Caption;
    std::string Status;
    bool TimerStopped = false;
    bool Shown = false;

    void Bell() override { ++Bells; }
    void Repaint() override { ++Repaints; }
    void DataArrived() override { ++Arrivals; }
    void StateChanged() override { ++StateChanges; }
    void TelnetVariant(int variant) override { TelnetVariants.push_back(variant); }
    void ExitRequested() override { ++ExitRequests; }

    void PrintFile(const std::filesystem::path& file) override { Printed.push_back(ReadAll(file)); }
    void OpenDocument(const std::filesystem::path& file) override { Opened.push_back(file); }
    void PrintScreen() override { ++ScreenPrints; }
    std::optional<std::filesystem::path> AskFileName(std::string_view title) override
    {
        Questions.emplace_back(title);
        return FileName;
    }
    bool AskYesNo(std::string_view title, std::string_view) override
    {
        Questions.emplace_back(title);
        return Yes;
    }
    void ShowError(const logging::ErrorWindow& error) override { Errors.push_back(error); }

    void ExitTerminal() override { ++ExitTerminals; }
    void FocusDisplay() override { ++Focuses; }
    void ShowTabPanel(bool shown) override { TabPanels.push_back(shown); }
    void DestinationsChanged() override { ++DestinationChanges; }
    void ControlCharactersChanged() override { ++ControlCharacterChanges; }

    bool SelectionActive() override { return Selected; }
    void ClipCut() override { ++Cuts; }
    void FormsShow() override
    {
        ++FormsShows;
        CanvoOpen = true;
    }
    bool FormsWindowOpen() override { return CanvoOpen; }
    void ClearSelection() override
    {
        ++SelectionClears;
        Selected = false;
    }

    bool FormsShowObjects() override { return FormsShown; }
    void FormsEnter() override { ++FormsEnters; }
    bool FormsHoldKeyboard() override { return FormsHold; }
    void FormsTab(int) override { ++FormsTabs; }
    void FormsNavigate(FieldDirection direction) override { FormsMoves.push_back(direction); }

    void ScriptCaption(const std::string& caption) override { Caption = caption; }
    void StartupStatus(const std::string& text) override { Status = text; }
    void StopStartupTimer() override { TimerStopped = true; }
    void DisplayTerminal() override { Shown = true; }
};

} // namespace kalvor::test
