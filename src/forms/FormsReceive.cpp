// The Canvo window's receive loop: the form download, the escape processor
// and the host command lines.
#include "forms/FormsMode.h"

#include "forms/HostCommands.h"

#include <fstream>
#include <iterator>

namespace kalvor::forms {
namespace {

constexpr char kEsc = '\x1b';
constexpr char kCr = '\r';
constexpr char kDc1 = '\x11';
constexpr std::string_view kFormEnd = "\x1b%kC";
constexpr std::string_view kProgramEnd = "\x1b%kE";

bool IsFinal(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u == 33 || (u >= 64 && u <= 94);
}

} // namespace

std::string ImproperExitText()
{
    return "Please exit your application in a\r"
           "graceful manner. After you do that,\r"
           "you may close your Kalvor session.\r"
           "___________________________\r"
           "Or, if you find you're stuck, press\r"
           "OK on this screen and then press\r"
           "hard reset on the terminal to clear\r"
           "this warning and try again.";
}

std::size_t FindEndEscSequence(std::string_view text, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); ++i)
        if (IsFinal(text[i]))
            return i;
    return std::string_view::npos;
}

FormsMode::FormsMode(FormModel& model, FormsFlags& flags, FormsWindow& window, FormsOutput& output, const Clock& clock,
                     FormFiles files)
    : model_(model),
      flags_(flags),
      window_(window),
      output_(output),
      clock_(clock),
      pacing_(&alwaysReady_),
      formFile_(std::move(files))
{}

void FormsMode::CanvoPolling(ByteQueue& buffer)
{
    DebugScope scope(log_, "CanvoPolling");
    flags_.FormsActive = false;
    if (flags_.CloseRequested) {
        flags_.CloseRequested = false;
        StopReceiving(false);
        showing_ = false;
        window_.UnloadWindow();
        return;
    }
    // A download silent for 5 s is abandoned before new data is looked at,
    // so a closing sequence arriving after the time-out builds nothing.
    const std::int64_t now = clock_.NowMs();
    if (flags_.ReceivingForm && now - lastDataMs_ >= kDownloadTimeoutMs) {
        scope.Status("Form download timed out");
        StopReceiving(false);
    }
    if (buffer.Appended() != seenAppended_) {
        seenAppended_ = buffer.Appended();
        lastDataMs_ = now;
    }
    if (buffer.Empty())
        return;
    scope.Status("CanvoPolling - Len(ReceiveBuffer) = " + std::to_string(buffer.Size()));

    while (!buffer.Empty() && !flags_.CloseRequested) {
        if (flags_.ReceivingForm) {
            if (!ReceiveFormText(buffer))
                return;
            continue;
        }
        if (escapePending_) {
            if (!EscProcessor(buffer))
                return;
            continue;
        }
        const std::string_view view = buffer.View();
        const std::size_t stop = view.find_first_of(std::string_view("\x1b\r", 2));
        if (stop == std::string_view::npos) {
            AddToLine(view);
            buffer.Consume(view.size());
        } else if (view[stop] == kCr) {
            AddToLine(view.substr(0, stop));
            buffer.Consume(stop + 1);
            HostCommandLine();
        } else {
            // Text before an ESC is a command line even without its CR.
            AddToLine(view.substr(0, stop));
            buffer.Consume(stop);
            HostCommandLine();
            escapePending_ = true;
            escape_.assign(1, kEsc);
            buffer.Consume(1);
            if (!EscProcessor(buffer))
                return;
        }
    }
}

// Form text goes to the form file up to ESC % k C; a stray ESC is dropped.
// Returns false when the rest must wait for more data.
bool FormsMode::ReceiveFormText(ByteQueue& buffer)
{
    const std::string_view view = buffer.View();
    const std::size_t esc = view.find(kEsc);
    if (esc == std::string_view::npos) {
        formFile_.Write(view);
        buffer.Consume(view.size());
        return true;
    }
    formFile_.Write(view.substr(0, esc));
    buffer.Consume(esc);
    if (buffer.Size() < kFormEnd.size()) {
        // A closing sequence split between pieces waits for the rest.
        return false;
    }
    if (buffer.View().substr(0, kFormEnd.size()) == kFormEnd) {
        buffer.Consume(kFormEnd.size());
        FinishForm();
        return false;
    }
    buffer.Consume(1);
    return true;
}

// Collects the pending sequence up to its final character. Returns false
// when it still waits for more.
bool FormsMode::EscProcessor(ByteQueue& buffer)
{
    DebugScope scope(log_, "EscProcessor");
    if (escape_.size() == 1) {
        if (buffer.Empty())
            return false;
        escape_.push_back(buffer[0]);
        buffer.Consume(1);
    }
    const char group = escape_[1];
    if (group != '&' && group != '*' && group != '%' && group != ')') {
        // ESC and that character are dropped; what follows is read again.
        escapePending_ = false;
        escape_.clear();
        return true;
    }
    const std::string_view view = buffer.View();
    const std::size_t end = FindEndEscSequence(view, 0);
    if (end == std::string_view::npos) {
        escape_.append(view);
        buffer.Consume(view.size());
        if (escape_.size() > kMaxEscapeLength) {
            escapePending_ = false;
            escape_.clear();
            return true;
        }
        return false;
    }
    escape_.append(view.substr(0, end + 1));
    buffer.Consume(end + 1);
    escapePending_ = false;
    const std::string sequence = std::exchange(escape_, {});
    scope.Status("Escape sequence = " + sequence.substr(1));
    EscapeSequence(sequence, buffer);
    return true;
}

// ESC % k [n] letter is the forms mode's own; every other sequence is
// consumed without effect.
void FormsMode::EscapeSequence(std::string_view sequence, ByteQueue& buffer)
{
    if (sequence.size() < 4 || sequence.substr(0, 3) != "\x1b%k")
        return;
    std::string_view parameter = sequence.substr(3, sequence.size() - 4);
    const char command = sequence.back();
    int n = 0;
    bool number = true;
    for (const char c : parameter) {
        if (c < '0' || c > '9' || n > 99999) {
            number = false;
            break;
        }
        n = n * 10 + (c - '0');
    }
    if (!number)
        return;
    switch (command) {
    case 'F': StartForm(n); break; // ESC % k n F: a new form follows
    case 'X':                      // ESC % k X: the form file shown again
        StopReceiving(true);
        OpenFromFormFile();
        break;
    case 'R': flags_.CloseRequested = true; break; // ESC % k R: back to the terminal
    case 'E':                                      // ESC % k E: the terminal ends the program
        flags_.ExitProtection = false;
        buffer.Prepend(kProgramEnd);
        flags_.CloseRequested = true;
        break;
    case 'U': // ESC % k n U: exit protection
        if (n == 1)
            flags_.ExitProtection = true;
        else if (n == 0)
            flags_.ExitProtection = false;
        break;
    default: break; // C outside a download, D, Z: ignored
    }
}

void FormsMode::StartForm(int parameter)
{
    DebugScope scope(log_, "StartForm");
    if (parameter != 0 && parameter != 1)
        return;
    StopReceiving(false);
    if (formFile_.Start()) {
        scope.Status("The form file could not be created");
        return;
    }
    flags_.ReceivingForm = true;
    lastDataMs_ = clock_.NowMs();
    model_.InitializeObjects();
    window_.FocusMoved(0, 0);
    RememberFocusValue();
}

// Ends a download without building: the files closed, the form file kept
// (ESC % k X) or deleted (time-out, a new form, the window closing).
void FormsMode::StopReceiving(bool keepFile)
{
    if (keepFile)
        formFile_.Close();
    else
        formFile_.Abandon();
    flags_.ReceivingForm = false;
}

void FormsMode::FinishForm()
{
    formFile_.Close();
    flags_.ReceivingForm = false;
    escape_.clear();
    escapePending_ = false;
    OpenFromFormFile();
}

bool FormsMode::OpenFromFormFile()
{
    DebugScope scope(log_, "InterpretScript");
    std::ifstream in(FormFile(), std::ios::binary);
    if (!in)
        return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    flags_.FormsActive = true;
    const FormResult result = window_.BuildForm(text);
    caption_ = result.Caption.value_or(std::string());
    showing_ = result.Failure == FormFailure::None;
    if (!showing_)
        return false;
    FocusChanged(0);
    return true;
}

// Host text on its way into a command line; a DC1 in it releases the value
// lines kept for it.
void FormsMode::AddToLine(std::string_view text)
{
    if (!kept_.empty() && text.find(kDc1) != std::string_view::npos)
        output_.xmitchar(TakeKeptLines());
    // A host command line is bounded: text past the limit is dropped until
    // the line ends, so a host that never ends a line cannot exhaust memory.
    if (line_.size() < kMaxHostLineLength)
        line_.append(text.substr(0, kMaxHostLineLength - line_.size()));
}

void FormsMode::HostCommandLine()
{
    const std::string line = CleanHostLine(std::exchange(line_, {}), HostRoman8);
    if (line.empty())
        return;
    DebugScope scope(log_, "ExecuteHostCmd");
    scope.Status("HostCmd = " + line);
    const HostCmdResult r = ExecuteHostCmd(line, model_);
    switch (r.What) {
    case HostCmdResult::Kind::Ignored: break;
    case HostCmdResult::Kind::Goto:
        scope.Status("Goto: CurFocusObj = " + std::to_string(r.From) + "; NewFocusObj = " + std::to_string(r.To));
        SetFocusObject(model_, r.To);
        FocusChanged(r.From);
        break;
    case HostCmdResult::Kind::Error:
        window_.Bell();
        if (!r.Text.empty())
            window_.MessageBox("Forms Mode Error", r.Text);
        break;
    case HostCmdResult::Kind::Value:
        for (const int p : r.Changed) {
            if (!model_.Listed(p))
                continue;
            if (p == model_.Focus.CurFocusObj)
                RememberFocusValue(); // the host's value is the new comparison value
            window_.RedrawObject(p);
        }
        break;
    }
}

} // namespace kalvor::forms
