#include "ui/SetTerminal.h"

#include "config/DialogValueLists.h"
#include "ui/SSHLogin.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kalvor::ui {
namespace {

using namespace kalvor::config;

// Terminal types offered besides the one in the settings.
const char* const kTerminalTypes[] = {"hp", "hp2392a", "hp70092", "hpterm", "vt100", "xterm"};

QString Latin1(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

std::string ToLatin1(const QString& s)
{
    const QByteArray b = s.toLatin1();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

QComboBox* EditableCombo(QWidget* parent, const char* name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    // The lists are updated by UpdateHostList / UpdatePhoneList on "OK".
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

QRadioButton* Radio(const QString& text, const char* name, QButtonGroup* group, QWidget* parent)
{
    auto* b = new QRadioButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    group->addButton(b);
    return b;
}

void SetItems(QComboBox* box, const std::vector<std::string>& entries, const std::string& current)
{
    box->clear();
    for (const std::string& e : entries)
        box->addItem(Latin1(e));
    box->setCurrentText(Latin1(current));
}

std::vector<std::string> Items(const QComboBox* box)
{
    std::vector<std::string> out;
    for (int i = 0; i < box->count(); ++i)
        out.push_back(ToLatin1(box->itemText(i)));
    return out;
}

// DropAddressButton / DropPhoneButton: the shown entry leaves the list; the
// next one (or nothing) is shown.
void DropShown(QComboBox* box)
{
    int index = box->findText(box->currentText(), Qt::MatchExactly);
    if (index < 0)
        index = box->currentIndex();
    if (index < 0)
        return;
    const std::vector<std::string> rest = DropEntry(Items(box), index);
    const std::string next = rest.empty() ? std::string() : rest[std::min<std::size_t>(index, rest.size() - 1)];
    SetItems(box, rest, next);
}

} // namespace

SetTerminal::SetTerminal(const SetTerminalValues& values, const std::vector<std::string>& ports,
                         QWidget* terminalWindow, SettingsWindow& host, QWidget* parent)
    : QDialog(parent), terminal_(terminalWindow), host_(host), initial_(values)
{
    setObjectName(QStringLiteral("SetTerminal"));
    setWindowTitle(QString::fromLatin1(kTitle));
    auto* outer = new QVBoxLayout(this);

    auto* typeBox = new QGroupBox(QStringLiteral("Connection"), this);
    auto* typeRow = new QHBoxLayout(typeBox);
    auto* typeGroup = new QButtonGroup(this);
    serial_ = Radio(QStringLiteral("&Serial line"), "SerialButton", typeGroup, typeBox);
    network_ = Radio(QStringLiteral("&Network"), "NetworkButton", typeGroup, typeBox);
    typeRow->addWidget(serial_);
    typeRow->addWidget(network_);
    typeRow->addStretch(1);
    outer->addWidget(typeBox);

    serialPanel_ = BuildSerial();
    outer->addWidget(serialPanel_);
    networkPanel_ = BuildNetwork();
    outer->addWidget(networkPanel_);

    auto* echoBox = new QGroupBox(QStringLiteral("Terminal"), this);
    auto* echoRow = new QHBoxLayout(echoBox);
    auto* echoGroup = new QButtonGroup(this);
    auto* echoLabel = new QLabel(QStringLiteral("&Local echo:"), echoBox);
    echoRow->addWidget(echoLabel);
    echoOn_ = Radio(QStringLiteral("On"), "EchoOn", echoGroup, echoBox);
    echoOff_ = Radio(QStringLiteral("Off"), "EchoOff", echoGroup, echoBox);
    echoLabel->setBuddy(echoOn_);
    enq_ = new QCheckBox(QStringLiteral("Respond to EN&Q"), echoBox);
    enq_->setObjectName(QStringLiteral("RespondToEnq"));
    echoRow->addWidget(echoOn_);
    echoRow->addWidget(echoOff_);
    echoRow->addSpacing(16);
    echoRow->addWidget(enq_);
    echoRow->addStretch(1);
    outer->addWidget(echoBox);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("SettingsOK"));
    cancel_ = buttons->addButton(QDialogButtonBox::Cancel);
    cancel_->setObjectName(QStringLiteral("CancelSettings"));
    ok_->setDefault(true);
    outer->addWidget(buttons);
    connect(ok_, &QPushButton::clicked, this, [this] { SettingsOK_Click(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { CancelSettings_Click(); });

    connect(serial_, &QRadioButton::toggled, this, [this] { ConnectionTypeChanged(); });
    connect(kinds_, &QComboBox::currentIndexChanged, this,
            [this](int index) { NetworkList_Click(NetworkKindFromNumber(index)); });
    connect(hosts_, &QComboBox::currentTextChanged, this, [this] { ShowEntryPort(); });
    connect(netPort_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!entryPort_)
            ownPort_ = text;
    });

    for (const std::string& p : ports)
        commPort_->addItem(Latin1(p));
    Load(values);
}

QWidget* SetTerminal::BuildSerial()
{
    auto* box = new QGroupBox(QStringLiteral("Serial line"), this);
    auto* v = new QVBoxLayout(box);
    auto* form = new QFormLayout;
    v->addLayout(form);

    commPort_ = EditableCombo(box, "CommPortSelect");
    form->addRow(QStringLiteral("&Port:"), commPort_);
    baud_ = EditableCombo(box, "BaudSelect");
    for (std::string_view b : kBaudRates)
        baud_->addItem(Latin1(b));
    baud_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,9}")), baud_));
    form->addRow(QStringLiteral("&Baud rate:"), baud_);
    handshake_ = new QComboBox(box);
    handshake_->setObjectName(QStringLiteral("HandShakeSelect"));
    for (std::string_view h : kHandshakeNames)
        handshake_->addItem(Latin1(h));
    form->addRow(QStringLiteral("&Handshaking:"), handshake_);

    auto* show = new QHBoxLayout;
    v->addLayout(show);
    showPhones_ = new QPushButton(QStringLiteral("Phon&e Book"), box);
    showPhones_->setObjectName(QStringLiteral("ShowPhoneBook"));
    showProperties_ = new QPushButton(QStringLiteral("Propert&ies"), box);
    showProperties_->setObjectName(QStringLiteral("ShowProperties"));
    auto* showGroup = new QButtonGroup(this);
    for (QPushButton* b : {showPhones_, showProperties_}) {
        b->setCheckable(true);
        b->setAutoDefault(false);
        showGroup->addButton(b);
        show->addWidget(b);
    }
    show->addStretch(1);

    pages_ = new QStackedWidget(box);
    v->addWidget(pages_);

    auto* phonePage = new QWidget(pages_);
    auto* phoneForm = new QFormLayout(phonePage);
    phoneForm->setContentsMargins(0, 0, 0, 0);
    auto* phoneRow = new QHBoxLayout;
    phones_ = EditableCombo(phonePage, "PhoneList");
    phones_->setMaxCount(kPhoneEntries + 1);
    phones_->setMinimumContentsLength(24);
    dropPhone_ = new QPushButton(QStringLiteral("&Drop"), phonePage);
    dropPhone_->setObjectName(QStringLiteral("DropPhoneButton"));
    dropPhone_->setAutoDefault(false);
    phoneRow->addWidget(phones_, 1);
    phoneRow->addWidget(dropPhone_);
    auto* phoneLabel = new QLabel(QStringLiteral("Phone n&umber:"), phonePage);
    phoneLabel->setBuddy(phones_);
    phoneForm->addRow(phoneLabel, phoneRow);
    prefix_ = new QLineEdit(phonePage);
    prefix_->setObjectName(QStringLiteral("DialOutPrefix"));
    phoneForm->addRow(QStringLiteral("Dial-out pre&fix:"), prefix_);
    pages_->addWidget(phonePage);

    auto* propPage = new QWidget(pages_);
    auto* propForm = new QFormLayout(propPage);
    propForm->setContentsMargins(0, 0, 0, 0);
    auto* parityRow = new QHBoxLayout;
    auto* parityGroup = new QButtonGroup(this);
    const char* const parityNames[] = {"NoParityButton", "EvenParityButton", "OddParityButton"};
    for (int i = 0; i < 3; ++i) {
        parity_[i] = Radio(Latin1(kParityNames[static_cast<std::size_t>(i)]), parityNames[i], parityGroup, propPage);
        parityRow->addWidget(parity_[i]);
    }
    parityRow->addStretch(1);
    auto* parityLabel = new QLabel(QStringLiteral("P&arity:"), propPage);
    parityLabel->setBuddy(parity_[0]);
    propForm->addRow(parityLabel, parityRow);
    auto* bitsRow = new QHBoxLayout;
    auto* bitsGroup = new QButtonGroup(this);
    sevenBits_ = Radio(QStringLiteral("&7"), "SevenDataBits", bitsGroup, propPage);
    eightBits_ = Radio(QStringLiteral("&8"), "EightDataBits", bitsGroup, propPage);
    bitsRow->addWidget(sevenBits_);
    bitsRow->addWidget(eightBits_);
    bitsRow->addStretch(1);
    propForm->addRow(QStringLiteral("Data bits:"), bitsRow);
    auto* stopRow = new QHBoxLayout;
    auto* stopGroup = new QButtonGroup(this);
    oneStop_ = Radio(QStringLiteral("&1"), "OneStopBit", stopGroup, propPage);
    twoStop_ = Radio(QStringLiteral("&2"), "TwoStopBits", stopGroup, propPage);
    stopRow->addWidget(oneStop_);
    stopRow->addWidget(twoStop_);
    stopRow->addStretch(1);
    propForm->addRow(QStringLiteral("Stop bits:"), stopRow);
    pages_->addWidget(propPage);

    connect(showPhones_, &QPushButton::clicked, this, [this] { pages_->setCurrentIndex(0); });
    connect(showProperties_, &QPushButton::clicked, this, [this] { pages_->setCurrentIndex(1); });
    connect(dropPhone_, &QPushButton::clicked, this, [this] { DropPhoneButton_Click(); });
    showPhones_->setChecked(true);
    return box;
}

QWidget* SetTerminal::BuildNetwork()
{
    auto* box = new QGroupBox(QStringLiteral("Network"), this);
    auto* form = new QFormLayout(box);

    kinds_ = new QComboBox(box);
    kinds_->setObjectName(QStringLiteral("NetworkList"));
    for (std::string_view k : kNetworkKindTexts)
        kinds_->addItem(Latin1(k));
    form->addRow(QStringLiteral("&Kind:"), kinds_);

    auto* hostRow = new QHBoxLayout;
    hosts_ = EditableCombo(box, "HostList");
    hosts_->setMaxCount(kHostEntries + 1);
    hosts_->setMinimumContentsLength(32);
    dropHost_ = new QPushButton(QStringLiteral("Dr&op"), box);
    dropHost_->setObjectName(QStringLiteral("DropAddressButton"));
    dropHost_->setAutoDefault(false);
    hostRow->addWidget(hosts_, 1);
    hostRow->addWidget(dropHost_);
    hostLabel_ = new QLabel(QStringLiteral("Hos&t:"), box);
    hostLabel_->setBuddy(hosts_);
    form->addRow(hostLabel_, hostRow);

    netPort_ = EditableCombo(box, "NetPortList");
    netPort_->addItem(QString::number(kTelnetPort));
    netPort_->addItem(QString::number(kSshPort));
    netPort_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,5}")), netPort_));
    form->addRow(QStringLiteral("Po&rt:"), netPort_);

    termType_ = EditableCombo(box, "NetTermTypeList");
    for (const char* t : kTerminalTypes)
        termType_->addItem(QString::fromLatin1(t));
    form->addRow(QStringLiteral("Terminal t&ype:"), termType_);

    connect(dropHost_, &QPushButton::clicked, this, [this] { DropAddressButton_Click(); });
    return box;
}

void SetTerminal::Load(const SetTerminalValues& v)
{
    sshUser_ = v.SshUser;
    sshPassword_ = v.SshPassword;
    (v.Network ? network_ : serial_)->setChecked(true);
    commPort_->setCurrentText(Latin1(v.CommPort));
    const int baud = GetBaudIndex(v.BaudRate);
    if (baud >= 0)
        baud_->setCurrentIndex(baud);
    else
        baud_->setCurrentText(Latin1(v.BaudRate));
    handshake_->setCurrentIndex(std::max(0, handshake_->findText(Latin1(v.Handshake))));
    parity_[v.Parity == "Even" ? 1 : v.Parity == "Odd" ? 2 : 0]->setChecked(true);
    (v.EightDataBits ? eightBits_ : sevenBits_)->setChecked(true);
    (v.TwoStopBits ? twoStop_ : oneStop_)->setChecked(true);
    (v.EchoOn ? echoOn_ : echoOff_)->setChecked(true);
    enq_->setChecked(v.RespondToEnq);
    SetItems(phones_, v.PhoneList, v.PhoneText);
    prefix_->setText(Latin1(v.DialOutPrefix));
    {
        // The kind is loaded as it stands: no port is proposed for it.
        const QSignalBlocker block(kinds_);
        kinds_->setCurrentIndex(NetworkKindNumber(v.Kind));
    }
    kind_ = v.Kind;
    ownPort_ = Latin1(v.NetPort);
    netPort_->setCurrentText(ownPort_);
    if (termType_->findText(Latin1(v.TerminalType)) < 0)
        termType_->insertItem(0, Latin1(v.TerminalType));
    termType_->setCurrentText(Latin1(v.TerminalType));
    SetItems(hosts_, v.HostList, v.HostText);
    NetworkList_Click(kind_);
    ConnectionTypeChanged();
}

SetTerminalValues SetTerminal::Values() const
{
    SetTerminalValues v;
    v.Network = network_->isChecked();
    v.CommPort = ToLatin1(commPort_->currentText());
    v.BaudRate = ToLatin1(baud_->currentText());
    v.Handshake = ToLatin1(handshake_->currentText());
    v.Parity = parity_[1]->isChecked() ? "Even" : parity_[2]->isChecked() ? "Odd" : "None";
    v.EightDataBits = eightBits_->isChecked();
    v.TwoStopBits = twoStop_->isChecked();
    v.EchoOn = echoOn_->isChecked();
    v.RespondToEnq = enq_->isChecked();
    v.PhoneList = Items(phones_);
    v.PhoneText = ToLatin1(phones_->currentText());
    v.DialOutPrefix = ToLatin1(prefix_->text());
    v.Kind = NetworkKindFromNumber(kinds_->currentIndex());
    v.NetPort = ToLatin1(entryPort_ ? ownPort_ : netPort_->currentText());
    v.TerminalType = ToLatin1(termType_->currentText());
    v.HostList = Items(hosts_);
    v.HostText = ToLatin1(hosts_->currentText());
    v.SshUser = sshUser_;
    v.SshPassword = sshPassword_;
    return v;
}

void SetTerminal::ConnectionTypeChanged()
{
    serialPanel_->setEnabled(serial_->isChecked());
    networkPanel_->setEnabled(network_->isChecked());
}

void SetTerminal::NetworkList_Click(NetworkKind kind)
{
    if (const auto port = ProposedPort(kind_, kind))
        ownPort_ = Latin1(*port);
    const auto host = ProposedHostText(kind_, kind);
    kind_ = kind;
    // A local program is a command line, run in place of a host; it has no port.
    const bool local = kind == NetworkKind::LocalProgram;
    hostLabel_->setText(local ? QStringLiteral("Co&mmand:") : QStringLiteral("Hos&t:"));
    hosts_->lineEdit()->setPlaceholderText(local ? QStringLiteral("empty: the login shell") : QString());
    if (host)
        hosts_->setCurrentText(Latin1(*host));
    ShowEntryPort();
}

void SetTerminal::ShowEntryPort()
{
    const bool local = kind_ == NetworkKind::LocalProgram;
    const auto port = local ? std::nullopt : EntryPort(ToLatin1(hosts_->currentText()));
    entryPort_ = port.has_value();
    netPort_->setCurrentText(port ? Latin1(*port) : ownPort_);
    netPort_->setEnabled(!local && !port);
    netPort_->setToolTip(port ? QStringLiteral("The host entry names its port.") : QString());
}

void SetTerminal::UpdateHostList()
{
    const std::string typed = ToLatin1(hosts_->currentText());
    SetItems(hosts_, UpdateEntryList(Items(hosts_), typed, kHostEntries), typed);
}

void SetTerminal::UpdatePhoneList()
{
    const std::string typed = ToLatin1(phones_->currentText());
    SetItems(phones_, UpdateEntryList(Items(phones_), typed, kPhoneEntries), typed);
}

void SetTerminal::DropAddressButton_Click() { DropShown(hosts_); }

void SetTerminal::DropPhoneButton_Click() { DropShown(phones_); }

void SetTerminal::ShowInvalid(const std::string& message)
{
    auto* box =
        new QMessageBox(QMessageBox::Warning, QString::fromLatin1(kTitle), Latin1(message), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("InvalidValue"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void SetTerminal::SettingsOK_Click()
{
    if (closing_)
        return;
    if (const auto message = CheckSetTerminalValues(Values())) {
        ShowInvalid(*message);
        return;
    }
    closing_ = true;
    host_.Disconnect();
    UpdateHostList();
    UpdatePhoneList();
    if (network_->isChecked() && IsSshKind(NetworkKindFromNumber(kinds_->currentIndex()))) {
        login_ = new SSHLogin(sshUser_, sshPassword_, terminal_, this);
        login_->setAttribute(Qt::WA_DeleteOnClose);
        connect(login_, &QDialog::finished, this, [this](int result) {
            if (result == QDialog::Accepted) {
                sshUser_ = login_->User();
                sshPassword_ = login_->Password();
            }
            login_ = nullptr;
            QDialog::accept();
        });
        login_->open();
        return;
    }
    QDialog::accept();
}

void SetTerminal::CancelSettings_Click()
{
    if (closing_)
        return;
    cancelled_ = true;
    // Connection type, network kind and port as they were before the dialog.
    (initial_.Network ? network_ : serial_)->setChecked(true);
    {
        const QSignalBlocker block(kinds_);
        kinds_->setCurrentIndex(NetworkKindNumber(initial_.Kind));
    }
    kind_ = initial_.Kind;
    entryPort_ = false;
    ownPort_ = Latin1(initial_.NetPort);
    netPort_->setCurrentText(ownPort_);
    QDialog::reject();
}

void SetTerminal::accept() { SettingsOK_Click(); }

void SetTerminal::reject() { CancelSettings_Click(); }

} // namespace kalvor::ui
