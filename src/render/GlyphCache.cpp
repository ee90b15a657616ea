#include "render/GlyphCache.h"

#include "render/FontFiles.h"
#include "render/LineDrawing.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include <array>

namespace kalvor::render {
namespace {

// Cell sizes (width, height) the Terminus face has native pictures for.
constexpr std::array<std::array<int, 2>, 6> kNativeCells{{{6, 12}, {8, 16}, {10, 20}, {12, 24}, {14, 28}, {16, 32}}};

constexpr std::array<char16_t, 32> kWindowsAdditions{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

constexpr std::array<const char*, 32> kMnemonics{
    "NU", "SH", "SX", "EX", "ET", "EQ", "AK", "BL", "BS", "HT", "LF", "VT", "FF", "CR", "SO", "SI",
    "DL", "D1", "D2", "D3", "D4", "NK", "SY", "EB", "CN", "EM", "SB", "EC", "FS", "GS", "RS", "US",
};

QFont FixedFont(const QString& family, int pixelSize)
{
    QFont f = family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(family);
    f.setPixelSize(pixelSize);
    f.setFixedPitch(true);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

bool IsNativeCell(int w, int h)
{
    for (const auto& c : kNativeCells)
        if (c[0] == w && c[1] == h)
            return true;
    return false;
}

} // namespace

GlyphFonts::GlyphFonts(int width, int height) : width_(width), height_(height)
{
    const TerminalFontFamilies& families = LoadTerminalFonts();
    if (!families.Terminus.isEmpty() && IsNativeCell(width, height)) {
        QFont f = FixedFont(families.Terminus, height);
        f.setStyleStrategy(QFont::NoAntialias);
        const QFontMetrics fm(f);
        if (fm.horizontalAdvance(QLatin1Char('M')) == width && fm.height() <= height) {
            text_ = f;
            native_ = true;
        }
    }
    if (!native_) {
        // The largest size whose advance and height fit the cell.
        int size = height;
        for (; size > 4; --size) {
            const QFontMetricsF fm(FixedFont(families.DejaVuMono, size));
            if (fm.horizontalAdvance(QLatin1Char('M')) <= width + 0.01 && fm.ascent() + fm.descent() <= height + 0.5)
                break;
        }
        text_ = FixedFont(families.DejaVuMono, size);
    }
    const QFontMetrics fm(text_);
    textX_ = std::max(0, (width - fm.horizontalAdvance(QLatin1Char('M'))) / 2);
    baseline_ = std::max(0, (height - fm.ascent() - fm.descent()) / 2) + fm.ascent();

    small_ = FixedFont(families.DejaVuMono, std::max(4, height * 9 / 20));
    const QFontMetrics sm(small_);
    smallBaseline_ = sm.ascent();
    smallDescent_ = sm.descent();
}

char16_t DisplayCodeToUnicode(unsigned char code)
{
    if (code < 32 || code == 127)
        return 0;
    if (code >= 128 && code < 160)
        return kWindowsAdditions[code - 128];
    return code;
}

const char* ControlMnemonic(unsigned char code) { return code < 32 ? kMnemonics[code] : nullptr; }

void DrawGlyph(QPainter& painter, const QRect& cell, unsigned char code, bool alternate, QColor ink, QColor fill,
               const GlyphFonts& fonts)
{
    if (alternate && DrawLinePiece(painter, cell, code, ink, fill))
        return;
    painter.fillRect(cell, fill);
    if (code == ' ')
        return;
    painter.save();
    painter.setClipRect(cell);
    painter.setPen(ink);
    if (const char* name = ControlMnemonic(code)) {
        // Display functions: the control character's two-letter name, the
        // first letter high on the left, the second low on the right.
        painter.setFont(fonts.Small());
        const int half = fonts.Width() / 2;
        painter.drawText(QPoint(cell.x(), cell.y() + fonts.SmallBaseline()), QString(QLatin1Char(name[0])));
        painter.drawText(QPoint(cell.x() + half, cell.y() + fonts.Height() - fonts.SmallDescent()),
                         QString(QLatin1Char(name[1])));
    } else if (const char16_t u = DisplayCodeToUnicode(code)) {
        painter.setFont(fonts.Text());
        painter.drawText(QPoint(cell.x() + fonts.TextX(), cell.y() + fonts.Baseline()), QString(QChar(u)));
    }
    painter.restore();
}

GlyphAtlas::GlyphAtlas(const GlyphFonts& fonts, QRgb fill, QRgb ink, bool alternate)
    : fonts_(fonts),
      fill_(fill),
      ink_(ink),
      alternate_(alternate),
      image_(fonts.Width(), fonts.Height() * 256, QImage::Format_RGB32)
{}

void GlyphAtlas::Render(unsigned char code)
{
    QPainter p(&image_);
    DrawGlyph(p, QRect(0, code * fonts_.Height(), fonts_.Width(), fonts_.Height()), code, alternate_, QColor(ink_),
              QColor(fill_), fonts_);
    ready_.set(code);
}

} // namespace kalvor::render
