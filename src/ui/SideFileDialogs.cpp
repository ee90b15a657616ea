#include "ui/SideFileDialogs.h"

#include "ui/Printing.h"
#include "ui/ScreenDump.h"

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
    QString text = ScreenText(memory);
    text.truncate(text.lastIndexOf(QStringLiteral("cursor ")));      // the rows without the cursor line
    (void)printing.PrintText(QStringLiteral("Kalvor screen"), text); // a failure is reported there
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
