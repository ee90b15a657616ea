// What a print holds and how its pages look: rows of display memory (or of
// a text file) with their enhancements drawn as on screen (inverse,
// underline, half-bright; the line-drawing set as lines), under a page
// header of the title, the date and the page number. One path for every
// print: the screen (ESC 0 and the Print command), a selection, the side
// files (printer log, record file, escape log) and files the user chooses.
#pragma once

#include "edit/Selection.h"
#include "engine/DisplayMemory.h"

#include <QString>

#include <string_view>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace kalvor::ui {

// One printed row: columns From..To (inclusive; To -1: to the row's end) of a row.
struct PrintRow {
    DisplayRow Row;
    int From = 0;
    int To = -1;
};

struct PrintJob {
    QString Title;
    std::vector<PrintRow> Rows;
    int FontSize = 10;      // points
    bool PageHeader = true; // title, date and page number on every page
};

// The rows of the screen, without the empty rows at its end.
std::vector<PrintRow> ScreenRows(const DisplayMemory& mem);
// The marked rows, each cut to its marked columns.
std::vector<PrintRow> SelectionRows(const DisplayMemory& mem, const edit::Selection& sel);
// The lines of Latin-1 text (CR LF, LF or CR end a line), without enhancements.
std::vector<PrintRow> TextRows(std::string_view latin1);

// Paints the job on `device` page after page; returns the number of pages.
int PaintJob(QPagedPaintDevice& device, const PrintJob& job);

} // namespace kalvor::ui
