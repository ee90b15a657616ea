#include "forms/ValueLines.h"

#include "base/Text.h"
#include "forms/HostCommands.h"

namespace kalvor::forms {

std::optional<std::string> ValueLine(const FormModel& model, int position, int focus, int x, int y)
{
    if (!model.Listed(position))
        return std::nullopt;
    const ObjectRef o = model.At(position);
    if (o.Index < 1 || o.Index > model.KindCount(o.Type))
        return std::nullopt;
    std::string line = UpperName(model.NameOf(o)) + ":";
    switch (o.Type) {
    case ObjectType::Button:
        if (model.Listed(focus))
            line += UpperName(model.NameOf(model.At(focus)));
        break;
    case ObjectType::Check: line += model.Checks[o.Index].Value ? "True" : "False"; break;
    case ObjectType::Entry: line += EncodeEntryText(model.Cursors[o.Index].Text); break;
    case ObjectType::Pick: {
        const Pick& pick = model.Picks[o.Index];
        if (pick.List.empty())
            break;
        line += '|';
        for (const std::string& item : pick.List)
            line.append(TrimSpaces(item)).append("|");
        line += "*|";
        for (const std::string& item : pick.SelList)
            line.append(TrimSpaces(item)).append("|");
        break;
    }
    case ObjectType::Radio: {
        const std::string& group = model.Radios[o.Index].Name;
        const Radio* chosen = nullptr;
        for (const Radio& r : model.Radios)
            if (r.Value && SameName(r.Name, group)) {
                chosen = &r;
                break;
            }
        if (chosen == nullptr)
            return std::nullopt;
        line += std::to_string(chosen->Index);
        break;
    }
    case ObjectType::Map: line += std::to_string(x) + "|" + std::to_string(y); break;
    case ObjectType::DisplayField: return std::nullopt;
    }
    line += '\r';
    return line;
}

std::string FunctionKeyLine(std::string_view definition)
{
    return UpperName(definition) + ":" + std::string(definition) + "\r";
}

} // namespace kalvor::forms
