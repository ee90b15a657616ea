// The Telnet protocol as plain state machines, without sockets:
//
// - TelnetDecoder splits a received byte stream into data, option commands
//   (DO, DONT, WILL, WONT), subnegotiations and other commands, keeping its
//   state across chunks (an IAC may end one chunk and its verb start the
//   next). A doubled IAC in the data is one data byte 255.
// - EscapeIac doubles every byte 255 of outgoing data.
// - TelnetNegotiator is the terminal's side of the option negotiation: the
//   reply to every option the server sends, the echo switches, the remote
//   flow control, the terminal-type subnegotiation and the standard/advanced
//   variant, with each event written to the trace.
//
// The same decoder serves the demonstration host on the server side.
#pragma once

#include "comms/Connection.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kalvor::telnet {

// Command bytes.
constexpr unsigned char kSe = 240;
constexpr unsigned char kNop = 241;
constexpr unsigned char kDataMark = 242;
constexpr unsigned char kBreak = 243;
constexpr unsigned char kInterrupt = 244;
constexpr unsigned char kAbortOutput = 245;
constexpr unsigned char kAreYouThere = 246;
constexpr unsigned char kEraseChar = 247;
constexpr unsigned char kEraseLine = 248;
constexpr unsigned char kGoAhead = 249;
constexpr unsigned char kSb = 250;
constexpr unsigned char kWill = 251;
constexpr unsigned char kWont = 252;
constexpr unsigned char kDo = 253;
constexpr unsigned char kDont = 254;
constexpr unsigned char kIac = 255;

// Options.
constexpr int kOptBinary = 0;
constexpr int kOptEcho = 1;
constexpr int kOptSuppressGoAhead = 3;
constexpr int kOptTerminalType = 24;
constexpr int kOptWindowSize = 31;
constexpr int kOptRemoteFlowControl = 33;
constexpr int kOpt42 = 42;
constexpr int kOptSuppressLocalEcho = 45;

// Subnegotiation qualifiers.
constexpr unsigned char kIs = 0;
constexpr unsigned char kSend = 1;

unsigned char VerbByte(TelnetVerb verb);
// IAC, the verb and the option.
std::string OptionCommand(TelnetVerb verb, int option);
// Outgoing data with every 255 doubled.
std::string EscapeIac(std::string_view data);
void AppendEscaped(std::string& out, std::string_view data);

class TelnetDecoder {
public:
    class Events {
    public:
        virtual ~Events() = default;
        // A run of data bytes (IAC IAC already reduced to one 255).
        virtual void Data(std::string_view bytes) = 0;
        virtual void Option(TelnetVerb verb, int option) = 0;
        // The whole subnegotiation as received: IAC SB, its bytes, IAC SE
        // (a doubled IAC inside it reduced to one).
        virtual void Subnegotiation(std::string_view raw) = 0;
        // Any other command (NOP, BREAK, AYT, GA, ...), by its code.
        virtual void Command(int code) = 0;
    };

    // Subnegotiations longer than this are cut (the rest is dropped).
    static constexpr std::size_t kMaxSubnegotiation = 4096;

    void Feed(std::string_view bytes, Events& events);
    void Reset();

private:
    enum class State : std::uint8_t { Data, Iac, Verb, Sub, SubIac };

    State state_ = State::Data;
    TelnetVerb verb_ = TelnetVerb::Do;
    std::string sub_;
};

// What the negotiation needs of the terminal around it.
class NegotiatorSink {
public:
    virtual ~NegotiatorSink() = default;
    // Raw protocol bytes for the socket (already encoded).
    virtual void SendRaw(std::string_view bytes) = 0;
    virtual void Trace(std::string_view label, std::string_view data) = 0;
    // The variant changed between "Telnet (standard)" and "Telnet (advanced)".
    virtual void VariantChanged(NetworkKind kind) = 0;
    // Runs `action` after `milliseconds`, letting events run meanwhile.
    virtual void After(int milliseconds, std::function<void()> action) = 0;
};

// The negotiation switches that live outside the negotiator: the echo
// bookkeeping of the transmit path and the receive pass's network XOFF.
struct EchoSwitches {
    bool* LocalEchoRequested = nullptr;     // the program told the server DONT ECHO
    bool* EchoSuppressionOffered = nullptr; // the server asked DO 42 or DO 45
    bool* RemoteFlowControl = nullptr;      // the server asked DO 33
};

class TelnetNegotiator final : private TelnetDecoder::Events {
public:
    static constexpr int kEchoDelayMs = 50;

    TelnetNegotiator(NegotiatorSink& sink, EchoSwitches switches) : sink_(sink), sw_(switches) {}

    void SetSwitches(EchoSwitches switches) { sw_ = switches; }

    // A new connection: the variant from the settings, just-connected set
    // once the transport is up (Connected).
    void Start(NetworkKind kind, std::string terminalType);
    // The transport connected successfully.
    void Connected();

    // Received bytes: the data among them is appended to `data`, the
    // commands are answered.
    void Receive(std::string_view bytes, std::string& data);

    // Sends DO/DONT/WILL/WONT for an option (the caller traces it).
    void SendOption(TelnetVerb verb, int option);
    void SendCommand(int command);

    NetworkKind Kind() const { return kind_; }
    void SetKind(NetworkKind kind);
    bool ServerEcho() const { return serverEcho_; }
    bool JustConnected() const { return justConnected_; }
    const std::string& TerminalType() const { return terminalType_; }

private:
    void Data(std::string_view bytes) override;
    void Option(TelnetVerb verb, int option) override;
    void Subnegotiation(std::string_view raw) override;
    void Command(int code) override;

    void Reply(TelnetVerb verb, int option);
    void Set(bool* flag, bool value)
    {
        if (flag != nullptr)
            *flag = value;
    }

    NegotiatorSink& sink_;
    EchoSwitches sw_;
    TelnetDecoder decoder_;
    std::string* data_ = nullptr;
    NetworkKind kind_ = NetworkKind::TelnetAdvanced;
    std::string terminalType_ = "hp";
    bool serverEcho_ = false;
    bool justConnected_ = false;
    unsigned generation_ = 0; // delayed actions of an earlier connection are dropped
};

} // namespace kalvor::telnet
