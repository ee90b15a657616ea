#include "ui/SideFileDialogs.h"

#include "session/Session.h"
#include "ui/Printing.h"
#include "ui/ScreenDump.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>

namespace kalvor::ui {
namespace {

QString Latin1(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace

void ConnectSideFiles(Session& session, QWidget* window, Printing& printing)
{
    QPointer<QWidget> owner(window);
    session.OnPrintFile = [&printing](const std::filesystem::path& file) { printing.PrintTermFile(file); };
    session.OnPrintScreen = [&printing, &session] {
        QString text = ScreenText(session.Memory());
        text.truncate(text.lastIndexOf(QStringLiteral("cursor "))); // the rows without the cursor line
        printing.PrintText(QStringLiteral("Kalvor screen"), text);
    };
    session.OnOpenDocument = [](const std::filesystem::path& file) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
    };
    logging::SaveRecordQuestions& q = session.Records().Questions;
    q.AskFileName = [owner](std::string_view title) -> std::optional<std::filesystem::path> {
        const QString f = QFileDialog::getSaveFileName(owner.data(), Latin1(title), QString(), QString(), nullptr,
                                                       QFileDialog::DontConfirmOverwrite);
        if (f.isEmpty())
            return std::nullopt;
        return std::filesystem::path(f.toStdString());
    };
    q.AskYesNo = [owner](std::string_view title, std::string_view text) {
        return QMessageBox::question(owner.data(), Latin1(title), Latin1(text), QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    };
}

} // namespace kalvor::ui
