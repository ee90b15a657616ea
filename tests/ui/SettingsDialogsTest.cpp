// The Settings menu's dialogs offscreen, driven through their widgets: the
// connection settings with the SSH login, the serial line with a refusal,
// Cancel, and the terminal preferences with Cancel restoring; each checked
// in the session, in what the window reconnects with, and in the file.
#include "FileBytes.h"
#include "SessionInternals.h"
#include "TempHome.h"

#include "base/Clock.h"
#include "config/ConfigPaths.h"
#include "config/Configuration.h"
#include "config/DialogValueLists.h"
#include "config/SettingsFile.h"
#include "session/Session.h"
#include "ui/ConfigurationMenu.h"
#include "ui/MainWindow.h"
#include "ui/SSHLogin.h"
#include "ui/ScreenDump.h"
#include "ui/SetTerminal.h"
#include "ui/SettingsMenus.h"
#include "ui/TermSetupForm.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace kalvor::ui {
namespace {

std::string Line(std::string_view key, std::string_view value)
{
    return std::string(40 - key.size(), ' ') + std::string(key) + std::string(value) + "\r\n";
}

// The main window as the settings commands see it: two serial ports, and
// the disconnects and connects recorded. Unless a test sets it, the echo
// switch shows the echo the configuration holds.
class FakeSettingsWindow final : public SettingsWindow {
public:
    explicit FakeSettingsWindow(config::Configuration& config) : config_(config) {}

    int Disconnects = 0;
    std::vector<config::Settings> Connected;
    std::optional<bool> Echo;

    std::vector<std::string> SerialPorts() override { return {"COM 1", "COM 2"}; }
    void Disconnect() override { ++Disconnects; }
    void Connect(const config::Settings& s) override { Connected.push_back(s); }
    bool EchoButton() override { return Echo.value_or(config_.Values().Echo); }
    void Refresh() override {}

private:
    config::Configuration& config_;
};

class SettingsDialogsTest : public ::testing::Test {
protected:
    SettingsDialogsTest()
    {
        std::filesystem::create_directories(home.Path() / config::kConfigFolder);
        EXPECT_EQ(config::CreateSettingsFile(config.CurrentFile(), config::Settings{}), 0);
        config.Attach(session);
        window.setGeometry(100, 100, 900, 700);
        window.show();
    }
    ~SettingsDialogsTest() override { config.Detach(); }

    std::string FileText() { return test::ReadAll(config::ConfigPath(config.CurrentFile())); }
    // Each key = value line is looked for in the file, and each missing one named.
    void ExpectFileHas(std::initializer_list<std::pair<std::string_view, std::string_view>> lines)
    {
        const std::string text = FileText();
        for (const auto& [key, value] : lines)
            EXPECT_NE(text.find(Line(key, value)), std::string::npos) << key << value;
    }

    test::TempHome home;
    ManualClock clock;
    Session session{clock};
    logging::ErrorReport errors;
    config::Configuration config{errors};
    QWidget window;
    FakeSettingsWindow host{config};
    SettingsMenus menus{&window, config, host};
    const int& disconnects = host.Disconnects;
    const std::vector<config::Settings>& connected = host.Connected;
};

TEST_F(SettingsDialogsTest, SshHostTypedAndEnterPressedAsksTheLoginThenConnects)
{
    // First a local program, cancelled: the dialog shows the Connection
    // menu's echo switch and proposes the login shell; nothing is stored,
    // written or reconnected.
    Internals(session).Keys().LocalEcho = true; // in force through the Telnet variant
    host.Echo = false;
    QPointer<SetTerminal> dialog = menus.ConnectSettings_Click();
    EXPECT_FALSE(dialog->EchoOn()->isChecked());
    dialog->NetworkList()->setCurrentIndex(NetworkKindNumber(NetworkKind::LocalProgram));
    EXPECT_EQ(dialog->HostList()->currentText(), QString()) << "the login shell, not a host name";
    EXPECT_FALSE(dialog->NetPortList()->isEnabled());
    QTest::keyClick(dialog->NetworkList(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->Cancelled());
    EXPECT_EQ(disconnects, 0);
    ExpectFileHas({{"Network Type = ", "1"}});
    host.Echo.reset();
    QTest::qWait(0);

    dialog = menus.ConnectSettings_Click();
    EXPECT_EQ(dialog->NetPortList()->currentText(), QStringLiteral("2323")) << "the port the host entry names";
    dialog->NetworkList()->setCurrentIndex(NetworkKindNumber(NetworkKind::Ssh2));

    QLineEdit* host = dialog->HostList()->lineEdit();
    host->setFocus();
    host->selectAll(); // the field shows the current host: the typing replaces it
    QTest::keyClicks(host, QStringLiteral("newhost [lab]"));
    EXPECT_EQ(dialog->NetPortList()->currentText(), QStringLiteral("22")) << "SSH2 after Telnet proposes 22";
    QTest::keyClick(host, Qt::Key_Return);
    EXPECT_EQ(disconnects, 1) << "accepting disconnects first";
    SSHLogin* login = dialog->Login();
    ASSERT_NE(login, nullptr) << "an SSH kind asks for the login";
    ASSERT_TRUE(login->isVisible());
    const QPoint offset = login->frameGeometry().center() - window.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 4) << "centred over the terminal window";
    EXPECT_TRUE(connected.empty()) << "nothing connects before the login is answered";

    QTest::keyClicks(login->UserField(), QStringLiteral("operator"));
    QTest::keyClicks(login->PasswordField(), QStringLiteral("s3cret"));
    QTest::mouseClick(login->OkButton(), Qt::LeftButton);

    ASSERT_EQ(connected.size(), 1u);
    EXPECT_EQ(connected.front().SshPassword, "s3cret");
    ExpectFileHas({{"TelnetAddr1 = ", "newhost [lab]"},
                   {"Network Type = ", "3"},
                   {"Telnet Port = ", "22"},
                   {"SSH User Login = ", "operator"}});
    EXPECT_EQ(FileText().find("s3cret"), std::string::npos) << "the password is stored scrambled";
    config::Settings read;
    ASSERT_EQ(config::ReadSettingsFile(config.CurrentFile(), read), 0);
    EXPECT_EQ(read.SshPassword, "s3cret");
}

TEST_F(SettingsDialogsTest, SerialLineWithRefusalThenPhoneEntryAccepted)
{
    QPointer<SetTerminal> dialog = menus.ConnectSettings_Click();
    QTest::mouseClick(dialog->SerialButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->NetworkList()->isEnabled());
    EXPECT_TRUE(dialog->BaudSelect()->isEnabled());
    dialog->CommPortSelect()->setCurrentIndex(1);
    dialog->BaudSelect()->setCurrentText(QString());
    QTest::mouseClick(dialog->SettingsOK(), Qt::LeftButton);
    auto* message = dialog->findChild<QMessageBox*>(QStringLiteral("InvalidValue"));
    ASSERT_NE(message, nullptr) << "an empty baud rate is refused with a message";
    EXPECT_EQ(message->text(), QStringLiteral("The baud rate must be a number, such as 9600."));
    EXPECT_EQ(disconnects, 0);
    message->accept();

    dialog->BaudSelect()->setCurrentIndex(config::GetBaudIndex("9600"));
    QTest::mouseClick(dialog->ShowProperties(), Qt::LeftButton);
    QTest::mouseClick(dialog->ParityButton(1), Qt::LeftButton);
    QTest::mouseClick(dialog->SevenDataBits(), Qt::LeftButton);
    QTest::mouseClick(dialog->TwoStopBits(), Qt::LeftButton);
    QTest::mouseClick(dialog->EchoOn(), Qt::LeftButton);
    dialog->RespondToEnq()->setChecked(true);
    QTest::mouseClick(dialog->ShowPhoneBook(), Qt::LeftButton);
    dialog->DialOutPrefix()->setText(QStringLiteral("9"));
    QLineEdit* phone = dialog->PhoneList()->lineEdit();
    phone->setFocus();
    phone->selectAll();
    QTest::keyClicks(phone, QStringLiteral("Local line"));
    QTest::keyClick(phone, Qt::Key_Return);

    EXPECT_EQ(dialog->Login(), nullptr);
    ASSERT_EQ(connected.size(), 1u);
    EXPECT_EQ(connected.front().CommPort, "COM 2");
    EXPECT_TRUE(Internals(session).Keys().LocalEcho);
    EXPECT_TRUE(Internals(session).Receive().EnqAck);
    ExpectFileHas({{"Connect Type = ", "0"},
                   {"Baud Rate = ", "9600"},
                   {"Parity = ", "Even"},
                   {"Number of Data Bits = ", "7"},
                   {"Number of Stop Bits = ", "2"},
                   {"Phone Number1 = ", "no modem/direct connect to host"},
                   {"Dial-out prefix = ", "9"}});
}

TEST_F(SettingsDialogsTest, TerminalPreferencesAppliedWrittenAndCancelRestores)
{
    QPointer<TermSetupForm> dialog = menus.TermSetup_Click();
    EXPECT_EQ(dialog->LanguageBox()->currentText(), QStringLiteral(" English"));
    QTest::mouseClick(dialog->TermModeButton(1), Qt::LeftButton);
    QTest::mouseClick(dialog->KeypadEnterButton(2), Qt::LeftButton);
    QTest::keyClick(dialog->SmartReturnBox(), Qt::Key_Space);
    dialog->LanguageBox()->setCurrentIndex(4);
    dialog->HostCodeSet()->setCurrentIndex(1);
    QTest::keyClick(dialog->CapsOnlyBox(), Qt::Key_Space);
    QTest::keyClick(dialog->BlockCursorBox(), Qt::Key_Space);
    dialog->LanguageBox()->setFocus();
    QTest::keyClick(dialog->LanguageBox(), Qt::Key_Return);
    ASSERT_TRUE(dialog.isNull() || !dialog->isVisible()) << "Enter accepts";

    const TerminalState& st = session.State();
    EXPECT_EQ(st.Mem.ColsInTerm, 132);
    EXPECT_TRUE(Internals(session).Keys().Enter.SmartEnter);
    EXPECT_FALSE(st.HostRoman8);
    EXPECT_EQ(st.CursorForm, 2) << "underline";
    ExpectFileHas({{"Max Display Width = ", "132"},
                   {"Numpad Enter Key = ", "Tab"},
                   {"Language = ", "FRENCH"},
                   {"Caps Lock Mode = ", "True"}});
    const std::string written = FileText();

    // Cancel: what the session held when the dialog opened comes back, even
    // what changed while it was open, and nothing is written.
    QTest::qWait(0);
    dialog = menus.TermSetup_Click();
    QTest::mouseClick(dialog->TermModeButton(2), Qt::LeftButton);
    Internals(session).State().CapsLock = false;
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    EXPECT_TRUE(st.CapsLock);
    EXPECT_EQ(st.Mem.ColsInTerm, 132);
    EXPECT_EQ(FileText(), written);
}

// The main window's command: a local program chosen in the dialog is run at
// once in the terminal.
TEST(SettingsCommandsInWindow, LocalProgramChosenInTheDialogRunsInTheTerminal)
{
    test::TempHome home;
    WindowOptions options;
    options.StartTimer = false;
    MainWindow window(options);
    window.show();
    window.findChild<QAction*>(QStringLiteral("ConnectSettings"))->trigger();
    auto* dialog = window.findChild<SetTerminal*>();
    ASSERT_NE(dialog, nullptr);
    dialog->NetworkList()->setCurrentIndex(NetworkKindNumber(NetworkKind::LocalProgram));
    EXPECT_FALSE(dialog->NetPortList()->isEnabled());
    dialog->HostList()->setCurrentText(QStringLiteral("echo local-$((6*7))"));
    QTest::mouseClick(dialog->SettingsOK(), Qt::LeftButton);

    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            window.CurBlinkTimer_Timer();
            return ScreenText(window.GetSession().Memory()).contains(QStringLiteral("local-42"));
        },
        10000));
    // The program has ended: the panel no longer names the kind.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.ConnectionPanel().text() == QStringLiteral("Local"); }, 5000))
        << window.ConnectionPanel().text().toStdString();
    EXPECT_EQ(window.Configuration().Config().Values().Hosts[0], "echo local-$((6*7))");
}

} // namespace
} // namespace kalvor::ui
