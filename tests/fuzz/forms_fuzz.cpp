// Fuzz target for the form language: bytes of any shape are read as a form
// file (the first byte picks the display scale) and built as a new form,
// then rebuilt. With the first byte's high bit set the same bytes arrive
// instead as host data at the Canvo window's receive loop (CanvoPolling), in
// chunks whose size the first byte picks, the clock moving between ticks.
//
// Invariants, checked after every input (a violation is reported on stderr
// and ends the run with a trap):
//   - every kind holds at most 500 objects;
//   - the object list holds at most 500 entries, each object once, in screen
//     order; the tab sequence and the focus name listed objects;
//   - a rebuild of the same text keeps every value;
//   - the object dump can be made;
//   - once the data stops, a few ticks of the receive loop leave nothing
//     more than a closing sequence's first characters in the buffer, unless
//     the window is closing.
#include "Invariants.h"
#include "base/Clock.h"
#include "forms/CanvoState.h"
#include "forms/FormBuild.h"
#include "forms/FormsMode.h"
#include "forms/ObjectAreas.h"
#include "forms/ObjectDump.h"

#include <cstdint>
#include <set>
#include <string_view>

namespace {

using namespace kalvor::forms;

using kalvor::fuzz::Expect;
// Draws nothing; refuses layers too large to make, as the window does.
class NoDrawing final : public NullDrawing {
public:
    bool CreateLayers(int width, int height, Colour) override
    {
        return width > 0 && height > 0 && width <= 16384 && height <= 16384;
    }
};

void CheckModel(const FormModel& m)
{
    for (int kind = 1; kind <= kObjectTypeCount; ++kind)
        Expect(m.KindCount(static_cast<ObjectType>(kind)) <= kMaxObjectsPerKind, "more than 500 objects of a kind");
    Expect(m.ListCount() <= kMaxListEntries, "object list too long");
    std::set<std::pair<int, int>> seen;
    int lastX = 0, lastY = 0;
    for (int p = 1; p <= m.ListCount(); ++p) {
        const ObjectRef o = m.At(p);
        Expect(o.Index >= 1 && o.Index <= m.KindCount(o.Type), "object list names a missing object");
        Expect(seen.insert({static_cast<int>(o.Type), o.Index}).second, "an object listed twice");
        int x = 0, y = 0;
        m.Corner(o, x, y);
        Expect(p == 1 || y > lastY || (y == lastY && x >= lastX), "object list out of screen order");
        lastX = x, lastY = y;
    }
    Expect(m.TabOrder.size() <= static_cast<std::size_t>(kMaxListEntries), "tab sequence too long");
    for (int t : m.TabOrder)
        Expect(m.Listed(t), "tab sequence names an unlisted object");
    Expect(m.Focus.CurFocusObj == 0 || m.Listed(m.Focus.CurFocusObj), "focus on an unlisted object");
    Expect(m.TabOrder.empty() || m.Focus.CurFocusObj != 0, "no focus although there is a tab sequence");
}

// Gives every object a value that a rebuild must keep.
void SetValues(FormModel& m)
{
    for (Check& c : m.Checks)
        c.Value = true;
    for (Cursor& c : m.Cursors)
        c.Text = c.Name + "\r\nx";
    for (Pick& k : m.Picks) {
        k.List = {k.Name, "b"};
        k.SelList = {"b"};
    }
    for (DisplayField& d : m.DisplayFields)
        d.Text = d.Name;
}

// The Canvo window without drawing, and a host that reads no value lines.
class FuzzWindow final : public FormsWindow {
public:
    explicit FuzzWindow(FormModel& model) : model_(model) {}
    FormResult BuildForm(std::string_view text) override
    {
        InterpreterState state;
        NoDrawing drawing;
        FormSettings settings;
        settings.CacheFolder = "cache";
        return kalvor::forms::BuildForm(text, BuildKind::NewForm, model_, state, drawing, settings);
    }
    void UnloadWindow() override {}
    void RedrawObject(int position) override { Expect(model_.Listed(position), "redraw of an unlisted object"); }
    void FocusMoved(int, int) override {}
    void Bell() override {}
    void MessageBox(std::string_view, std::string_view) override {}
    Rect ObjectArea(int position) const override { return PlainObjectArea(model_, model_.At(position)); }

private:
    FormModel& model_;
};

class NoLines final : public FormsOutput {
public:
    void xmitchar(std::string_view) override {}
};

void RunReceiveLoop(std::string_view bytes, unsigned seed)
{
    FormModel model;
    FormsFlags flags;
    FuzzWindow window(model);
    NoLines lines;
    kalvor::ManualClock clock;
    FormsMode mode(model, flags, window, lines, clock, FormFiles::OfThisInstance());
    kalvor::ByteQueue buffer;
    const std::size_t chunk = 1 + (seed & 0x1f);
    const std::int64_t tickMs = (seed & 0x40) != 0 ? 2500 : 25;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        buffer.Append(bytes.substr(at, chunk));
        mode.CanvoPolling(buffer);
        clock.Advance(tickMs);
        CheckModel(model);
        if (flags.CloseRequested)
            return;
    }
    // A tick may end early (a form completed, a line handed on); a few more
    // ticks without new data read the rest.
    for (int tick = 0; tick < 64 && buffer.Size() > 3 && !flags.CloseRequested; ++tick) {
        mode.CanvoPolling(buffer);
        clock.Advance(25);
        CheckModel(model);
    }
    Expect(buffer.Size() <= 3 || flags.CloseRequested, "the receive loop left data behind");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > (1u << 16))
        return 0;
    static constexpr double kScales[] = {0.8, 1.0, 1.25, 1.6};
    FormSettings settings;
    settings.Scale = kScales[data[0] % 4];
    settings.ClientWidth = 800;
    settings.ClientHeight = 600;
    settings.CacheFolder = "cache";
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if ((data[0] & 0x80) != 0) {
        RunReceiveLoop(text, data[0]);
        return 0;
    }

    FormModel model;
    InterpreterState state;
    NoDrawing drawing;
    const FormResult first = BuildForm(text, BuildKind::NewForm, model, state, drawing, settings);
    CheckModel(model);
    if (first.Failure != FormFailure::None)
        return 0;

    SetValues(model);
    const CanvoState saved = SaveCanvoState(model);
    // The same text again, from the settings the first pass ended with.
    BuildForm(text, BuildKind::Rebuild, model, state, drawing, settings);
    CheckModel(model);
    const CanvoState kept = SaveCanvoState(model);
    Expect(kept.Values == saved.Values, "a rebuild lost a value");

    std::tm now{};
    Expect(!FormatObjectArrays(model, now).empty(), "empty dump");
    return 0;
}
