// The local editing routines: cursor movement, roll, page, home, tab,
// insert and delete of characters and lines, clearing. The keyboard calls
// them for keys acting locally; the host's single-character escapes call the
// same routines. `shift` is the modifier state: 1 Shift, 2 Ctrl, 4 Alt.
// In format mode Tab, back tab, Home, the page keys, delete character, clear
// line and clear display act on the unprotected fields (FormatModeHandler).
#pragma once

#include "engine/HostTextWriter.h"
#include "engine/Scroller.h"
#include "engine/TerminalHooks.h"
#include "engine/TerminalState.h"

namespace kalvor {

class FormatModeHandler;

class LocalEditing {
public:
    static constexpr int kShift = 1;
    static constexpr int kCtrl = 2;
    static constexpr int kAlt = 4;

    LocalEditing(TerminalState& state, HostTextWriter& writer, Scroller& scroller, TerminalHooks& hooks)
        : st_(state), writer_(writer), scroll_(scroller), hooks_(hooks)
    {}

    // Up: one row up, the window rolling back at the top line. Alt: roll down
    // (the window moves one row toward older rows, the cursor keeps its line;
    // at the oldest row a blank row is added above it).
    void ExecUpArrow(int shift, bool calledByComp = false);
    // Down: one row down, rolling the window on at the bottom line (memory is
    // extended below LastRow). Alt: roll up.
    void ExecDownArrow(int shift, bool calledByComp = false);
    // Left and right wrap to the previous and next row.
    void ExecLeftArrow(int shift, bool calledByComp = false);
    void ExecRightArrow(int shift, bool calledByComp = false);
    // Home up: column 0 of the oldest row, which becomes the top line.
    void ExecHomeKey(int shift);
    // Home down: column 0 of LastRow, the window showing it on its bottom line.
    void ExecEndKey(int shift);
    void ExecPageUp(int shift);
    void ExecPageDown(int shift);
    // Tab to the next tab stop (HT); Shift: back tab to the previous stop or
    // the left margin.
    void ExecTabKey(int shift);
    // Ctrl: insert a line at the cursor; otherwise toggle insert-character mode.
    void ExecInsertKey(int shift);
    // No modifier: delete the character at the cursor; any modifier: delete
    // the cursor's line.
    void ExecDeleteKey(int shift);
    // Clear from the cursor to the end of the line.
    void ClearLine_Click();
    // Clear from the cursor to the end of memory (ESC J).
    void ExecEscJ();
    // Toggles insert-character mode and its indicator.
    void SetInsertStatus();
    void SetInsertMode(bool on);

    void InsertLine();
    void DeleteLine();
    void DeleteCharacter();

private:
    void CursorMoved();
    void RollDownAtTop();
    FormatModeHandler* Fields() const;

    TerminalState& st_;
    HostTextWriter& writer_;
    Scroller& scroll_;
    TerminalHooks& hooks_;
};

} // namespace kalvor
