// A terminal session and a renderer for pixel tests: host text goes through
// the real receive pass, the renderer draws the screen into its image, and
// the tests look at the pixels of chosen cells.
#pragma once

#include "SessionInternals.h"

#include "base/Clock.h"
#include "render/Renderer.h"
#include "session/Session.h"

#include <QImage>

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

namespace kalvor::test {

class RenderedScreen {
public:
    explicit RenderedScreen(int fontIndex = 1, double dpr = 1.0, int cols = 80, int rows = 24)
    {
        Internals(session).Memory().SetWidth(cols);
        Internals(session).Memory().RowsInTerm = rows;
        renderer.SetCell(render::CellForIndex(fontIndex), dpr);
    }

    TerminalState& State() { return Internals(session).State(); }
    DisplayMemory& Memory() { return Internals(session).Memory(); }

    // Host output, interpreted by one receive tick.
    void Host(std::string_view text)
    {
        Internals(session).Receive().AppendLocal(text);
        session.Tick();
    }
    // The renderer draws what changed; the repaint marks are then cleared.
    QRect Refresh()
    {
        const QRect changed = renderer.RefreshTerminal(session.State());
        session.RepaintDone();
        return changed;
    }

    QRgb Fg() { return 0xff000000u | session.State().Foreground; }
    QRgb Bg() { return 0xff000000u | session.State().Background; }
    QRgb Half() { return 0xff000000u | session.State().HalfBright; }

    int W() const { return renderer.DeviceCellWidth(); }
    int H() const { return renderer.DeviceCellHeight(); }

    // Pixel (x, y) of a cell, in device pixels.
    QRgb Pixel(int row, int col, int x, int y) const
    {
        const QRect c = renderer.DeviceCellRect(row, col);
        return renderer.Image().pixel(c.x() + x, c.y() + y) | 0xff000000u;
    }
    int Count(int row, int col, QRgb colour) const
    {
        int n = 0;
        for (int y = 0; y < H(); ++y)
            for (int x = 0; x < W(); ++x)
                n += Pixel(row, col, x, y) == colour ? 1 : 0;
        return n;
    }
    bool All(int row, int col, QRgb colour) const { return Count(row, col, colour) == W() * H(); }
    // What a cell shows: "fg", "bg" or "half" when every pixel has that
    // colour, else "<ink> on <fill>", the fill being the colour of most
    // pixels and the ink the named colour of most of the rest (more than 4
    // pixels); pixels of other colours (smoothed edges) are not counted.
    std::string Look(int row, int col)
    {
        const std::pair<QRgb, const char*> named[] = {{Fg(), "fg"}, {Bg(), "bg"}, {Half(), "half"}};
        std::pair<int, const char*> counts[3];
        for (int i = 0; i < 3; ++i)
            counts[i] = {Count(row, col, named[i].first), named[i].second};
        std::sort(std::begin(counts), std::end(counts), [](const auto& a, const auto& b) { return a.first > b.first; });
        if (counts[0].first == W() * H())
            return counts[0].second;
        if (counts[1].first <= 4)
            return "?";
        return std::string(counts[1].second) + " on " + counts[0].second;
    }
    // Every pixel of one pixel row of the cell has `colour`.
    bool RowAll(int row, int col, int y, QRgb colour) const
    {
        for (int x = 0; x < W(); ++x)
            if (Pixel(row, col, x, y) != colour)
                return false;
        return true;
    }

    ManualClock clock;
    Session session{clock};
    render::Renderer renderer;
};

} // namespace kalvor::test
