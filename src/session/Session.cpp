#include "session/Session.h"

namespace kalvor {

Session::Session(Clock& clock, TraceSink* trace)
    : clock_(clock),
      conn_(&none_),
      term_(static_cast<TerminalHooks&>(*this)),
      tx_(term_.State, *conn_, clock, trace),
      receive_(term_, tx_, *conn_, clock, static_cast<ReceiveHooks&>(*this), trace),
      handshake_([this](std::string_view text, bool lf) { tx_.XmitString(text, lf); })
{
}

void Session::SetConnection(Connection& connection)
{
    conn_ = &connection;
    tx_.SetConnection(connection);
    receive_.SetConnection(connection);
}

void Session::Tick()
{
    receive_.PollingCommBuffer();
    tx_.Pump();
}

bool Session::Busy() const
{
    const bool dataWaiting = !receive_.CommBuffer().Empty() || !receive_.NetInBuffer().empty();
    return (dataWaiting && receive_.DisplayRunning) || receive_.Holding() || !tx_.Idle();
}

void Session::Transmit(std::string_view text, bool lineFeedRequest) { tx_.XmitString(text, lineFeedRequest); }

void Session::Bell()
{
    ++bells_;
    if (OnBell)
        OnBell();
}

void Session::HostDc1() { handshake_.OnHostDc1(); }

void Session::HoldInterpretation(int milliseconds) { receive_.HoldInterpretation(milliseconds); }

void Session::Repaint()
{
    if (OnRepaint)
        OnRepaint();
}

} // namespace kalvor
