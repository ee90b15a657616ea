// SaveCanvoState / RestoreCanvoState: the values of a form's objects and its
// focus kept across a rebuild (resize, rescale, reload). Objects are matched
// by kind and name (case ignored); the n-th object of a kind with a name
// takes the n-th saved value of that name, so a form file that changed in
// between keeps what still fits it.
#pragma once

#include "forms/FormModel.h"

#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace kalvor::forms {

struct SavedValue {
    bool Value = false;               // check box, radio button
    std::string Text;                 // entry box, display field
    std::vector<std::string> List;    // pick list items
    std::vector<std::string> SelList; // pick list selection
    bool operator==(const SavedValue&) const = default;
};

// (type number, upper-case name, occurrence among the kind's objects of that name)
using ObjectKey = std::tuple<int, std::string, int>;

struct CanvoState {
    std::map<ObjectKey, SavedValue> Values;
    bool HasFocus = false;
    ObjectKey FocusKey;
};

CanvoState SaveCanvoState(const FormModel& model);

// Puts the saved values into the rebuilt objects and returns the object-list
// position of the object that had the focus (0 when it is gone).
int RestoreCanvoState(FormModel& model, const CanvoState& state);

} // namespace kalvor::forms
