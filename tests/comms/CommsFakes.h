// Fakes for the receive pass and the transmit path: a connection that records
// every write and Telnet command, and a trace that records its lines.
#pragma once

#include "comms/Connection.h"
#include "base/TraceSink.h"

#include <string>
#include <utility>
#include <vector>

namespace kalvor::test {

class FakeConnection final : public Connection {
public:
    bool IsConnected = true;
    bool IsNetwork = true;
    NetworkKind NetKind = NetworkKind::TelnetStandard;
    int HandshakeCode = 1;
    std::string Input;                      // serial: waiting input
    std::size_t Outstanding = 0;            // serial: bytes not yet sent
    std::vector<std::string> Writes;        // one entry per chunk
    std::vector<std::pair<TelnetVerb, int>> Telnet;

    bool Connected() const override { return IsConnected; }
    bool Network() const override { return IsNetwork; }
    NetworkKind Kind() const override { return NetKind; }
    bool TransportOpen() const override { return IsConnected; }
    int Handshaking() const override { return HandshakeCode; }
    std::size_t InputWaiting() override { return Input.size(); }
    void ReadInput(std::string& out) override
    {
        out.append(Input);
        Input.clear();
    }
    std::size_t OutputWaiting() override { return Outstanding; }
    void Write(std::string_view bytes) override { Writes.emplace_back(bytes); }
    void SendTelnetOption(TelnetVerb verb, int option) override { Telnet.emplace_back(verb, option); }

    std::string AllWritten() const
    {
        std::string s;
        for (const auto& w : Writes)
            s += w;
        return s;
    }
};

class FakeTrace final : public TraceSink {
public:
    bool On = true;
    std::vector<std::pair<std::string, std::string>> Lines;
    bool Tracing() const override { return On; }
    void LogTrace(std::string_view label, std::string_view data) override { Lines.emplace_back(label, data); }
};

} // namespace kalvor::test
