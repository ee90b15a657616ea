#include "ui/StartupWindow.h"

#include "config/ProgramStart.h"
#include "logging/CommunicationsLog.h"
#include "ui/ErrorWindow.h"
#include "ui/ProgramFonts.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QVBoxLayout>

namespace kalvor::ui {

StartupWindow::StartupWindow(ProgramEnvironment& environment, const WindowOptions& options, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen), environment_(environment), options_(options)
{
    setWindowTitle(QStringLiteral("Kalvor Start-up"));
    setObjectName(QStringLiteral("StartupWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    auto* title = new QLabel(QStringLiteral("Kalvor"), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    const std::string_view version = logging::kVersionTag.substr(6);
    auto* subtitle = new QLabel(QStringLiteral("Terminal emulator %1")
                                    .arg(QString::fromLatin1(version.data(), static_cast<qsizetype>(version.size()))),
                                this);
    subtitle->setAlignment(Qt::AlignCenter);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusLabel"));
    status_->setAlignment(Qt::AlignCenter);
    status_->setMinimumWidth(260);
    status_->setWordWrap(true);
    layout->addWidget(title);
    layout->addWidget(subtitle);
    layout->addWidget(status_);

    errors_.SetDisplay(&errorDisplay_);
    pictureInterval_.setSingleShot(true);
    connect(&pictureInterval_, &QTimer::timeout, this, [this] { PictureInterval_Timer(); });
}

StartupWindow::~StartupWindow()
{
    pictureInterval_.stop();
    if (terminal_)
        terminal_->SetStartupHost(nullptr);
}

void StartupWindow::Start(const QString& script)
{
    show();
    QApplication::processEvents();

    // 1, 2: temporary files of an earlier run, the program folder's folders.
    config::PrepareProgramFolder(errors_);
    // 3: the terminal's fonts (error 5998 when missing; the program goes on).
    RegZKFonts(errors_);
    // 4: the serial ports.
    serialPorts_ = environment_.ListSerialPorts();
    // 6: the command line. A missing file is forgotten.
    script_.clear();
    pictureInterval_.setInterval(kPlainInterval);
    if (!script.isEmpty() && QFileInfo(script).isFile()) {
        SetStatus(QStringLiteral("Executing Script"));
        const script::PreparedScript prepared = environment_.PrepareScript(std::filesystem::path(script.toStdString()));
        if (prepared.Runs) {
            script_ = script;
            pictureInterval_.setInterval(kScriptInterval);
        } else {
            // Nothing to run after all: the user sees why until the terminal comes.
            SetStatus(QString::fromLatin1(prepared.Problem.data(), static_cast<qsizetype>(prepared.Problem.size())));
        }
    }
    // 7: the main terminal window.
    terminal_ = std::make_unique<MainWindow>(options_);
    terminal_->SetStartupHost(this);
    pictureInterval_.start();
}

void StartupWindow::PictureInterval_Timer()
{
    pictureInterval_.stop();
    if (script_.isEmpty() || !terminal_) {
        DisplayTerminal();
        return;
    }
    // The script has not connected in time.
    SetStatus(QStringLiteral("Unable to make connection"));
    QApplication::beep();
    terminal_->GetSession().SwitchCommunicationsLog(false);
    QTimer::singleShot(2000, this, [this] { DisplayTerminal(); });
}

void StartupWindow::DisplayTerminal()
{
    hide();
    if (terminal_ && !terminal_->isVisible()) {
        terminal_->show();
        terminal_->activateWindow();
    }
}

void StartupWindow::ScriptExited() { pictureInterval_.stop(); }

void StartupWindow::SetStatus(const QString& text) { status_->setText(text); }

void StartupWindow::TerminalUnloaded()
{
    pictureInterval_.stop();
    hide();
    environment_.EndProgram();
}

} // namespace kalvor::ui
