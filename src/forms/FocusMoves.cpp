#include "forms/FocusMoves.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <tuple>
#include <vector>

namespace kalvor::forms {

std::optional<FocusAction> ParseFocusAction(std::string_view text)
{
    static constexpr std::array<std::pair<std::string_view, FocusAction>, 13> kNames{{
        {"NEXT", FocusAction::Next},
        {"PREVIOUS", FocusAction::Previous},
        {"NEXTCR", FocusAction::NextCR},
        {"HOME", FocusAction::Home},
        {"END", FocusAction::End},
        {"UP", FocusAction::Up},
        {"DOWN", FocusAction::Down},
        {"LEFT", FocusAction::Left},
        {"RIGHT", FocusAction::Right},
        {"ALTUP", FocusAction::AltUp},
        {"ALTDOWN", FocusAction::AltDown},
        {"ALTLEFT", FocusAction::AltLeft},
        {"ALTRIGHT", FocusAction::AltRight},
    }};
    const std::string upper = UpperName(text);
    for (const auto& [name, action] : kNames)
        if (upper == name)
            return action;
    return std::nullopt;
}

namespace {

// Distance between two intervals, 0 when they overlap.
int Gap(int a1, int a2, int b1, int b2) { return b1 > a2 ? b1 - a2 : (a1 > b2 ? a1 - b2 : 0); }

bool IsRadio(const FormModel& model, int position)
{
    return model.Listed(position) && model.At(position).Type == ObjectType::Radio;
}

std::string_view GroupOf(const FormModel& model, int position) { return model.Radios[model.At(position).Index].Name; }

// UP and LEFT to the previous button of the group in screen order, DOWN and
// RIGHT to the next, wrapping at either end.
int RadioNeighbour(const FormModel& model, int position, bool forward)
{
    std::vector<int> group;
    for (int p = 1; p <= model.ListCount(); ++p)
        if (IsRadio(model, p) && SameName(GroupOf(model, p), GroupOf(model, position)))
            group.push_back(p);
    const auto it = std::find(group.begin(), group.end(), position);
    const int n = static_cast<int>(group.size());
    const int i = static_cast<int>(it - group.begin());
    return group[static_cast<std::size_t>(forward ? (i + 1) % n : (i + n - 1) % n)];
}

// The radio group rule: a move along the tab sequence that lands on a radio
// button goes to the group's chosen button.
int RadioGroupRule(const FormModel& model, int position)
{
    if (!IsRadio(model, position))
        return position;
    const int chosen = model.GetObjectIndexByName(GroupOf(model, position), true);
    return chosen != 0 ? chosen : position;
}

void Land(FormModel& model, int position, int tabIndex)
{
    model.Focus.PrevFocusObj = model.Focus.CurFocusObj;
    model.Focus.CurFocusObj = position;
    model.Focus.TabIndex = tabIndex;
}

} // namespace

int GeometricSearch(const FormModel& model, int from, Direction direction, SearchMode mode,
                    const SearchCoordinates& area)
{
    if (!model.Listed(from))
        return 0;
    std::vector<int> candidates;
    if (mode == SearchMode::Edge) {
        candidates = model.TabOrder;
    } else {
        for (int p = 1; p <= model.ListCount(); ++p)
            if (model.At(p).Type != ObjectType::DisplayField)
                candidates.push_back(p);
    }
    const Rect f = area(from);
    const bool vertical = direction == Direction::Up || direction == Direction::Down;
    int best = 0;
    std::tuple<int, int, int, int> bestKey;
    for (const int p : candidates) {
        if (p == from || !model.Listed(p))
            continue;
        const Rect c = area(p);
        bool beyond = false;
        if (mode == SearchMode::Edge) {
            switch (direction) {
            case Direction::Up: beyond = c.Y2 <= f.Y1; break;
            case Direction::Down: beyond = c.Y1 >= f.Y2; break;
            case Direction::Left: beyond = c.X2 <= f.X1; break;
            case Direction::Right: beyond = c.X1 >= f.X2; break;
            }
        } else {
            switch (direction) {
            case Direction::Up: beyond = c.Y1 + c.Y2 < f.Y1 + f.Y2; break;
            case Direction::Down: beyond = c.Y1 + c.Y2 > f.Y1 + f.Y2; break;
            case Direction::Left: beyond = c.X1 + c.X2 < f.X1 + f.X2; break;
            case Direction::Right: beyond = c.X1 + c.X2 > f.X1 + f.X2; break;
            }
        }
        if (!beyond)
            continue;
        const int along = vertical ? Gap(f.Y1, f.Y2, c.Y1, c.Y2) : Gap(f.X1, f.X2, c.X1, c.X2);
        const int across = vertical ? Gap(f.X1, f.X2, c.X1, c.X2) : Gap(f.Y1, f.Y2, c.Y1, c.Y2);
        const int centre = vertical ? std::abs((c.X1 + c.X2) - (f.X1 + f.X2)) : std::abs((c.Y1 + c.Y2) - (f.Y1 + f.Y2));
        const std::tuple<int, int, int, int> key{across > 0 ? 1 : 0, along + 2 * across, centre, p};
        if (best == 0 || key < bestKey) {
            best = p;
            bestKey = key;
        }
    }
    return best;
}

int TabIndexFor(const FormModel& model, int position, int current)
{
    if (const int own = model.GetTabIndex(position))
        return own;
    if (IsRadio(model, position))
        if (const int group = model.GetTabIndex(model.GetObjectIndexByName(GroupOf(model, position))))
            return group;
    return current;
}

void SetFocusObject(FormModel& model, int position)
{
    if (!model.Listed(position))
        return;
    Land(model, position, TabIndexFor(model, position, model.Focus.TabIndex));
}

bool MoveCurFocus(FormModel& model, FocusAction action, const SearchCoordinates& area)
{
    const int tabs = static_cast<int>(model.TabOrder.size());
    if (tabs == 0)
        return false;
    const int old = model.Focus.CurFocusObj;
    const int tab = std::clamp(model.Focus.TabIndex, 0, tabs);
    auto entry = [&](int t) { return model.TabOrder[static_cast<std::size_t>(t - 1)]; };
    auto alongTabs = [&](int t) { Land(model, RadioGroupRule(model, entry(t)), t); };
    auto byArrow = [&](int to) {
        if (to != 0 && to != old)
            Land(model, to, TabIndexFor(model, to, tab));
    };

    switch (action) {
    case FocusAction::Home:
        if (tab != 1)
            alongTabs(1);
        break;
    case FocusAction::End:
        if (tab != tabs)
            alongTabs(tabs);
        break;
    case FocusAction::Previous: alongTabs(tab <= 1 ? tabs : tab - 1); break;
    case FocusAction::Next: alongTabs(tab >= tabs ? 1 : tab + 1); break;
    case FocusAction::NextCR: {
        const int start = std::max(tab, 1);
        for (int t = start % tabs + 1; t != start; t = t % tabs + 1) {
            const ObjectType type = model.At(entry(t)).Type;
            if (type == ObjectType::Entry || type == ObjectType::Pick) {
                Land(model, entry(t), t);
                break;
            }
        }
        break;
    }
    case FocusAction::Up:
    case FocusAction::Down:
    case FocusAction::Left:
    case FocusAction::Right: {
        const bool forward = action == FocusAction::Down || action == FocusAction::Right;
        if (model.ListCount() <= 1)
            break;
        if (!model.Listed(old)) {
            alongTabs(1);
        } else if (model.ListCount() == 2) {
            byArrow(old == 1 ? 2 : 1);
        } else if (IsRadio(model, old)) {
            byArrow(RadioNeighbour(model, old, forward));
        } else {
            const Direction d = action == FocusAction::Up     ? Direction::Up
                                : action == FocusAction::Down ? Direction::Down
                                : action == FocusAction::Left ? Direction::Left
                                                              : Direction::Right;
            byArrow(GeometricSearch(model, old, d, SearchMode::Edge, area));
        }
        break;
    }
    case FocusAction::AltUp:
    case FocusAction::AltDown:
    case FocusAction::AltLeft:
    case FocusAction::AltRight: {
        if (!model.Listed(old)) {
            alongTabs(1);
            break;
        }
        const Direction d = action == FocusAction::AltUp     ? Direction::Up
                            : action == FocusAction::AltDown ? Direction::Down
                            : action == FocusAction::AltLeft ? Direction::Left
                                                             : Direction::Right;
        byArrow(GeometricSearch(model, old, d, SearchMode::Centre, area));
        break;
    }
    }
    return model.Focus.CurFocusObj != old;
}

} // namespace kalvor::forms
