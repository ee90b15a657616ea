#include "keyboard/BlockTransmission.h"

#include "engine/ConvertEnhBuf.h"
#include "engine/CursorSensing.h"
#include "keyboard/FormatMode.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace kalvor {
namespace {

constexpr char kUS = 31;
constexpr char kSO = 14;
constexpr char kSI = 15;

// The status number (-1..8) and device of a status request; nullopt for the
// other requests.
struct StatusReply {
    int Id = 0;
    int Device = 0;
};

std::optional<StatusReply> StatusReplyOf(HostRequest request)
{
    switch (request) {
    case HostRequest::TerminalId: return StatusReply{-1, 0};
    case HostRequest::PrimaryStatus: return StatusReply{0, 0};
    case HostRequest::SecondaryStatus: return StatusReply{1, 0};
    case HostRequest::Status2: return StatusReply{2, 0};
    case HostRequest::Status3: return StatusReply{3, 0};
    case HostRequest::Status4: return StatusReply{4, 0};
    case HostRequest::Status5: return StatusReply{5, 0};
    case HostRequest::PrinterStatusDevice4: return StatusReply{6, 4};
    case HostRequest::PrinterStatus: return StatusReply{6, 6};
    case HostRequest::Identification: return StatusReply{7, 0};
    case HostRequest::Version: return StatusReply{8, 0};
    default: return std::nullopt;
    }
}

} // namespace

BlockTransmission::BlockTransmission(Terminal& terminal, Handshake& handshake, BlockTransmissionEvents& events)
    : t_(terminal), st_(terminal.State), handshake_(handshake), events_(events)
{}

// ---------------------------------------------------------------------------
// Enter, Return in the modify modes, the host's DC1

void BlockTransmission::ExecEnterKey()
{
    DisplayMemory& m = st_.Mem;
    const bool format = st_.FormatMode;
    const bool block = st_.BlockMode();
    if (!st_.RemoteMode) {
        // Local mode sends nothing; outside block and format mode Enter ends
        // line modify.
        if (!format && !block) {
            st_.ModeBits &= ~kLineModify;
            m.CurCol = 0;
            m.MarkCursorRowChanged(0);
            t_.Hooks.StateChanged();
        }
        return;
    }
    LockKeyboard(true);
    HostRequest request = HostRequest::EnterCharacter;
    DataKind kind = DataKind::Block;
    if (format && block)
        request = HostRequest::EnterFormatBlock;
    else if (format)
        request = HostRequest::EnterFormat, kind = DataKind::Line;
    else if (block)
        request = HostRequest::EnterBlock;
    const RequestDecision decision = GetDataRequestType(kind, st_);
    if (decision == RequestDecision::SendNow) {
        std::string buffer;
        const bool lineFeedRequest = FillRequest(request, buffer);
        if (!buffer.empty())
            events_.Transmit(buffer, lineFeedRequest);
        return;
    }
    // The DC2 that opens an Enter is followed by CR with line strapping.
    handshake_.Await(request, decision, Handshake::Dc2Timing::WhenHostReady, st_.Strap.LineStrapping ? "\r" : "");
}

void BlockTransmission::ModifyModeReturn()
{
    DisplayMemory& m = st_.Mem;
    if ((st_.ModeBits & kLineModify) != 0) {
        st_.ModeBits &= ~kLineModify;
        t_.Hooks.StateChanged();
    }
    m.ApplyPendingRow();
    const int ring = BlockStartRow >= 0 ? BlockStartRow : m.AbsCurRow;
    const Line line = BuildBlockLine(RowStartColumn(ring));
    const RequestDecision decision = GetDataRequestType(DataKind::Line, st_);
    if (decision != RequestDecision::SendNow) {
        // A DC2 goes out at once; the line follows the host's DC1.
        handshake_.TransmitBuffer = line.Text;
        handshake_.Await(HostRequest::ModifyLine, decision, Handshake::Dc2Timing::Now);
        return;
    }
    events_.Transmit(line.Text, true);
    ResetBlockStart();
    m.CurCol = Echo() ? m.LeftMargin : std::min(line.TerminatorCol, m.ColsInTerm - 1);
    m.MarkCursorRowChanged(m.CurCol);
}

void BlockTransmission::OnHostDc1()
{
    if (handshake_.OnHostDc1())
        LockKeyboard(false);
}

void BlockTransmission::LockKeyboard(bool locked)
{
    if (st_.KeyboardLocked == locked)
        return;
    st_.KeyboardLocked = locked;
    t_.Hooks.StateChanged();
}

bool BlockTransmission::FillRequest(HostRequest request, std::string& buffer)
{
    switch (request) {
    case HostRequest::UserKey:
        // The key's text is already in the buffer.
        events_.EchoPendingUserKey();
        return true;
    case HostRequest::ModifyLine:
        // The line is already in the buffer; the keyboard showed it as typed.
        return true;
    case HostRequest::Block: buffer = ExecEscd(); return EscdLineFeedRequest();
    case HostRequest::AbsoluteCursor:
        buffer = BuildAbsAddr(st_);
        buffer.push_back(ReplyTerminator(st_));
        return false;
    case HostRequest::RelativeCursor:
        buffer = BuildRelAddr(st_);
        buffer.push_back(ReplyTerminator(st_));
        return false;
    case HostRequest::EnterFormat: buffer = BuildBlockEnter2(); return true;
    case HostRequest::EnterBlock: buffer = BuildBlockEnter3(); return false;
    case HostRequest::EnterCharacter: buffer = BuildBlockEnter4(); return false;
    case HostRequest::EnterFormatBlock: buffer = BuildBlockEnter1(); return false;
    case HostRequest::StatusOutOfRange: buffer.assign(1, ReplyTerminator(st_)); return false;
    default:
        if (const std::optional<StatusReply> status = StatusReplyOf(request))
            buffer = BuildTerminalStatus(status->Id, status->Device, st_, StatusEnv);
        else
            buffer.clear();
        return false;
    }
}

// ---------------------------------------------------------------------------
// The host's block request

std::string BlockTransmission::ExecEscd()
{
    // In the host's user-key mode the block is the user keys' definitions:
    // the whole page in block mode with page strapping, else the key at the
    // shadow row, which then moves on to the next key.
    if (st_.ShadowRowMode) {
        const UserKeyTable keys = events_.UserKeys();
        if (st_.BlockMode() && st_.Strap.PageStrapping())
            return BuildUserKeyPage(keys, st_, BlockEnd);
        return BuildUserKeyLine(st_.ShadowRow, keys, st_, BlockEnd);
    }
    if (st_.FormatMode && st_.BlockMode())
        return BuildBlockEnter1();
    if (st_.FormatMode)
        return BuildBlockEnter2();
    if (st_.BlockMode())
        return BuildBlockEnter3();
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    const int ring = BlockStartRow >= 0 ? BlockStartRow : m.AbsCurRow;
    return CursorAddressPrefix() + BuildBlockLine(RowStartColumn(ring)).Text;
}

bool BlockTransmission::EscdLineFeedRequest() const
{
    const bool blockOrModifyAll = st_.BlockMode() || (st_.ModeBits & kModifyAll) != 0;
    return !(blockOrModifyAll && st_.Strap.PageStrapping());
}

// ---------------------------------------------------------------------------
// The four Enter cases

std::string BlockTransmission::CursorAddressPrefix() const
{
    return events_.SendCursorAddress() ? BuildAbsAddr(st_) : std::string();
}

// The field under the cursor as one line: its contents, the block-end string
// and CR; the cursor moves past the field (onto its last column when the
// field reaches the end of the row).
std::string BlockTransmission::FieldLine()
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    const OneField field = BuildBlockOneField(m.AbsCurRow);
    std::string out = field.Text + BlockEnd + "\r";
    if (field.Found) {
        m.CurCol = field.TerminatorCol < m.ColsInTerm ? field.TerminatorCol : field.EndCol;
        m.MarkCursorRowChanged(m.CurCol);
    }
    return out;
}

std::string BlockTransmission::BuildBlockEnter1()
{
    std::string out = CursorAddressPrefix();
    if (st_.Strap.LineStrapping)
        return out + FieldLine();
    out += BuildBlockPageField(true);
    t_.Editing.ExecHomeKey(LocalEditing::kShift);
    return out;
}

std::string BlockTransmission::BuildBlockEnter2() { return CursorAddressPrefix() + FieldLine(); }

std::string BlockTransmission::BuildBlockEnter3()
{
    DisplayMemory& m = st_.Mem;
    std::string out = CursorAddressPrefix();
    if (!st_.Strap.LineStrapping)
        return out + BuildBlockPage(true);
    m.ApplyPendingRow();
    if (!st_.Strap.H)
        return out + BuildBlockLine(m.CurCol).Text;
    const int ring = BlockStartRow >= 0 ? BlockStartRow : m.AbsCurRow;
    const int start = BlockStartCol >= 0 ? BlockStartCol : RowStartColumn(ring);
    out += BuildBlockLine(start).Text;
    t_.Editing.ExecHomeKey(LocalEditing::kShift);
    return out;
}

std::string BlockTransmission::BuildBlockEnter4()
{
    DisplayMemory& m = st_.Mem;
    std::string out = CursorAddressPrefix();
    if ((st_.ModeBits & kLineModify) != 0) {
        st_.ModeBits &= ~kLineModify;
        t_.Hooks.StateChanged();
    }
    m.ApplyPendingRow();
    const int ring = BlockStartRow >= 0 ? BlockStartRow : m.AbsCurRow;
    out += BuildBlockLine(RowStartColumn(ring)).Text;
    // Display memory marks no row as continued: the block start is reset.
    ResetBlockStart();
    m.CurCol = m.LeftMargin;
    m.MarkCursorRowChanged(m.CurCol);
    // The local echo of the line's end (the characters are on the screen).
    if (Echo())
        events_.ShowLocal("\r");
    return out;
}

// ---------------------------------------------------------------------------
// Collectors

std::string BlockTransmission::RangeText(int ring, int from, int to) const
{
    const DisplayRow& row = st_.Mem.Row(ring);
    const std::string& text = row.Text;
    std::size_t end = std::min(static_cast<std::size_t>(std::max(to, 0)), text.size());
    const auto begin = static_cast<std::size_t>(std::max(from, 0));
    while (end > begin && text[end - 1] == ' ')
        --end;
    if (end <= begin)
        return {};
    const ConvertedRow converted = ConvertEnhBuf(std::string_view(text).substr(0, end), row.Cntl, row.Form, row.Shift,
                                                 static_cast<int>(begin), static_cast<int>(end), BlockEnd);
    return converted.Text.substr(static_cast<std::size_t>(converted.StartCol),
                                 static_cast<std::size_t>(converted.EndCol - converted.StartCol));
}

std::string BlockTransmission::RowText(int ring, int col) const { return RangeText(ring, col, INT_MAX); }

BlockTransmission::Line BlockTransmission::BuildBlockLine(int StartLoc)
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    const int ring = BlockStartRow >= 0 ? BlockStartRow : m.AbsCurRow;
    Line line;
    line.Text = RowText(ring, StartLoc);
    if (line.Text.empty()) {
        line.Text = BlockEnd;
        line.TerminatorCol = StartLoc;
    } else {
        const std::string& text = m.Row(ring).Text;
        line.TerminatorCol = static_cast<int>(text.find_last_not_of(' ') + 1);
    }
    line.Text.push_back('\r');
    return line;
}

void BlockTransmission::PageStart(bool startLocFlag, int& ring, int& col) const
{
    const DisplayMemory& m = st_.Mem;
    if (startLocFlag) {
        const int screenRow = st_.MemLock.On ? std::clamp(st_.MemLock.LastLockedRow + 1, 0, m.RowsInTerm - 1) : 0;
        ring = m.ScreenRowToRing(screenRow);
        if (ring < 0)
            ring = m.AbsCurRow;
        col = m.LeftMargin;
        return;
    }
    ring = BlockStartRow >= 0 ? BlockStartRow : m.AbsCurRow;
    col = BlockStartCol >= 0 ? BlockStartCol : m.LeftMargin;
}

std::string BlockTransmission::BuildBlockPage(bool StartLocFlag)
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    int start = 0;
    int col = 0;
    PageStart(StartLocFlag, start, col);
    const int rows = std::max(m.Age(m.AbsCurRow) - m.Age(start), 0) + 1;
    const std::string separator = Separator();
    std::string out;
    for (int i = 0; i < rows; ++i) {
        if (i > 0)
            out += separator;
        out += RowText(m.Wrap(start + i), i == 0 ? col : m.LeftMargin);
    }
    out += separator;
    out += BlockEnd;
    ResetBlockStart();
    return out;
}

std::string BlockTransmission::BuildBlockPageField(bool StartLocFlag)
{
    DisplayMemory& m = st_.Mem;
    m.ApplyPendingRow();
    int start = 0;
    int col = 0;
    PageStart(StartLocFlag, start, col);
    const int bottom = std::min(m.Age(m.TopRow) + m.RowsInTerm - 1, m.Age(m.LastRow));
    const int rows = std::max(bottom - m.Age(start), 0) + 1;
    std::string out;
    for (int i = 0; i < rows; ++i) {
        const int ring = m.Wrap(start + i);
        int from = i == 0 ? col : 0;
        while (from < m.ColsInTerm) {
            const auto field = FormFindCurXmitField(m, from, ring);
            if (!field)
                break;
            out += RangeText(ring, field->Start, field->End);
            out.push_back(kUS);
            from = field->End;
        }
    }
    if (!out.empty() && out.back() == kUS)
        out.pop_back();
    out += BlockEnd;
    std::erase_if(out, [](char c) { return c == kSO || c == kSI; });
    ResetBlockStart();
    return out;
}

BlockTransmission::OneField BlockTransmission::BuildBlockOneField(int Index)
{
    const DisplayMemory& m = st_.Mem;
    OneField out;
    const auto field = FormFindCurXmitField(m, m.CurCol, Index);
    if (!field)
        return out;
    out.Found = true;
    out.Text = RangeText(Index, field->Start, field->End);
    out.TerminatorCol = field->End;
    out.TerminatorRow = Index;
    out.EndCol = field->End - 1;
    return out;
}

std::string BlockTransmission::Separator() const
{
    return NetworkConnection ? std::string("\r\0\n", 3) : std::string("\r\n");
}

int BlockTransmission::RowStartColumn(int ring) const
{
    const DisplayMemory& m = st_.Mem;
    return std::max(m.Row(ring).LineStartCol, m.LineStartDefault);
}

void BlockTransmission::ResetBlockStart()
{
    BlockStartRow = -1;
    BlockStartCol = -1;
}

} // namespace kalvor
