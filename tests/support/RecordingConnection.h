// A connection that is always open and records what the terminal sends:
// bytes, Telnet options and commands, and breaks.
#pragma once

#include "comms/Connection.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalvor::test {

class RecordingConnection final : public Connection {
public:
    bool IsNetwork = true;
    NetworkKind NetKind = Connection::Kind(); // the kind a connection has unless it says
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
    void SendTelnetOption(TelnetVerb verb, int option) override
    {
        Options.emplace_back(verb, option);
        Connection::SendTelnetOption(verb, option);
    }
    void SendTelnetCommand(int command) override { Commands.push_back(command); }
    void SendBreak(int milliseconds) override { Breaks.push_back(milliseconds); }
};

} // namespace kalvor::test
