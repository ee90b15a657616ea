// Printing of the terminal's text files (PrintTermFile): the printer log,
// the record file for the printer, the escape log, and the screen (ESC 0).
// The text is read as Latin-1 and printed in a fixed-pitch font of the
// configured print font height. With a printer configured the print dialog
// chooses it; without one the text goes to a PDF file in the program
// folder's "temp" folder and the user is told where it went; only the
// newest 20 such files are kept.
#pragma once

#include "logging/ErrorReport.h"

#include <QString>

#include <filesystem>
#include <functional>

class QPrinter;
class QWidget;

namespace kalvor::ui {

class Printing {
public:
    Printing(QWidget* parent, logging::ErrorReport& errors) : parent_(parent), errors_(errors) {}

    // PrintTermFile: prints a text file. Returns 0, or the error number
    // (reported with the location "PrintTermFile"). A cancelled dialog is no
    // error.
    int PrintTermFile(const std::filesystem::path& file);
    // Prints `text` (Latin-1) under the document name `title`.
    int PrintText(const QString& title, const QString& text);

    // The print font height in points (the configuration's PrintFontHeight).
    int FontHeight = 9;

    // True when a printer is configured on this machine.
    std::function<bool()> HavePrinter;
    // The print dialog: false when the user cancelled. Default: QPrintDialog.
    std::function<bool(QPrinter&)> ChoosePrinter;
    // Tells the user where the PDF went. Default: a message box that does not
    // wait for the answer.
    std::function<void(const QString& pdf)> TellPdf;

    // The PDF file written last, empty when none.
    const QString& LastPdf() const { return lastPdf_; }

private:
    QWidget* parent_;
    logging::ErrorReport& errors_;
    QString lastPdf_;
};

// The PDF file a print without a printer goes to: "temp/<name>-<date>-<time>.pdf"
// under the program folder, made unique with a counter.
QString PdfFileFor(const QString& title);

} // namespace kalvor::ui
