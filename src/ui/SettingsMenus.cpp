#include "ui/SettingsMenus.h"

#include "config/Configuration.h"
#include "config/SetTerminalValues.h"
#include "ui/SetTerminal.h"
#include "ui/TermSetupForm.h"

#include <QAction>
#include <QMenu>

namespace kalvor::ui {

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
    auto* dialog = new SetTerminal(config::SetTerminalValuesFrom(config_.Values()),
                                   Ports ? Ports() : std::vector<std::string>{}, window_, window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->Disconnect = Disconnect;
    QObject::connect(dialog, &QDialog::finished, window_, [this, dialog] {
        if (!dialog->Cancelled()) {
            config::AcceptConnectionSettings(config_, dialog->Values());
            if (Connect)
                Connect(config_.Values());
        }
        if (Refresh)
            Refresh();
    });
    dialog->open();
    return dialog;
}

TermSetupForm* SettingsMenus::TermSetup_Click()
{
    auto* dialog = new TermSetupForm(config_, window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::finished, window_, [this] {
        if (Refresh)
            Refresh();
    });
    dialog->open();
    return dialog;
}

} // namespace kalvor::ui
