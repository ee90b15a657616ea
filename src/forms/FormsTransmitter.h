// xmitchar: the Canvo window's value lines leave through the terminal's own
// transmit path (XmitString with the line-feed request), so they take its
// steps exactly: the Telnet echo bookkeeping, Roman 8, NUL LF after CR when
// auto line feed is on, the chunks and the serial drain, the trace. The
// forms debug log shows "enter"/"exit" around each line.
#pragma once

#include "comms/Transmitter.h"
#include "forms/FormsDebugLog.h"
#include "forms/FormsPorts.h"

namespace kalvor::forms {

class FormsTransmitter final : public FormsOutput {
public:
    explicit FormsTransmitter(Transmitter& transmitter) : tx_(transmitter) {}

    void SetDebugLog(FormsDebugLog* log) { log_ = log; }

    void xmitchar(std::string_view text) override;

private:
    Transmitter& tx_;
    FormsDebugLog* log_ = nullptr;
};

} // namespace kalvor::forms
