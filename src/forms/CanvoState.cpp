#include "forms/CanvoState.h"

namespace kalvor::forms {
namespace {

// Calls f(key, ref) for every object of every kind in array order.
template <typename Model, typename F>
void ForEachObject(Model& model, F&& f)
{
    std::map<std::pair<int, std::string>, int> seen;
    auto each = [&](ObjectType type, auto& array) {
        for (int i = 1; i <= array.Count(); ++i) {
            const ObjectRef ref{type, i};
            std::string name = UpperName(model.NameOf(ref));
            const int occurrence = seen[{static_cast<int>(type), name}]++;
            f(ObjectKey{static_cast<int>(type), std::move(name), occurrence}, ref);
        }
    };
    each(ObjectType::Button, model.Buttons);
    each(ObjectType::Check, model.Checks);
    each(ObjectType::Entry, model.Cursors);
    each(ObjectType::Pick, model.Picks);
    each(ObjectType::Radio, model.Radios);
    each(ObjectType::Map, model.Maps);
    each(ObjectType::DisplayField, model.DisplayFields);
}

} // namespace

CanvoState SaveCanvoState(const FormModel& model)
{
    CanvoState state;
    const int focus = model.Focus.CurFocusObj;
    const ObjectRef focused = model.Listed(focus) ? model.At(focus) : ObjectRef{ObjectType::Button, 0};
    ForEachObject(model, [&](const ObjectKey& key, ObjectRef ref) {
        if (ref == focused) {
            state.HasFocus = true;
            state.FocusKey = key;
        }
        SavedValue v;
        switch (ref.Type) {
        case ObjectType::Check: v.Value = model.Checks[ref.Index].Value; break;
        case ObjectType::Radio: v.Value = model.Radios[ref.Index].Value; break;
        case ObjectType::Entry: v.Text = model.Cursors[ref.Index].Text; break;
        case ObjectType::DisplayField: v.Text = model.DisplayFields[ref.Index].Text; break;
        case ObjectType::Pick:
            v.List = model.Picks[ref.Index].List;
            v.SelList = model.Picks[ref.Index].SelList;
            break;
        case ObjectType::Button:
        case ObjectType::Map: return;
        }
        state.Values.emplace(key, std::move(v));
    });
    return state;
}

int RestoreCanvoState(FormModel& model, const CanvoState& state)
{
    int focus = 0;
    ForEachObject(model, [&](const ObjectKey& key, ObjectRef ref) {
        if (state.HasFocus && key == state.FocusKey)
            focus = model.GetObjectIndexByType(ref.Type, ref.Index);
        const auto it = state.Values.find(key);
        if (it == state.Values.end())
            return;
        const SavedValue& v = it->second;
        switch (ref.Type) {
        case ObjectType::Check: model.Checks[ref.Index].Value = v.Value; break;
        case ObjectType::Radio: model.Radios[ref.Index].Value = v.Value; break;
        case ObjectType::Entry: model.Cursors[ref.Index].Text = v.Text; break;
        case ObjectType::DisplayField: model.DisplayFields[ref.Index].Text = v.Text; break;
        case ObjectType::Pick:
            model.Picks[ref.Index].List = v.List;
            model.Picks[ref.Index].SelList = v.SelList;
            break;
        case ObjectType::Button:
        case ObjectType::Map: break;
        }
    });
    return focus;
}

} // namespace kalvor::forms
