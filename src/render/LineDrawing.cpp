#include "render/LineDrawing.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>

namespace kalvor::render {
namespace {

using Table = std::array<LinePiece, 128>;

constexpr LinePiece Lines(std::uint8_t l, std::uint8_t r, std::uint8_t u, std::uint8_t d, char16_t looks)
{
    return {PieceKind::Lines, l, r, u, d, looks};
}
constexpr LinePiece Piece(PieceKind kind, std::uint8_t a, char16_t looks, std::uint8_t b = 0)
{
    return {kind, a, b, 0, 0, looks};
}

constexpr Table BuildTable()
{
    Table t{};
    const auto set = [&t](char code, LinePiece p) { t[static_cast<unsigned char>(code)] = p; };
    constexpr std::uint8_t L = kLight, H = kHeavy, D = kDouble, N = kNoLine;

    // Light lines: the codes of the host's box-drawing software.
    set(',', Lines(L, L, N, N, u'─'));
    set('.', Lines(N, N, L, L, u'│'));
    set('r', Lines(N, L, N, L, u'┌'));
    set('t', Lines(L, N, N, L, u'┐'));
    set('f', Lines(N, L, L, N, u'└'));
    set('g', Lines(L, N, L, N, u'┘'));
    set('/', Lines(L, L, L, L, u'┼'));
    set('5', Lines(N, L, L, L, u'├'));
    set('6', Lines(L, N, L, L, u'┤'));
    set('7', Lines(L, L, N, L, u'┬'));
    set('8', Lines(L, L, L, N, u'┴'));
    // Heavy lines: Shift of the light code.
    set('<', Lines(H, H, N, N, u'━'));
    set('>', Lines(N, N, H, H, u'┃'));
    set('R', Lines(N, H, N, H, u'┏'));
    set('T', Lines(H, N, N, H, u'┓'));
    set('F', Lines(N, H, H, N, u'┗'));
    set('G', Lines(H, N, H, N, u'┛'));
    set('?', Lines(H, H, H, H, u'╋'));
    set('%', Lines(N, H, H, H, u'┣'));
    set('^', Lines(H, N, H, H, u'┫'));
    set('&', Lines(H, H, N, H, u'┳'));
    set('*', Lines(H, H, H, N, u'┻'));
    // Double lines.
    set('m', Lines(D, D, N, N, u'═'));
    set('n', Lines(N, N, D, D, u'║'));
    set('i', Lines(N, D, N, D, u'╔'));
    set('j', Lines(D, N, N, D, u'╗'));
    set('k', Lines(N, D, D, N, u'╚'));
    set('l', Lines(D, N, D, N, u'╝'));
    set('o', Lines(D, D, D, D, u'╬'));
    set('p', Lines(N, D, D, D, u'╠'));
    set('q', Lines(D, N, D, D, u'╣'));
    set('s', Lines(D, D, N, D, u'╦'));
    set('u', Lines(D, D, D, N, u'╩'));
    // Double horizontal meeting single vertical: upper case of the double code.
    set('I', Lines(N, D, N, L, u'╒'));
    set('J', Lines(D, N, N, L, u'╕'));
    set('K', Lines(N, D, L, N, u'╘'));
    set('L', Lines(D, N, L, N, u'╛'));
    set('O', Lines(D, D, L, L, u'╪'));
    set('P', Lines(N, D, L, L, u'╞'));
    set('Q', Lines(D, N, L, L, u'╡'));
    set('S', Lines(D, D, N, L, u'╤'));
    set('U', Lines(D, D, L, N, u'╧'));
    // Heavy and light crossing.
    set('+', Lines(H, H, L, L, u'┿'));
    set('|', Lines(L, L, H, H, u'╂'));
    // Half lines, to end a line in the middle of a cell.
    set('y', Lines(L, N, N, N, u'╴'));
    set('z', Lines(N, L, N, N, u'╶'));
    set('w', Lines(N, N, L, N, u'╵'));
    set('x', Lines(N, N, N, L, u'╷'));
    set('Y', Lines(H, N, N, N, u'╸'));
    set('Z', Lines(N, H, N, N, u'╺'));
    set('W', Lines(N, N, H, N, u'╹'));
    set('X', Lines(N, N, N, H, u'╻'));
    // Dashed lines.
    set('-', Piece(PieceKind::Dashed, 0, u'┄', L));
    set(':', Piece(PieceKind::Dashed, 1, u'┆', L));
    set('=', Piece(PieceKind::Dashed, 0, u'┅', H));
    set(';', Piece(PieceKind::Dashed, 1, u'┇', H));
    // Rounded corners: Shift of 1..4.
    set('!', Piece(PieceKind::Rounded, 0, u'╭'));
    set('"', Piece(PieceKind::Rounded, 1, u'╮'));
    set('#', Piece(PieceKind::Rounded, 2, u'╰'));
    set('$', Piece(PieceKind::Rounded, 3, u'╯'));
    // Blocks and quadrants.
    set('c', Piece(PieceKind::Blocks, 15, u'█'));
    set('a', Piece(PieceKind::Blocks, 3, u'▀'));
    set('b', Piece(PieceKind::Blocks, 12, u'▄'));
    set('d', Piece(PieceKind::Blocks, 5, u'▌'));
    set('e', Piece(PieceKind::Blocks, 10, u'▐'));
    set('A', Piece(PieceKind::Blocks, 1, u'▘'));
    set('B', Piece(PieceKind::Blocks, 2, u'▝'));
    set('D', Piece(PieceKind::Blocks, 4, u'▖'));
    set('E', Piece(PieceKind::Blocks, 8, u'▗'));
    set('H', Piece(PieceKind::Blocks, 9, u'▚'));
    set('M', Piece(PieceKind::Blocks, 6, u'▞'));
    // Shades.
    set('1', Piece(PieceKind::Shade, 1, u'░'));
    set('2', Piece(PieceKind::Shade, 2, u'▒'));
    set('3', Piece(PieceKind::Shade, 3, u'▓'));
    // Triangles.
    set('[', Piece(PieceKind::Triangle, 0, u'◀'));
    set(']', Piece(PieceKind::Triangle, 1, u'▶'));
    set('{', Piece(PieceKind::Triangle, 2, u'▲'));
    set('}', Piece(PieceKind::Triangle, 3, u'▼'));
    // Diagonals.
    set('N', Piece(PieceKind::Diagonal, 1, u'╱'));
    set('\\', Piece(PieceKind::Diagonal, 2, u'╲'));
    set('V', Piece(PieceKind::Diagonal, 3, u'╳'));
    // Lines along one edge of the cell.
    set('_', Piece(PieceKind::Edge, 0, u'▁'));
    set('~', Piece(PieceKind::Edge, 1, u'▔'));
    set('(', Piece(PieceKind::Edge, 2, u'▏'));
    set(')', Piece(PieceKind::Edge, 3, u'▕'));
    // Markers.
    set('0', Piece(PieceKind::Marker, kBullet, u'●'));
    set('4', Piece(PieceKind::Marker, kDiamond, u'◆'));
    set('9', Piece(PieceKind::Marker, kRing, u'○'));
    set('`', Piece(PieceKind::Marker, kOutlineDiamond, u'◇'));
    set('C', Piece(PieceKind::Marker, kSquare, u'■'));
    set('@', Piece(PieceKind::Marker, kOutlineSquare, u'□'));
    set('\'', Piece(PieceKind::Marker, kMiddleDot, u'·'));
    set('h', Piece(PieceKind::Marker, kHorizontalBar, u'▬'));
    set('v', Piece(PieceKind::Marker, kVerticalBar, u'▮'));
    return t;
}

constexpr Table kTable = BuildTable();
constexpr LinePiece kNoPiece{};

class CellPainter {
public:
    CellPainter(QPainter& p, const QRect& cell, QColor ink)
        : p_(p),
          x_(cell.x()),
          y_(cell.y()),
          w_(cell.width()),
          h_(cell.height()),
          ink_(ink),
          m_(LineMetricsFor(cell.width(), cell.height()))
    {}

    // Fills columns [x0, x1) x rows [y0, y1) of the cell.
    void Fill(int x0, int x1, int y0, int y1) const
    {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, w_);
        y1 = std::min(y1, h_);
        if (x1 > x0 && y1 > y0)
            p_.fillRect(QRect(x_ + x0, y_ + y0, x1 - x0, y1 - y0), ink_);
    }
    void HLine(const Track& t, int x0, int x1) const { Fill(x0, x1, t.First, t.End()); }
    void VLine(const Track& t, int y0, int y1) const { Fill(t.First, t.End(), y0, y1); }

    void Lines(const LinePiece& pc) const
    {
        const bool dblH = pc.Left == kDouble || pc.Right == kDouble;
        const bool dblV = pc.Up == kDouble || pc.Down == kDouble;
        if (dblH && dblV)
            DoubleLines(pc);
        else if (dblH)
            DoubleAcross(pc.Left != kNoLine, pc.Right != kNoLine, pc.Up != kNoLine, pc.Down != kNoLine, false);
        else if (dblV)
            DoubleAcross(pc.Up != kNoLine, pc.Down != kNoLine, pc.Left != kNoLine, pc.Right != kNoLine, true);
        else
            SingleLines(pc);
    }

    void Dashed(bool vertical, int weight) const
    {
        const int t = Thickness(weight);
        if (vertical) {
            const int g = std::max(1, h_ / 8);
            const Track x = TrackAt(m_.CentreX, t);
            VLine(x, g, h_ / 2);
            VLine(x, h_ / 2 + g, h_);
        } else {
            const int g = std::max(1, w_ / 8);
            const Track y = TrackAt(m_.CentreY, t);
            HLine(y, g, w_ / 2);
            HLine(y, w_ / 2 + g, w_);
        }
    }

    void Rounded(int corner) const
    {
        const bool right = corner == 0 || corner == 2;
        const bool down = corner == 0 || corner == 1;
        const Track tx = TrackAt(m_.CentreX, m_.Light);
        const Track ty = TrackAt(m_.CentreY, m_.Light);
        const double xc = tx.First + m_.Light / 2.0;
        const double yc = ty.First + m_.Light / 2.0;
        const double r = std::min({right ? w_ - xc : xc, down ? h_ - yc : yc, w_ / 2.0});
        const double dx = right ? 1 : -1;
        const double dy = down ? 1 : -1;
        QPainterPath path;
        path.moveTo(x_ + (right ? w_ : 0), y_ + yc);
        path.lineTo(x_ + xc + dx * r, y_ + yc);
        path.quadTo(x_ + xc, y_ + yc, x_ + xc, y_ + yc + dy * r);
        path.lineTo(x_ + xc, y_ + (down ? h_ : 0));
        Stroke(path, m_.Light);
    }

    void Blocks(int mask) const
    {
        const int hw = w_ / 2;
        const int hh = h_ / 2;
        if (mask & 1)
            Fill(0, hw, 0, hh);
        if (mask & 2)
            Fill(hw, w_, 0, hh);
        if (mask & 4)
            Fill(0, hw, hh, h_);
        if (mask & 8)
            Fill(hw, w_, hh, h_);
    }

    void Shade(int level, QColor fill) const
    {
        const double a = level / 4.0;
        const QColor c = QColor::fromRgbF(static_cast<float>(fill.redF() + (ink_.redF() - fill.redF()) * a),
                                          static_cast<float>(fill.greenF() + (ink_.greenF() - fill.greenF()) * a),
                                          static_cast<float>(fill.blueF() + (ink_.blueF() - fill.blueF()) * a));
        p_.fillRect(QRect(x_, y_, w_, h_), c);
    }

    void Triangle(int direction) const
    {
        const double cx = x_ + w_ / 2.0;
        const double cy = y_ + h_ / 2.0;
        const double s = std::min(w_ * 0.8, h_ * 0.6) / 2.0; // half the base
        QPolygonF poly;
        switch (direction) {
        case 0: poly << QPointF(cx - s, cy) << QPointF(cx + s, cy - s) << QPointF(cx + s, cy + s); break;
        case 1: poly << QPointF(cx + s, cy) << QPointF(cx - s, cy - s) << QPointF(cx - s, cy + s); break;
        case 2: poly << QPointF(cx, cy - s) << QPointF(cx - s, cy + s) << QPointF(cx + s, cy + s); break;
        default: poly << QPointF(cx, cy + s) << QPointF(cx - s, cy - s) << QPointF(cx + s, cy - s); break;
        }
        FillPolygon(poly);
    }

    void Diagonal(int mask) const
    {
        QPainterPath path;
        if (mask & 1) {
            path.moveTo(x_, y_ + h_);
            path.lineTo(x_ + w_, y_);
        }
        if (mask & 2) {
            path.moveTo(x_, y_);
            path.lineTo(x_ + w_, y_ + h_);
        }
        Stroke(path, m_.Light);
    }

    void Edge(int side) const
    {
        const int t = m_.Light;
        switch (side) {
        case 0: Fill(0, w_, h_ - t, h_); break;
        case 1: Fill(0, w_, 0, t); break;
        case 2: Fill(0, t, 0, h_); break;
        default: Fill(w_ - t, w_, 0, h_); break;
        }
    }

    void Marker(int shape) const
    {
        const double cx = x_ + w_ / 2.0;
        const double cy = y_ + h_ / 2.0;
        const double r = std::min(w_, h_) / 2.0;
        switch (shape) {
        case kBullet: FillEllipse(cx, cy, r * 0.6); break;
        case kRing: StrokeEllipse(cx, cy, r * 0.65 - m_.Light / 2.0); break;
        case kDiamond: FillPolygon(Diamond(cx, cy, r * 0.85)); break;
        case kOutlineDiamond: {
            QPainterPath path;
            path.addPolygon(Diamond(cx, cy, r * 0.85 - m_.Light / 2.0));
            path.closeSubpath();
            Stroke(path, m_.Light);
            break;
        }
        case kSquare: {
            const int s = std::max(2, (std::min(w_, h_) * 3 + 2) / 4);
            Fill((w_ - s) / 2, (w_ - s) / 2 + s, (h_ - s) / 2, (h_ - s) / 2 + s);
            break;
        }
        case kOutlineSquare: {
            const int s = std::max(3, (std::min(w_, h_) * 3 + 2) / 4);
            const int x0 = (w_ - s) / 2, y0 = (h_ - s) / 2, t = m_.Light;
            Fill(x0, x0 + s, y0, y0 + t);
            Fill(x0, x0 + s, y0 + s - t, y0 + s);
            Fill(x0, x0 + t, y0, y0 + s);
            Fill(x0 + s - t, x0 + s, y0, y0 + s);
            break;
        }
        case kMiddleDot: {
            const Track tx = TrackAt(m_.CentreX, m_.Heavy - 1);
            const Track ty = TrackAt(m_.CentreY, m_.Heavy - 1);
            Fill(tx.First, tx.End(), ty.First, ty.End());
            break;
        }
        case kHorizontalBar: {
            const Track ty = TrackAt(m_.CentreY, std::max(2, h_ / 5));
            Fill(w_ / 8, w_ - w_ / 8, ty.First, ty.End());
            break;
        }
        default: { // kVerticalBar
            const Track tx = TrackAt(m_.CentreX, std::max(2, w_ / 3));
            Fill(tx.First, tx.End(), h_ / 5, h_ - h_ / 5);
            break;
        }
        }
    }

private:
    int Thickness(int weight) const { return weight == kHeavy ? m_.Heavy : m_.Light; }

    // Light and heavy arms: every arm covers the centre box, so arms of
    // different weights meet without gaps.
    void SingleLines(const LinePiece& pc) const
    {
        const int tv = std::max(pc.Up ? Thickness(pc.Up) : 0, pc.Down ? Thickness(pc.Down) : 0);
        const int th = std::max(pc.Left ? Thickness(pc.Left) : 0, pc.Right ? Thickness(pc.Right) : 0);
        const Track bx = TrackAt(m_.CentreX, tv > 0 ? tv : th);
        const Track by = TrackAt(m_.CentreY, th > 0 ? th : tv);
        if (pc.Left)
            HLine(TrackAt(m_.CentreY, Thickness(pc.Left)), 0, bx.End());
        if (pc.Right)
            HLine(TrackAt(m_.CentreY, Thickness(pc.Right)), bx.First, w_);
        if (pc.Up)
            VLine(TrackAt(m_.CentreX, Thickness(pc.Up)), 0, by.End());
        if (pc.Down)
            VLine(TrackAt(m_.CentreX, Thickness(pc.Down)), by.First, h_);
    }

    // Double arms only: each arm is two lines; at a junction every line stops
    // at the line of the crossing arm it meets, so corners and tees close.
    void DoubleLines(const LinePiece& pc) const
    {
        const bool l = pc.Left, r = pc.Right, u = pc.Up, d = pc.Down;
        const int o = m_.DoubleOffset;
        const int cx = m_.CentreX, cy = m_.CentreY;
        const Track h1 = TrackAt(cy - o, m_.Light), h2 = TrackAt(cy + o, m_.Light);
        const Track v1 = TrackAt(cx - o, m_.Light), v2 = TrackAt(cx + o, m_.Light);
        if (l) {
            HLine(h1, 0, u ? v1.End() : r ? cx : d ? v2.End() : cx);
            HLine(h2, 0, d ? v1.End() : r ? cx : u ? v2.End() : cx);
        }
        if (r) {
            HLine(h1, u ? v2.First : l ? cx : d ? v1.First : cx, w_);
            HLine(h2, d ? v2.First : l ? cx : u ? v1.First : cx, w_);
        }
        if (u) {
            VLine(v1, 0, l ? h1.End() : d ? cy : r ? h2.End() : cy);
            VLine(v2, 0, r ? h1.End() : d ? cy : l ? h2.End() : cy);
        }
        if (d) {
            VLine(v1, l ? h2.First : u ? cy : r ? h1.First : cy, h_);
            VLine(v2, r ? h2.First : u ? cy : l ? h1.First : cy, h_);
        }
    }

    // Double arms along one axis (`a` before, `b` after the centre), single
    // arms across it (`c` before, `d` after). `vertical`: the double arms are
    // the vertical ones.
    void DoubleAcross(bool a, bool b, bool c, bool d, bool vertical) const
    {
        const int o = m_.DoubleOffset;
        const int len = vertical ? h_ : w_;    // along the double arms
        const int across = vertical ? w_ : h_; // along the single arms
        const int cAlong = vertical ? m_.CentreY : m_.CentreX;
        const int cAcross = vertical ? m_.CentreX : m_.CentreY;
        const Track single = TrackAt(cAlong, m_.Light);
        const Track d1 = TrackAt(cAcross - o, m_.Light), d2 = TrackAt(cAcross + o, m_.Light);
        const auto span = [&](const Track& t, int from, int to) {
            if (vertical)
                VLine(t, from, to);
            else
                HLine(t, from, to);
        };
        const auto cross = [&](int from, int to) {
            if (vertical)
                HLine(single, from, to);
            else
                VLine(single, from, to);
        };
        const int from = a ? 0 : single.First;
        const int to = b ? len : single.End();
        span(d1, from, to);
        span(d2, from, to);
        if (c && d)
            cross(0, across);
        else if (d)
            cross(a && b ? d2.First : d1.First, across);
        else if (c)
            cross(0, a && b ? d1.End() : d2.End());
    }

    static QPolygonF Diamond(double cx, double cy, double r)
    {
        QPolygonF poly;
        poly << QPointF(cx, cy - r) << QPointF(cx + r, cy) << QPointF(cx, cy + r) << QPointF(cx - r, cy);
        return poly;
    }

    void Stroke(const QPainterPath& path, int width) const
    {
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing, true);
        p_.setClipRect(QRect(x_, y_, w_, h_));
        p_.setPen(QPen(ink_, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p_.setBrush(Qt::NoBrush);
        p_.drawPath(path);
        p_.restore();
    }
    void FillPolygon(const QPolygonF& poly) const
    {
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing, true);
        p_.setPen(Qt::NoPen);
        p_.setBrush(ink_);
        p_.drawPolygon(poly);
        p_.restore();
    }
    void FillEllipse(double cx, double cy, double r) const
    {
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing, true);
        p_.setPen(Qt::NoPen);
        p_.setBrush(ink_);
        p_.drawEllipse(QPointF(cx, cy), r, r);
        p_.restore();
    }
    void StrokeEllipse(double cx, double cy, double r) const
    {
        QPainterPath path;
        path.addEllipse(QPointF(cx, cy), r, r);
        Stroke(path, m_.Light);
    }

    QPainter& p_;
    int x_, y_, w_, h_;
    QColor ink_;
    LineMetrics m_;
};

} // namespace

const LinePiece& LinePieceFor(unsigned char code) { return code < kTable.size() ? kTable[code] : kNoPiece; }

LineMetrics LineMetricsFor(int width, int height)
{
    LineMetrics m;
    m.Light = std::max(1, height / 16);
    m.Heavy = 2 * m.Light + 1;
    m.CentreX = width / 2;
    m.CentreY = height / 2;
    // The two lines of a double line keep a column free at both cell edges,
    // so that double lines in neighbouring cells stay apart.
    m.DoubleOffset = 2 * m.Light;
    if (TrackAt(m.CentreX + m.DoubleOffset, m.Light).End() > width - 1 ||
        TrackAt(m.CentreX - m.DoubleOffset, m.Light).First < 1)
        m.DoubleOffset = m.Light;
    return m;
}

Track TrackAt(int centre, int thickness) { return {centre - thickness / 2, thickness}; }

bool DrawLinePiece(QPainter& painter, const QRect& cell, unsigned char code, QColor ink, QColor fill)
{
    const LinePiece& pc = LinePieceFor(code);
    if (pc.Kind == PieceKind::None)
        return false;
    painter.fillRect(cell, fill);
    const CellPainter cp(painter, cell, ink);
    switch (pc.Kind) {
    case PieceKind::Lines: cp.Lines(pc); break;
    case PieceKind::Dashed: cp.Dashed(pc.Left == 1, pc.Right); break;
    case PieceKind::Rounded: cp.Rounded(pc.Left); break;
    case PieceKind::Blocks: cp.Blocks(pc.Left); break;
    case PieceKind::Shade: cp.Shade(pc.Left, fill); break;
    case PieceKind::Triangle: cp.Triangle(pc.Left); break;
    case PieceKind::Diagonal: cp.Diagonal(pc.Left); break;
    case PieceKind::Edge: cp.Edge(pc.Left); break;
    case PieceKind::Marker: cp.Marker(pc.Left); break;
    case PieceKind::None: break;
    }
    return true;
}

} // namespace kalvor::render
