#include "forms/FormModel.h"

#include <algorithm>

namespace kalvor::forms {
namespace {

char Upper(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
        return static_cast<char>(u - 0x20);
    return c;
}

} // namespace

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

std::string UpperName(std::string_view name)
{
    std::string out(name);
    std::transform(out.begin(), out.end(), out.begin(), Upper);
    return out;
}

void FormModel::InitializeObjects()
{
    Buttons.Clear();
    Checks.Clear();
    Cursors.Clear();
    Picks.Clear();
    Radios.Clear();
    Maps.Clear();
    DisplayFields.Clear();
    ObjectList.clear();
    TabOrder.clear();
    Focus = {};
    FunctionKeys = {};
    NameList.clear();
}

int FormModel::KindCount(ObjectType type) const
{
    switch (type) {
    case ObjectType::Button: return Buttons.Count();
    case ObjectType::Check: return Checks.Count();
    case ObjectType::Entry: return Cursors.Count();
    case ObjectType::Pick: return Picks.Count();
    case ObjectType::Radio: return Radios.Count();
    case ObjectType::Map: return Maps.Count();
    case ObjectType::DisplayField: return DisplayFields.Count();
    }
    return 0;
}

std::string_view FormModel::NameOf(ObjectRef o) const
{
    switch (o.Type) {
    case ObjectType::Button: return Buttons[o.Index].Action;
    case ObjectType::Check: return Checks[o.Index].Name;
    case ObjectType::Entry: return Cursors[o.Index].Name;
    case ObjectType::Pick: return Picks[o.Index].Name;
    case ObjectType::Radio: return Radios[o.Index].Name;
    case ObjectType::Map: return Maps[o.Index].Name;
    case ObjectType::DisplayField: return DisplayFields[o.Index].Name;
    }
    return {};
}

void FormModel::Corner(ObjectRef o, int& x, int& y) const
{
    auto take = [&](const auto& record) {
        x = record.Xcoord1;
        y = record.Ycoord1;
    };
    switch (o.Type) {
    case ObjectType::Button: take(Buttons[o.Index]); break;
    case ObjectType::Check: take(Checks[o.Index]); break;
    case ObjectType::Entry: take(Cursors[o.Index]); break;
    case ObjectType::Pick: take(Picks[o.Index]); break;
    case ObjectType::Radio: take(Radios[o.Index]); break;
    case ObjectType::Map: take(Maps[o.Index]); break;
    case ObjectType::DisplayField: take(DisplayFields[o.Index]); break;
    }
}

bool FormModel::SortCVObj(int index, ObjectType type, int x, int y)
{
    if (ListCount() >= kMaxListEntries)
        return false;
    // Before the first object below the new one, or on its row and to its right.
    auto place = std::find_if(ObjectList.begin(), ObjectList.end(), [&](ObjectRef o) {
        int ox = 0, oy = 0;
        Corner(o, ox, oy);
        return oy > y || (oy == y && ox > x);
    });
    const int position = static_cast<int>(place - ObjectList.begin()) + 1;
    ObjectList.insert(place, ObjectRef{type, index});
    auto shift = [position](int& p) {
        if (p >= position)
            ++p;
    };
    std::for_each(TabOrder.begin(), TabOrder.end(), shift);
    shift(Focus.CurFocusObj);
    shift(Focus.PrevFocusObj);
    shift(Focus.MouseObj);
    shift(Focus.PrevMouseObj);
    return true;
}

int FormModel::GetObjectIndexByName(std::string_view name, bool findTrue) const
{
    for (int p = 1; p <= ListCount(); ++p) {
        const ObjectRef o = At(p);
        if (!SameName(NameOf(o), name))
            continue;
        if (findTrue && o.Type == ObjectType::Radio) {
            for (int q = p; q <= ListCount(); ++q) {
                const ObjectRef r = At(q);
                if (r.Type == ObjectType::Radio && Radios[r.Index].Value && SameName(Radios[r.Index].Name, name))
                    return q;
            }
        }
        return p;
    }
    return 0;
}

int FormModel::GetObjectIndexByType(ObjectType type, int index) const
{
    const auto it = std::find(ObjectList.begin(), ObjectList.end(), ObjectRef{type, index});
    return it == ObjectList.end() ? 0 : static_cast<int>(it - ObjectList.begin()) + 1;
}

int FormModel::GetDisplayFldIndex(std::string_view name) const
{
    for (int i = 1; i <= DisplayFields.Count(); ++i)
        if (SameName(DisplayFields[i].Name, name))
            return i;
    return 0;
}

int FormModel::GetTabIndex(int position) const
{
    const auto it = std::find(TabOrder.begin(), TabOrder.end(), position);
    return it == TabOrder.end() || position == 0 ? 0 : static_cast<int>(it - TabOrder.begin()) + 1;
}

bool FormModel::AppendTab(int position)
{
    if (!Listed(position) || static_cast<int>(TabOrder.size()) >= kMaxListEntries)
        return false;
    TabOrder.push_back(position);
    return true;
}

void FormModel::SetCVTabOrder()
{
    if (!TabOrder.empty())
        return;
    std::string_view names = NameList;
    while (!names.empty()) {
        const std::size_t bar = names.find('|');
        const std::string_view name = names.substr(0, bar);
        names.remove_prefix(bar == std::string_view::npos ? names.size() : bar + 1);
        if (!name.empty())
            AppendTab(GetObjectIndexByName(name));
    }
}

void FormModel::FinishBuild(int restoredFocus)
{
    SetCVTabOrder();
    Focus = {};
    if (Listed(restoredFocus))
        Focus.CurFocusObj = restoredFocus;
    else if (!TabOrder.empty())
        Focus.CurFocusObj = TabOrder.front();
    Focus.TabIndex = GetTabIndex(Focus.CurFocusObj);
}

} // namespace kalvor::forms
