// The Edit menu's commands on one session: the selection, Select All, Copy,
// Cut, Paste (to the host through the paced queue, or into display memory),
// Find, Do Same Find Again, Replace and Undo. The window and the headless terminal
// each own one, forward the session's selection questions to it and call
// Tick from their receive timer.
#pragma once

#include "edit/Clipboard.h"
#include "edit/FindText.h"
#include "edit/LocalUndo.h"
#include "edit/PasteQueue.h"
#include "edit/Selection.h"
#include "session/Session.h"

#include <functional>
#include <string>
#include <string_view>

namespace kalvor::edit {

// The search settings, kept between searches.
struct FindSettings {
    std::string FindText;
    std::string ReplaceText;
    CaseMode Mode = CaseMode::IgnoreCase;
};

class Editor {
public:
    Editor(Session& session, const Clock& clock, Clipboard& clipboard);

    Selection& Current() { return sel_; }
    const Selection& Current() const { return sel_; }
    bool Marked() const { return sel_.Marked(); }
    // InitSelect with the selection-active flag cleared.
    void Forget();

    // SelectAll_Click: false when display memory is empty.
    bool SelectAll();
    // CopySelection_Click: the fields in format mode, else the marked text.
    void Copy();
    // CutSelection_Click.
    void Cut();
    // ClipCut: the marked characters and whole marked rows removed with the
    // local editing routines; the cursor at the start of the removed region.
    void ClipCut();
    // PasteSelection_Click with the clipboard's text.
    void Paste() { PasteText(clipboard_.Text()); }
    // A paste of `text`: an active selection is cut first; in character mode
    // the lines go to the host through the queue (behind any still waiting),
    // otherwise they are written into display memory at the cursor.
    void PasteText(std::string_view text);
    // Pasted lines still waiting for the host, and cancelling them.
    std::size_t PasteWaiting() const { return queue_.Waiting(); }
    void CancelPaste() { queue_.Cancel(); }
    // The receive timer ticked: waiting pasted lines that may go now are sent.
    void Tick() { queue_.Pump(session_.HostDc1Count()); }

    // The find text Find proposes: the selection when it lies on one row.
    std::string ProposedFindText() const;
    // The search with the current settings: the match selected, the cursor on
    // it and the screen showing it; false for "String not found." (nothing
    // changes) or an empty find text.
    bool FindNext();
    // ReplaceString_Click: the selection replaced by the replace text, typed
    // in insert-character mode through the receive path.
    void Replace();
    FindSettings Find;

    // A local command that changes display memory, run so that Undo can
    // take it back (Cut and Replace run this way themselves).
    void Undoable(const std::function<void()>& change);
    // UndoCommand_Click: display memory back as it was before the last
    // undoable command, while nothing else has changed it since; false when
    // there is nothing to undo.
    bool CanUndo() const { return undo_.Available(session_.Memory()); }
    bool Undo();

    // A double click on screen row `screenRow`, column `col`: the cursor
    // there and the word marked; false on a blank.
    bool MarkWord(int screenRow, int col);

private:
    void PasteIntoMemory(std::string_view text);
    // The cursor to ring row `ring`, the window moving only when the row is off the screen.
    void CursorTo(int ring, int col);
    void DeleteCharacters(int count);

    Session& session_;
    Clipboard& clipboard_;
    Selection sel_;
    PasteQueue queue_;
    LocalUndo undo_;
};

} // namespace kalvor::edit
