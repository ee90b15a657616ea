#include "ui/ConnectionUi.h"

#include "config/SetTerminalValues.h"
#include "config/Settings.h"
#include "session/Session.h"
#include "ui/MainWindow.h"
#include "ui/TerminalView.h"

#include <QAction>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>

#include <algorithm>

namespace kalvor::ui {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// A window-modal box that does not hold up the event loop: connections,
// timers and the receive pass go on while it is open.
QMessageBox* OpenBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                     QMessageBox::StandardButtons buttons)
{
    auto* box = new QMessageBox(icon, title, text, buttons, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(title);
    box->open();
    return box;
}

} // namespace

ConnectionUi::ConnectionUi(MainWindow& window)
    : window_(window),
      manager_(std::make_unique<net::ConnectionManager>(
          window.GetSession(), static_cast<net::ConnectionObserver&>(*this), &window.GetSession().Trace()))
{
    manager_->SetSettings(config::ConnectionSettingsFrom(config::Settings{}));
    BuildMenu();
    lockWatch_.setInterval(200);
    QObject::connect(&lockWatch_, &QTimer::timeout, &window_, [this] {
        const bool locked = window_.GetSession().ExitProtection();
        connect_->setVisible(!locked);
        disconnect_->setVisible(!locked);
    });
    lockWatch_.start();
}

ConnectionUi::~ConnectionUi()
{
    lockWatch_.stop();
    manager_.reset();
}

void ConnectionUi::BuildMenu()
{
    menu_ = window_.menuBar()->addMenu(QStringLiteral("&Connection"));
    menu_->setObjectName(QStringLiteral("ConnectionMenu"));
    auto add = [this](const QString& text, const char* name, auto slot) {
        QAction* a = menu_->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        QObject::connect(a, &QAction::triggered, &window_, slot);
        return a;
    };
    connect_ = add(QStringLiteral("&Connect"), "Connect", [this] { Connect_Click(); });
    disconnect_ = add(QStringLiteral("&Disconnect"), "Disconnect", [this] { Disconnect_Click(); });
    disconnect_->setEnabled(false);
    menu_->addSeparator();
    break_ = add(QStringLiteral("Send &Break"), "SendBreak", [this] { SendBreak_Click(); });
    echo_ = menu_->addAction(QStringLiteral("Local &Echo"));
    echo_->setObjectName(QStringLiteral("EchoButton"));
    echo_->setCheckable(true);
    QObject::connect(echo_, &QAction::triggered, &window_, [this](bool on) { Echo_Click(on); });
}

void ConnectionUi::StatusPanel(const std::string& text) { window_.ConnectionPanel().setText(Text(text)); }

void ConnectionUi::Caption(const std::string& text) { window_.setWindowTitle(Text(text)); }

void ConnectionUi::MenuState(bool connectEnabled, bool disconnectEnabled)
{
    connect_->setEnabled(connectEnabled);
    disconnect_->setEnabled(disconnectEnabled);
}

void ConnectionUi::EchoButton(bool on) { echo_->setChecked(on); }

void ConnectionUi::MessageBox(const std::string& title, const std::string& text)
{
    lastMessage_ = Text(text);
    OpenBox(&window_, QMessageBox::Warning, Text(title), lastMessage_, QMessageBox::Ok);
}

void ConnectionUi::FocusTerminal() { window_.View().setFocus(); }

void ConnectionUi::Changed() { window_.RefreshTerminal(); }

void ConnectionUi::KeyboardInteractive(const net::KeyboardPrompt& prompt, net::KeyboardAnswer answer)
{
    if (prompt.Prompts.empty()) {
        answer(std::vector<std::string>{});
        return;
    }
    AskPrompts(prompt, 0, std::make_shared<std::vector<std::string>>(), std::move(answer));
}

void ConnectionUi::UnknownHostKey(const net::HostKeyQuestion& q, net::HostKeyAnswer answer)
{
    const QString where = Text(q.Host) + (q.Port == 22 ? QString() : QStringLiteral(" port %1").arg(q.Port));
    lastMessage_ = QStringLiteral("The host %1 is not known yet.\nIts %2 key has the fingerprint\n%3\n\n"
                                  "Trust this key and connect? It is remembered for later connections.")
                       .arg(where, Text(q.KeyType), Text(q.Fingerprint));
    QMessageBox* box = OpenBox(&window_, QMessageBox::Question, QString::fromLatin1(kHostKeyTitle), lastMessage_,
                               QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::No);
    QObject::connect(box, &QMessageBox::finished, box,
                     [answer = std::move(answer), box](int) { answer(box->result() == QMessageBox::Yes); });
}

// Each prompt of the round in its own input box; the answers go back together
// once the last one is given, or nothing once one is cancelled.
void ConnectionUi::AskPrompts(const net::KeyboardPrompt& prompt, std::size_t index,
                              std::shared_ptr<std::vector<std::string>> answers, net::KeyboardAnswer answer)
{
    auto* dialog = new QInputDialog(&window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QString::fromLatin1(kKeyboardAuthTitle));
    dialog->setWindowTitle(QString::fromLatin1(kKeyboardAuthTitle));
    QString label;
    if (index == 0 && !prompt.Instruction.empty())
        label = Text(prompt.Instruction) + QLatin1Char('\n');
    label += Text(prompt.Prompts[index]);
    dialog->setLabelText(label);
    const bool echo = index < prompt.Echo.size() && prompt.Echo[index];
    dialog->setTextEchoMode(echo ? QLineEdit::Normal : QLineEdit::Password);
    QObject::connect(dialog, &QInputDialog::finished, dialog,
                     [this, dialog, prompt, index, answers, answer = std::move(answer)](int result) mutable {
                         if (result != QDialog::Accepted) {
                             answer(std::nullopt);
                             return;
                         }
                         answers->push_back(dialog->textValue().toStdString());
                         if (index + 1 < prompt.Prompts.size())
                             AskPrompts(prompt, index + 1, answers, std::move(answer));
                         else
                             answer(*answers);
                     });
    dialog->open();
}

void ConnectionUi::ApplySettings(const ConnectionSettings& settings) { manager_->SetSettings(settings); }

void ConnectionUi::Connect_Click()
{
    manager_->Connect_Click();
    window_.RefreshTerminal();
}

void ConnectionUi::Disconnect_Click()
{
    manager_->Disconnect_Click();
    window_.RefreshTerminal();
}

void ConnectionUi::SendBreak_Click()
{
    window_.GetSession().SendBreak();
    window_.View().setFocus();
}

void ConnectionUi::Echo_Click(bool on)
{
    manager_->SetEchoButton(on);
    window_.View().setFocus();
}

net::ConnectionManager& MainWindow::Connections() { return connectionUi_->Manager(); }

} // namespace kalvor::ui
