#include "ui/SideFileDialogs.h"

#include "ui/Printing.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace kalvor::ui {
namespace {

QString Latin1(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace

void OpenInTextEditor(const std::filesystem::path& file)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
}

void PrintScreenText(Printing& printing, const DisplayMemory& memory)
{
    // A failure is reported there.
    (void)printing.Print(PrintJob{QStringLiteral("Kalvor screen"), ScreenRows(memory)});
}

std::optional<std::filesystem::path> AskRecordFileName(QWidget* parent, std::string_view title)
{
    const QString f = QFileDialog::getSaveFileName(parent, Latin1(title), QString(), QString(), nullptr,
                                                   QFileDialog::DontConfirmOverwrite);
    if (f.isEmpty())
        return std::nullopt;
    return std::filesystem::path(f.toStdString());
}

bool AskRecordYesNo(QWidget* parent, std::string_view title, std::string_view text)
{
    return QMessageBox::question(parent, Latin1(title), Latin1(text), QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

} // namespace kalvor::ui
