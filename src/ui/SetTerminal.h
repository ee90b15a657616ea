// SetTerminal: the connection settings dialog. The serial line (port, baud,
// handshaking, and on the properties panel parity, data and stop bits),
// local echo, ENQ/ACK, the phone book with the dial-out prefix, the network
// kind, port and terminal type, and the host list; every control carries its
// name as object name. The dialog edits a copy of the values
// (config::SetTerminalValues); the window stores them when it is accepted.
//
// "OK" (SettingsOK, also Enter anywhere, the host and phone boxes included)
// checks the values and shows a message for one that cannot be used;
// otherwise it disconnects (Disconnect), and for an SSH kind opens the SSH
// login dialog centred over the terminal window before the dialog closes as
// accepted. "Cancel" (CancelSettings, Escape) closes it leaving the settings
// as they were.
#pragma once

#include "config/SetTerminalValues.h"
#include "ui/SettingsMenus.h"

#include <QDialog>

#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace kalvor::ui {

class SSHLogin;

class SetTerminal final : public QDialog {
public:
    static constexpr const char* kTitle = "Connection Settings";

    // `ports`: the serial ports found at start-up ("COM 1", ...).
    // `terminalWindow`: the window the SSH login dialog is centred over.
    // `host`: disconnected by "OK" before the dialog closes (Disconnect_Click).
    SetTerminal(const config::SetTerminalValues& values, const std::vector<std::string>& ports, QWidget* terminalWindow,
                SettingsWindow& host, QWidget* parent = nullptr);

    // The values the controls hold now.
    config::SetTerminalValues Values() const;
    // Was the dialog cancelled (the cancelled switch)?
    bool Cancelled() const { return cancelled_; }

    void SettingsOK_Click();
    void CancelSettings_Click();
    void NetworkList_Click(NetworkKind kind);
    void DropAddressButton_Click();
    void DropPhoneButton_Click();
    void UpdateHostList();
    void UpdatePhoneList();

    void accept() override;
    void reject() override;

    // The controls.
    QRadioButton* SerialButton() const { return serial_; }
    QRadioButton* NetworkButton() const { return network_; }
    QComboBox* CommPortSelect() const { return commPort_; }
    QComboBox* BaudSelect() const { return baud_; }
    QComboBox* HandShakeSelect() const { return handshake_; }
    QRadioButton* ParityButton(int i) const { return parity_[i]; } // None, Even, Odd
    QRadioButton* SevenDataBits() const { return sevenBits_; }
    QRadioButton* EightDataBits() const { return eightBits_; }
    QRadioButton* OneStopBit() const { return oneStop_; }
    QRadioButton* TwoStopBits() const { return twoStop_; }
    QRadioButton* EchoOn() const { return echoOn_; }
    QRadioButton* EchoOff() const { return echoOff_; }
    QCheckBox* RespondToEnq() const { return enq_; }
    QComboBox* PhoneList() const { return phones_; }
    QPushButton* DropPhoneButton() const { return dropPhone_; }
    QLineEdit* DialOutPrefix() const { return prefix_; }
    QComboBox* NetworkList() const { return kinds_; }
    QComboBox* NetPortList() const { return netPort_; }
    QComboBox* NetTermTypeList() const { return termType_; }
    QComboBox* HostList() const { return hosts_; }
    QPushButton* DropAddressButton() const { return dropHost_; }
    QPushButton* ShowPhoneBook() const { return showPhones_; }
    QPushButton* ShowProperties() const { return showProperties_; }
    QPushButton* SettingsOK() const { return ok_; }
    QPushButton* CancelSettings() const { return cancel_; }
    // The SSH login dialog while it is open.
    SSHLogin* Login() const { return login_; }

private:
    QWidget* BuildSerial();
    QWidget* BuildNetwork();
    void Load(const config::SetTerminalValues& values);
    void ConnectionTypeChanged();
    // The port box shows the port the host entry names (and cannot be
    // edited then), else the dialog's own port.
    void ShowEntryPort();
    void ShowInvalid(const std::string& message);

    QWidget* terminal_;
    SettingsWindow& host_;
    config::SetTerminalValues initial_;
    std::string sshUser_;
    std::string sshPassword_;
    NetworkKind kind_ = NetworkKind::TelnetAdvanced;
    QString ownPort_;        // the port of entries without one
    bool entryPort_ = false; // the port box shows the host entry's port
    bool cancelled_ = false;
    bool closing_ = false;

    QRadioButton* serial_ = nullptr;
    QRadioButton* network_ = nullptr;
    QWidget* serialPanel_ = nullptr;
    QWidget* networkPanel_ = nullptr;
    QComboBox* commPort_ = nullptr;
    QComboBox* baud_ = nullptr;
    QComboBox* handshake_ = nullptr;
    QRadioButton* parity_[3] = {};
    QRadioButton* sevenBits_ = nullptr;
    QRadioButton* eightBits_ = nullptr;
    QRadioButton* oneStop_ = nullptr;
    QRadioButton* twoStop_ = nullptr;
    QRadioButton* echoOn_ = nullptr;
    QRadioButton* echoOff_ = nullptr;
    QCheckBox* enq_ = nullptr;
    QComboBox* phones_ = nullptr;
    QPushButton* dropPhone_ = nullptr;
    QLineEdit* prefix_ = nullptr;
    QComboBox* kinds_ = nullptr;
    QComboBox* netPort_ = nullptr;
    QComboBox* termType_ = nullptr;
    QComboBox* hosts_ = nullptr;
    QLabel* hostLabel_ = nullptr;
    QPushButton* dropHost_ = nullptr;
    QPushButton* showPhones_ = nullptr;
    QPushButton* showProperties_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    SSHLogin* login_ = nullptr;
};

} // namespace kalvor::ui
