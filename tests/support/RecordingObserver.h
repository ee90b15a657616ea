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

    std::vector<std::string> Printed;              // the contents of every printed file
    std::vector<std::filesystem::path> Opened;     // documents shown in the text editor
    std::optional<std::filesystem::path> FileName; // the answer to the file chooser
    bool Yes = false;                              // the answer to a yes/no question
    std::vector<std::string> Questions;            // the titles of the questions asked

    int ExitTerminals = 0;
    int Focuses = 0;
    int ControlCharacterChanges = 0;

    bool Selected = false; // a region is marked

    bool FormsShown = false; // the forms mode shows objects
    int FormsEnters = 0;
    bool FormsHold = false; // the forms mode holds the keyboard
    int FormsTabs = 0;
    std::vector<FieldDirection> FormsMoves;
    int FormsShows = 0;     // the Canvo window was asked to show the form file
    bool CanvoOpen = false; // the Canvo window is open (set by FormsShow)

    void Bell() override { ++Bells; }
    void Repaint() override { ++Repaints; }
    void DataArrived() override { ++Arrivals; }
    void StateChanged() override { ++StateChanges; }

    void PrintFile(const std::filesystem::path& file) override { Printed.push_back(ReadAll(file)); }
    void OpenDocument(const std::filesystem::path& file) override { Opened.push_back(file); }
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
    void ShowError(const logging::ErrorWindow&) override {}

    void ExitTerminal() override { ++ExitTerminals; }
    void FocusDisplay() override { ++Focuses; }
    void ControlCharactersChanged() override { ++ControlCharacterChanges; }

    bool SelectionActive() override { return Selected; }
    void FormsShow() override
    {
        ++FormsShows;
        CanvoOpen = true;
    }
    bool FormsWindowOpen() override { return CanvoOpen; }
    void ClearSelection() override { Selected = false; }

    bool FormsShowObjects() override { return FormsShown; }
    void FormsEnter() override { ++FormsEnters; }
    bool FormsHoldKeyboard() override { return FormsHold; }
    void FormsTab(int) override { ++FormsTabs; }
    void FormsNavigate(FieldDirection direction) override { FormsMoves.push_back(direction); }

    void ScriptCaption(const std::string&) override {}
    void StartupStatus(const std::string&) override {}
    void StopStartupTimer() override {}
    void DisplayTerminal() override {}
};

} // namespace kalvor::test
