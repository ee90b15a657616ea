#include "ui/PrintPages.h"

#include "engine/RunString.h"
#include "render/LineDrawing.h"
#include "render/Renderer.h"

#include <QDateTime>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace kalvor::ui {
namespace {

const QColor kInk = Qt::black;
const QColor kPaper = Qt::white;
const QColor kHalfBright = QColor(0x80, 0x80, 0x80);

QFont PrintFont(int points)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(std::clamp(points, 4, 24));
    return font;
}

// The cells of one row, drawn from `origin` with cells of `w` x `h` pixels.
void PaintRow(QPainter& p, const PrintRow& r, QPoint origin, int w, int h, int maxCols, const QFontMetrics& fm)
{
    const DisplayRow& row = r.Row;
    const int last = r.To >= 0 ? r.To : static_cast<int>(row.Text.size()) - 1;
    const int end = std::min({last + 1, static_cast<int>(row.Text.size()), r.From + maxCols});
    for (int c = r.From; c < end; ++c) {
        const auto code = static_cast<unsigned char>(row.Text[static_cast<std::size_t>(c)]);
        const int e = render::EnhancementBits(runstring::AttributeAt(row.Cntl, c));
        const bool alternate = runstring::AttributeAt(row.Shift, c, 'I') == 'O';
        const bool inverse = (e & 2) != 0;
        const QColor ink = inverse ? kPaper : (e & 8) != 0 ? kHalfBright : kInk;
        const QColor fill = inverse ? ((e & 8) != 0 ? kHalfBright : kInk) : kPaper;
        const QRect cell(origin.x() + (c - r.From) * w, origin.y(), w, h);
        if (alternate && render::DrawLinePiece(p, cell, code, ink, fill))
            continue;
        if (inverse)
            p.fillRect(cell, fill);
        if (code != ' ') {
            p.setPen(ink);
            p.drawText(cell.x(), cell.y() + fm.ascent(), QString(QChar(code)));
        }
        if ((e & 4) != 0)
            p.fillRect(
                QRect(cell.x(), cell.y() + fm.ascent() + std::max(1, fm.descent() / 2), w, std::max(1, fm.lineWidth())),
                ink);
    }
}

} // namespace

std::vector<PrintRow> ScreenRows(const DisplayMemory& mem)
{
    std::vector<PrintRow> rows;
    for (int r = 0; r < mem.RowsInTerm; ++r) {
        const int ring = mem.ScreenRowToRing(r);
        rows.push_back(PrintRow{ring >= 0 ? mem.Row(ring) : DisplayRow{}, 0, -1});
    }
    while (!rows.empty() && rows.back().Row.Text.find_first_not_of(' ') == std::string::npos)
        rows.pop_back();
    return rows;
}

std::vector<PrintRow> SelectionRows(const DisplayMemory& mem, const edit::Selection& sel)
{
    std::vector<PrintRow> rows;
    if (!sel.Marked())
        return rows;
    const int count = mem.Age(sel.EndRow) - mem.Age(sel.StartRow) + 1;
    for (int i = 0; i < count; ++i) {
        const bool first = i == 0, last = i == count - 1;
        const int from = sel.Rect || first ? std::max(sel.StartCol, 0) : 0;
        const int to = (sel.Rect || last) && sel.EndCol != edit::kToRowEnd ? sel.EndCol : -1;
        rows.push_back(PrintRow{mem.Row(mem.Wrap(sel.StartRow + i)), from, to});
    }
    return rows;
}

std::vector<PrintRow> TextRows(std::string_view latin1)
{
    std::vector<PrintRow> rows;
    std::string line;
    for (std::size_t i = 0; i < latin1.size(); ++i) {
        const char c = latin1[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < latin1.size() && latin1[i + 1] == '\n')
                ++i;
            rows.push_back(PrintRow{DisplayRow{std::move(line), {}, {}, {}, 0}, 0, -1});
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty())
        rows.push_back(PrintRow{DisplayRow{std::move(line), {}, {}, {}, 0}, 0, -1});
    return rows;
}

int PaintJob(QPagedPaintDevice& device, const PrintJob& job)
{
    QPainter p(&device);
    if (!p.isActive())
        return 0;
    const QFont font = PrintFont(job.FontSize);
    p.setFont(font);
    const QFontMetrics fm(font, &device);
    const int w = std::max(1, fm.horizontalAdvance(QLatin1Char('M')));
    const int h = std::max(1, fm.height());
    const int width = device.width();
    const int height = device.height();
    const int headerHeight = job.PageHeader ? 3 * h : 0;
    const int perPage = std::max(1, (height - headerHeight) / h);
    const int maxCols = std::max(1, width / w);
    const int pages = std::max(1, static_cast<int>((job.Rows.size() + perPage - 1) / perPage));
    const QString date = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device.newPage();
        if (job.PageHeader) {
            QFont bold = font;
            bold.setBold(true);
            p.setFont(bold);
            p.setPen(kInk);
            const QRect line(0, 0, width, h);
            p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, job.Title);
            p.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, date);
            p.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                       QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages));
            p.fillRect(QRect(0, h + h / 4, width, std::max(1, fm.lineWidth())), kInk);
            p.setFont(font);
        }
        const auto first = static_cast<std::size_t>(page) * static_cast<std::size_t>(perPage);
        for (std::size_t i = first; i < job.Rows.size() && i < first + static_cast<std::size_t>(perPage); ++i)
            PaintRow(p, job.Rows[i], QPoint(0, headerHeight + static_cast<int>(i - first) * h), w, h, maxCols, fm);
    }
    return pages;
}

} // namespace kalvor::ui
