// A session on a manual clock with a recording connection. Host text goes
// through the receive pass, so escape sequences and DC1 act as they do on
// line; keys go through the keyboard dispatcher.
#pragma once

#include "FakeConnection.h"
#include "SessionInternals.h"

#include "base/Clock.h"
#include "keyboard/KeyCodes.h"
#include "session/Session.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace kalvor::test {

class SessionFixture : public ::testing::Test {
protected:
    ManualClock clock;
    FakeConnection conn;
    Session session{clock};
    TerminalState& st = Internals(session).State();
    DisplayMemory& mem = Internals(session).Memory();
    Keyboard& keys = Internals(session).Keys();
    FunctionKeys& fkeys = Internals(session).FuncKeys();

    // On line to the host, in remote mode: typed characters are transmitted.
    void Remote()
    {
        session.SetConnection(conn);
        st.RemoteMode = true;
    }
    std::string Sent() const { return conn.Written(); }
    void ClearSent() { conn.Writes.clear(); }

    // A key stroke: key down, its character unless consumed, key up.
    bool Press(int keyCode, int shift = 0, int character = -1, bool numericPad = false)
    {
        const bool consumed = keys.KeyDown(keyCode, shift, numericPad);
        if (!consumed && character >= 0)
            keys.KeyPress(character);
        keys.KeyUp(keyCode, shift);
        return consumed;
    }
    void Type(std::string_view text)
    {
        for (char c : text)
            keys.KeyPress(static_cast<unsigned char>(c));
    }
    void Host(std::string_view text)
    {
        Internals(session).Receive().AppendLocal(text);
        Internals(session).Receive().PollingCommBuffer();
    }
    const std::string& Row(int screenRow) const { return mem.Row(mem.ScreenRowToRing(screenRow)).Text; }
    int CurRow() const { return mem.CurRow; }
    int CurCol() const { return mem.CurCol; }
};

} // namespace kalvor::test
