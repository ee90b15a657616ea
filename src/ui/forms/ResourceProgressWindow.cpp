#include "ui/forms/ResourceProgressWindow.h"

#include "resources/CacheFiles.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include <algorithm>

namespace kalvor::ui::forms {

using kalvor::resources::TransferProgress;

ResourceProgressWindow::ResourceProgressWindow(QWidget* parent)
    : QDialog(parent), file_(new QLabel(this)), size_(new QLabel(this)), caching_(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Resources"));
    file_->setObjectName(QStringLiteral("file"));
    size_->setObjectName(QStringLiteral("size"));
    caching_->setObjectName(QStringLiteral("caching"));
    auto* layout = new QVBoxLayout(this);
    for (QLabel* label : {file_, size_, caching_})
        layout->addWidget(label);
    setMinimumWidth(360);
}

void ResourceProgressWindow::DownloadStarted(int)
{
    downloading_ = true;
    file_->clear();
    size_->clear();
    caching_->clear();
    show();
}

void ResourceProgressWindow::FileProgress(const TransferProgress& p)
{
    const std::int64_t total = std::max<std::int64_t>(p.Total, 0);
    file_->setText(QStringLiteral("File: ") + QString::fromStdString(p.Name));
    size_->setText(QString::number(kalvor::resources::SizeUnits(static_cast<std::uintmax_t>(total))) +
                   QStringLiteral(" Kbytes"));
    caching_->setText(QStringLiteral("caching %1 of %2 bytes at %3 Kbps")
                          .arg(p.Bytes)
                          .arg(total)
                          .arg(QString::number(p.RateKbps, 'f', 1)));
}

void ResourceProgressWindow::FileFailed(const std::string&, const std::string& logLine)
{
    failures_.push_back(logLine);
}

void ResourceProgressWindow::DownloadFinished()
{
    downloading_ = false;
    hide();
}

void ResourceProgressWindow::BetweenSteps() { QCoreApplication::processEvents(); }

bool ResourceProgressWindow::MayClose()
{
    if (!downloading_)
        return true;
    // Not modal in the event loop's sense: the download goes on behind it.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Improper Exit Warning"),
                                QStringLiteral("Please allow all the files to download;\n"
                                               "then, you can exit ZKForms gracefully."),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return false;
}

void ResourceProgressWindow::closeEvent(QCloseEvent* event)
{
    if (MayClose())
        event->accept();
    else
        event->ignore();
}

void ResourceProgressWindow::reject()
{
    if (MayClose())
        QDialog::reject();
}

} // namespace kalvor::ui::forms
