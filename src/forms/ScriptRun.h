// One pass of InterpretScript over a form file: the commands as member
// functions sharing the model, the carried state and the drawing interface.
// Drawing commands are in InterpretScript.cpp, creating commands in
// ObjectCommands.cpp.
#pragma once

#include "forms/InterpretScript.h"
#include "forms/ScriptLine.h"

namespace kalvor::forms {

class ScriptRun {
public:
    ScriptRun(FormModel& model, InterpreterState& state, FormDrawing& drawing, const FormSettings& settings,
              ResourceRequests* resources)
        : model_(model), state_(state), drawing_(drawing), settings_(settings), resources_(resources)
    {}

    FormResult Run(std::string_view formText);

private:
    // false when the form cannot go on (its layers are gone)
    bool Execute(const CommandLine& line);

    int Scale(double units) const { return ScaleUnits(units, settings_.Scale); }
    Point ReadPoint(ParamReader& p);
    PenStyle Pen() const;
    FillStyle Fill() const;
    // FILL, BLEND, NOBLEND, PENWIDTH, PENCOLOR of the drawing commands.
    bool ShapeProperty(std::string_view word, ParamReader& p, bool fill);
    bool ShadowProperty(std::string_view word, ParamReader& p);

    bool Background(ParamReader& p);
    void Box(ParamReader& p);
    void Polygon(ParamReader& p, bool closed);
    void Oval(ParamReader& p);
    void Line(ParamReader& p);
    void Font(ParamReader& p);
    void Text(ParamReader& p);
    void Image(ParamReader& p);
    void Resources(ParamReader& p);
    void ResourceServerLine(ParamReader& p);
    void Purge(ParamReader& p);

    // ObjectCommands.cpp
    void Button(ParamReader& p);
    void CheckBox(ParamReader& p);
    void Entry(ParamReader& p);
    void PickList(ParamReader& p, PickType type);
    void RadioButton(ParamReader& p);
    void Map(ParamReader& p);
    void Display(ParamReader& p);
    void TabOrder(ParamReader& p);
    // The properties entry boxes, pick lists and display fields share.
    bool FieldProperty(std::string_view word, ParamReader& p);
    FieldLook Look() const;
    template <typename Record>
    void Created(ObjectType type, int index, const Record& record, std::string_view name);

    FormModel& model_;
    InterpreterState& state_;
    FormDrawing& drawing_;
    const FormSettings& settings_;
    ResourceRequests* resources_;
    FormResult result_;
};

// Property words compared without regard to case.
bool IsWord(std::string_view token, std::string_view upperWord);

} // namespace kalvor::forms
