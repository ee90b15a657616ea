#include "forms/InterpretScript.h"

#include "forms/ScriptRun.h"

#include <algorithm>
#include <cctype>

namespace kalvor::forms {

bool IsWord(std::string_view token, std::string_view upperWord)
{
    return token.size() == upperWord.size() &&
           std::equal(token.begin(), token.end(), upperWord.begin(),
                      [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

void FormSize(double unitsWide, double unitsHigh, const FormSettings& s, int& width, int& height)
{
    auto fit = [&](double units, double least, int client) {
        const int scaled = ScaleUnits(std::max(units, least), s.Scale);
        if (scaled <= client)
            return client;
        const int step = std::max(1, s.ScrollStep);
        return (scaled + step - 1) / step * step;
    };
    width = fit(unitsWide, 800, s.ClientWidth);
    height = fit(unitsHigh, 600, s.ClientHeight);
}

FormResult InterpretScript(std::string_view formText, FormModel& model, InterpreterState& state, FormDrawing& drawing,
                           const FormSettings& settings, ResourceRequests* resources)
{
    return ScriptRun(model, state, drawing, settings, resources).Run(formText);
}

FormResult ScriptRun::Run(std::string_view formText)
{
    FormSize(0, 0, settings_, result_.Width, result_.Height);
    if (!drawing_.CreateLayers(result_.Width, result_.Height, kWhite)) {
        result_.Failure = FormFailure::Layers;
        return result_;
    }
    std::size_t pos = 0;
    std::string_view text;
    CommandLine line;
    while (NextFormLine(formText, pos, text))
        if (SplitCommandLine(text, line) && !Execute(line))
            break;
    return result_;
}

bool ScriptRun::Execute(const CommandLine& line)
{
    const std::string& w = line.Word;
    ParamReader p(line.Params);
    // Commands whose parameters are all optional run without a parameter text.
    if (w == "/BACKGROUND")
        return Background(p);
    if (w == "/FONT")
        Font(p);
    else if (w == "/CAPTION")
        result_.Caption = std::string(line.Params);
    else if (w == "/NEWTABORDER") {
        // accepted and ignored
    } else if (w == "/GRID")
        drawing_.Grid(settings_.Scale);
    else if (w.size() >= 3 && w.size() <= 4 && w[1] == 'F' && std::isdigit(static_cast<unsigned char>(w[2]))) {
        const int key = static_cast<int>(LeadingNumber(std::string_view(w).substr(2)));
        const bool digits =
            std::all_of(w.begin() + 2, w.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
        if (digits && key >= 1 && key <= kFunctionKeyCount)
            model_.FunctionKeys[static_cast<std::size_t>(key - 1)] = std::string(line.Params);
    } else if (!line.HasParams) {
        // every other command needs parameters
    } else if (w == "/BOX")
        Box(p);
    else if (w == "/POLYGON")
        Polygon(p, true);
    else if (w == "/POLYLINE")
        Polygon(p, false);
    else if (w == "/OVAL")
        Oval(p);
    else if (w == "/LINE")
        Line(p);
    else if (w == "/TEXT")
        Text(p);
    else if (w == "/IMAGE")
        Image(p);
    else if (w == "/RESOURCES")
        Resources(p);
    else if (w == "/RESOURCESERVER")
        ResourceServerLine(p);
    else if (w == "/PURGE")
        Purge(p);
    else if (w == "/BUTTON")
        Button(p);
    else if (w == "/CHECK")
        CheckBox(p);
    else if (w == "/ENTRYBOX")
        Entry(p);
    else if (w == "/PICKLIST")
        PickList(p, PickType::Single);
    else if (w == "/MULTIPICK")
        PickList(p, PickType::Multi);
    else if (w == "/RADIO")
        RadioButton(p);
    else if (w == "/MAP")
        Map(p);
    else if (w == "/DISPLAYFIELD")
        Display(p);
    else if (w == "/TABORDER")
        TabOrder(p);
    return true;
}

Point ScriptRun::ReadPoint(ParamReader& p)
{
    const double x = p.Number();
    const double y = p.Number();
    return {Scale(x), Scale(y)};
}

PenStyle ScriptRun::Pen() const
{
    PenStyle pen;
    pen.Width = Scale(state_.PenWidth);
    pen.Color = state_.Blend ? state_.FillColor : state_.PenColor;
    if (pen.Width <= 0) {
        pen.Visible = false; // a null pen of width 1
        pen.Width = 1;
    }
    return pen;
}

FillStyle ScriptRun::Fill() const { return {state_.FillColor, state_.Blend, state_.BlendColor}; }

bool ScriptRun::ShapeProperty(std::string_view word, ParamReader& p, bool fill)
{
    if (IsWord(word, "PENWIDTH"))
        state_.PenWidth = p.Number();
    else if (IsWord(word, "PENCOLOR"))
        state_.PenColor = p.Colour3();
    else if (!fill)
        return false;
    else if (IsWord(word, "FILL"))
        state_.FillColor = p.Colour3();
    else if (IsWord(word, "BLEND")) {
        state_.BlendColor = p.Colour3();
        state_.Blend = true;
    } else if (IsWord(word, "NOBLEND"))
        state_.Blend = false;
    else
        return false;
    return true;
}

bool ScriptRun::ShadowProperty(std::string_view word, ParamReader& p)
{
    if (IsWord(word, "SHADOW")) {
        state_.ShadowDx = p.Number();
        state_.ShadowDy = p.Number();
        state_.ShadowColor = p.Colour3();
        state_.Shadow = true;
    } else if (IsWord(word, "NOSHADOW"))
        state_.Shadow = false;
    else
        return false;
    return true;
}

// /BACKGROUND: FILL, BLEND, NOBLEND, HEIGHT, WIDTH; the layers made anew.
bool ScriptRun::Background(ParamReader& p)
{
    double width = 0, height = 0;
    while (!p.AtEnd()) {
        const std::string_view word = p.Next();
        if (IsWord(word, "FILL"))
            state_.FillColor = p.Colour3();
        else if (IsWord(word, "BLEND")) {
            state_.BlendColor = p.Colour3();
            state_.Blend = true;
        } else if (IsWord(word, "NOBLEND"))
            state_.Blend = false;
        else if (IsWord(word, "HEIGHT"))
            height = p.Number();
        else if (IsWord(word, "WIDTH"))
            width = p.Number();
    }
    FormSize(width, height, settings_, result_.Width, result_.Height);
    if (!drawing_.CreateLayers(result_.Width, result_.Height, state_.FillColor)) {
        result_.Failure = FormFailure::BackgroundLayers;
        return false;
    }
    if (state_.Blend)
        drawing_.Box({0, 0, result_.Width, result_.Height}, Fill(), PenStyle{false, 1, state_.FillColor});
    return true;
}

void ScriptRun::Box(ParamReader& p)
{
    const Point a = ReadPoint(p);
    const Point b = ReadPoint(p);
    while (!p.AtEnd())
        ShapeProperty(p.Next(), p, true);
    drawing_.Box({a.X, a.Y, b.X, b.Y}, Fill(), Pen());
}

// /POLYGON and /POLYLINE: pairs while the next token begins with a number.
void ScriptRun::Polygon(ParamReader& p, bool closed)
{
    std::vector<Point> points;
    while (StartsWithNumber(p.Peek())) {
        const double x = p.Number();
        if (!StartsWithNumber(p.Peek()))
            break;
        points.push_back({Scale(x), Scale(p.Number())});
    }
    while (!p.AtEnd())
        ShapeProperty(p.Next(), p, closed);
    if (points.empty())
        return;
    if (closed)
        drawing_.Polygon(points, Fill(), Pen());
    else
        drawing_.Polyline(points, Pen());
}

void ScriptRun::Oval(ParamReader& p)
{
    const Point a = ReadPoint(p);
    const Point b = ReadPoint(p);
    while (!p.AtEnd())
        ShapeProperty(p.Next(), p, true);
    drawing_.Oval({a.X, a.Y, b.X, b.Y}, Fill(), Pen());
}

void ScriptRun::Line(ParamReader& p)
{
    const Point a = ReadPoint(p);
    const Point b = ReadPoint(p);
    while (!p.AtEnd())
        ShapeProperty(p.Next(), p, false);
    drawing_.Line(a, b, Pen());
}

void ScriptRun::Font(ParamReader& p)
{
    while (!p.AtEnd()) {
        const std::string_view word = p.Next();
        if (IsWord(word, "NOBOLD"))
            state_.FontWeight = 100;
        else if (IsWord(word, "BOLD"))
            state_.FontWeight = 700;
        else if (IsWord(word, "UNDERLINE") || IsWord(word, "NOUNDERLINE"))
            state_.Underline = IsWord(word, "UNDERLINE");
        else if (IsWord(word, "ITALICS") || IsWord(word, "NOITALICS"))
            state_.Italic = IsWord(word, "ITALICS");
        else if (IsWord(word, "STRIKEOUT") || IsWord(word, "NOSTRIKEOUT"))
            state_.StrikeOut = IsWord(word, "STRIKEOUT");
        else if (IsWord(word, "FACE"))
            state_.FontFace = std::string(p.Next());
        else if (IsWord(word, "SIZE"))
            state_.FontSize = p.Number();
        else if (IsWord(word, "COLOR"))
            state_.TextColor = p.Colour3();
        else if (IsWord(word, "ANGLE"))
            state_.Angle = p.Number();
        else
            ShadowProperty(word, p);
    }
}

// /TEXT x y justification text: y is the base line; the text is the rest
// of the line as it stands.
void ScriptRun::Text(ParamReader& p)
{
    const Point at = ReadPoint(p);
    const std::string_view justify = p.Next();
    TextStyle style;
    style.Justify = IsWord(justify, "CJ")   ? TextAlign::Center
                    : IsWord(justify, "RJ") ? TextAlign::Right
                                            : TextAlign::Left;
    style.Font.Face = state_.FontFace;
    style.Font.Height = Scale(state_.FontSize);
    style.Font.Weight = state_.FontWeight;
    style.Font.Italic = state_.Italic;
    style.Font.Underline = state_.Underline;
    style.Font.StrikeOut = state_.StrikeOut;
    style.Font.Escapement = RoundHalfEven(state_.Angle * 10);
    style.Color = state_.TextColor;
    style.Shadow = state_.Shadow;
    style.ShadowColor = state_.ShadowColor;
    style.ShadowDx = Scale(state_.ShadowDx);
    style.ShadowDy = Scale(state_.ShadowDy);
    const std::string_view text = p.Rest();
    if (!text.empty())
        drawing_.Text(at, style, text);
}

// /IMAGE x y file: XSIZE, YSIZE, SIZE stretch the copy; MASK x y.
void ScriptRun::Image(ParamReader& p)
{
    ImageRequest style;
    style.At = ReadPoint(p);
    std::string file(TrimBlanks(p.Next()));
    if (file.empty())
        return;
    if (file.find('\\') != std::string::npos) {
        std::replace(file.begin(), file.end(), '\\', '/');
        style.File = file;
    } else {
        style.File = settings_.CacheFolder / file;
    }
    while (!p.AtEnd()) {
        const std::string_view word = p.Next();
        if (IsWord(word, "XSIZE"))
            style.Width = Scale(p.Number());
        else if (IsWord(word, "YSIZE"))
            style.Height = Scale(p.Number());
        else if (IsWord(word, "SIZE"))
            style.Width = style.Height = Scale(p.Number());
        else if (IsWord(word, "MASK")) {
            style.Mask = true;
            style.MaskAt.X = RoundHalfEven(p.Number());
            style.MaskAt.Y = RoundHalfEven(p.Number());
        }
    }
    drawing_.Image(style);
}

void ScriptRun::Resources(ParamReader& p)
{
    std::vector<std::string> names;
    while (!p.AtEnd()) {
        const std::string_view name = TrimBlanks(p.Next());
        if (!name.empty())
            names.emplace_back(name);
    }
    if (resources_ && !names.empty())
        resources_->DownloadResources(state_.Resources, names);
}

void ScriptRun::ResourceServerLine(ParamReader& p)
{
    state_.Resources = {};
    state_.Resources.Server = std::string(p.Next());
    while (!p.AtEnd()) {
        const std::string_view word = p.Next();
        if (IsWord(word, "PORT"))
            state_.Resources.Port = std::max(0, RoundHalfEven(p.Number()));
        else if (IsWord(word, "PASSIVE"))
            state_.Resources.Passive = true;
        else if (IsWord(word, "USER"))
            state_.Resources.User = std::string(p.Next());
        else if (IsWord(word, "PASSWORD"))
            state_.Resources.Password = std::string(p.Next());
    }
}

void ScriptRun::Purge(ParamReader& p)
{
    while (!p.AtEnd()) {
        const std::string file(p.Next());
        const std::string date(p.Next());
        if (resources_ && !file.empty())
            resources_->Purge(file, date);
    }
}

} // namespace kalvor::forms
