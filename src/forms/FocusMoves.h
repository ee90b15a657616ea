// MoveCurFocus: the focus moved by a key action. Tab-sequence moves (with
// the radio group rule), Enter's move to the next entry box or pick list,
// moves within a radio group, and the geometric search of the arrows and
// Alt-arrows. Only the focus state changes; sending values and drawing are
// the caller's.
#pragma once

#include "forms/FormDrawing.h"
#include "forms/FormModel.h"

#include <functional>
#include <optional>
#include <string_view>

namespace kalvor::forms {

enum class FocusAction { Next, Previous, NextCR, Home, End, Up, Down, Left, Right, AltUp, AltDown, AltLeft, AltRight };

// "NEXT", "PREVIOUS", "NEXTCR", "HOME", "END", "UP" ... "ALTRIGHT", any case.
std::optional<FocusAction> ParseFocusAction(std::string_view text);

enum class Direction { Up, Down, Left, Right };

// How the geometric search counts an object as lying in a direction.
enum class SearchMode {
    // Arrows: among the tab sequence's objects, those whose rectangle lies
    // wholly beyond the focus object's edge (below its bottom for Down).
    Edge,
    // Alt-arrows on the drawing surface: among every object but display
    // fields, those whose centre lies beyond the focus object's centre, so
    // that staggered and overlapping objects can be reached too.
    Centre
};

// The rectangle of the object at an object-list position (GetSearchCoordinates).
using SearchCoordinates = std::function<Rect(int position)>;

// The object the search finds from `from` in `direction`: those that
// overlap the focus object on the other axis first, then the smallest gap
// along the direction plus twice the gap across it, then the nearest centre
// across, then screen order. 0 when none lies that way.
int GeometricSearch(const FormModel& model, int from, Direction direction, SearchMode mode,
                    const SearchCoordinates& area);

// The tab position that follows a focus object: its own, for a radio button
// its group's, otherwise unchanged.
int TabIndexFor(const FormModel& model, int position, int current);

// Moves the focus; nothing when the tab sequence is empty. Returns true when
// the focus object changed (PrevFocusObj then holds the old one).
bool MoveCurFocus(FormModel& model, FocusAction action, const SearchCoordinates& area);

// The focus put on an object by the host or the mouse: previous focus kept,
// tab position following.
void SetFocusObject(FormModel& model, int position);

} // namespace kalvor::forms
