#include "render/Renderer.h"

#include "engine/ColorSchemes.h"
#include "render/LineDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kalvor::render {
namespace {

// Walks a run string column by column (columns must not decrease).
class RunWalker {
public:
    RunWalker(std::string_view s, char none) : s_(s), none_(none)
    {
        if (s_.size() < 3) {
            open_ = true;
            attr_ = none_;
        } else {
            Load();
        }
    }

    char At(int col)
    {
        while (!open_ && col >= end_) {
            idx_ += 2;
            start_ = end_;
            Load();
        }
        return attr_;
    }

private:
    void Load()
    {
        if (idx_ + 1 >= s_.size()) {
            open_ = true;
            attr_ = idx_ < s_.size() ? s_[idx_] : none_;
            return;
        }
        attr_ = s_[idx_];
        const int len = static_cast<unsigned char>(s_[idx_ + 1]);
        if (len == 0)
            open_ = true;
        else
            end_ = start_ + len;
    }

    std::string_view s_;
    char none_;
    std::size_t idx_ = 1;
    int start_ = 0;
    int end_ = 0;
    bool open_ = false;
    char attr_ = ' ';
};

QRgb ToRgb(std::uint32_t rrggbb) { return 0xff000000u | (rrggbb & 0xffffffu); }

constexpr int kInverseKey = 1;
constexpr int kHalfKey = 2;
constexpr int kAlternateKey = 4;
constexpr int kCursorKey = 8;

} // namespace

int EnhancementBits(char code)
{
    if (code >= '@' && code <= 'O')
        return code - '@';
    if (code >= 'a' && code <= 'o')
        return code - '`';
    return 0;
}

bool HasBlinkCode(std::string_view cntl)
{
    for (std::size_t i = 1; i < cntl.size(); i += 2)
        if (EnhancementBits(cntl[i]) & 1)
            return true;
    return false;
}

Renderer::Renderer() { SetCell(CellForIndex(1), 1.0); }

Renderer::~Renderer() = default;

void Renderer::SetCell(const CellGeometry& cell, double devicePixelRatio)
{
    const double dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int dw = std::max(1, static_cast<int>(std::lround(cell.Width * dpr)));
    const int dh = std::max(1, static_cast<int>(std::lround(cell.Height * dpr)));
    cell_ = cell;
    dpr_ = dpr;
    if (fonts_ && dw == dw_ && dh == dh_) {
        image_.setDevicePixelRatio(dpr_);
        invalid_ = true;
        return;
    }
    dw_ = dw;
    dh_ = dh;
    for (auto& a : atlases_)
        a.reset();
    fonts_ = std::make_unique<GlyphFonts>(dw_, dh_);
    image_ = QImage();
    invalid_ = true;
}

void Renderer::SetBlinkPhase(bool on)
{
    blinkOn_ = on;
    invalid_ = true;
}

QSize Renderer::LogicalSize() const
{
    return QSize(static_cast<int>(std::ceil(cols_ * dw_ / dpr_)), static_cast<int>(std::ceil(rows_ * dh_ / dpr_)));
}

QRect Renderer::DeviceCellRect(int row, int col) const { return QRect(col * dw_, row * dh_, dw_, dh_); }

QRect Renderer::CellRect(int row, int col) const
{
    const QRectF r(col * dw_ / dpr_, row * dh_ / dpr_, dw_ / dpr_, dh_ / dpr_);
    return r.toAlignedRect();
}

bool Renderer::PrepareImage(const TerminalState& st)
{
    bool changed = invalid_;
    invalid_ = false;
    const int rows = std::clamp(st.Mem.RowsInTerm, 1, DisplayMemory::kMaxScreenRows);
    const int cols = std::clamp(st.Mem.ColsInTerm, 1, DisplayMemory::kMaxCols);
    if (rows != rows_ || cols != cols_ || image_.isNull()) {
        rows_ = rows;
        cols_ = cols;
        image_ = QImage(cols_ * dw_, rows_ * dh_, QImage::Format_RGB32);
        image_.setDevicePixelRatio(dpr_);
        changed = true;
    }
    const QRgb fg = ToRgb(st.Foreground), bg = ToRgb(st.Background), half = ToRgb(st.HalfBright);
    if (fg != fg_ || bg != bg_ || half != half_) {
        fg_ = fg;
        bg_ = bg;
        half_ = half;
        for (auto& a : atlases_)
            a.reset();
        changed = true;
    }
    return changed;
}

Renderer::CursorMark Renderer::CursorFor(const TerminalState& st) const
{
    CursorMark c;
    c.Row = st.Mem.CurRow;
    c.Col = st.Mem.CurCol;
    c.Block = st.CursorForm == 1;
    c.Shown = !st.CursorHidden && blinkOn_ && c.Row >= 0 && c.Row < rows_ && c.Col >= 0 && c.Col < cols_;
    return c;
}

GlyphAtlas& Renderer::Atlas(int key)
{
    auto& slot = atlases_[static_cast<std::size_t>(key)];
    if (!slot) {
        const CellColors c = EnhancementColors({fg_, bg_, half_}, (key & kInverseKey) != 0, (key & kHalfKey) != 0);
        QRgb fill = c.Fill;
        QRgb ink = c.Ink;
        if (key & kCursorKey)
            std::swap(fill, ink);
        slot = std::make_unique<GlyphAtlas>(*fonts_, fill, ink, (key & kAlternateKey) != 0);
    }
    return *slot;
}

void Renderer::DrawCells(const TerminalState& st, int screenRow, int from, int to)
{
    from = std::max(from, 0);
    to = std::min(to, cols_);
    if (screenRow < 0 || screenRow >= rows_ || from >= to)
        return;
    const DisplayMemory& m = st.Mem;
    std::string_view text, cntl, shift;
    // Columns markFrom..markTo of the row are marked (none when markFrom > markTo).
    int markFrom = 1, markTo = 0;
    if (const int ring = m.ScreenRowToRing(screenRow); ring >= 0) {
        const DisplayRow& row = m.Row(ring);
        text = row.Text;
        cntl = row.Cntl;
        shift = row.Shift;
        if (marked_.Shown) {
            const int age = m.Age(ring), startAge = m.Age(marked_.StartRow), endAge = m.Age(marked_.EndRow);
            if (age >= startAge && age <= endAge) {
                markFrom = marked_.Rect || age == startAge ? std::max(marked_.StartCol, 0) : 0;
                markTo = marked_.Rect || age == endAge ? marked_.EndCol : cols_;
            }
        }
    }
    RunWalker enh(cntl, ' ');
    RunWalker set(shift, 'I');

    const int stride = static_cast<int>(image_.bytesPerLine() / 4);
    auto* rowBase =
        reinterpret_cast<std::uint32_t*>(image_.bits()) + static_cast<std::ptrdiff_t>(screenRow) * dh_ * stride;
    const int gap = static_cast<int>(std::lround(2 * dpr_));
    const int thickness = LineMetricsFor(dw_, dh_).Light;
    const int underlineTop = std::max(0, dh_ - gap - thickness);
    const int underlineEnd = std::max(underlineTop, dh_ - gap);
    const int barTop = std::max(0, dh_ - gap);
    const std::size_t rowBytes = static_cast<std::size_t>(dw_) * 4;

    for (int c = from; c < to; ++c) {
        auto code = static_cast<unsigned char>(
            static_cast<std::size_t>(c) < text.size() ? text[static_cast<std::size_t>(c)] : ' ');
        const int e = EnhancementBits(enh.At(c)) ^ (c >= markFrom && c <= markTo ? 2 : 0);
        const bool alternate = set.At(c) == 'O';
        const bool cursorHere = cursor_.Shown && cursor_.Row == screenRow && cursor_.Col == c;
        if ((e & 1) && !blinkOn_)
            code = ' ';
        const int key = ((e & 2) ? kInverseKey : 0) | ((e & 8) ? kHalfKey : 0) | (alternate ? kAlternateKey : 0) |
                        (cursorHere && cursor_.Block ? kCursorKey : 0);
        GlyphAtlas& atlas = Atlas(key);
        const std::uint32_t* glyph = atlas.Glyph(code);
        std::uint32_t* dst = rowBase + static_cast<std::ptrdiff_t>(c) * dw_;
        for (int y = 0; y < dh_; ++y)
            std::memcpy(dst + static_cast<std::ptrdiff_t>(y) * stride, glyph + static_cast<std::ptrdiff_t>(y) * dw_,
                        rowBytes);
        if (e & 4)
            for (int y = underlineTop; y < underlineEnd; ++y)
                std::fill_n(dst + static_cast<std::ptrdiff_t>(y) * stride, dw_, fg_);
        if (cursorHere && !cursor_.Block)
            for (int y = barTop; y < dh_; ++y)
                std::fill_n(dst + static_cast<std::ptrdiff_t>(y) * stride, dw_, atlas.Ink());
    }
    stats_.CellsDrawn += to - from;
    AddDirty(screenRow, from, to);
}

void Renderer::AddDirty(int row, int from, int to) { dirty_ |= QRect(from * dw_, row * dh_, (to - from) * dw_, dh_); }

QRect Renderer::TakeDirty()
{
    const QRectF logical(dirty_.x() / dpr_, dirty_.y() / dpr_, dirty_.width() / dpr_, dirty_.height() / dpr_);
    const QRect out = dirty_.isEmpty() ? QRect() : logical.toAlignedRect();
    dirty_ = QRect();
    return out;
}

QRect Renderer::RefreshTerminal(const TerminalState& st)
{
    const DisplayMemory& m = st.Mem;
    stats_ = {};
    bool full = PrepareImage(st);
    full = full || m.ScreenScrolled || m.TopRow != lastTop_;
    cursor_ = CursorFor(st);
    const auto markOf = [&m](int row) {
        return row >= 0 && row < DisplayMemory::kMaxScreenRows ? m.RepaintFromCol[static_cast<std::size_t>(row)] : -1;
    };
    if (full) {
        for (int r = 0; r < rows_; ++r)
            DrawCells(st, r, 0, cols_);
        stats_.Full = true;
        stats_.RowsDrawn = rows_;
    } else {
        const bool moved = !(drawn_ == cursor_);
        // The cell the cursor leaves, when its row is not drawn from there anyway.
        if (moved && drawn_.Shown) {
            const int from = markOf(drawn_.Row);
            if (from < 0 || from > drawn_.Col)
                DrawCells(st, drawn_.Row, drawn_.Col, drawn_.Col + 1);
        }
        for (int r = 0; r < rows_; ++r) {
            const int from = markOf(r);
            if (from >= 0 && from < cols_) {
                DrawCells(st, r, from, cols_);
                ++stats_.RowsDrawn;
            }
        }
        if (moved && cursor_.Shown) {
            const int from = markOf(cursor_.Row);
            if (from < 0 || from > cursor_.Col)
                DrawCells(st, cursor_.Row, cursor_.Col, cursor_.Col + 1);
        }
    }
    drawn_ = cursor_;
    lastTop_ = m.TopRow;
    return TakeDirty();
}

QRect Renderer::ToggleBlink(const TerminalState& st)
{
    blinkOn_ = !blinkOn_;
    if (invalid_ || image_.isNull())
        return RefreshTerminal(st);
    stats_ = {};
    if (PrepareImage(st)) {
        invalid_ = true;
        return RefreshTerminal(st);
    }
    cursor_ = CursorFor(st);
    const DisplayMemory& m = st.Mem;
    for (int r = 0; r < rows_; ++r) {
        const int ring = m.ScreenRowToRing(r);
        if (ring >= 0 && HasBlinkCode(m.Row(ring).Cntl)) {
            DrawCells(st, r, 0, cols_);
            ++stats_.RowsDrawn;
        }
    }
    if (!(drawn_ == cursor_)) {
        if (drawn_.Shown)
            DrawCells(st, drawn_.Row, drawn_.Col, drawn_.Col + 1);
        if (cursor_.Shown)
            DrawCells(st, cursor_.Row, cursor_.Col, cursor_.Col + 1);
    }
    drawn_ = cursor_;
    return TakeDirty();
}

} // namespace kalvor::render
