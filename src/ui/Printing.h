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
    QString lastPdf_;
};

// The PDF file a print without a printer goes to: "temp/<name>-<date>-<time>.pdf"
// under the program folder, made unique with a counter.
QString PdfFileFor(const QString& title);

} // namespace kalvor::ui
