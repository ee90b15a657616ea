// A session on a manual clock with a connection that records every byte, for
// the tests of format mode, block transmission and the status replies. Host
// text goes through the receive pass, so escape sequences and DC1 act as they
// do on line.
#pragma once

#include "comms/Clock.h"
#include "comms/Connection.h"
#include "session/Session.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kalvor::test {

class BytesConnection final : public Connection {
public:
    bool IsNetwork = true;
    std::string Written;

    bool Connected() const override { return true; }
    bool Network() const override { return IsNetwork; }
    bool TransportOpen() const override { return true; }
    void Write(std::string_view bytes) override { Written.append(bytes); }
};

// A run string from codes and attribute letters: Runs({5, ' ', 5, '[', 0}).
inline std::string Runs(std::initializer_list<int> codes)
{
    std::string s;
    for (int c : codes)
        s.push_back(static_cast<char>(c));
    return s;
}

// Bytes with control characters spelled out, for readable failures.
inline std::string Visible(std::string_view bytes)
{
    std::string s;
    for (unsigned char c : bytes) {
        if (c == 27)
            s += "\\e";
        else if (c == '\r')
            s += "\\r";
        else if (c == '\n')
            s += "\\n";
        else if (c < 32 || c >= 127) {
            static const char* hex = "0123456789abcdef";
            s += "\\x";
            s.push_back(hex[c >> 4]);
            s.push_back(hex[c & 15]);
        } else {
            s.push_back(static_cast<char>(c));
        }
    }
    return s;
}

class BlocksFixture : public ::testing::Test {
protected:
    ManualClock clock;
    BytesConnection conn;
    Session session{clock};
    TerminalState& st = session.State();
    DisplayMemory& mem = session.Memory();
    BlockTransmission& blocks = session.Blocks();
    FormatMode& fields = session.Fields();
    Handshake& handshake = session.Handshaking();

    // On line, in remote mode.
    void Remote()
    {
        session.SetConnection(conn);
        st.RemoteMode = true;
    }
    // Both handshake straps: everything goes out at once.
    void NoHandshake()
    {
        st.Strap.G = true;
        st.Strap.H = true;
    }
    void Host(std::string_view text)
    {
        session.Receive().AppendLocal(text);
        session.Receive().PollingCommBuffer();
    }
    void Type(std::string_view text)
    {
        for (char c : text)
            session.Keys().KeyPress(static_cast<unsigned char>(c));
    }
    std::string Sent() const { return Visible(conn.Written); }
    void ClearSent() { conn.Written.clear(); }
    const std::string& RowText(int screenRow) const { return mem.Row(mem.ScreenRowToRing(screenRow)).Text; }
};

} // namespace kalvor::test
