#include "ui/SettingsMenus.h"

#include "comms/net/SerialPorts.h"
#include "config/Configuration.h"
#include "config/DialogValueLists.h"
#include "config/SetTerminalValues.h"
#include "ui/ConfigurationMenu.h"
#include "ui/ConnectionUi.h"
#include "ui/MainWindow.h"
#include "ui/SetTerminal.h"
#include "ui/TerminalView.h"
#include "ui/TermSetupForm.h"

#include <QAction>
#include <QMenu>

namespace kalvor::ui {

SettingsMenus::~SettingsMenus()
{
    if (open_ != nullptr) {
        open_->disconnect();
        delete open_.data();
    }
}

std::unique_ptr<SettingsMenus> SettingsMenus::ForWindow(MainWindow& window, SettingsWindow& host, QMenu* terminalMenu)
{
    auto menus = std::make_unique<SettingsMenus>(&window, window.Configuration().Config(), host);
    menus->AddTo(&window.ConnectionsUi().Menu(), terminalMenu);
    return menus;
}

void SettingsMenus::AddTo(QMenu* connectionMenu, QMenu* terminalMenu)
{
    connectionMenu->addSeparator();
    QAction* comm = connectionMenu->addAction(QStringLiteral("Connection &Settings..."));
    comm->setObjectName(QStringLiteral("ConnectSettings"));
    QObject::connect(comm, &QAction::triggered, connectionMenu, [this] { ConnectSettings_Click(); });
    terminalMenu->addSeparator();
    QAction* prefs = terminalMenu->addAction(QStringLiteral("Terminal &Preferences..."));
    prefs->setObjectName(QStringLiteral("TermSetup"));
    QObject::connect(prefs, &QAction::triggered, terminalMenu, [this] { TermSetup_Click(); });
}

SetTerminal* SettingsMenus::ConnectSettings_Click()
{
    // Echo and ENQ/ACK as the session holds them now.
    config_.CollectFromSession();
    config::SetTerminalValues values = config::SetTerminalValuesFrom(config_.Values());
    values.EchoOn = host_.EchoButton();
    auto* dialog = new SetTerminal(values, host_.SerialPorts(), window_, host_, window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    open_ = dialog;
    QObject::connect(dialog, &QDialog::finished, window_, [this, dialog] {
        if (!dialog->Cancelled()) {
            config::AcceptConnectionSettings(config_, dialog->Values());
            host_.Connect(config_.Values());
        }
        host_.Refresh();
    });
    dialog->open();
    return dialog;
}

TermSetupForm* SettingsMenus::TermSetup_Click()
{
    auto* dialog = new TermSetupForm(config_, window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    open_ = dialog;
    QObject::connect(dialog, &QDialog::finished, window_, [this] { host_.Refresh(); });
    dialog->open();
    return dialog;
}

} // namespace kalvor::ui
