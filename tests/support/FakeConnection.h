// The one connection fake of the tests: open unless told otherwise, a network
// connection of a chosen kind or a serial line with waiting input and output
// still draining, recording every write (one entry per chunk), Telnet option
// and command, and break.
#pragma once

#include "base/Clock.h"
#include "comms/Connection.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalvor::test {

class FakeConnection final : public Connection {
public:
    bool IsConnected = true;
    bool IsNetwork = true;
    NetworkKind NetKind = NetworkKind::TelnetStandard;
    int HandshakeCode = 0;       // serial: 0 None, 1 Xon/Xoff, 2 RTS/CTS, 3 Xon/RTS
    std::string Input;           // serial: received bytes waiting to be read
    std::size_t Outstanding = 0; // serial: bytes written but not yet sent
    // Serial: with a clock, each write stays outstanding until DrainMs have
    // passed on it (never when DrainMs is negative).
    const Clock* DrainClock = nullptr;
    std::int64_t DrainMs = 0;

    std::vector<std::string> Writes; // one entry per chunk
    std::vector<std::pair<TelnetVerb, int>> Options;
    std::vector<int> Commands;
    std::vector<int> Breaks;
    std::function<void(std::string_view)> OnWrite;

    // Everything written, in order.
    std::string Written() const
    {
        std::string all;
        for (const std::string& w : Writes)
            all += w;
        return all;
    }
    // Serial: bytes arriving at the port.
    void Arrive(std::string_view bytes) { Input.append(bytes); }

    bool Connected() const override { return IsConnected; }
    bool Network() const override { return IsNetwork; }
    NetworkKind Kind() const override { return NetKind; }
    bool TransportOpen() const override { return IsConnected; }
    int Handshaking() const override { return HandshakeCode; }
    std::size_t InputWaiting() override { return Input.size(); }
    void ReadInput(std::string& appendTo) override
    {
        appendTo.append(Input);
        Input.clear();
    }
    std::size_t OutputWaiting() override
    {
        if (DrainClock != nullptr && DrainMs >= 0 && DrainClock->NowMs() - sentAt_ >= DrainMs)
            return 0;
        return Outstanding;
    }
    void Write(std::string_view bytes) override
    {
        Writes.emplace_back(bytes);
        if (DrainClock != nullptr) {
            Outstanding = bytes.size();
            sentAt_ = DrainClock->NowMs();
        }
        if (OnWrite)
            OnWrite(bytes);
    }
    void SendTelnetOption(TelnetVerb verb, int option) override { Options.emplace_back(verb, option); }
    void SendTelnetCommand(int command) override { Commands.push_back(command); }
    void SendBreak(int milliseconds) override { Breaks.push_back(milliseconds); }

private:
    std::int64_t sentAt_ = 0;
};

} // namespace kalvor::test
