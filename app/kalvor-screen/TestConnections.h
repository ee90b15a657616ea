// The connections of kalvor-screen --replies: a plain network connection (no
// Telnet negotiation) or a serial line, both writing every transmitted byte
// to a file. The serial line holds each delivered chunk as waiting input.
#pragma once

#include "comms/Connection.h"

#include <cstdio>
#include <string>

namespace kalvor {

class ReplyFileConnection final : public Connection {
public:
    ReplyFileConnection(std::FILE* out, bool serial) : out_(out), serial_(serial) {}

    bool Connected() const override { return true; }
    bool Network() const override { return !serial_; }
    bool TransportOpen() const override { return true; }
    // The serial line runs with "Xon/Xoff": the program paces the host itself.
    int Handshaking() const override { return serial_ ? 1 : 0; }

    std::size_t InputWaiting() override { return input_.size(); }
    void ReadInput(std::string& appendTo) override
    {
        appendTo.append(input_);
        input_.clear();
    }
    void Write(std::string_view bytes) override;

    // Serial: data arriving at the port.
    void Arrive(std::string_view bytes) { input_.append(bytes); }
    int Writes() const { return writes_; }

private:
    std::FILE* out_;
    bool serial_;
    std::string input_;
    int writes_ = 0;
};

} // namespace kalvor
