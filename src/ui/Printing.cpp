#include "ui/Printing.h"

#include "base/ProgramInstance.h"
#include "config/ProgramStart.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

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
    QTextDocument doc;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(FontHeight >= 1 ? FontHeight : 9);
    doc.setDefaultFont(font);
    doc.setPlainText(text);

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    if (dialogs_->HavePrinter()) {
        if (!dialogs_->ChoosePrinter(printer, title))
            return 0;
        doc.print(&printer);
        return 0;
    }

    const QString pdf = PdfFileFor(title);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    doc.print(&printer);
    if (!QFileInfo::exists(pdf)) {
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
