#include "forms/FormsReport.h"

#include "base/JsonText.h"
#include "base/Text.h"

#include <cstdint>

namespace kalvor::forms {
namespace {

void PutList(std::string& out, const std::vector<std::string>& items)
{
    out.push_back('[');
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            out.push_back(',');
        PutJsonString(out, items[i]);
    }
    out.push_back(']');
}

const char* KindName(const FormModel& model, ObjectRef o)
{
    switch (o.Type) {
    case ObjectType::Button: return "button";
    case ObjectType::Check: return "check";
    case ObjectType::Entry: return "entry";
    case ObjectType::Pick: return model.Picks[o.Index].Type == PickType::Multi ? "multipick" : "picklist";
    case ObjectType::Radio: return "radio";
    case ObjectType::Map: return "map";
    case ObjectType::DisplayField: return "display";
    }
    return "";
}

void PutObject(std::string& out, const FormModel& model, int position)
{
    const ObjectRef o = model.At(position);
    auto num = [&](const char* key, int value) {
        out.append(",\"").append(key).append("\":").append(std::to_string(value));
    };
    auto text = [&](const char* key, std::string_view value) {
        out.append(",\"").append(key).append("\":");
        PutJsonString(out, value);
    };
    out.append("{\"pos\":").append(std::to_string(position));
    num("type", static_cast<int>(o.Type));
    text("kind", KindName(model, o));
    text("name", TrimSpaces(model.NameOf(o)));
    int x = 0, y = 0;
    model.Corner(o, x, y);
    num("x1", x);
    num("y1", y);
    switch (o.Type) {
    case ObjectType::Button:
        num("x2", model.Buttons[o.Index].Xcoord2);
        num("y2", model.Buttons[o.Index].Ycoord2);
        break;
    case ObjectType::Map:
        num("x2", model.Maps[o.Index].Xcoord2);
        num("y2", model.Maps[o.Index].Ycoord2);
        break;
    case ObjectType::Check: out.append(",\"value\":").append(model.Checks[o.Index].Value ? "true" : "false"); break;
    case ObjectType::Entry:
        num("length", model.Cursors[o.Index].Length);
        num("maxchars", model.Cursors[o.Index].MaxChars);
        text("text", model.Cursors[o.Index].Text);
        break;
    case ObjectType::Pick:
        num("length", model.Picks[o.Index].Length);
        out.append(",\"items\":");
        PutList(out, model.Picks[o.Index].List);
        out.append(",\"selected\":");
        PutList(out, model.Picks[o.Index].SelList);
        break;
    case ObjectType::Radio:
        num("index", model.Radios[o.Index].Index);
        out.append(",\"value\":").append(model.Radios[o.Index].Value ? "true" : "false");
        break;
    case ObjectType::DisplayField:
        num("length", model.DisplayFields[o.Index].Length);
        text("text", model.DisplayFields[o.Index].Text);
        break;
    }
    out.push_back('}');
}

} // namespace

std::string FormsReport(const FormsMode& mode)
{
    const FormModel& model = mode.Model();
    std::string out = "{\"active\":";
    out.append(mode.Showing() ? "true" : "false");
    out.append(",\"receiving\":").append(mode.Receiving() ? "true" : "false");
    out.append(",\"caption\":");
    PutJsonString(out, mode.Caption());
    out.append(",\"objects\":[");
    for (int p = 1; p <= model.ListCount(); ++p) {
        if (p > 1)
            out.push_back(',');
        PutObject(out, model, p);
    }
    out.append("],\"tab\":[");
    for (std::size_t i = 0; i < model.TabOrder.size(); ++i) {
        if (i > 0)
            out.push_back(',');
        out.append(std::to_string(model.TabOrder[i]));
    }
    out.append("],\"focus\":").append(std::to_string(model.Focus.CurFocusObj));
    out.append(",\"tabpos\":").append(std::to_string(model.Focus.TabIndex));
    out.append(",\"fkeys\":{");
    bool first = true;
    for (int k = 0; k < kFunctionKeyCount; ++k) {
        const std::string& definition = model.FunctionKeys[static_cast<std::size_t>(k)];
        if (definition.empty())
            continue;
        if (!first)
            out.push_back(',');
        first = false;
        PutJsonString(out, "F" + std::to_string(k + 1));
        out.push_back(':');
        PutJsonString(out, definition);
    }
    out.append("}}");
    return out;
}

} // namespace kalvor::forms
