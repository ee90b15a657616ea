// The object model of one Canvo form: the seven kinds' arrays, the object
// list in screen order, the tab sequence, the focus state, the function-key
// definitions and the name list. Positions in the object list and the tab
// sequence are 1-based; 0 means "none".
#pragma once

#include "forms/KindArray.h"
#include "forms/ObjectKinds.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor::forms {

constexpr int kMaxListEntries = 500;
constexpr int kFunctionKeyCount = 12;

struct ObjectRef {
    ObjectType Type = ObjectType::Button;
    int Index = 0; // 1-based index in the kind's array
    bool operator==(const ObjectRef&) const = default;
};

struct FocusState {
    int CurFocusObj = 0; // object-list position with the focus
    int PrevFocusObj = 0;
    int MouseObj = 0; // object under the mouse
    int PrevMouseObj = 0;
    int TabIndex = 0; // position in the tab sequence, 1 .. its length
};

// Names are compared without regard to case (ASCII and Latin-1 letters).
bool SameName(std::string_view a, std::string_view b);
std::string UpperName(std::string_view name);

class FormModel {
public:
    KindArray<ButtonObj> Buttons;
    KindArray<Check> Checks;
    KindArray<Cursor> Cursors;
    KindArray<Pick> Picks;
    KindArray<Radio> Radios;
    KindArray<ClickMap> Maps;
    KindArray<DisplayField> DisplayFields;

    // Every listed object in screen order: upper-left corner by y, then x;
    // objects on the same corner keep their creation order. At most 500.
    std::vector<ObjectRef> ObjectList;
    // Object-list positions, at most 500; kept pointing at the same objects
    // when later objects are inserted before them.
    std::vector<int> TabOrder;
    FocusState Focus;
    std::array<std::string, kFunctionKeyCount> FunctionKeys;
    // The names of the created objects in creation order, each followed by
    // "|"; a radio group's name once.
    std::string NameList;

    // Empties every array, the object list, the tab sequence, the focus, the
    // name list and the function keys, before a new form or a rebuild.
    void InitializeObjects();

    int ListCount() const { return static_cast<int>(ObjectList.size()); }
    // The entry at an object-list position (1-based); must exist.
    ObjectRef At(int position) const { return ObjectList[static_cast<std::size_t>(position - 1)]; }
    bool Listed(int position) const { return position >= 1 && position <= ListCount(); }

    int KindCount(ObjectType type) const;
    bool KindFull(ObjectType type) const { return KindCount(type) >= kMaxObjectsPerKind; }
    std::string_view NameOf(ObjectRef object) const;
    // Upper-left corner of an object.
    void Corner(ObjectRef object, int& x, int& y) const;

    // Lists an object at its screen-order place. False when the list already
    // holds 500 entries (the object exists but is not listed).
    bool SortCVObj(int index, ObjectType type, int x, int y);

    // Position of the first listed object named `name`; for a radio group with
    // `findTrue`, its chosen button (the first one when none is chosen).
    int GetObjectIndexByName(std::string_view name, bool findTrue = false) const;
    int GetObjectIndexByType(ObjectType type, int index) const;
    // 1-based index of the display field named `name`, 0 when none.
    int GetDisplayFldIndex(std::string_view name) const;
    // Tab position holding the object at `position`, 0 when none.
    int GetTabIndex(int position) const;

    // Appends an object-list position to the tab sequence (up to 500).
    bool AppendTab(int position);
    // When the tab sequence is empty: builds it from the name list.
    void SetCVTabOrder();
    // End of a build: the default tab sequence when none was given, the focus
    // on `restoredFocus` or else the first tab entry, the tab position with it.
    void FinishBuild(int restoredFocus);
};

} // namespace kalvor::forms
