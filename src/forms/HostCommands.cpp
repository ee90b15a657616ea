#include "forms/HostCommands.h"

#include "base/Text.h"
#include "engine/CharacterSets.h"
#include "forms/FormNumbers.h"

#include <algorithm>

namespace kalvor::forms {

std::string CleanHostLine(std::string_view line, bool roman8)
{
    std::string out;
    out.reserve(line.size());
    for (const char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 && u != '\r')
            continue;
        out.push_back(c);
    }
    if (roman8)
        TranslateInPlace(out, Roman8ToLatin1Table());
    return out;
}

std::string DecodeEntryText(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 8);
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == '|') {
            out.push_back('|');
            ++i;
        } else if (value[i] == '|') {
            out.append("\r\n");
        } else {
            out.push_back(value[i]);
        }
    }
    return out;
}

std::string EncodeEntryText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '|') {
            out.append("\\|");
        } else if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out.push_back('|');
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

void SeparatePickLists(std::string_view value, std::string& items, std::string& chosen)
{
    for (std::size_t at = value.find("|*|"); at != std::string_view::npos; at = value.find("|*|", at + 1)) {
        if (at > 0 && value[at - 1] == '\\')
            continue;
        items.assign(value.substr(0, at));
        chosen.assign(value.substr(at + 3));
        return;
    }
    items.assign(value);
    chosen.clear();
}

std::vector<std::string> SplitItemList(std::string_view list)
{
    std::vector<std::string> items;
    if (!list.empty() && list.front() == '|')
        list.remove_prefix(1);
    while (!list.empty()) {
        const std::size_t bar = list.find('|');
        items.emplace_back(list.substr(0, bar));
        list.remove_prefix(bar == std::string_view::npos ? list.size() : bar + 1);
    }
    return items;
}

int CountItemsInList(std::string_view list) { return static_cast<int>(SplitItemList(list).size()); }

void StorePickListItems(Pick& pick, std::string_view list)
{
    pick.List = SplitItemList(list);
    pick.SelList.clear();
}

void StoreNewSelectItems(Pick& pick, std::string_view list)
{
    pick.SelList.clear();
    for (const std::string& wanted : SplitItemList(list)) {
        const auto found = std::find_if(pick.List.begin(), pick.List.end(), [&](const std::string& item) {
            return TrimSpaces(item) == TrimSpaces(wanted);
        });
        if (found == pick.List.end() ||
            std::find(pick.SelList.begin(), pick.SelList.end(), *found) != pick.SelList.end())
            continue;
        pick.SelList.push_back(*found);
        if (pick.Type == PickType::Single)
            break;
    }
}

namespace {

template <typename Record>
int FindByName(const KindArray<Record>& array, std::string_view name)
{
    for (int i = 1; i <= array.Count(); ++i)
        if (SameName(array[i].Name, name))
            return i;
    return 0;
}

// SaveRadioValue: the group's button with that index becomes the chosen one.
void SaveRadioValue(FormModel& model, std::string_view group, int index, std::vector<int>& changed)
{
    for (int i = 1; i <= model.Radios.Count(); ++i) {
        Radio& r = model.Radios[i];
        if (!SameName(r.Name, group))
            continue;
        const bool chosen = r.Index == index;
        if (r.Value != chosen || chosen) {
            r.Value = chosen;
            changed.push_back(model.GetObjectIndexByType(ObjectType::Radio, i));
        }
    }
}

} // namespace

HostCmdResult ExecuteHostCmd(std::string_view line, FormModel& model)
{
    HostCmdResult result;
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return result;
    const std::string word = UpperName(TrimSpaces(line.substr(0, colon)));
    const std::string_view value = line.substr(colon + 1);

    if (word == "GOTO") {
        const int to = model.ListCount() > 0 ? model.GetObjectIndexByName(TrimSpaces(value)) : 0;
        if (to == 0)
            return result;
        result.What = HostCmdResult::Kind::Goto;
        result.From = model.Focus.CurFocusObj;
        result.To = to;
        return result;
    }
    if (word == "ONERROR") {
        result.What = HostCmdResult::Kind::Error;
        result.Text = value;
        return result;
    }

    result.What = HostCmdResult::Kind::Value;
    auto changed = [&](ObjectType type, int index) {
        result.Changed.push_back(model.GetObjectIndexByType(type, index));
    };
    if (const int i = FindByName(model.Checks, word)) {
        const std::string upper = UpperName(value);
        model.Checks[i].Value = !upper.empty() && upper.front() == 'T';
        changed(ObjectType::Check, i);
    } else if (const int i = FindByName(model.Cursors, word)) {
        model.Cursors[i].Text = DecodeEntryText(value);
        changed(ObjectType::Entry, i);
    } else if (const int i = FindByName(model.Picks, word)) {
        std::string items, chosen;
        SeparatePickLists(value, items, chosen);
        Pick& pick = model.Picks[i];
        if (CountItemsInList(items) == 0) {
            pick.List.clear();
            pick.SelList.clear();
        } else {
            StorePickListItems(pick, items);
            StoreNewSelectItems(pick, chosen);
        }
        changed(ObjectType::Pick, i);
    } else if (const int i = FindByName(model.DisplayFields, word)) {
        model.DisplayFields[i].Text = value;
        changed(ObjectType::DisplayField, i);
    } else if (FindByName(model.Radios, word) != 0) {
        SaveRadioValue(model, word, RoundHalfEven(LeadingNumber(value)), result.Changed);
    } else {
        result.What = HostCmdResult::Kind::Ignored;
    }
    return result;
}

} // namespace kalvor::forms
