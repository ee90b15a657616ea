// A session on a manual clock with a recording connection, for the tests of
// the keyboard, the function keys and the control characters.
#pragma once

#include "comms/Clock.h"
#include "comms/Connection.h"
#include "keyboard/KeyCodes.h"
#include "session/Session.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kalvor::test {

class RecordingConnection final : public Connection {
public:
    bool IsNetwork = true;
    NetworkKind NetKind = NetworkKind::TelnetStandard;
    std::string Written;
    std::vector<std::pair<TelnetVerb, int>> Options;
    std::vector<int> Commands;
    std::vector<int> Breaks;
    std::function<void(std::string_view)> OnWrite;

    bool Connected() const override { return true; }
    bool Network() const override { return IsNetwork; }
    NetworkKind Kind() const override { return NetKind; }
    bool TransportOpen() const override { return true; }
    void Write(std::string_view bytes) override
    {
        Written.append(bytes);
        if (OnWrite)
            OnWrite(bytes);
    }
    void SendTelnetOption(TelnetVerb verb, int option) override { Options.emplace_back(verb, option); }
    void SendTelnetCommand(int command) override { Commands.push_back(command); }
    void SendBreak(int milliseconds) override { Breaks.push_back(milliseconds); }
};

class SessionFixture : public ::testing::Test {
protected:
    ManualClock clock;
    RecordingConnection conn;
    Session session{clock};
    TerminalState& st = session.State();
    Keyboard& keys = session.Keys();
    FunctionKeys& fkeys = session.FuncKeys();

    // On line to the host: typed characters are transmitted.
    void Remote()
    {
        session.SetConnection(conn);
        st.RemoteMode = true;
    }
    const std::string& Sent() const { return conn.Written; }

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
        session.Receive().AppendLocal(text);
        session.Receive().PollingCommBuffer();
    }
    std::string Row(int screenRow) const
    {
        const DisplayMemory& m = st.Mem;
        return m.Row(m.ScreenRowToRing(screenRow)).Text;
    }
    int CurRow() const { return st.Mem.CurRow; }
    int CurCol() const { return st.Mem.CurCol; }
};

} // namespace kalvor::test
