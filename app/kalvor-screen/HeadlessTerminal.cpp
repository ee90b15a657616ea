#include "HeadlessTerminal.h"

#include "EventScript.h"
#include "ScreenReport.h"
#include "keyboard/KeyCodes.h"

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace kalvor {

HeadlessTerminal::HeadlessTerminal(const ScreenOptions& options, std::FILE* replies)
    : session_(std::make_unique<Session>(clock_)),
      editor_(std::make_unique<edit::Editor>(*session_, clock_, clipboard_))
{
    session_->SetObserver(this);
    session_->SetScreenWidth(options.Cols);
    session_->SetScreenRows(options.Rows);
    session_->SetHostCharacterSet(options.Roman8);
    // A script runs only while connected: without a replies file its
    // transmissions go nowhere.
    if (replies != nullptr || !options.ScriptFile.empty()) {
        connection_ = std::make_unique<ReplyFileConnection>(replies, options.Serial);
        session_->SetConnection(*connection_);
        session_->SetRemoteMode(true);
    }
    session_->RepaintDone();
    forms_ = std::make_unique<HeadlessForms>(*session_, clock_);
    if (!options.ScriptFile.empty())
        script_ = std::make_unique<HeadlessScript>(*session_, options.ScriptFile);
}

HeadlessTerminal::~HeadlessTerminal() { session_->SetObserver(nullptr); }

void HeadlessTerminal::ScriptCaption(const std::string& caption)
{
    if (script_ != nullptr)
        script_->Caption(caption);
}

void HeadlessTerminal::StartupStatus(const std::string& text)
{
    if (script_ != nullptr)
        script_->StartupStatus(text);
}

void HeadlessTerminal::StopStartupTimer()
{
    if (script_ != nullptr)
        script_->StopStartupTimer();
}

void HeadlessTerminal::DisplayTerminal()
{
    if (script_ != nullptr)
        script_->DisplayTerminal();
}

void HeadlessTerminal::DeliverHostChunk(std::string_view bytes)
{
    const Connection& c = session_->CurrentConnection();
    if (!c.Connected())
        session_->AppendLocal(bytes);
    else if (c.Network())
        session_->DeliverNetworkData(bytes);
    else
        connection_->Arrive(bytes);
    Tick();
    while (session_->ReceiveBacklog() > kBacklogLimit && session_->Busy())
        AdvanceClock(Session::kTickMs);
}

// The receive timer, and while the Canvo window is open its polling timer.
void HeadlessTerminal::Tick()
{
    session_->Tick();
    editor_->Tick();
    if (forms_->Open())
        forms_->Poll();
}

void HeadlessTerminal::AdvanceClock(long ms)
{
    while (ms > 0) {
        const long step = std::min(ms, Session::kTickMs - phase_);
        clock_.Advance(step);
        phase_ += step;
        ms -= step;
        if (phase_ == Session::kTickMs) {
            phase_ = 0;
            Tick();
        }
    }
}

void HeadlessTerminal::Finish()
{
    // A script takes its steps in receive passes, even when no event ran one.
    if (script_ != nullptr)
        Tick();
    // Ten simulated minutes at most: a paused display never drains.
    for (int i = 0; i < 24000 && (session_->Busy() || forms_->Closing()); ++i)
        AdvanceClock(Session::kTickMs - phase_);
}

namespace {

bool FeedStream(HeadlessTerminal& term, std::istream& in)
{
    std::vector<char> buf(HeadlessTerminal::kChunk);
    while (in) {
        in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
        const std::streamsize n = in.gcount();
        if (n <= 0)
            break;
        term.DeliverHostChunk(std::string_view(buf.data(), static_cast<std::size_t>(n)));
    }
    return !in.bad();
}

// One key stroke as the window system delivers it: key down; the key's
// character when the key makes one and was not consumed; key up. Alt keys make
// no character; a Ctrl+letter makes its control character only while control
// characters are transmitted (else it is a menu shortcut).
void PressKey(Session& session, const ScriptEvent& ev)
{
    const KeyStroke stroke = *LookupKeyName(ev.Text);
    int shift = 0;
    for (const std::string& m : ev.Mods)
        shift |= m == "shift" ? Mod::Shift : m == "ctrl" ? Mod::Ctrl : Mod::Alt;
    int character = stroke.Character;
    if ((shift & Mod::Alt) != 0)
        character = -1;
    else if ((shift & Mod::Ctrl) != 0 && ev.Text.size() == 1)
        character = session.CtrlLetterCharacter(stroke.Code) > 0 ? session.CtrlLetterCharacter(stroke.Code) : -1;
    else if ((shift & Mod::Shift) != 0 && character >= 'a' && character <= 'z')
        character -= 'a' - 'A';
    const bool consumed = session.KeyDown(stroke.Code, shift, stroke.NumericPad);
    if (!consumed && character >= 0)
        session.KeyPress(character);
    session.KeyUp(stroke.Code, shift);
}

// The Edit menu's commands, as the window runs them.
void RunEditEvent(HeadlessTerminal& term, const ScriptEvent& ev)
{
    edit::Editor& editor = term.Editor();
    switch (ev.Type) {
    case ScriptEvent::Kind::Select:
        (void)edit::FromScreen(editor.Current(), term.GetSession().Memory(),
                               edit::ScreenRegion{ev.Cells[0], ev.Cells[1], ev.Cells[2], ev.Cells[3], ev.Flag});
        break;
    case ScriptEvent::Kind::SelectAll: (void)editor.SelectAll(); break;
    case ScriptEvent::Kind::Copy: editor.Copy(); break;
    case ScriptEvent::Kind::Cut: editor.Cut(); break;
    case ScriptEvent::Kind::Paste: editor.PasteText(ev.Text); break;
    case ScriptEvent::Kind::Find:
        editor.Find.FindText = ev.Text;
        editor.Find.Mode = ev.Flag ? edit::CaseMode::Exact : edit::CaseMode::IgnoreCase;
        editor.Current().Rect = false;
        (void)editor.FindNext();
        break;
    case ScriptEvent::Kind::FindAgain: (void)editor.FindNext(); break;
    case ScriptEvent::Kind::Replace:
        editor.Find.ReplaceText = ev.Text;
        editor.Replace();
        break;
    default: break;
    }
}

bool RunEvents(HeadlessTerminal& term, std::istream& in, const std::string& name, std::ostream& err)
{
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::string error;
        auto ev = ParseEventLine(line, number, error);
        if (!ev) {
            if (!error.empty()) {
                err << "kalvor-screen: " << name << ":" << number << ": " << error << "\n";
                return false;
            }
            continue;
        }
        if (term.Ended())
            continue;
        const bool forms = term.Forms().Open();
        switch (ev->Type) {
        case ScriptEvent::Kind::Host: term.DeliverHostChunk(ev->Text); break;
        case ScriptEvent::Kind::Wait: term.AdvanceClock(ev->Milliseconds); break;
        case ScriptEvent::Kind::Key:
            if (!forms || !term.Forms().Key(*ev))
                PressKey(term.GetSession(), *ev);
            break;
        case ScriptEvent::Kind::Type:
            if (forms) {
                term.Forms().Type(ev->Text);
                break;
            }
            for (char c : ev->Text)
                term.GetSession().KeyPress(static_cast<unsigned char>(c));
            break;
        case ScriptEvent::Kind::Click:
            if (forms)
                term.Forms().Click(ev->X, ev->Y);
            break;
        case ScriptEvent::Kind::Close:
            if (forms)
                term.Forms().Close();
            break;
        default: RunEditEvent(term, *ev); break;
        }
    }
    return true;
}

} // namespace

int RunScreen(const ScreenOptions& options, std::ostream& out, std::ostream& err)
{
    std::FILE* replies = nullptr;
    if (!options.RepliesFile.empty()) {
        replies = std::fopen(options.RepliesFile.c_str(), "wb");
        if (replies == nullptr) {
            err << "kalvor-screen: cannot write " << options.RepliesFile << "\n";
            return 1;
        }
    }
    int status = 0;
    {
        HeadlessTerminal term(options, replies);
        if (!options.EventsFile.empty()) {
            std::ifstream in(options.EventsFile, std::ios::binary);
            if (!in) {
                err << "kalvor-screen: cannot read " << options.EventsFile << "\n";
                status = 1;
            } else if (!RunEvents(term, in, options.EventsFile, err)) {
                status = 2;
            }
        } else if (options.Files.empty()) {
            FeedStream(term, std::cin);
        } else {
            for (const std::string& f : options.Files) {
                if (f == "-") {
                    FeedStream(term, std::cin);
                    continue;
                }
                std::ifstream in(f, std::ios::binary);
                if (!in) {
                    err << "kalvor-screen: cannot read " << f << "\n";
                    status = 1;
                    break;
                }
                FeedStream(term, in);
            }
        }
        if (status == 0) {
            term.Finish();
            if (!options.Quiet) {
                const DisplayMemory& mem = term.GetSession().Memory();
                if (options.OutputFormat == ScreenOptions::Format::Json) {
                    const Session& session = term.GetSession();
                    std::string members = EditJsonMembers(term.Editor().Current(), mem, term.Clipboard().Text()) +
                                          "," +
                                          StateJsonMembers(session.State(), session.BellCount(), session.SoftKeys());
                    if (term.Script() != nullptr)
                        members += "," + term.Script()->JsonMember();
                    members += ",\"forms\":" + term.Forms().Report();
                    WriteJsonReport(out, mem, options.Memory, members);
                } else
                    WriteTextReport(out, mem, options.Memory);
            }
        }
    }
    if (replies != nullptr)
        std::fclose(replies);
    return status;
}

} // namespace kalvor
