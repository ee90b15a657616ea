#include "engine/HostTextWriter.h"

#include "engine/ByteScan.h"
#include "engine/CharacterSets.h"
#include "engine/FormatModeHandler.h"
#include "engine/RunString.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kalvor {
namespace {

enum CharClass : std::uint8_t {
    kPrint = 0,   // written as text (32..255)
    kControl = 1, // BS HT LF CR SO SI DC1: carried out at the cursor
    kDrop = 2,    // removed without effect (DC2 and the unused controls)
    kBel = 3,     // removed; sounds the bell when it is on
};

constexpr std::array<std::uint8_t, 256> MakeClasses()
{
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 32; ++c)
        t[c] = kDrop;
    for (int c : {8, 9, 10, 13, 14, 15, 17})
        t[c] = kControl;
    t[7] = kBel;
    return t;
}
constexpr std::array<std::uint8_t, 256> kClass = MakeClasses();

constexpr CharTable MakeIdentity()
{
    CharTable t{};
    for (int c = 0; c < 256; ++c)
        t[c] = static_cast<std::uint8_t>(c);
    return t;
}
constexpr CharTable kIdentity = MakeIdentity();

// Mnemonics of record mode for the controls 0..31 (CR, LF and DC1 stay).
constexpr const char* kMnemonic[32] = {
    "<null>", "<soh>", "<stx>", "<etx>", "<eot>", "<enq>", "<ack>", "<bell>", "<bs>",  "<ht>",  nullptr,
    "<vt>",   "<ff>",  nullptr, "<so>",  "<si>",  "<dle>", nullptr, "<dc2>",  "<dc3>", "<dc4>", "<nak>",
    "<syn>",  "<etb>", "<can>", "<em>",  "<sub>", "<esc>", "<fs>",  "<gs>",   "<rs>",  "<us>",
};

constexpr char kEsc = 27;

} // namespace

void HostTextWriter::WriteHostText()
{
    // A hook called while a run is written (DC1 completion, say) may append
    // to the pending run; that text is written after the current run.
    if (busy_)
        return;
    busy_ = true;
    while (!pending_.empty()) {
        work_.swap(pending_);
        if (st_.OutputRouting & 6)
            hooks_.LogText(work_);
        if (st_.OutputRouting & 1) {
            st_.Mem.ApplyPendingRow();
            if (st_.RecordMode >= 1)
                ExpandMnemonics(work_);
            if (st_.DisplayFunctions)
                WriteDisplayFunctions(work_);
            else
                WriteNormal(work_);
        }
        work_.clear();
    }
    busy_ = false;
}

void HostTextWriter::WriteNormal(std::string& run)
{
    const CharTable& tr = st_.HostRoman8 ? Roman8ToLatin1Table() : kIdentity;
    char* buf = run.data();
    const std::size_t n = run.size();
    std::size_t segStart = 0; // start of the text segment not yet written
    std::size_t w = 0;        // end of the filtered text (dropped controls close up)
    std::size_t r = 0;
    while (r < n) {
        bool high = false;
        const std::size_t k = PrintableRun(buf + r, n - r, high);
        if (w != r)
            std::memmove(buf + w, buf + r, k);
        if (high && st_.HostRoman8)
            for (std::size_t i = w; i < w + k; ++i)
                buf[i] = static_cast<char>(tr[static_cast<std::uint8_t>(buf[i])]);
        w += k;
        r += k;
        if (r == n)
            break;
        const auto c = static_cast<std::uint8_t>(buf[r++]);
        switch (kClass[c]) {
        case kDrop: break;
        case kBel:
            if (st_.BellOn)
                hooks_.Bell();
            break;
        default:
            WriteSegment(buf + segStart, w - segStart);
            segStart = w;
            switch (c) {
            case 8: Backspace(); break;
            case 9: HorizontalTab(); break;
            case 10: LineFeed(); break;
            case 13: CarriageReturn(); break;
            case 14: ShiftOut(); break;
            case 15: ShiftIn(); break;
            case 17: HostDc1(); break;
            }
            break;
        }
    }
    WriteSegment(buf + segStart, w - segStart);
}

// Display functions: everything is shown as text, ESC included. DC2 keeps its
// handshake meaning (removed), DC1 is shown and completes the handshake, a CR
// is shown and then acts as CR LF. The pair ESC Z is shown and switches
// display functions off; what follows it is interpreted normally.
void HostTextWriter::WriteDisplayFunctions(std::string& run)
{
    const CharTable& tr = st_.HostRoman8 ? Roman8ToLatin1Table() : kIdentity;
    char* buf = run.data();
    const std::size_t n = run.size();
    std::size_t segStart = 0;
    std::size_t w = 0;
    // The character received before this one. Shown characters are compacted
    // into buf, so buf[r - 1] may already hold a later one. Only ESC directly
    // followed by Z is the pair (a DC2 between them breaks it), as the receive
    // pass cuts its pieces.
    std::uint8_t previous = 0;
    for (std::size_t r = 0; r < n; ++r) {
        const auto c = static_cast<std::uint8_t>(buf[r]);
        const bool escZ = c == 'Z' && previous == kEsc;
        previous = c;
        if (c == 18)
            continue;
        buf[w++] = static_cast<char>(tr[c]);
        if (c == 13 || c == 17) {
            WriteSegment(buf + segStart, w - segStart);
            segStart = w;
            if (c == 13) {
                CarriageReturn();
                LineFeed();
            } else {
                HostDc1();
            }
        } else if (escZ) {
            WriteSegment(buf + segStart, w - segStart);
            st_.DisplayFunctions = false;
            std::string rest(buf + r + 1, n - r - 1);
            WriteNormal(rest);
            return;
        }
    }
    WriteSegment(buf + segStart, w - segStart);
}

void HostTextWriter::ExpandMnemonics(std::string& run)
{
    std::string out;
    out.reserve(run.size() + 16);
    for (char ch : run) {
        const auto c = static_cast<std::uint8_t>(ch);
        if (c < 32 && kMnemonic[c] != nullptr)
            out.append(kMnemonic[c]);
        else
            out.push_back(ch);
    }
    hooks_.RecordText(out);
    run.swap(out);
}

void HostTextWriter::WriteSegment(const char* text, std::size_t length)
{
    // In format mode text goes into the unprotected fields (moving on from
    // field to field instead of wrapping); with no field at all it is written
    // as usual.
    if (length > 0 && st_.FormatMode) {
        FormatModeHandler* fields = hooks_.FormatFields();
        if (fields != nullptr && fields->WriteInFields(std::string_view(text, length)))
            return;
    }
    DisplayMemory& m = st_.Mem;
    while (length > 0) {
        int avail =
            (m.CurCol <= m.RightMargin && !st_.MarginWrap) ? m.RightMargin - m.CurCol + 1 : m.ColsInTerm - m.CurCol;
        if (avail <= 0) {
            // The cursor stands past the last column: wrap before writing.
            LineFeed();
            m.CurCol = m.LeftMargin;
            continue;
        }
        const int k = static_cast<int>(std::min<std::size_t>(length, static_cast<std::size_t>(avail)));
        PutAtCursor(text, k);
        m.CurCol += k;
        text += k;
        length -= static_cast<std::size_t>(k);
        if (k < avail)
            break;
        if (length > 0 || !st_.MarginWrap) {
            LineFeed();
            m.CurCol = m.LeftMargin;
        } else if (m.CurCol >= m.ColsInTerm) {
            m.CurCol = m.ColsInTerm - 1;
        }
    }
}

void HostTextWriter::PutAtCursor(const char* text, int length)
{
    DisplayMemory& m = st_.Mem;
    std::string& row = m.CursorRow().Text;
    const auto col = static_cast<std::size_t>(m.CurCol);
    const auto len = static_cast<std::size_t>(length);
    st_.EnhSeries.BeforeText(m, length);
    m.MarkChanged(m.CurRow, m.CurCol);
    // Inserted characters push the ones after them right, each with its set.
    if (st_.InsertMode && !st_.FormatMode) {
        std::string& shift = m.CursorRow().Shift;
        shift = runstring::InsertColumns(shift, m.CurCol, length);
    }
    KeepCharacterSet(m.CurCol, length);
    if (row.size() < col)
        row.resize(col, ' ');
    if (!st_.InsertMode || st_.FormatMode) {
        if (row.size() < col + len)
            row.resize(col + len);
        std::memcpy(row.data() + col, text, len);
        return;
    }
    const auto cols = static_cast<std::size_t>(m.ColsInTerm);
    if (m.CurCol > m.RightMargin || st_.MarginWrap) {
        row.insert(col, text, len);
        if (row.size() > cols)
            row.resize(cols);
        return;
    }
    // Inside the margins: characters pushed past RightMargin are lost and the
    // columns right of the margin keep their content.
    const auto limit = static_cast<std::size_t>(m.RightMargin) + 1;
    scratch_.assign(row, std::min(limit, row.size()));
    row.resize(std::min(limit, row.size()));
    row.insert(col, text, len);
    if (row.size() > limit)
        row.resize(limit);
    if (!scratch_.empty()) {
        row.resize(limit, ' ');
        row.append(scratch_);
    }
    scratch_.clear();
}

void HostTextWriter::CarriageReturn()
{
    DisplayMemory& m = st_.Mem;
    m.CurCol = st_.FormatMode ? 0 : m.LeftMargin;
    EscapeLogChar(237);
}

void HostTextWriter::LineFeed() { scroll_.LineFeed(); }

void HostTextWriter::Backspace()
{
    DisplayMemory& m = st_.Mem;
    int col = std::max(m.CurCol - 1, 0);
    if (st_.RemoteMode) {
        const int start = m.CursorRow().LineStartCol;
        if (m.CurCol <= start)
            col = start;
    }
    m.CurCol = std::clamp(col, 0, m.ColsInTerm - 1);
}

void HostTextWriter::HorizontalTab()
{
    DisplayMemory& m = st_.Mem;
    EscapeLogChar(233);
    if (st_.FormatMode) {
        // In format mode HT moves to the start of the next unprotected field.
        if (FormatModeHandler* fields = hooks_.FormatFields()) {
            fields->TabToField(false);
            return;
        }
    }
    for (int c = m.CurCol + 1; c <= m.RightMargin && c < DisplayMemory::kMaxCols; ++c) {
        if (st_.TabStops[static_cast<std::size_t>(c)]) {
            m.CurCol = c;
            return;
        }
    }
    LineFeed();
    m.CurCol = m.LeftMargin;
}

// Characters carry the character set in force when they are written: SO and
// SI only switch it for what follows (on this row and the next ones); each
// written character records its own set and the columns after it keep theirs.
void HostTextWriter::KeepCharacterSet(int col, int length)
{
    const char want = st_.ShiftedOut && st_.LineDrawingSelection ? 'O' : 'I';
    std::string& shift = st_.Mem.CursorRow().Shift;
    if (runstring::RangeIs(shift, col, length, want, 'I'))
        return;
    runstring::MarkRange(shift, want, col, length);
}

void HostTextWriter::ShiftOut()
{
    st_.ShiftedOut = true;
    EscapeLogChar(238);
}

void HostTextWriter::ShiftIn()
{
    st_.ShiftedOut = false;
    EscapeLogChar(239);
}

void HostTextWriter::HostDc1()
{
    DisplayMemory& m = st_.Mem;
    DisplayRow& row = m.CursorRow();
    if (m.AbsCurRow == m.LastRow && row.LineStartCol <= m.LineStartDefault &&
        m.CurCol >= static_cast<int>(row.Text.size()))
        row.LineStartCol = m.CurCol;
    hooks_.HostDc1();
}

void HostTextWriter::EscapeLogChar(unsigned char code)
{
    if (st_.EscapeLogging) {
        const char c = static_cast<char>(code);
        hooks_.EscapeLog(std::string_view(&c, 1));
    }
}

} // namespace kalvor
