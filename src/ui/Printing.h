// Printing: the terminal's text files (PrintTermFile: the printer log, the
// record file for the printer, the escape log), files the user chooses, the
// screen (ESC 0 and the Print command) and a selection, all through Print
// and the pages of PrintPages. Text files are read as Latin-1. The font is
// fixed-pitch at the configured print font height unless the host chose one
// with ESC % p, which also gives the copies and the page header. With a printer configured the print dialog
// chooses it; without one the text goes to a PDF file in the program
// folder's "temp" folder and the user is told where it went; only the
// newest 20 such files are kept.
#pragma once

#include "engine/TerminalState.h"
#include "logging/ErrorReport.h"
#include "ui/PrintPages.h"

#include <QString>

#include <filesystem>
class QPrinter;
class QWidget;

namespace kalvor::ui {

// The dialogs of printing: whether a printer is configured, the print
// dialog, and the note where a print without a printer went.
class PrintDialogs {
public:
    virtual bool HavePrinter() = 0;
    // The print dialog for the document `title`: false when the user cancelled.
    virtual bool ChoosePrinter(QPrinter& printer, const QString& title) = 0;
    // Tells the user that `title` went to the PDF file `pdf`.
    virtual void TellPdf(const QString& pdf, const QString& title) = 0;

protected:
    ~PrintDialogs() = default;
};

class Printing {
public:
    Printing(QWidget* parent, logging::ErrorReport& errors) : parent_(parent), errors_(errors), qt_(parent) {}

    // PrintTermFile: prints a text file. Returns 0, or the error number
    // (reported with the location "PrintTermFile"). A cancelled dialog is no
    // error.
    [[nodiscard]] int PrintTermFile(const std::filesystem::path& file);
    // Prints `text` (Latin-1) under the document name `title`.
    [[nodiscard]] int PrintText(const QString& title, const QString& text);
    // Prints the rows of `job` (its font size and page header are set here).
    [[nodiscard]] int Print(PrintJob job);
    // The terminal whose ESC % p settings apply; null: none (one copy, a
    // page header, the configured font height).
    void SetTerminal(const TerminalState* terminal) { terminal_ = terminal; }

    // The print font height in points (the configuration's PrintFontHeight).
    int FontHeight = 9;

    // Other dialogs than Qt's (the printers of QPrinterInfo, QPrintDialog, a
    // message box that does not wait for the answer); null: Qt's again.
    void SetDialogs(PrintDialogs* dialogs) { dialogs_ = dialogs != nullptr ? dialogs : &qt_; }

    // The PDF file written last, empty when none.
    const QString& LastPdf() const { return lastPdf_; }

private:
    class QtDialogs final : public PrintDialogs {
    public:
        explicit QtDialogs(QWidget* parent) : parent_(parent) {}
        bool HavePrinter() override;
        bool ChoosePrinter(QPrinter& printer, const QString& title) override;
        void TellPdf(const QString& pdf, const QString& title) override;

    private:
        QWidget* parent_;
    };

    QWidget* parent_;
    logging::ErrorReport& errors_;
    QtDialogs qt_;
    PrintDialogs* dialogs_ = &qt_;
    const TerminalState* terminal_ = nullptr;
    QString lastPdf_;
};

// The PDF file a print without a printer goes to: "temp/<name>-<date>-<time>.pdf"
// under the program folder, made unique with a counter.
QString PdfFileFor(const QString& title);

} // namespace kalvor::ui
