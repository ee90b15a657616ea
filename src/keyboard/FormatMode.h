// Format mode: the host paints a form of protected captions and fields, and
// the user types only into the unprotected fields; on Enter only the field
// contents are sent (BlockTransmission).
//
// Each row's field layout is its FormBuf run string: runs of columns from
// column 0, each with a field kind, the last one (length 0) reaching the end
// of the row:
//
//   "["        unprotected field: the user types into it; transmitted
//   "{"        transmit-only field: transmitted, not typed into
//   "]" or " " protected area
//
// A row without a layout has no fields. The field routines below read one row
// (a ring index of display memory) and answer with a FormField; FormatMode
// moves the cursor from field to field and edits inside fields, and is what
// the engine calls while format mode is on.
#pragma once

#include "engine/FormatModeHandler.h"
#include "engine/TerminalState.h"

#include <optional>
#include <string>
#include <string_view>

namespace kalvor {

// A stretch of columns of one row: [Start, End), of field kind Kind.
struct FormField {
    int Start = 0;
    int End = 0;
    char Kind = '[';
    int Width() const { return End - Start; }
    bool operator==(const FormField&) const = default;
};

// True for the kinds block transmission takes ("[" and "{").
inline bool IsTransmittedKind(char kind) { return kind == '[' || kind == '{'; }

// Columns from `col` to the end of the unprotected field containing it; -1
// when the column is not inside an unprotected field, lies beyond the last
// column of the screen, or the row has no layout. A run of length 0 reaches
// the last column.
int FormGetFieldWidth(const DisplayMemory& m, int col, int ring);

// The unprotected or transmit-only field at or after `col`: when the column
// is inside one, from the column to the field's end (Start is `col`);
// otherwise the first such field starting after it on the row.
std::optional<FormField> FormFindAField(const DisplayMemory& m, int col, int ring);
// Back tab's search on one row: the last unprotected field that starts
// before `col`.
std::optional<FormField> FormFindPrevField(const DisplayMemory& m, int col, int ring);
// The first unprotected field that starts at or after `col`.
std::optional<FormField> FormFindNextField(const DisplayMemory& m, int col, int ring);
// The unprotected field under `col` (its whole span), for editing inside it.
std::optional<FormField> FormGetCurrentField(const DisplayMemory& m, int col, int ring);
// The field block transmission takes next: the unprotected or transmit-only
// field under `col` (its whole span), else the first starting after it.
std::optional<FormField> FormFindCurXmitField(const DisplayMemory& m, int col, int ring);
// The first unprotected or transmit-only field that starts at or after `col`.
std::optional<FormField> FormFindNextXmitField(const DisplayMemory& m, int col, int ring);

// What format mode asks of the program around it. The session implements it.
class FormatModeEvents {
public:
    // The layout changed: block transmission's block start is reset.
    virtual void ResetBlockStart() = 0;

protected:
    ~FormatModeEvents() = default;
};

class FormatMode final : public FormatModeHandler {
public:
    FormatMode(TerminalState& state, FormatModeEvents& events) : st_(state), events_(events) {}
    FormatMode(const FormatMode&) = delete;
    FormatMode& operator=(const FormatMode&) = delete;

    // Fills the unprotected field under `col` of row `ring` with blanks from
    // `col` to the field's end; nothing in a protected area.
    void FormClearField(int ring, int col);
    // Blanks every unprotected field of the screen; captions stay.
    void FormClearDisplay();
    // The cursor to the first column of the first unprotected field: the rows
    // of the screen from the top, then the rows of memory below it. Returns
    // false, leaving the cursor, when there is none.
    bool FormCursorFirstField();
    // Marks columns [col, endCol] of row `ring` for repainting (when shown).
    void FormDisplayField(int ring, int col, int endCol);
    // The layout or format mode changed: the block start is reset and the
    // fields of the screen are repainted.
    void FormUpdateStatus();
    // The copy command in format mode: the contents of the fields of the
    // screen, the fields of a row joined by HT, rows with fields by CR LF,
    // trailing blanks of each field left out.
    std::string FormCopy() const;

    // Tab across display memory: the next unprotected field after the cursor
    // on its row, then row by row to the last row of memory and on from the
    // first, finally the start of the cursor's own row. While memory lock is
    // on only the rows of the screen are searched (the screen cannot move).
    // Returns false, leaving the cursor, when there is no field.
    bool TabForward();
    // Back tab: the start of the field the cursor is in when it stands after
    // that start, else the previous field, searching backwards likewise.
    bool TabBackward();

    // FormatModeHandler
    bool WriteInFields(std::string_view text) override;
    void TabToField(bool backward) override;
    void CursorFirstField() override { FormCursorFirstField(); }
    void DeleteInField() override;
    void ClearField() override;
    void ClearDisplay() override { FormClearDisplay(); }

private:
    // The rows searched, as ages (0 = oldest row of memory).
    struct SearchRange {
        int First = 0;
        int Count = 0;
    };
    SearchRange Range() const;
    // Puts the cursor at `col` of ring row `ring`, moving the screen when the
    // row is not shown.
    void PlaceCursor(int ring, int col);
    // The next unprotected field starting at or after `fromCol` of the
    // cursor's row, searching on through memory and finally the start of the
    // cursor's own row.
    bool SeekForward(int fromCol);
    void BlankColumns(int ring, int from, int to);

    TerminalState& st_;
    FormatModeEvents& events_;
};

} // namespace kalvor
