// The user's side of the forms mode: keys, mouse and edits, and the value
// lines they send (XmitOneValue, XmitFunctionKey).
#include "forms/FormsMode.h"

#include "forms/ValueLines.h"

namespace kalvor::forms {
namespace {

FocusAction ActionOf(FormsKey key)
{
    switch (key) {
    case FormsKey::Tab: return FocusAction::Next;
    case FormsKey::ShiftTab: return FocusAction::Previous;
    case FormsKey::Enter: return FocusAction::NextCR;
    case FormsKey::Home: return FocusAction::Home;
    case FormsKey::End: return FocusAction::End;
    case FormsKey::Up: return FocusAction::Up;
    case FormsKey::Down: return FocusAction::Down;
    case FormsKey::Left: return FocusAction::Left;
    case FormsKey::Right: return FocusAction::Right;
    case FormsKey::AltUp: return FocusAction::AltUp;
    case FormsKey::AltDown: return FocusAction::AltDown;
    case FormsKey::AltLeft: return FocusAction::AltLeft;
    case FormsKey::AltRight: return FocusAction::AltRight;
    }
    return FocusAction::Next;
}

// Characters of an entry box's text, a line break counting as none, and its lines.
int CharCount(const std::string& text)
{
    int n = 0;
    for (const char c : text)
        n += c != '\r' && c != '\n' ? 1 : 0;
    return n;
}

int LineCount(const std::string& text)
{
    int n = 1;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++n;
    return n;
}

} // namespace

void FormsMode::Key(FormsKey key)
{
    DebugScope scope(log_, "KeyDown");
    const int focus = model_.Focus.CurFocusObj;
    if (key == FormsKey::Enter && model_.Listed(focus)) {
        switch (model_.At(focus).Type) {
        case ObjectType::Button: XmitOneValue(focus, focus); return;
        case ObjectType::Check:
        case ObjectType::Radio: Operate(focus, 0, 0); return;
        default: break;
        }
    }
    MoveFocus(ActionOf(key));
}

void FormsMode::MoveFocus(FocusAction action)
{
    if (model_.TabOrder.empty())
        return;
    CommitFocused();
    const int from = model_.Focus.CurFocusObj;
    if (MoveCurFocus(model_, action, [this](int p) { return Area(p); }))
        FocusChanged(from);
}

void FormsMode::FunctionKey(int number)
{
    DebugScope scope(log_, "XmitFunctionKey");
    if (number < 1 || number > kFunctionKeyCount)
        return;
    const std::string& definition = model_.FunctionKeys[static_cast<std::size_t>(number - 1)];
    if (!definition.empty())
        SendLine(FunctionKeyLine(definition));
}

void FormsMode::MousePress(int x, int y) { MouseMove(x, y); }

void FormsMode::MouseMove(int x, int y)
{
    const int from = model_.Focus.MouseObj;
    const int to = HitTest(x, y);
    if (to == from)
        return;
    model_.Focus.PrevMouseObj = from;
    model_.Focus.MouseObj = to;
    window_.MouseMoved(from, to);
}

void FormsMode::MouseRelease(int x, int y)
{
    MouseMove(x, y);
    const int p = model_.Focus.MouseObj;
    if (!model_.Listed(p))
        return;
    switch (model_.At(p).Type) {
    case ObjectType::Entry:
    case ObjectType::Pick:
        if (p != model_.Focus.CurFocusObj) {
            CommitFocused();
            const int from = model_.Focus.CurFocusObj;
            SetFocusObject(model_, p);
            FocusChanged(from);
        }
        break;
    case ObjectType::DisplayField: break;
    default: Operate(p, x, y); break;
    }
}

void FormsMode::SetEntryText(std::string text)
{
    const int focus = model_.Focus.CurFocusObj;
    if (model_.Listed(focus) && model_.At(focus).Type == ObjectType::Entry)
        model_.Cursors[model_.At(focus).Index].Text = std::move(text);
}

void FormsMode::SetPickSelection(std::vector<std::string> chosen)
{
    const int focus = model_.Focus.CurFocusObj;
    if (!model_.Listed(focus) || model_.At(focus).Type != ObjectType::Pick)
        return;
    Pick& pick = model_.Picks[model_.At(focus).Index];
    if (pick.Type == PickType::Single && chosen.size() > 1)
        chosen.resize(1);
    pick.SelList = std::move(chosen);
}

void FormsMode::TypeText(std::string_view text)
{
    const int focus = model_.Focus.CurFocusObj;
    if (!model_.Listed(focus) || model_.At(focus).Type != ObjectType::Entry)
        return;
    Cursor& box = model_.Cursors[model_.At(focus).Index];
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\b') {
            if (box.Text.size() >= 2 && box.Text.compare(box.Text.size() - 2, 2, "\r\n") == 0)
                box.Text.resize(box.Text.size() - 2);
            else if (!box.Text.empty())
                box.Text.pop_back();
        } else if (c == '\r') {
            if (LineCount(box.Text) < box.Field.DisplayLines)
                box.Text += "\r\n";
        } else if (u >= 32 && u != 127 && (box.MaxChars <= 0 || CharCount(box.Text) < box.MaxChars)) {
            box.Text.push_back(c);
        }
    }
    window_.RedrawObject(focus);
}

bool FormsMode::UserClose()
{
    if (flags_.ExitProtection) {
        window_.MessageBox("Improper Exit Warning", ImproperExitText());
        return false;
    }
    StopReceiving(false);
    showing_ = false;
    return true;
}

// Clicking, or Enter on the focus object: a button sends its line naming
// the focus object, a check box changes state, a radio button becomes its
// group's choice, a click map sends the position.
void FormsMode::Operate(int position, int x, int y)
{
    const ObjectRef o = model_.At(position);
    switch (o.Type) {
    case ObjectType::Button:
        CommitFocused();
        XmitOneValue(position, model_.Focus.CurFocusObj);
        break;
    case ObjectType::Check:
        model_.Checks[o.Index].Value = !model_.Checks[o.Index].Value;
        window_.RedrawObject(position);
        XmitOneValue(position, 0);
        break;
    case ObjectType::Radio:
        ChooseRadio(position);
        XmitOneValue(position, 0);
        break;
    case ObjectType::Map: XmitOneValue(position, 0, x, y); break;
    default: break;
    }
}

void FormsMode::ChooseRadio(int position)
{
    const std::string group = model_.Radios[model_.At(position).Index].Name;
    for (int p = 1; p <= model_.ListCount(); ++p) {
        const ObjectRef o = model_.At(p);
        if (o.Type != ObjectType::Radio || !SameName(model_.Radios[o.Index].Name, group))
            continue;
        const bool chosen = p == position;
        if (model_.Radios[o.Index].Value != chosen) {
            model_.Radios[o.Index].Value = chosen;
            window_.RedrawObject(p);
        }
    }
}

// The focused entry box or pick list, left by the user: its line when its
// value differs from the one it had on receiving the focus.
void FormsMode::CommitFocused()
{
    const int focus = model_.Focus.CurFocusObj;
    if (!model_.Listed(focus))
        return;
    const ObjectRef o = model_.At(focus);
    if (o.Type == ObjectType::Entry && model_.Cursors[o.Index].Text != focusText_) {
        window_.RedrawObject(focus);
        XmitOneValue(focus, 0);
    } else if (o.Type == ObjectType::Pick && model_.Picks[o.Index].SelList != focusChosen_) {
        window_.RedrawObject(focus);
        XmitOneValue(focus, 0);
    }
    RememberFocusValue();
}

void FormsMode::RememberFocusValue()
{
    focusText_.clear();
    focusChosen_.clear();
    const int focus = model_.Focus.CurFocusObj;
    if (!model_.Listed(focus))
        return;
    const ObjectRef o = model_.At(focus);
    if (o.Type == ObjectType::Entry)
        focusText_ = model_.Cursors[o.Index].Text;
    else if (o.Type == ObjectType::Pick)
        focusChosen_ = model_.Picks[o.Index].SelList;
}

void FormsMode::FocusChanged(int from)
{
    RememberFocusValue();
    window_.FocusMoved(from, model_.Focus.CurFocusObj);
}

int FormsMode::HitTest(int x, int y) const
{
    for (int p = 1; p <= model_.ListCount(); ++p) {
        const Rect r = Area(p);
        if (x >= r.X1 && x < r.X2 && y >= r.Y1 && y < r.Y2)
            return p;
    }
    return 0;
}

void FormsMode::XmitOneValue(int position, int focus, int x, int y)
{
    DebugScope scope(log_, "XmitOneValue");
    if (const auto line = ValueLine(model_, position, focus, x, y))
        SendLine(*line);
}

// A line goes out at once when the host's DC1 has arrived; otherwise it is
// kept (pending request 21) until the next DC1.
void FormsMode::SendLine(const std::string& line)
{
    DebugStatus(log_, "BlockBuffer = " + line);
    if (pacing_->Dc1Received()) {
        output_.xmitchar(TakeKeptLines() + line);
        return;
    }
    kept_ += line;
}

} // namespace kalvor::forms
