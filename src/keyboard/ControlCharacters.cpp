#include "keyboard/ControlCharacters.h"

#include "keyboard/KeyCodes.h"

namespace kalvor {

void ControlCharacters::SetConnection(Connection& connection)
{
    conn_ = &connection;
    queue_.clear();
    step_ = Step::Idle;
}

void ControlCharacters::ProcessCntlChar_Click()
{
    events_.EndExtendCharEntry();
    transmit_ = false;
    events_.ControlCharactersChanged();
}

void ControlCharacters::XmitCntlChar_Click()
{
    events_.EndExtendCharEntry();
    transmit_ = true;
    events_.ControlCharactersChanged();
}

int ControlCharacters::CtrlLetterCharacter(int keyCode) const
{
    if (!transmit_ || keyCode < Key::A || keyCode > Key::Z)
        return 0;
    return keyCode - Key::A + 1;
}

bool ControlCharacters::OverTelnet() const { return conn_->IsTelnet(); }

void ControlCharacters::Trace(std::string_view label, std::string_view data)
{
    if (trace_ != nullptr && trace_->Tracing())
        trace_->LogTrace(label, data);
}

void ControlCharacters::QuietXmitChar(std::string_view text)
{
    if (text.empty())
        return;
    if (!OverTelnet() || !conn_->TransportOpen()) {
        tx_.XmitString(text, false);
        return;
    }
    if (events_.LocalEcho()) {
        // The remote-echo suppression flag is set for the transmission only.
        const bool saved = tx_.EchoSuppressionOffered;
        tx_.EchoSuppressionOffered = true;
        tx_.XmitString(text, false);
        tx_.EchoSuppressionOffered = saved;
        return;
    }
    if (!EchoNegotiation) {
        tx_.XmitString(text, false);
        return;
    }
    queue_.emplace_back(text);
    if (step_ == Step::Idle)
        StartNext();
}

// DONT ECHO for the first queued text; the text follows after the wait.
void ControlCharacters::StartNext()
{
    if (queue_.empty()) {
        step_ = Step::Idle;
        return;
    }
    conn_->SendTelnetOption(TelnetVerb::Dont, kTelnetEchoOption);
    Trace("CLIENT Dont:", "1");
    step_ = Step::WaitBeforeText;
    due_ = clock_.NowMs() + kEchoWaitMs;
}

void ControlCharacters::Tick()
{
    while (step_ != Step::Idle && clock_.NowMs() >= due_) {
        if (step_ == Step::WaitBeforeText) {
            tx_.XmitString(queue_.front(), false);
            queue_.pop_front();
            step_ = Step::WaitAfterText;
            due_ = clock_.NowMs() + kEchoWaitMs;
        } else {
            conn_->SendTelnetOption(TelnetVerb::Do, kTelnetEchoOption);
            Trace("CLIENT   Do:", "1");
            step_ = Step::Idle;
            StartNext();
        }
    }
}

void ControlCharacters::SendBreak_Click()
{
    if (OverTelnet())
        conn_->SendTelnetCommand(kTelnetBreak);
    else
        conn_->SendBreak(kSerialBreakMs);
    events_.FocusDisplay();
}

} // namespace kalvor
