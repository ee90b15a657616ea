#include "HeadlessForms.h"

#include "base/ProgramFolder.h"
#include "forms/FormBuild.h"
#include "forms/FormsReport.h"
#include "forms/ObjectAreas.h"

#include <system_error>

namespace kalvor {
namespace {

using namespace kalvor::forms;

// The surface of a form that is not drawn: a picture is there when its
// file is.
class NoDrawing final : public NullDrawing {
public:
    bool Image(const ImageRequest& image) override
    {
        std::error_code ec;
        return std::filesystem::is_regular_file(image.File, ec);
    }
};

std::optional<FormsKey> KeyOf(std::string_view name, bool shift, bool alt)
{
    if (name == "Tab")
        return shift ? FormsKey::ShiftTab : FormsKey::Tab;
    if (name == "Return" || name == "Enter")
        return FormsKey::Enter;
    if (name == "Home")
        return FormsKey::Home;
    if (name == "End")
        return FormsKey::End;
    if (name == "Up")
        return alt ? FormsKey::AltUp : FormsKey::Up;
    if (name == "Down")
        return alt ? FormsKey::AltDown : FormsKey::Down;
    if (name == "Left")
        return alt ? FormsKey::AltLeft : FormsKey::Left;
    if (name == "Right")
        return alt ? FormsKey::AltRight : FormsKey::Right;
    return std::nullopt;
}

} // namespace

HeadlessForms::HeadlessForms(Session& session, const Clock& clock)
    : session_(session),
      cache_(ProgramFolder(), downloads_, clock),
      mode_(model_, session.Forms().Flags, *this, session.Forms().Lines(), clock, session.Forms().Download.Files())
{
    mode_.SetPacing(session.Forms().Pacing());
}

void HeadlessForms::Show()
{
    mode_.HostRoman8 = session_.State().HostRoman8;
    (void)mode_.OpenFromFormFile();
}

void HeadlessForms::Poll()
{
    mode_.HostRoman8 = session_.State().HostRoman8;
    mode_.CanvoPolling(session_.FormsReceiveBuffer());
}

bool HeadlessForms::Key(const ScriptEvent& event)
{
    bool shift = false, alt = false;
    for (const std::string& m : event.Mods) {
        shift = shift || m == "shift";
        alt = alt || m == "alt";
    }
    const std::string& name = event.Text;
    if (const auto key = KeyOf(name, shift, alt)) {
        mode_.Key(*key);
        return true;
    }
    if (name.size() >= 2 && name[0] == 'F' && name.find_first_not_of("0123456789", 1) == std::string::npos) {
        mode_.FunctionKey(std::stoi(name.substr(1)));
        return true;
    }
    if (name == "Backspace") {
        mode_.TypeText("\b");
        return true;
    }
    if (name.size() == 1) {
        mode_.TypeText(name);
        return true;
    }
    return false;
}

void HeadlessForms::Close()
{
    if (mode_.UserClose())
        UnloadWindow();
}

std::string HeadlessForms::Report() const { return FormsReport(mode_); }

FormResult HeadlessForms::BuildForm(std::string_view formText)
{
    FormSettings settings; // display preset 2: scale 1.0, its field font's cells
    settings.CacheFolder = cache_.CacheFolder();
    NoDrawing drawing;
    state_ = InterpreterState{};
    return forms::BuildForm(formText, BuildKind::NewForm, model_, state_, drawing, settings, &cache_);
}

// The window closes: value lines still kept wait for the host's DC1 on the
// terminal side.
void HeadlessForms::UnloadWindow() { session_.Forms().KeepLines(mode_.TakeKeptLines()); }

Rect HeadlessForms::ObjectArea(int position) const { return PlainObjectArea(model_, model_.At(position)); }

} // namespace kalvor
