// kalvor-form-view: draws a form file as the forms window would and writes
// the cursor layer to a PNG file, to look at a form by hand.
//
//   kalvor-form-view [--preset N] [--focus NAME] [--set NAME=VALUE]... [--cache DIR] FORM OUT.png
//
// N is the display preset 1..4 (default 2); NAME gets the focus marking;
// --set gives an object a value (check box: T or F; entry box, display
// field: text with "|" between lines; pick list: items "|"-separated, then
// "*" and the chosen ones; radio group: the index); DIR is where /IMAGE
// finds plain file names (default: FORM's folder).
#include "base/Version.h"
#include "forms/FormBuild.h"
#include "ui/forms/CanvoForm.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace kalvor::forms;

std::vector<std::string> Split(const std::string& s)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos <= s.size()) {
        const std::size_t bar = s.find('|', pos);
        out.push_back(s.substr(pos, bar == std::string::npos ? std::string::npos : bar - pos));
        if (bar == std::string::npos)
            break;
        pos = bar + 1;
    }
    return out;
}

// Gives the first object named `name` its value (see the usage above).
void SetValue(FormModel& m, const std::string& name, const std::string& value)
{
    const int position = m.GetObjectIndexByName(name);
    if (position == 0)
        return;
    const ObjectRef o = m.At(position);
    std::string text = value;
    for (std::size_t i = 0; (i = text.find('|', i)) != std::string::npos; i += 2)
        text.replace(i, 1, "\r\n");
    switch (o.Type) {
    case ObjectType::Check: m.Checks[o.Index].Value = !value.empty() && (value[0] == 'T' || value[0] == 't'); break;
    case ObjectType::Entry: m.Cursors[o.Index].Text = text; break;
    case ObjectType::DisplayField: m.DisplayFields[o.Index].Text = text; break;
    case ObjectType::Radio:
        for (Radio& r : m.Radios)
            if (SameName(r.Name, name))
                r.Value = r.Index == std::atoi(value.c_str());
        break;
    case ObjectType::Pick: {
        const std::size_t star = value.find("|*|");
        m.Picks[o.Index].List = Split(value.substr(0, star));
        m.Picks[o.Index].SelList =
            star == std::string::npos ? std::vector<std::string>{} : Split(value.substr(star + 3));
        break;
    }
    default: break;
    }
}

const char* const kUsage =
    "usage: kalvor-form-view [--preset 1..4] [--focus NAME] [--set NAME=VALUE]... [--cache DIR] FORM OUT.png\n"
    "Draws the form file FORM as the forms window would and writes it to the PNG file OUT.png.\n"
    "  --preset N        display preset 1..4 (scale 0.8, 1.0, 1.25, 1.6; default 2)\n"
    "  --focus NAME      the object NAME gets the focus marking\n"
    "  --set NAME=VALUE  gives an object a value (check box: T or F; entry box, display\n"
    "                    field: text with \"|\" between lines; pick list: items\n"
    "                    \"|\"-separated, then \"*\" and the chosen ones; radio group: the index)\n"
    "  --cache DIR       where /IMAGE finds plain file names (default: FORM's folder)\n"
    "  --help            this text\n"
    "  --version         the program's version\n";

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("kalvor-form-view %s\n", kalvor::kVersion);
            return 0;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    int preset = 2;
    std::string focus, cache, form, out;
    std::vector<std::string> sets;
    for (int i = 1; i < argc; ++i) {
        const bool more = i + 1 < argc;
        if (std::strcmp(argv[i], "--preset") == 0 && more)
            preset = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--focus") == 0 && more)
            focus = argv[++i];
        else if (std::strcmp(argv[i], "--set") == 0 && more)
            sets.push_back(argv[++i]);
        else if (std::strcmp(argv[i], "--cache") == 0 && more)
            cache = argv[++i];
        else if (form.empty())
            form = argv[i];
        else
            out = argv[i];
    }
    if (form.empty() || out.empty() || preset < 1 || preset > 4) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::ifstream in(form, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "kalvor-form-view: cannot read %s\n", form.c_str());
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    kalvor::ui::forms::LoadFormFonts();
    kalvor::ui::forms::CanvoForm canvo(preset);
    canvo.SetCacheFolder(cache.empty() ? std::filesystem::path(form).parent_path() : std::filesystem::path(cache));
    const auto result = canvo.Build(text, kalvor::forms::BuildKind::NewForm, QSize(0, 0));
    if (result.Failure != kalvor::forms::FormFailure::None) {
        std::fprintf(stderr, "kalvor-form-view: the layers could not be created\n");
        return 1;
    }
    for (const std::string& set : sets) {
        const std::size_t eq = set.find('=');
        if (eq != std::string::npos)
            SetValue(canvo.Model(), set.substr(0, eq), set.substr(eq + 1));
    }
    for (int p = 1; p <= canvo.Model().ListCount(); ++p)
        canvo.DrawNewData(p);
    canvo.SetFocusMarking(focus.empty() ? 0 : canvo.Model().GetObjectIndexByName(focus, true));
    if (!canvo.CursorImage().save(QString::fromStdString(out), "PNG")) {
        std::fprintf(stderr, "kalvor-form-view: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s: %d x %d pixels, %d objects listed\n", out.c_str(), result.Width, result.Height,
                canvo.Model().ListCount());
    return 0;
}
