#include "ui/PrintCommands.h"

#include "ui/LocalShortcuts.h"
#include "ui/MainWindow.h"
#include "ui/PrintPages.h"
#include "ui/Printing.h"

#include <QFileDialog>
#include <QMenu>

namespace kalvor::ui {

PrintCommands::PrintCommands(MainWindow& window, QMenu& file, QAction* before)
    : window_(window), print_(new QAction(QStringLiteral("&Print"), &file))
{
    print_->setObjectName(QStringLiteral("Print1"));
    connect(print_, &QAction::triggered, this, [this] { Print1_Click(); });
    auto* printFile = new QAction(QStringLiteral("Print &File..."), &file);
    printFile->setObjectName(QStringLiteral("PrintFile"));
    connect(printFile, &QAction::triggered, this, [this] { PrintFile_Click(); });
    file.insertAction(before, print_);
    file.insertAction(before, printFile);
    file.insertSeparator(before);
    ControlCharactersChanged(window_.GetSession().TransmitControlCharacters());
}

void PrintCommands::ControlCharactersChanged(bool transmit)
{
    print_->setShortcuts(LocalShortcuts(Qt::Key_P, transmit));
}

void PrintCommands::Print1_Click()
{
    const edit::Selection& sel = window_.Edit().Editor().Current();
    const DisplayMemory& mem = window_.GetSession().Memory();
    // A failure is reported by the printing.
    if (sel.Marked())
        (void)window_.Printer().Print(PrintJob{QStringLiteral("Kalvor selection"), SelectionRows(mem, sel)});
    else
        (void)window_.Printer().Print(PrintJob{QStringLiteral("Kalvor screen"), ScreenRows(mem)});
}

void PrintCommands::PrintFile_Click()
{
    const QString file = QFileDialog::getOpenFileName(&window_, QStringLiteral("Print File"));
    if (!file.isEmpty())
        (void)window_.Printer().PrintTermFile(file.toStdString());
}

} // namespace kalvor::ui
