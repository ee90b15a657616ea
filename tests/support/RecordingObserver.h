// A session observer that records what the session tells the window, and
// answers its questions with preset values (the side files as
// RecordingSideFiles does).
#pragma once

#include "RecordingSideFiles.h"

#include "session/SessionObserver.h"

#include <string>
#include <vector>

namespace kalvor::test {

class RecordingObserver : public RecordingSideFilesOf<SessionObserver> {
public:
    int Bells = 0;
    int Repaints = 0;
    int Arrivals = 0; // connections' deliveries between ticks
    int StateChanges = 0;

    int ExitTerminals = 0;
    int Focuses = 0;
    int ControlCharacterChanges = 0;

    bool Selected = false; // a region is marked

    bool FormsShown = false; // the forms mode shows objects
    int FormsEnters = 0;
    bool FormsHold = false; // the forms mode holds the keyboard
    int FormsTabs = 0;
    std::vector<FieldDirection> FormsMoves;
    bool CanvoOpen = false; // the Canvo window is open (set by FormsShow)

    void Bell() override { ++Bells; }
    void Repaint() override { ++Repaints; }
    void DataArrived() override { ++Arrivals; }
    void StateChanged() override { ++StateChanges; }

    void ShowError(const logging::ErrorWindow&) override {}

    void ExitTerminal() override { ++ExitTerminals; }
    void FocusDisplay() override { ++Focuses; }
    void ControlCharactersChanged() override { ++ControlCharacterChanges; }

    bool SelectionActive() override { return Selected; }
    void FormsShow() override { CanvoOpen = true; }
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
