#include "ui/Printing.h"

#include "base/ProgramInstance.h"
#include "config/ProgramStart.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace kalvor::ui {
namespace {

constexpr int kPrinterError = 482;

QString LocalPath(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

} // namespace

QString PdfFileFor(const QString& title)
{
    const QDir temp(LocalPath(TempFolder()));
    QString base = QFileInfo(title).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("kalvor");
    base += QDateTime::currentDateTime().toString(QStringLiteral("-yyyyMMdd-hhmmss"));
    QString name = temp.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = temp.filePath(QStringLiteral("%1-%2.pdf").arg(base).arg(n));
    return name;
}

int Printing::PrintTermFile(const std::filesystem::path& file)
{
    const QString path = LocalPath(file);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        const int err = f.exists() ? logging::kErrPermissionDenied : logging::kErrFileNotFound;
        errors_.Report("PrintTermFile", err, file.filename().string());
        return err;
    }
    const QByteArray bytes = f.readAll();
    return PrintText(QFileInfo(path).fileName(), QString::fromLatin1(bytes));
}

int Printing::PrintText(const QString& title, const QString& text)
{
    const QByteArray latin1 = text.toLatin1();
    return Print(PrintJob{
        title, TextRows(std::string_view(latin1.constData(), static_cast<std::size_t>(latin1.size()))), 10, true});
}

int Printing::Print(PrintJob job)
{
    const bool hostFont = terminal_ != nullptr && terminal_->PrintFontSizeSet;
    job.FontSize = hostFont ? terminal_->PrintFontSize : FontHeight >= 1 ? FontHeight : 9;
    job.PageHeader = terminal_ == nullptr || terminal_->PrintPageHeader;
    const QString& title = job.Title;

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    if (dialogs_->HavePrinter()) {
        printer.setCopyCount(terminal_ != nullptr ? terminal_->PrintCopies : 1);
        if (!dialogs_->ChoosePrinter(printer, title))
            return 0;
        if (PaintJob(printer, job) == 0) {
            errors_.Report("PrintTermFile", kPrinterError, title.toStdString());
            return kPrinterError;
        }
        return 0;
    }

    // A PDF holds one copy: copies are the printer's.
    const QString pdf = PdfFileFor(title);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    if (PaintJob(printer, job) == 0 || !QFileInfo::exists(pdf)) {
        errors_.Report("PrintTermFile", kPrinterError, pdf.toStdString());
        return kPrinterError;
    }
    lastPdf_ = pdf;
    config::RemoveOldPrintFiles();
    dialogs_->TellPdf(pdf, title);
    return 0;
}

bool Printing::QtDialogs::HavePrinter() { return !QPrinterInfo::availablePrinters().isEmpty(); }

bool Printing::QtDialogs::ChoosePrinter(QPrinter& printer, const QString& title)
{
    QPrintDialog dialog(&printer, parent_);
    dialog.setWindowTitle(QStringLiteral("Print %1").arg(title));
    return dialog.exec() == QDialog::Accepted;
}

void Printing::QtDialogs::TellPdf(const QString& pdf, const QString& title)
{
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Print"),
                                QStringLiteral("No printer is configured, so %1 was printed to a PDF file:\n%2")
                                    .arg(title, QDir::toNativeSeparators(pdf)),
                                QMessageBox::Ok, parent_);
    box->setObjectName(QStringLiteral("PrintedToPdf"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace kalvor::ui
