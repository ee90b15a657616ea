// Block-mode transmission: what Enter sends outside character mode, the
// host's block request (ESC d), and the completion of every request of the
// DC1/DC2 handshake when the host's DC1 arrives.
//
// Enter, by mode (remote mode; outside it nothing is sent):
//
//   format  block   request           data kind  builder
//   off     off     EnterCharacter    Block      BuildBlockEnter4: the cursor row from its start column
//   off     on      EnterBlock        Block      BuildBlockEnter3: a line or the page up to the cursor
//   on      on      EnterFormatBlock  Block      BuildBlockEnter1: a field or every field of the page
//   on      off     EnterFormat       Line       BuildBlockEnter2: the field under the cursor
//
// The straps decide (GetDataRequestType) whether the block goes out at once,
// after a DC2 (sent at once, followed by CR with line strapping, when the
// host's DC1 has already arrived) or on the host's next DC1; the builder runs
// when the block goes out. Enter locks the keyboard; the host unlocks it with
// ESC b, and the DC1 that completes a request releases it too.
//
// Transmit form: each row's text with the character-set changes made explicit
// by SO and SI (ConvertEnhBuf); trailing blanks of a row or field are not
// sent. Rows of a page are joined by CR LF (CR NUL LF over a network
// connection), fields by US. The block-end string, held here and empty by
// default, ends a page, an empty line and a field.
#pragma once

#include "engine/Terminal.h"
#include "keyboard/Handshake.h"
#include "keyboard/TerminalStatus.h"

#include <string>
#include <string_view>

namespace kalvor {

// What block transmission asks of the program around it: the transmit path,
// the keyboard's local echo, and the function keys' send-cursor-address
// option and waiting transmit-only key. The session implements it.
class BlockTransmissionEvents {
public:
    // XmitString: send `text` to the host, with NUL LF after each CR on
    // `lineFeedRequest` when automatic line feed is on.
    virtual void Transmit(std::string_view text, bool lineFeedRequest) = 0;
    virtual bool LocalEcho() = 0;                      // local echo is in force
    virtual void ShowLocal(std::string_view text) = 0; // text into the receive buffer, displayed
    virtual bool SendCursorAddress() = 0;              // every block starts with the cursor address
    virtual void EchoPendingUserKey() = 0;             // the waiting transmit-only user key goes out
    virtual UserKeyTable UserKeys() = 0;               // the user keys as the host reads them back

protected:
    ~BlockTransmissionEvents() = default;
};

class BlockTransmission {
public:
    BlockTransmission(Terminal& terminal, Handshake& handshake, BlockTransmissionEvents& events);
    BlockTransmission(const BlockTransmission&) = delete;
    BlockTransmission& operator=(const BlockTransmission&) = delete;

    // The Enter function (F12, the Enter-key settings, the host's execute
    // request).
    void ExecEnterKey();
    // Return typed in line modify or modify all (remote mode, not block
    // mode): the cursor row is sent as a line (ModifyLine, data kind Line).
    void ModifyModeReturn();
    // The host's DC1: the handshake moves on; when it completes, the
    // keyboard lock is released.
    void OnHostDc1();
    // What `request` sends, built when it goes out; returns whether it goes
    // with the line-feed request. `buffer` already holds the text of UserKey
    // and ModifyLine.
    //
    //   None nothing          Block ExecEscd         the cursor: BuildAbsAddr, BuildRelAddr
    //   the status requests: BuildTerminalStatus -1..8 (PrinterStatusDevice4: status 6 of device 4)
    //   EnterFormat BuildBlockEnter2    EnterBlock BuildBlockEnter3
    //   EnterCharacter BuildBlockEnter4 EnterFormatBlock BuildBlockEnter1
    //   StatusOutOfRange the reply terminator alone
    bool FillRequest(HostRequest request, std::string& buffer);

    // The host's block request: the collector Enter uses in the same mode;
    // in the host's user-key mode (ESC j) the user keys' definitions.
    std::string ExecEscd();
    // ESC d goes without the line-feed request in block or modify-all mode
    // with page strapping.
    bool EscdLineFeedRequest() const;

    // The four Enter cases; each begins with the absolute cursor address when
    // the send-cursor-address option is set.
    std::string BuildBlockEnter1();
    std::string BuildBlockEnter2();
    std::string BuildBlockEnter3();
    std::string BuildBlockEnter4();

    struct Line {
        std::string Text;      // transmit form, ending in CR
        int TerminatorCol = 0; // the column where the sent text ended
    };
    // One row (the block start row when set, else the cursor row) from
    // column `StartLoc`: its characters up to the last non-blank, or, when
    // there are none, the block-end string; then CR.
    Line BuildBlockLine(int StartLoc);
    // The rows from the top of the screen (below the locked rows while
    // memory lock is on) at the left margin, or from the saved block start,
    // to the cursor row: rows joined by the separator, the last followed by
    // the separator and the block-end string. The block start is reset.
    std::string BuildBlockPage(bool StartLocFlag);
    // The contents of the unprotected and transmit-only fields from the same
    // start to the bottom of the screen, each followed by US (the last US
    // dropped), then the block-end string, with every SO and SI removed.
    std::string BuildBlockPageField(bool StartLocFlag);

    struct OneField {
        bool Found = false;
        std::string Text;      // the field's contents in transmit form
        int TerminatorCol = 0; // the column after the field
        int TerminatorRow = 0; // ring row of the field
        int EndCol = 0;        // the field's last column
    };
    // The field under or after the cursor column on ring row `Index`.
    OneField BuildBlockOneField(int Index);

    // CR LF, or CR NUL LF over a network connection.
    std::string Separator() const;
    // Where line transmission of ring row `ring` starts: its recorded start
    // column, at least the default.
    int RowStartColumn(int ring) const;
    void ResetBlockStart();

    // Settings and state.
    std::string BlockEnd;           // the block-end string
    bool NetworkConnection = false; // the connection is a network connection
    int BlockStartRow = -1;         // ring row where the next block begins; -1: the cursor row
    int BlockStartCol = -1;
    StatusEnvironment StatusEnv; // parity and printer state for status replies

private:
    std::string CursorAddressPrefix() const;
    std::string FieldLine();
    // A row's text from `col` to its last non-blank, in transmit form.
    std::string RowText(int ring, int col) const;
    // The same for the columns [from, to).
    std::string RangeText(int ring, int from, int to) const;
    // Where a page begins: the ring row and column.
    void PageStart(bool startLocFlag, int& ring, int& col) const;
    void LockKeyboard(bool locked);
    bool Echo() const { return events_.LocalEcho(); }

    Terminal& t_;
    TerminalState& st_;
    Handshake& handshake_;
    BlockTransmissionEvents& events_;
};

} // namespace kalvor
