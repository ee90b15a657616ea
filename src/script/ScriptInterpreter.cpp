#include "script/ScriptInterpreter.h"

#include "base/ProgramInstance.h"
#include "script/ScriptPreparation.h"
#include "script/ScriptText.h"

#include <cmath>
#include <system_error>

namespace kalvor::script {

ScriptInterpreter::ScriptInterpreter(ReceivePass& receive, Transmitter& transmitter, const Clock& clock,
                                     TraceSink* trace, ScriptEvents& events)
    : rx_(receive), tx_(transmitter), clock_(clock), trace_(trace), events_(events)
{}

bool ScriptInterpreter::Prepare(const std::filesystem::path& source)
{
    if (working_.empty())
        working_ = ProgramFile(kWorkingScript);
    reader_.Close();
    state_ = ScriptState{};
    waitUntil_ = -1;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(source, ec) || !WriteWorkingScript(source, working_))
        return false;
    return Load();
}

bool ScriptInterpreter::PrepareWorkingScript(const std::filesystem::path& source, const std::filesystem::path& working)
{
    return PrepareScriptFile(source, working).Runs;
}

bool ScriptInterpreter::Load()
{
    if (working_.empty())
        working_ = ProgramFile(kWorkingScript);
    reader_.Close();
    state_ = ScriptState{};
    waitUntil_ = -1;
    if (!reader_.Open(working_))
        return false;
    const ScriptLine first = reader_.NextLine();
    if (first.Command != "ADDR" && first.Command != "DIAL") {
        reader_.Close(); // abandoned: no target
        return false;
    }
    SetTarget(first);
    state_.Running = true;
    state_.AutoConnect = true;
    return true;
}

// ADDR host[:port], DIAL number[ port].
void ScriptInterpreter::SetTarget(const ScriptLine& first)
{
    const bool addr = first.Command == "ADDR";
    const std::string_view arg = TrimSpaces(first.Argument);
    const std::size_t cut = arg.find(addr ? ':' : ' ');
    state_.Target = addr ? TargetKind::Addr : TargetKind::Dial;
    state_.TargetText = std::string(TrimSpaces(arg.substr(0, cut)));
    state_.PortText = cut == std::string_view::npos ? std::string() : std::string(TrimSpaces(arg.substr(cut + 1)));
}

void ScriptInterpreter::Step()
{
    while (state_.Running) {
        if (!state_.Pending) {
            const ScriptLine line = reader_.NextLine();
            state_.Command = line.Command;
            state_.Argument = line.Argument;
            state_.Pending = true;
            waitUntil_ = -1;
            searched_ = false;
        }
        if (!Execute())
            return;
        state_.Pending = false;
        waitUntil_ = -1;
    }
}

bool ScriptInterpreter::Execute()
{
    const std::string& cmd = state_.Command;
    const std::string& arg = state_.Argument;
    if (cmd == "DBUG") {
        const std::string onOff = AsciiUpper(TrimSpaces(arg));
        if (onOff == "ON" || onOff == "OFF")
            events_.TraceSwitch(onOff == "ON");
        return true;
    }
    if (cmd == "WAIT")
        return Wait();
    if (cmd == "IDLE")
        return Idle();
    if (cmd == "HEAD") {
        Trace("Script HEAD:", arg);
        events_.Caption(arg + "  | Kalvor");
        return true;
    }
    if (cmd == "LOCL")
        return Local();
    if (cmd == "XMIT")
        return Xmit();
    if (cmd == "EXIT")
        return Exit();
    return true; // any other command is ignored
}

// The sought text must be in the receive buffer as this pass holds it. A
// search that failed is not repeated over the same bytes: only what was
// appended since (and the few bytes before it that a match could start in)
// is searched again.
bool ScriptInterpreter::Wait()
{
    const ByteQueue& buffer = rx_.CommBuffer();
    if (buffer.Empty())
        return false;
    const std::string& text = state_.Argument;
    const std::string_view view = buffer.View();
    std::size_t from = 0;
    if (searched_ && buffer.Rewrites() == searchedRewrites_) {
        const std::uint64_t fresh = buffer.Appended() - searchedAppended_;
        const std::uint64_t tail = fresh + (text.empty() ? 0 : text.size() - 1);
        if (tail < view.size())
            from = view.size() - static_cast<std::size_t>(tail);
    }
    const std::size_t pos = text.empty() ? 0 : view.find(text, from);
    if (pos == std::string_view::npos) {
        searched_ = true;
        searchedAppended_ = buffer.Appended();
        searchedRewrites_ = buffer.Rewrites();
        return false;
    }
    Trace("Script WAIT:", "\"" + text + "\" found at position " + std::to_string(pos + 1) + ".");
    return true;
}

bool ScriptInterpreter::Idle()
{
    if (waitUntil_ < 0) {
        const double seconds = LeadingNumber(state_.Argument);
        Trace("Script IDLE:", FormatNumber(seconds) + " sec");
        if (!(seconds > 0 && seconds < kIdleLimitSeconds))
            return true;
        waitUntil_ = clock_.NowMs() + std::llround(seconds * 1000);
    }
    return clock_.NowMs() >= waitUntil_;
}

bool ScriptInterpreter::Local()
{
    if (!PauseOver(kTypingPauseMs))
        return false;
    rx_.AppendLocal(state_.Argument);
    return true;
}

bool ScriptInterpreter::Xmit()
{
    // Host output still buffered is interpreted before the answer goes out.
    if (waitUntil_ < 0 && !rx_.CommBuffer().Empty())
        return false;
    if (!PauseOver(kTypingPauseMs))
        return false;
    const std::string line = state_.Argument + "\r";
    tx_.XmitString(line, true);
    if (events_.TelnetLocalEcho())
        rx_.AppendLocal(line);
    events_.StartupStatus("Connecting to " + state_.TargetText);
    return true;
}

// The trace line comes when the pause starts; true once it is over.
bool ScriptInterpreter::PauseOver(std::int64_t ms)
{
    if (waitUntil_ < 0) {
        Trace(state_.Command == "LOCL" ? "Script LOCL:" : "Script XMIT:", state_.Argument);
        waitUntil_ = clock_.NowMs() + ms;
    }
    return clock_.NowMs() >= waitUntil_;
}

bool ScriptInterpreter::Exit()
{
    if (!rx_.CommBuffer().Empty())
        return false;
    Trace("Script EXIT:", state_.Argument);
    reader_.Close();
    events_.StopStartupTimer();
    if (AsciiUpper(TrimSpaces(state_.Argument)).find("CANV") != std::string::npos)
        state_.Forms = FormsRequest::Requested;
    else
        events_.DisplayTerminal();
    std::error_code ec;
    std::filesystem::remove(working_, ec);
    state_.Running = false;
    return true;
}

void ScriptInterpreter::IdleStep()
{
    if (state_.Forms != FormsRequest::Requested || !rx_.CommBuffer().Empty())
        return;
    if (!events_.FormsModeReady())
        return;
    events_.DisplayTerminal();
    state_.Forms = FormsRequest::Done;
}

void ScriptInterpreter::Trace(std::string_view label, std::string_view data)
{
    if (trace_ != nullptr && trace_->Tracing())
        trace_->LogTrace(label, data);
}

} // namespace kalvor::script
