#include "ui/ConfigurationMenu.h"

#include "config/ConfigPaths.h"
#include "config/ProgramStart.h"
#include "session/Session.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

namespace kalvor::ui {
namespace {

QString ConfigFolder() { return QString::fromStdString(config::ConfigPath(config::kConfigFolder).string()); }

// Configurations live in the config folder itself and end in ".zkd".
const QString kFilter = QStringLiteral("Configuration files (*.zkd)");

} // namespace

QString ImproperExitText()
{
    return QStringLiteral("Please exit your application in a\n"
                          "graceful manner. After you do that,\n"
                          "you may close your Kalvor session.\n"
                          "___________________________\n"
                          "Or, if you find you're stuck, press\n"
                          "OK on this screen and then press\n"
                          "hard reset on the terminal to clear\n"
                          "this warning and try again.");
}

ConfigurationMenu::ConfigurationMenu(QWidget* window, ConfigurationWindow* host, Session& session,
                                     logging::ErrorReport& errors)
    : window_(window), host_(host), session_(session), errors_(errors), config_(errors, this)
{}

ConfigurationMenu::~ConfigurationMenu() { config_.Detach(); }

void ConfigurationMenu::Load()
{
    config_.Attach(session_);
    config_.Load();
    loaded_ = true;
}

void ConfigurationMenu::AddTo(QMenu* file, QAction* before)
{
    const auto add = [&](const QString& text, const char* name, auto slot) {
        auto* a = new QAction(text, file);
        a->setObjectName(QString::fromLatin1(name));
        QObject::connect(a, &QAction::triggered, file, slot);
        file->insertAction(before, a);
        return a;
    };
    add(QStringLiteral("&Open Configuration..."), "OpenConfiguration", [this] { OpenConfiguration_Click(); });
    add(QStringLiteral("&Save Configuration"), "SaveConfiguration", [this] { SaveConfiguration_Click(); });
    add(QStringLiteral("Save Configuration &As..."), "SaveConfigurationAs", [this] { SaveConfigurationAs_Click(); });
    file->insertSeparator(before);
}

void ConfigurationMenu::SettingsApplied(const config::Settings& settings)
{
    if (host_ != nullptr)
        host_->ApplyWindowSettings(settings);
}

void ConfigurationMenu::Collect()
{
    if (host_ != nullptr)
        host_->CollectWindowSettings(config_.Values());
}

void ConfigurationMenu::OpenConfiguration_Click()
{
    const QString f =
        QFileDialog::getOpenFileName(window_, QStringLiteral("Open Configuration"), ConfigFolder(), kFilter);
    if (!f.isEmpty())
        OpenConfiguration(std::filesystem::path(f.toStdString()));
}

void ConfigurationMenu::OpenConfiguration(const std::filesystem::path& chosen)
{
    if (config_.Open(chosen) == 0 && host_ != nullptr)
        host_->ConfigurationOpened();
}

void ConfigurationMenu::SaveConfiguration_Click()
{
    Collect();
    (void)config_.Save(); // a failure is reported there
}

void ConfigurationMenu::SaveConfigurationAs_Click()
{
    const QString f =
        QFileDialog::getSaveFileName(window_, QStringLiteral("Save Configuration As"), ConfigFolder(), kFilter);
    if (!f.isEmpty())
        SaveConfigurationAs(std::filesystem::path(f.toStdString()));
}

void ConfigurationMenu::SaveConfigurationAs(const std::filesystem::path& chosen)
{
    Collect();
    (void)config_.SaveAs(chosen); // a failure is reported there
}

bool ConfigurationMenu::Form_Unload()
{
    if (session_.ExitProtection()) {
        auto* box = new QMessageBox(QMessageBox::Warning, QString::fromLatin1(kImproperExitTitle), ImproperExitText(),
                                    QMessageBox::Ok, window_);
        box->setObjectName(QStringLiteral("ImproperExitWarning"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return false;
    }
    if (!loaded_)
        return true;
    if (config_.TermConfigPending())
        config_.SaveTermConfig(false);
    Collect();
    (void)config_.Save(); // a failure is reported there
    session_.SwitchCommunicationsLog(false, false);
    config::RemoveTemporaryFiles(errors_);
    return true;
}

} // namespace kalvor::ui
