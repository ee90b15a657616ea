#include "ui/MainWindow.h"

#include "engine/ColorSchemes.h"
#include "keyboard/KeyCodes.h"
#include "comms/net/SerialPorts.h"
#include "config/SetTerminalValues.h"
#include "ui/ConnectionUi.h"
#include "ui/ConfigurationMenu.h"
#include "ui/ErrorWindow.h"
#include "ui/FormsUi.h"
#include "ui/FuncKeyDefn.h"
#include "ui/KeyTranslation.h"
#include "ui/LocalShortcuts.h"
#include "ui/PrintCommands.h"
#include "ui/Printing.h"
#include "ui/ScreenDump.h"
#include "ui/SettingsMenus.h"
#include "ui/SideFileDialogs.h"
#include "ui/SoftKeyBar.h"
#include "ui/TabPanel.h"
#include "ui/TabRuler.h"
#include "ui/TerminalView.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QWindow>

namespace kalvor::ui {
namespace {

constexpr std::array<int, 3> kColumns{80, 132, 200};

constexpr int kMinRows = 24;

QColor ToColor(std::uint32_t rrggbb) { return QColor(QRgb(0xff000000u | rrggbb)); }

} // namespace

MainWindow::MainWindow(const WindowOptions& options, QWidget* parent)
    : QMainWindow(parent), options_(options), session_(std::make_unique<Session>(clock_)), fonts_(options.FontIndex)
{
    setWindowTitle(QStringLiteral("Kalvor"));
    errors_.SetDisplay(&errorDisplay_);
    const TerminalState& st = session_->State();
    session_->ApplyColorScheme(st.ColorScheme, st.InverseScreen, true);
    lastCols_ = st.Mem.ColsInTerm;

    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    ruler_ = new TabRuler(st, central);
    view_ = new TerminalView(renderer_, static_cast<TerminalViewEvents&>(*this), central);
    vbar_ = new QScrollBar(Qt::Vertical, central);
    hbar_ = new QScrollBar(Qt::Horizontal, central);
    keyBar_ = new SoftKeyBar(central);
    tabPanel_ = new TabPanel(central);
    grid->addWidget(ruler_, 0, 0);
    grid->addWidget(view_, 1, 0);
    grid->addWidget(vbar_, 1, 1);
    grid->addWidget(hbar_, 2, 0);
    grid->addWidget(tabPanel_, 3, 0, 1, 2);
    grid->addWidget(keyBar_, 4, 0, 1, 2);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);
    setCentralWidget(central);
    vbar_->setFocusPolicy(Qt::NoFocus);
    hbar_->setFocusPolicy(Qt::NoFocus);

    BuildMenus();
    BuildStatusBar();
    edit_ = std::make_unique<EditMenu>(*this);
    edit_->BuildMenu(*menuBar(), terminalMenu_->menuAction());
    connectionUi_ = std::make_unique<ConnectionUi>(*this);
    formsUi_ = std::make_unique<FormsUi>(*session_, clock_, this);

    session_->SetObserver(this);

    // Widget hand-offs.
    tabPanel_->Run = [this](TabPanel::Command command) {
        session_->LocalEscape(static_cast<char>(command));
        RefreshTerminal();
    };
    tabPanel_->Done = [this] {
        session_->CloseTabPanel();
        RefreshTerminal();
    };
    keyBar_->Clicked = [this](int index, int shift) { SoftKeyClicked(index, shift); };
    ruler_->TabToggled = [this](int column) {
        session_->ToggleTabStop(column);
        view_->setFocus();
    };
    connect(vbar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (syncing_)
            return;
        session_->ScrollBarMoved(value);
        RefreshTerminal();
    });
    connect(hbar_, &QScrollBar::valueChanged, this, [this](int value) {
        view_->SetOffset(value);
        ruler_->SetOffset(value);
    });

    // Fonts: the preferred size, limited by the screen width.
    fonts_.AdjustFontIndex(ScreenWidth());
    renderer_.SetCell(fonts_.Cell(), devicePixelRatioF());
    ruler_->SetCellWidth(fonts_.Cell().Width);
    RefreshTerminal();
    StateChanged();
    LayOut();
    ConnectConfiguration();
    view_->setFocus();

    if (!options_.ReplayFile.isEmpty()) {
        QFile f(options_.ReplayFile);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray data = f.readAll();
            AppendHostText(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
            replaying_ = true;
        }
    }
    curBlinkTimer_.setInterval(Session::kTickMs);
    curBlinkTimer_.setTimerType(Qt::PreciseTimer);
    connect(&curBlinkTimer_, &QTimer::timeout, this, [this] { CurBlinkTimer_Timer(); });
    if (options_.StartTimer)
        curBlinkTimer_.start();
}

MainWindow::~MainWindow()
{
    curBlinkTimer_.stop();
    session_->SetObserver(nullptr);
    settingsMenus_.reset();
    connectionUi_.reset();
    configMenu_.reset();
}

// Errors, printing and the side files; with Configured the configuration
// file is loaded now (Form_Load) and the File menu gets its commands.
void MainWindow::ConnectConfiguration()
{
    printing_ = std::make_unique<Printing>(this, errors_);
    printing_->SetTerminal(&session_->State());
    printCommands_ = std::make_unique<PrintCommands>(*this, *fileMenu_, exitAction_);
    // Only a configured window keeps settings of its own in the file.
    configMenu_ = std::make_unique<ConfigurationMenu>(
        this, options_.Configured ? static_cast<ConfigurationWindow*>(this) : nullptr, *session_, errors_);
    settingsMenus_ = SettingsMenus::ForWindow(*this, static_cast<SettingsWindow&>(*this), terminalMenu_);
    if (!options_.Configured)
        return;
    configMenu_->AddTo(fileMenu_, exitAction_);
    configMenu_->Load();
}

void MainWindow::ApplyWindowSettings(const config::Settings& s)
{
    printing_->FontHeight = s.PrintFontHeight;
    connectionUi_->ApplySettings(config::ConnectionSettingsFrom(s));
    // The echo button holds the configured echo: the connection manager
    // derives local echo from it, so without it "Echo = On" would not
    // outlive a session.
    connectionUi_->EchoAction().setChecked(s.Echo);
    connectionUi_->Manager().SetEchoButton(s.Echo);
    fonts_.SetPreferredIndex(std::clamp(s.FontIndex, render::kMinFontIndex, render::kMaxFontIndex));
    fonts_.AdjustFontIndex(ScreenWidth());
    if (s.LeftPosition != 0 || s.TopPosition != 0)
        move(s.LeftPosition, s.TopPosition);
    if (s.WindowMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    StateChanged();
    renderer_.Invalidate();
    ApplyFontIndex(fonts_.CurrentIndex());
}

void MainWindow::CollectWindowSettings(config::Settings& s)
{
    s.FontIndex = fonts_.PreferredIndex();
    s.LeftPosition = x();
    s.TopPosition = y();
    s.WindowMaximized = isMaximized();
}

std::vector<std::string> MainWindow::SerialPorts()
{
    std::vector<std::string> names;
    for (const net::SerialPortEntry& port : net::SerialPortList())
        names.push_back(port.Name);
    return names;
}

void MainWindow::Disconnect() { connectionUi_->Disconnect_Click(); }

void MainWindow::Connect(const config::Settings& s)
{
    connectionUi_->ApplySettings(config::ConnectionSettingsFrom(s));
    connectionUi_->Manager().SetEchoButton(s.Echo);
    connectionUi_->Connect_Click();
}

bool MainWindow::EchoButton() { return connectionUi_->Manager().EchoButton(); }

void MainWindow::Refresh()
{
    RefreshTerminal();
    view_->setFocus();
}

// After Open: the window shows the newly applied terminal.
void MainWindow::ConfigurationOpened()
{
    StateChanged();
    renderer_.Invalidate();
    RefreshTerminal();
}

void MainWindow::BuildMenus()
{
    const auto add = [this](QMenu* menu, const QString& text, const char* name, auto slot) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu_ = file;
    exitAction_ = add(file, QStringLiteral("E&xit"), "ExitTerminal", [this] { ExitTerminal_Click(); });

    QMenu* term = menuBar()->addMenu(QStringLiteral("&Terminal"));
    terminalMenu_ = term;
    add(term, QStringLiteral("&Soft Reset"), "ResetSoft", [this] { ResetSoft_Click(); });
    add(term, QStringLiteral("&Hard Reset"), "ResetHard", [this] { ResetHard_Click(); });
    term->addSeparator();
    const auto local = [&](const QString& text, const char* name, Qt::Key key, auto slot) {
        localCommands_.emplace_back(add(term, text, name, slot), key);
    };
    local(QStringLiteral("&Home Cursor"), "HomeCursor", Qt::Key_H, [this] { HomeCursor_Click(); });
    local(QStringLiteral("&Clear Display"), "ClearDisplay", Qt::Key_L, [this] { ClearDisplay_Click(); });
    local(QStringLiteral("Clear &Line"), "ClearLine", Qt::Key_K, [this] { ClearLine_Click(); });
    local(QStringLiteral("Line Drawing O&n"), "LineDrawingOn", Qt::Key_N, [this] { LineDrawingOn_Click(); });
    local(QStringLiteral("Line Drawing O&ff"), "LineDrawingOff", Qt::Key_O, [this] { LineDrawingOff_Click(); });
    add(term, QStringLiteral("&Insert Character"), "InsertCharacter", [this] { InsertCharacter_Click(); });
    local(QStringLiteral("Send &Break"), "SubsysBreak", Qt::Key_B, [this] { SubsysBreak_Click(); });
    term->addSeparator();
    xmitCntlAction_ = term->addAction(QStringLiteral("&Transmit Control Characters"));
    xmitCntlAction_->setObjectName(QStringLiteral("XmitCntlChar"));
    xmitCntlAction_->setCheckable(true);
    connect(xmitCntlAction_, &QAction::triggered, this, [this](bool on) { XmitCntlChar_Click(on); });
    localCommands_.emplace_back(xmitCntlAction_, Qt::Key_T);
    debugModeAction_ = term->addAction(QStringLiteral("Communications &Log"));
    debugModeAction_->setObjectName(QStringLiteral("UpdateDebugMode"));
    debugModeAction_->setCheckable(true);
    connect(debugModeAction_, &QAction::triggered, this, [this](bool on) { UpdateDebugMode_Click(on); });
    for (const auto& [action, key] : localCommands_)
        action->setShortcuts(LocalShortcuts(key, false));
    QMenu* formsDebug = term->addMenu(QStringLiteral("&Forms Debug"));
    add(formsDebug, QStringLiteral("&Initialize Debug"), "InitializeDebug", [this] { formsUi_->StartDebug(); });
    add(formsDebug, QStringLiteral("&Stop Debug"), "StopDebug", [this] { OpenDocument(formsUi_->StopDebug()); });

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* larger = add(view, QStringLiteral("&Larger Font"), "ChangeFontSize", [this] { ChangeFontSize_Click(); });
    larger->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Plus));
    QAction* smaller =
        add(view, QStringLiteral("&Smaller Font"), "DecreaseFontSize", [this] { DecreaseFontSize_Click(); });
    smaller->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    view->addSeparator();
    QMenu* schemes = view->addMenu(QStringLiteral("&Colour Scheme"));
    auto* schemeGroup = new QActionGroup(this);
    for (int i = 0; i < kColorSchemeCount; ++i) {
        const std::string_view name = ColorSchemeName(i), description = ColorSchemeDescription(i);
        QAction* a = schemes->addAction(
            QStringLiteral("%1 \u2014 %2")
                .arg(QLatin1StringView(name.data(), static_cast<qsizetype>(name.size())),
                     QLatin1StringView(description.data(), static_cast<qsizetype>(description.size()))));
        a->setObjectName(QStringLiteral("ColorScheme%1").arg(i));
        a->setCheckable(true);
        schemeGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { ColorScheme_Click(i); });
        schemeActions_[static_cast<std::size_t>(i)] = a;
    }
    inverseAction_ = add(view, QStringLiteral("&Inverse Screen"), "InvertColor", [this] { InvertColor_Click(); });
    inverseAction_->setCheckable(true);
    view->addSeparator();
    auto* columnGroup = new QActionGroup(this);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        const int cols = kColumns[i];
        QAction* a = view->addAction(QStringLiteral("%1 Columns").arg(cols));
        a->setObjectName(QStringLiteral("Columns%1").arg(cols));
        a->setCheckable(true);
        columnGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, cols] { Columns_Click(cols); });
        columnActions_[i] = a;
    }

    QMenu* keys = menuBar()->addMenu(QStringLiteral("&Keys"));
    add(keys, QStringLiteral("&User Keys"), "UserKeys", [this] { UserKeys_Click(); });
    add(keys, QStringLiteral("&System Keys"), "SystemKeys", [this] { SystemKeys_Click(); });
    keys->addSeparator();
    defineKeysAction_ =
        add(keys, QStringLiteral("&Define User Keys..."), "DefineUserKeys", [this] { DefineUserKeys_Click(); });
}

void MainWindow::BuildStatusBar()
{
    connection_ = new QLabel(QStringLiteral("Local"), this);
    insert_ = new QLabel(QStringLiteral("Insert"), this);
    locked_ = new QLabel(QStringLiteral("Keyboard Locked"), this);
    caps_ = new QLabel(QStringLiteral("Caps Lock"), this);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("MessagePanel"));
    for (QLabel* l : {connection_, insert_, locked_, caps_})
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addWidget(message_, 1);
    statusBar()->addPermanentWidget(caps_);
    statusBar()->addPermanentWidget(insert_);
    statusBar()->addPermanentWidget(locked_);
    statusBar()->addPermanentWidget(connection_);
    insert_->setVisible(false);
    locked_->setVisible(false);
    caps_->setVisible(false);
    message_->setVisible(false);
}

void MainWindow::AppendHostText(std::string_view text) { session_->AppendLocal(text); }

void MainWindow::RefreshTerminal()
{
    const QSize before = view_->sizeHint();
    if (edit_)
        renderer_.SetMarked(edit_->Marking());
    const QRect changed = renderer_.RefreshTerminal(session_->State());
    session_->RepaintDone();
    if (renderer_.LogicalSize() != before) {
        view_->updateGeometry();
        ruler_->updateGeometry();
    }
    view_->ImageChanged(changed);
    if (!changed.isEmpty())
        screenChanged_ = true;
    SyncScrollBars();
}

void MainWindow::CurBlinkTimer_Timer()
{
    session_->Tick();
    if (edit_)
        edit_->Tick();
    if (++blinkTicks_ > 5) {
        blinkTicks_ = 0;
        view_->ImageChanged(renderer_.ToggleBlink(session_->State()));
        if (session_->ReceiveBufferEmpty())
            RefreshTerminal();
    }
    if (screenChanged_ && !options_.DumpScreenFile.isEmpty()) {
        screenChanged_ = false;
        WriteScreenText(session_->Memory(), options_.DumpScreenFile);
    }
    if (replaying_ && !session_->Busy()) {
        replaying_ = false;
        RefreshTerminal();
        if (options_.ExitAfterReplay)
            QTimer::singleShot(0, this, [this] { close(); });
    }
}

void MainWindow::KeyPressed(QKeyEvent* event)
{
    // The open tab-setting panel takes its own letters first.
    if (tabPanel_->isVisible() && event->modifiers() == Qt::NoModifier && tabPanel_->HandleKey(event->key())) {
        RefreshTerminal();
        return;
    }
    const KeyStroke k = TranslateKey(event->key(), event->modifiers(), event->text());
    const bool consumed = k.Code != 0 && session_->KeyDown(k.Code, k.Shift, k.NumericPad);
    if (!consumed) {
        int character = k.Character;
        if ((k.Shift & (Mod::Ctrl | Mod::Alt)) == Mod::Ctrl && k.Code >= Key::A && k.Code <= Key::Z) {
            // Ctrl+Shift+letter belongs to the local commands, never the host.
            const int c = (k.Shift & Mod::Shift) != 0 ? 0 : session_->CtrlLetterCharacter(k.Code);
            character = c > 0 ? c : -1;
        }
        if (character >= 0)
            session_->KeyPress(character);
    }
    RefreshTerminal();
}

void MainWindow::KeyReleased(QKeyEvent* event)
{
    const KeyStroke k = TranslateKey(event->key(), event->modifiers(), event->text());
    if (k.Code != 0)
        session_->KeyUp(k.Code, k.Shift);
    RefreshTerminal();
}

void MainWindow::SoftKeyClicked(int index, int shift)
{
    session_->PressSoftKey(index, shift);
    StateChanged();
    RefreshTerminal();
    view_->setFocus();
}

void MainWindow::StateChanged()
{
    const TerminalState& st = session_->State();
    const SoftKeyView& keys = session_->SoftKeys();
    insert_->setVisible(st.InsertMode);
    locked_->setVisible(st.KeyboardLocked);
    // The terminal's caps lock (ESC & k P, "Caps Only Mode"): typed letters
    // go out in upper case while it is on.
    caps_->setVisible(st.CapsLock);
    message_->setVisible(keys.MessagePanelShown());
    message_->setText(
        QString::fromLatin1(keys.MessageText().data(), static_cast<qsizetype>(keys.MessageText().size())));
    keyBar_->Refresh(keys);
    vbar_->setEnabled(!st.KeyboardLocked);
    hbar_->setEnabled(!st.KeyboardLocked);
    const QColor fg = ToColor(st.Foreground), bg = ToColor(st.Background);
    view_->SetBackground(bg);
    ruler_->SetColours(fg, bg);
    ruler_->update();
    if (st.ColorScheme >= 0 && st.ColorScheme < kColorSchemeCount)
        schemeActions_[static_cast<std::size_t>(st.ColorScheme)]->setChecked(true);
    inverseAction_->setChecked(st.InverseScreen);
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        columnActions_[i]->setChecked(kColumns[i] == st.Mem.ColsInTerm);
    defineKeysAction_->setEnabled(keys.DefinitionMenuEnabled());
    const bool transmit = session_->TransmitControlCharacters();
    xmitCntlAction_->setChecked(transmit);
    debugModeAction_->setChecked(session_->CommunicationsLogOn());
    for (const auto& [action, key] : localCommands_)
        action->setShortcuts(LocalShortcuts(key, transmit));
    if (edit_)
        edit_->ControlCharactersChanged(transmit);
    if (printCommands_)
        printCommands_->ControlCharactersChanged(transmit);
    if (st.Mem.ColsInTerm != lastCols_) {
        lastCols_ = st.Mem.ColsInTerm;
        WidthChanged();
    }
}

int MainWindow::ScreenWidth() const
{
    const QScreen* s = screen();
    return s != nullptr ? s->geometry().width() : 1024;
}

void MainWindow::ApplyFontIndex(int index)
{
    fonts_.SetCurrentIndex(index);
    renderer_.SetCell(fonts_.Cell(), devicePixelRatioF());
    ruler_->SetCellWidth(fonts_.Cell().Width);
    session_->RepaintAll();
    RefreshTerminal();
    LayOut();
}

void MainWindow::ScreenChanged()
{
    if (devicePixelRatioF() == renderer_.DevicePixelRatio())
        return;
    renderer_.SetCell(fonts_.Cell(), devicePixelRatioF());
    RefreshTerminal();
    view_->update();
}

render::CellFit MainWindow::MeasureAt(int index) const
{
    const render::CellGeometry cell = render::CellForIndex(index);
    const TerminalState& st = session_->State();
    const QSize chrome = frameGeometry().size() - view_->size();
    QSize area(st.Mem.ColsInTerm * cell.Width, st.Mem.RowsInTerm * cell.Height);
    if (isMaximized())
        area = view_->size();
    else if (const QScreen* s = screen())
        area = area.boundedTo(s->availableGeometry().size() - chrome);
    return {area.height() / cell.Height, area.width() / cell.Width};
}

int MainWindow::FittingFontIndex() const
{
    const TerminalState& st = session_->State();
    const QSize chrome = frameGeometry().size() - view_->size();
    QSize area = view_->size();
    if (const QScreen* s = screen(); s != nullptr && !isMaximized())
        area = s->availableGeometry().size() - chrome;
    return render::LargestFittingFontIndex(st.Mem.ColsInTerm, std::max(st.Mem.RowsInTerm, kMinRows), area.width(),
                                           area.height());
}

void MainWindow::WidthChanged()
{
    fonts_.SetCurrentIndex(fonts_.PreferredIndex());
    int index = render::WidthChangeFontIndex(fonts_.PreferredIndex(), session_->Memory().ColsInTerm, isMaximized(),
                                             [this](int i) { return MeasureAt(i); });
    // Never larger than the screen: Enter and the close button stay on it.
    index = std::min(index, FittingFontIndex());
    ApplyFontIndex(index);
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    // Maximised, the font follows the window: the largest cells that fit,
    // once the window has its new size; back to normal, the preferred size.
    QTimer::singleShot(0, this, [this] {
        if (isMaximized())
            ApplyFontIndex(FittingFontIndex());
        else if (fonts_.CurrentIndex() != fonts_.PreferredIndex())
            WidthChanged();
    });
}

void MainWindow::WheelScrolled(int rows) { vbar_->setValue(vbar_->value() + rows); }

void MainWindow::LayOut()
{
    view_->updateGeometry();
    ruler_->updateGeometry();
    if (!isMaximized() && !isFullScreen()) {
        // Never larger than the screen: the scroll bar shows the rest.
        QSize want = sizeHint();
        if (const QScreen* s = screen())
            want = want.boundedTo(s->availableGeometry().size() - (frameGeometry().size() - size()));
        resize(want);
    }
    SyncScrollBars();
}

void MainWindow::ViewResized()
{
    const int cellH = std::max(1, fonts_.Cell().Height);
    const int rows = std::clamp(view_->height() / cellH, kMinRows, DisplayMemory::kMaxScreenRows);
    if (rows != session_->Memory().RowsInTerm) {
        session_->SetScreenRows(rows);
        RefreshTerminal();
    }
    SyncScrollBars();
}

void MainWindow::SyncScrollBars()
{
    const TerminalState& st = session_->State();
    syncing_ = true;
    vbar_->setRange(0, session_->VScrollMaximum());
    vbar_->setPageStep(st.Mem.RowsInTerm);
    vbar_->setValue(session_->VScrollValue());
    syncing_ = false;
    const int extra = std::max(0, renderer_.LogicalSize().width() - view_->width());
    hbar_->setRange(0, extra);
    hbar_->setPageStep(std::max(1, view_->width()));
    hbar_->setSingleStep(fonts_.Cell().Width);
    hbar_->setVisible(extra > 0);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (configMenu_ && !configMenu_->Form_Unload()) {
        event->ignore();
        return;
    }
    curBlinkTimer_.stop();
    formsUi_->Close();
    if (!options_.DumpScreenFile.isEmpty())
        WriteScreenText(session_->Memory(), options_.DumpScreenFile);
    event->accept();
    if (startup_ != nullptr)
        startup_->TerminalUnloaded();
}

void MainWindow::ExitTerminal_Click() { close(); }

// ---------------------------------------------------------------------------
// What the session tells the window

void MainWindow::ViewPixelRatioChanged(double)
{
    QTimer::singleShot(0, this, [this] { ScreenChanged(); });
}

void MainWindow::Bell() { QApplication::beep(); }

void MainWindow::FormsShow() { formsUi_->Show(); }

bool MainWindow::FormsWindowOpen() { return formsUi_->Open(); }

void MainWindow::TelnetVariant(int variant) { Connections().TelnetVariant(variant); }

void MainWindow::ExitRequested()
{
    QTimer::singleShot(0, this, [this] { close(); });
}

void MainWindow::PrintFile(const std::filesystem::path& file)
{
    if (printing_)
        (void)printing_->PrintTermFile(file); // a failure is reported there
}

void MainWindow::OpenDocument(const std::filesystem::path& file) { OpenInTextEditor(file); }

void MainWindow::ClipCut()
{
    if (edit_)
        edit_->Editor().ClipCut();
}

void MainWindow::ClearSelection()
{
    if (edit_)
        edit_->Editor().Forget();
}

void MainWindow::PrintScreen()
{
    if (printing_)
        PrintScreenText(*printing_, session_->Memory());
}

std::optional<std::filesystem::path> MainWindow::AskFileName(std::string_view title)
{
    return AskRecordFileName(this, title);
}

bool MainWindow::AskYesNo(std::string_view title, std::string_view text) { return AskRecordYesNo(this, title, text); }

void MainWindow::ShowError(const logging::ErrorWindow& error) { ShowErrorWindow(this, error); }

void MainWindow::FocusDisplay() { view_->setFocus(); }

void MainWindow::ShowTabPanel(bool shown) { tabPanel_->setVisible(shown); }

void MainWindow::EightBitDataChanged() { Connections().EightBitDataChanged(); }

void MainWindow::ScriptCaption(const std::string& caption)
{
    setWindowTitle(QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size())));
}

void MainWindow::StartupStatus(const std::string& text)
{
    if (startup_ != nullptr)
        startup_->SetStatus(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void MainWindow::StopStartupTimer()
{
    if (startup_ != nullptr)
        startup_->ScriptExited();
}

void MainWindow::DisplayTerminal()
{
    if (startup_ != nullptr)
        startup_->DisplayTerminal();
}

void MainWindow::ResetSoft_Click()
{
    session_->SoftResetTerminal();
    RefreshTerminal();
}

void MainWindow::ResetHard_Click()
{
    session_->HardResetTerminal(false);
    const TerminalState& st = session_->State();
    session_->ApplyColorScheme(st.ColorScheme, st.InverseScreen, true);
    StateChanged();
    renderer_.Invalidate();
    RefreshTerminal();
}

void MainWindow::ClearDisplay_Click()
{
    edit_->Editor().Undoable([this] { session_->ClearDisplay(); });
    RefreshTerminal();
}

void MainWindow::HomeCursor_Click()
{
    session_->HomeKey(0);
    RefreshTerminal();
}

void MainWindow::ClearLine_Click()
{
    edit_->Editor().Undoable([this] { session_->ClearLine(); });
    RefreshTerminal();
}

void MainWindow::LineDrawingOn_Click()
{
    session_->SelectLineDrawing(true);
    RefreshTerminal();
}

void MainWindow::LineDrawingOff_Click()
{
    session_->SelectLineDrawing(false);
    RefreshTerminal();
}

void MainWindow::InsertCharacter_Click()
{
    session_->ToggleInsertCharacter();
    StateChanged();
    RefreshTerminal();
}

void MainWindow::UpdateDebugMode_Click(bool on)
{
    session_->SwitchCommunicationsLog(on);
    StateChanged();
}

void MainWindow::XmitCntlChar_Click(bool transmit)
{
    session_->SetTransmitControlCharacters(transmit);
    StateChanged();
}

void MainWindow::SubsysBreak_Click() { connectionUi_->SendBreak_Click(); }

void MainWindow::ChangeFontSize_Click()
{
    fonts_.SetPreferredIndex(std::min(fonts_.CurrentIndex() + 1, render::kMaxFontIndex));
    fonts_.AdjustFontIndex(ScreenWidth());
    ApplyFontIndex(std::min(fonts_.CurrentIndex(), FittingFontIndex()));
}

void MainWindow::DecreaseFontSize_Click()
{
    fonts_.SetPreferredIndex(std::max(fonts_.CurrentIndex() - 1, render::kMinFontIndex));
    ApplyFontIndex(fonts_.CurrentIndex());
}

void MainWindow::ColorScheme_Click(int scheme)
{
    const bool full = screen() == nullptr || FullPaletteForDepth(screen()->depth());
    session_->ApplyColorScheme(std::clamp(scheme, 0, kColorSchemeCount - 1), session_->State().InverseScreen, full);
    StateChanged();
    RefreshTerminal();
}

void MainWindow::InvertColor_Click()
{
    const TerminalState& st = session_->State();
    const bool full = screen() == nullptr || FullPaletteForDepth(screen()->depth());
    session_->ApplyColorScheme(st.ColorScheme, !st.InverseScreen, full);
    StateChanged();
    RefreshTerminal();
}

void MainWindow::Columns_Click(int cols)
{
    session_->SetScreenWidth(cols);
    StateChanged();
    RefreshTerminal();
}

void MainWindow::UserKeys_Click()
{
    session_->ExecFuncKey(FunctionKeys::kSystemSet, FunctionKeys::kUserKeysKey, 0);
    StateChanged();
    RefreshTerminal();
}

void MainWindow::SystemKeys_Click()
{
    session_->ExecFuncKey(FunctionKeys::kSystemSet, FunctionKeys::kSystemKeysKey, 0);
    StateChanged();
    RefreshTerminal();
}

void MainWindow::DefineUserKeys_Click()
{
    auto* dialog = new FuncKeyDefn(*session_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, [this] {
        StateChanged();
        view_->setFocus();
    });
    dialog->open();
}

} // namespace kalvor::ui
