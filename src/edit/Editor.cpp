#include "edit/Editor.h"

#include "edit/ClipText.h"
#include "edit/WordMarking.h"

#include <algorithm>
#include <cmath>

namespace kalvor::edit {

Editor::Editor(Session& session, const Clock& clock, Clipboard& clipboard)
    : session_(session),
      clipboard_(clipboard),
      queue_(clock, [&session](const std::string& line) { session.TransmitPastedLine(line); })
{}

void Editor::Forget() { sel_.Clear(); }

bool Editor::SelectAll()
{
    edit::SelectAll(sel_, session_.Memory());
    return sel_.Marked();
}

void Editor::Copy()
{
    session_.EndExtendedEntry();
    if (session_.State().FormatMode)
        clipboard_.SetText(session_.FormCopy());
    else if (sel_.Marked())
        clipboard_.SetText(ClipCopyText(sel_, session_.Memory()));
}

void Editor::Cut()
{
    session_.EndExtendedEntry();
    if (!sel_.Marked())
        return;
    clipboard_.SetText(ClipCopyText(sel_, session_.Memory()));
    Undoable([this] { ClipCut(); });
    Forget();
}

void Editor::CursorTo(int ring, int col)
{
    const DisplayMemory& m = session_.Memory();
    const int age = m.Age(ring);
    const int topAge = m.Age(m.TopRow);
    const bool onScreen = age >= topAge && age < topAge + m.RowsInTerm;
    session_.PlaceCursor(onScreen ? m.TopRow : ring, ring, col);
}

void Editor::DeleteCharacters(int count)
{
    for (int i = 0; i < count; ++i)
        session_.DeleteKey(0);
}

void Editor::ClipCut()
{
    if (!sel_.Marked())
        return;
    const Selection s = sel_;
    const DisplayMemory& m = session_.Memory();
    const int first = std::max(0, s.StartCol);
    const int rows = m.Age(s.EndRow) - m.Age(s.StartRow) + 1;
    const bool toEnd = s.EndCol == kToRowEnd;
    constexpr int kLine = 1; // any modifier: the delete key removes the line
    if (!s.Rect && s.StartRow == m.FirstRow && first == 0 && s.EndRow == m.LastRow && toEnd) {
        session_.ClearDisplay();
        return;
    }
    if (s.Rect) {
        for (int i = 0; i < rows; ++i) {
            CursorTo(m.Wrap(s.StartRow + i), first);
            if (toEnd)
                session_.ClearLine();
            else
                DeleteCharacters(s.EndCol - first + 1);
        }
    } else if (rows == 1) {
        CursorTo(s.StartRow, first);
        if (toEnd && first == 0)
            session_.DeleteKey(kLine);
        else if (toEnd)
            session_.ClearLine();
        else
            DeleteCharacters(s.EndCol - first + 1);
    } else {
        // Bottom up, so that the ring rows above each deletion stay where they are.
        CursorTo(s.EndRow, 0);
        if (toEnd)
            session_.DeleteKey(kLine);
        else
            DeleteCharacters(s.EndCol + 1);
        for (int i = rows - 2; i >= 1; --i) {
            CursorTo(m.Wrap(s.StartRow + i), 0);
            session_.DeleteKey(kLine);
        }
        CursorTo(s.StartRow, first);
        if (first == 0)
            session_.DeleteKey(kLine);
        else
            session_.ClearLine();
    }
    CursorTo(s.StartRow, first);
}

void Editor::PasteText(std::string_view text)
{
    session_.EndExtendedEntry();
    if (text.empty())
        return;
    if (sel_.Marked()) {
        ClipCut();
        Forget();
    }
    if (session_.CurrentConnection().Connected() && session_.CharacterMode())
        queue_.Add(HostPasteLines(text), session_.HostDc1Count());
    else
        PasteIntoMemory(text);
}

void Editor::PasteIntoMemory(std::string_view text)
{
    const DisplayMemory& m = session_.Memory();
    CursorTo(m.Wrap(m.TopRow + m.CurRow), m.CurCol);
    std::string rest =
        m.Row(m.AbsCurRow).Text.substr(std::min(m.Row(m.AbsCurRow).Text.size(), static_cast<std::size_t>(m.CurCol)));
    rest.erase(rest.find_last_not_of(' ') + 1);
    session_.ClearLine();
    const std::vector<std::string> lines = DisplayPasteLines(text);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const bool exact = m.CurCol + static_cast<int>(lines[i].size()) == m.RightMargin + 1;
        session_.InterpretLocal(exact ? lines[i] : lines[i] + "\r\n");
        // A row with text below the pasted line moves down rather than being written over.
        if (!m.Row(m.AbsCurRow).Text.empty())
            session_.InsertKey(LocalEditing::kCtrl);
    }
    if (!lines.empty())
        session_.InterpretLocal(lines.back());
    const int top = m.TopRow;
    const int ring = m.AbsCurRow;
    const int col = m.CurCol;
    session_.InterpretLocal(rest);
    session_.PlaceCursor(top, ring, col);
}

std::string Editor::ProposedFindText() const
{
    if (!sel_.Marked() || sel_.StartRow != sel_.EndRow)
        return {};
    std::string text = ClipCopyText(sel_, session_.Memory());
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    return text;
}

bool Editor::FindNext()
{
    session_.EndExtendedEntry();
    const DisplayMemory& m = session_.Memory();
    const auto found = FindInMemory(m, Find.FindText, Find.Mode);
    if (!found) {
        session_.RepaintAll();
        return false;
    }
    sel_.Clear();
    sel_.Active = true;
    sel_.Direction = 1;
    sel_.StartRow = sel_.EndRow = found->Row;
    sel_.StartCol = found->Col;
    sel_.EndCol = found->Col + static_cast<int>(Find.FindText.size()) - 1;
    // The match is brought to six tenths of the screen height when it lies
    // below that mark, to the top line when it lies above the screen.
    const int rowAge = m.Age(found->Row);
    int topAge = m.Age(m.TopRow);
    const int markAge = topAge + static_cast<int>(std::nearbyint(m.RowsInTerm * 0.6));
    if (rowAge > markAge)
        topAge = std::min(topAge + rowAge - markAge, m.Age(m.LastRow));
    else if (rowAge < topAge)
        topAge = rowAge;
    session_.PlaceCursor(m.Wrap(m.FirstRow + topAge), found->Row, found->Col);
    return true;
}

void Editor::Replace()
{
    if (!sel_.Marked() || Find.ReplaceText.empty())
        return;
    session_.EndExtendedEntry();
    const bool insert = session_.State().InsertMode;
    session_.SetInsertMode(true);
    Undoable([this] {
        ClipCut();
        session_.InterpretLocal(Find.ReplaceText);
    });
    Forget();
    session_.SetInsertMode(insert);
}

bool Editor::MarkWord(int screenRow, int col)
{
    const DisplayMemory& m = session_.Memory();
    const int ring = m.ScreenRowToRing(std::clamp(screenRow, 0, m.RowsInTerm - 1));
    Forget();
    if (ring < 0)
        return false;
    const auto word = WordAt(m.Row(ring).Text, col);
    session_.PlaceCursor(m.TopRow, ring, word ? word->Start : col);
    if (!word)
        return false;
    sel_.Active = true;
    sel_.Direction = 1;
    sel_.StartRow = sel_.EndRow = ring;
    sel_.StartCol = word->Start;
    sel_.EndCol = word->End;
    return true;
}

void Editor::Undoable(const std::function<void()>& change)
{
    undo_.Before(session_.Memory());
    change();
    undo_.After(session_.Memory());
}

bool Editor::Undo()
{
    session_.EndExtendedEntry();
    if (!CanUndo())
        return false;
    Forget();
    session_.RestoreMemory(undo_.Take());
    return true;
}

} // namespace kalvor::edit
