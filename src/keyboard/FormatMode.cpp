#include "keyboard/FormatMode.h"

#include <algorithm>
#include <cstdint>

namespace kalvor {
namespace {

// Calls `visit` with every run of the row's layout in column order, each
// clipped to the screen width; stops when `visit` returns true. Runs start at
// column 0; a run of length 0 reaches the last column.
template <class Visit>
void ForEachRun(std::string_view form, int cols, Visit visit)
{
    if (form.size() < 3)
        return;
    int start = 0;
    for (std::size_t i = 1; i + 1 < form.size() && start < cols; i += 2) {
        const int length = static_cast<std::uint8_t>(form[i + 1]);
        const int end = length == 0 ? cols : std::min(start + length, cols);
        if (visit(FormField{start, end, form[i]}))
            return;
        if (length == 0)
            return;
        start += length;
    }
}

// The run of the row that contains `col`.
std::optional<FormField> RunAt(const DisplayMemory& m, int col, int ring)
{
    std::optional<FormField> found;
    if (col < 0 || col >= m.ColsInTerm)
        return found;
    ForEachRun(m.Row(ring).Form, m.ColsInTerm, [&](const FormField& run) {
        if (col < run.Start || col >= run.End)
            return false;
        found = run;
        return true;
    });
    return found;
}

// The first run of a kind accepted by `want` that starts at or after `col`.
template <class Want>
std::optional<FormField> FirstFrom(const DisplayMemory& m, int col, int ring, Want want)
{
    std::optional<FormField> found;
    ForEachRun(m.Row(ring).Form, m.ColsInTerm, [&](const FormField& run) {
        if (run.Start < col || !want(run.Kind))
            return false;
        found = run;
        return true;
    });
    return found;
}

bool Unprotected(char kind) { return kind == '['; }

} // namespace

int FormGetFieldWidth(const DisplayMemory& m, int col, int ring)
{
    const auto run = RunAt(m, col, ring);
    return run && Unprotected(run->Kind) ? run->End - col : -1;
}

std::optional<FormField> FormFindAField(const DisplayMemory& m, int col, int ring)
{
    if (const auto run = RunAt(m, col, ring); run && IsTransmittedKind(run->Kind))
        return FormField{col, run->End, run->Kind};
    return FormFindNextXmitField(m, col + 1, ring);
}

std::optional<FormField> FormFindPrevField(const DisplayMemory& m, int col, int ring)
{
    std::optional<FormField> found;
    ForEachRun(m.Row(ring).Form, m.ColsInTerm, [&](const FormField& run) {
        if (run.Start >= col)
            return true;
        if (Unprotected(run.Kind))
            found = run;
        return false;
    });
    return found;
}

std::optional<FormField> FormFindNextField(const DisplayMemory& m, int col, int ring)
{
    return FirstFrom(m, col, ring, Unprotected);
}

std::optional<FormField> FormGetCurrentField(const DisplayMemory& m, int col, int ring)
{
    const auto run = RunAt(m, col, ring);
    return run && Unprotected(run->Kind) ? run : std::nullopt;
}

std::optional<FormField> FormFindCurXmitField(const DisplayMemory& m, int col, int ring)
{
    if (const auto run = RunAt(m, col, ring); run && IsTransmittedKind(run->Kind))
        return run;
    return FormFindNextXmitField(m, col, ring);
}

std::optional<FormField> FormFindNextXmitField(const DisplayMemory& m, int col, int ring)
{
    return FirstFrom(m, col, ring, IsTransmittedKind);
}

// ---------------------------------------------------------------------------
// Moving the cursor

FormatMode::SearchRange FormatMode::Range() const
{
    const DisplayMemory& m = st_.Mem;
    const int used = m.Age(m.LastRow) + 1;
    if (!st_.MemLock.On)
        return {0, used};
    const int top = m.Age(m.TopRow);
    return {top, std::clamp(used - top, 1, m.RowsInTerm)};
}

void FormatMode::PlaceCursor(int ring, int col)
{
    DisplayMemory& m = st_.Mem;
    const int age = m.Age(ring);
    const int top = m.Age(m.TopRow);
    if (age < top) {
        m.TopRow = ring;
        m.CurRow = 0;
        m.MarkAllChanged();
    } else if (age >= top + m.RowsInTerm) {
        m.TopRow = m.Wrap(ring - (m.RowsInTerm - 1));
        m.CurRow = m.RowsInTerm - 1;
        m.MarkAllChanged();
    } else {
        m.MarkCursorRowChanged(m.CurCol);
        m.CurRow = age - top;
    }
    m.AbsCurRow = ring;
    m.PendingAbsRow = -1;
    m.RowBeyondEnd = false;
    m.CurCol = col;
    m.MarkCursorRowChanged(col);
}

bool FormatMode::SeekForward(int fromCol)
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    const int cursor = m.AbsCurRow;
    if (const auto f = FormFindNextField(m, fromCol, cursor)) {
        PlaceCursor(cursor, f->Start);
        return true;
    }
    const SearchRange range = Range();
    const int at = std::clamp(m.Age(cursor), range.First, range.First + range.Count - 1);
    for (int i = 1; i < range.Count; ++i) {
        const int ring = m.Wrap(m.FirstRow + range.First + (at - range.First + i) % range.Count);
        if (const auto f = FormFindNextField(m, 0, ring)) {
            PlaceCursor(ring, f->Start);
            return true;
        }
    }
    // Back on the cursor's own row: a field before the cursor.
    if (const auto f = FormFindNextField(m, 0, cursor)) {
        PlaceCursor(cursor, f->Start);
        return true;
    }
    return false;
}

bool FormatMode::TabForward() { return SeekForward(st_.Mem.CurCol + 1); }

bool FormatMode::TabBackward()
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    const int cursor = m.AbsCurRow;
    if (const auto f = FormFindPrevField(m, m.CurCol, cursor)) {
        PlaceCursor(cursor, f->Start);
        return true;
    }
    const SearchRange range = Range();
    const int at = std::clamp(m.Age(cursor), range.First, range.First + range.Count - 1);
    for (int i = 1; i < range.Count; ++i) {
        const int offset = ((at - range.First - i) % range.Count + range.Count) % range.Count;
        const int ring = m.Wrap(m.FirstRow + range.First + offset);
        if (const auto f = FormFindPrevField(m, m.ColsInTerm, ring)) {
            PlaceCursor(ring, f->Start);
            return true;
        }
    }
    // Back on the cursor's own row: the last field, at or after the cursor.
    if (const auto f = FormFindPrevField(m, m.ColsInTerm, cursor)) {
        PlaceCursor(cursor, f->Start);
        return true;
    }
    return false;
}

void FormatMode::TabToField(bool backward)
{
    if (backward)
        TabBackward();
    else
        TabForward();
}

bool FormatMode::FormCursorFirstField()
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    const int top = m.Age(m.TopRow);
    const int last = st_.MemLock.On ? std::min(m.Age(m.LastRow), top + m.RowsInTerm - 1) : m.Age(m.LastRow);
    for (int age = top; age <= last; ++age) {
        const int ring = m.Wrap(m.FirstRow + age);
        if (const auto f = FormFindNextField(m, 0, ring)) {
            PlaceCursor(ring, f->Start);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------
// Editing inside fields

bool FormatMode::WriteInFields(std::string_view text)
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto field = FormGetCurrentField(m, m.CurCol, m.AbsCurRow);
        if (!field) {
            // A protected column: on to the next unprotected field.
            if (!SeekForward(m.CurCol))
                return pos > 0;
            field = FormGetCurrentField(m, m.CurCol, m.AbsCurRow);
            if (!field)
                return pos > 0;
        }
        const auto col = static_cast<std::size_t>(m.CurCol);
        const auto end = static_cast<std::size_t>(field->End);
        const std::string_view piece = text.substr(pos, std::min(text.size() - pos, end - col));
        std::string& row = m.CursorRow().Text;
        if (row.size() < col)
            row.resize(col, ' ');
        if (st_.InsertMode) {
            // The characters up to the field's end move right; those pushed
            // past it are lost.
            const std::size_t tailEnd = std::min(end, row.size());
            std::string moved(piece);
            moved.append(row, col, tailEnd - col);
            moved.resize(std::min(moved.size(), end - col));
            row.replace(col, tailEnd - col, moved);
        } else {
            if (row.size() < col + piece.size())
                row.resize(col + piece.size(), ' ');
            row.replace(col, piece.size(), piece);
        }
        m.MarkCursorRowChanged(m.CurCol);
        m.CurCol += static_cast<int>(piece.size());
        pos += piece.size();
        // A full field moves the writing on to the next one.
        if (m.CurCol >= field->End && !SeekForward(field->End))
            m.CurCol = std::min(m.CurCol, m.ColsInTerm - 1);
    }
    return true;
}

void FormatMode::DeleteInField()
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    const auto field = FormGetCurrentField(m, m.CurCol, m.AbsCurRow);
    if (!field)
        return;
    std::string& row = m.CursorRow().Text;
    const auto col = static_cast<std::size_t>(m.CurCol);
    if (col >= row.size())
        return;
    const auto end = static_cast<std::size_t>(field->End);
    const bool rowGoesOn = row.size() > end;
    row.erase(col, 1);
    if (rowGoesOn)
        row.insert(end - 1, 1, ' '); // the columns after the field stay where they are
    FormDisplayField(m.AbsCurRow, m.CurCol, field->End - 1);
}

void FormatMode::ClearField()
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    FormClearField(m.AbsCurRow, m.CurCol);
}

void FormatMode::BlankColumns(int ring, int from, int to)
{
    std::string& row = st_.Mem.Row(ring).Text;
    const auto f = static_cast<std::size_t>(from);
    const auto t = static_cast<std::size_t>(to);
    if (f >= row.size() || t <= f)
        return;
    if (t >= row.size())
        row.resize(f);
    else
        std::fill(row.begin() + from, row.begin() + to, ' ');
    FormDisplayField(ring, from, to - 1);
}

void FormatMode::FormClearField(int ring, int col)
{
    if (const auto field = FormGetCurrentField(st_.Mem, col, ring))
        BlankColumns(ring, col, field->End);
}

void FormatMode::FormClearDisplay()
{
    DisplayMemory& m = st_.Mem;
    for (int screenRow = 0; screenRow < m.RowsInTerm; ++screenRow) {
        const int ring = m.ScreenRowToRing(screenRow);
        if (ring < 0)
            break;
        // FormClearRowFields
        ForEachRun(m.Row(ring).Form, m.ColsInTerm, [&](const FormField& run) {
            if (Unprotected(run.Kind))
                BlankColumns(ring, run.Start, run.End);
            return false;
        });
    }
}

void FormatMode::FormDisplayField(int ring, int col, int endCol)
{
    (void)endCol; // a screen row is repainted from its leftmost changed column
    DisplayMemory& m = st_.Mem;
    const int screenRow = m.Age(ring) - m.Age(m.TopRow);
    if (screenRow >= 0 && screenRow < m.RowsInTerm)
        m.MarkChanged(screenRow, col);
}

void FormatMode::FormUpdateStatus()
{
    events_.ResetBlockStart();
    DisplayMemory& m = st_.Mem;
    for (int screenRow = 0; screenRow < m.RowsInTerm; ++screenRow) {
        const int ring = m.ScreenRowToRing(screenRow);
        if (ring < 0)
            break;
        for (auto f = FormFindNextField(m, 0, ring); f; f = FormFindNextField(m, f->End, ring))
            FormDisplayField(ring, f->Start, f->End - 1);
    }
}

std::string FormatMode::FormCopy() const
{
    const DisplayMemory& m = st_.Mem;
    std::string out;
    for (int screenRow = 0; screenRow < m.RowsInTerm; ++screenRow) {
        const int ring = m.ScreenRowToRing(screenRow);
        if (ring < 0)
            break;
        const std::string& text = m.Row(ring).Text;
        std::string line;
        bool any = false;
        for (auto f = FormFindAField(m, 0, ring); f; f = FormFindAField(m, f->End, ring)) {
            if (any)
                line.push_back('\t');
            any = true;
            const auto start = std::min(static_cast<std::size_t>(f->Start), text.size());
            const auto end = std::min(static_cast<std::size_t>(f->End), text.size());
            std::string content = text.substr(start, end - start);
            content.erase(content.find_last_not_of(' ') + 1);
            line += content;
            if (f->End >= m.ColsInTerm)
                break;
        }
        if (!any)
            continue;
        if (!out.empty())
            out += "\r\n";
        out += line;
    }
    return out;
}

} // namespace kalvor
