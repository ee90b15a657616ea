// What a session keeps for the forms mode: the flags it shares with the
// Canvo window, the terminal side of a form download, the path value lines
// leave by (the terminal's transmit path), the host pacing they wait for,
// and the value lines the Canvo window still kept when it closed, which
// leave on the host's next DC1.
#pragma once

#include "comms/Transmitter.h"
#include "forms/FormsPorts.h"
#include "forms/FormsTransmitter.h"
#include "forms/TerminalFormDownload.h"
#include "keyboard/Handshake.h"

#include <string>

namespace kalvor {

class FormsLink final : private forms::HostPacing {
public:
    FormsLink(Transmitter& transmitter, const Handshake& handshake, const Clock& clock)
        : Download(clock, forms::FormFiles::OfThisInstance()),
          tx_(transmitter),
          lines_(transmitter),
          handshake_(handshake)
    {}

    forms::FormsFlags Flags;
    forms::TerminalFormDownload Download;

    // xmitchar of the Canvo window.
    forms::FormsOutput& Lines() { return lines_; }
    void SetDebugLog(forms::FormsDebugLog* log) { lines_.SetDebugLog(log); }
    // The DC1-received flag of the terminal's handshake.
    const forms::HostPacing& Pacing() const { return *this; }

    // The Canvo window closed with value lines still kept for the host.
    void KeepLines(std::string_view lines) { kept_ += lines; }
    const std::string& KeptLines() const { return kept_; }
    // The host's DC1 reached the terminal: the kept lines leave.
    void HostDc1();

private:
    bool Dc1Received() const override { return handshake_.Dc1Received(); }

    Transmitter& tx_;
    forms::FormsTransmitter lines_;
    const Handshake& handshake_;
    std::string kept_;
};

} // namespace kalvor
