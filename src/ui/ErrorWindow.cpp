#include "ui/ErrorWindow.h"

#include <QMessageBox>
#include <QString>

namespace kalvor::ui {
namespace {

QString Latin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace

void ShowErrorWindow(QWidget* parent, const logging::ErrorWindow& error)
{
    QMessageBox box(QMessageBox::Critical, Latin1(error.Title), Latin1(error.Message), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("KalvorError"));
    box.setInformativeText(error.Note.empty() ? Latin1(error.Detail) : Latin1(error.Detail + "\n\n" + error.Note));
    box.exec();
}

} // namespace kalvor::ui
