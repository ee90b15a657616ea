// The main terminal window "Kalvor": the display, the tab ruler, the
// vertical scroll bar over display memory and the horizontal one over the
// screen width, the soft-key bar, the status bar and the menus. It owns the
// terminal's Session and the renderer, and runs the 25 ms receive timer
// CurBlinkTimer: a receive pass every tick, the blink phase every sixth;
// between ticks a pass runs as soon as data arrives (ArrivalPasses).
//
// Without a connection the terminal works in local mode: what is typed goes
// through the keyboard dispatcher, which appends it to the receive buffer.
#pragma once

#include "base/Clock.h"
#include "logging/ErrorReport.h"
#include "render/CellGeometry.h"
#include "render/Renderer.h"
#include "ui/ArrivalPasses.h"
#include "session/Session.h"
#include "ui/ConfigurationMenu.h"
#include "ui/EditMenu.h"
#include "ui/SettingsMenus.h"
#include "ui/ErrorWindow.h"
#include "ui/TerminalView.h"

#include <QMainWindow>
#include <QString>
#include <QTimer>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QLabel;
class QScrollBar;

namespace kalvor::net {
class ConnectionManager;
}

namespace kalvor::ui {

class ConnectionUi;
class FormsUi;
class PrintCommands;
class Printing;
class SoftKeyBar;
class TabPanel;
class TabRuler;

// The start-up window as the main window sees it: the program ends when the
// main window unloads, and a log-on script reports on the start-up window.
class StartupHost {
public:
    virtual void TerminalUnloaded() = 0;
    virtual void SetStatus(const QString& text) = 0;
    virtual void ScriptExited() = 0;
    virtual void DisplayTerminal() = 0;

protected:
    ~StartupHost() = default;
};

struct WindowOptions {
    QString DumpScreenFile;       // the screen text, rewritten after changes and when the window closes
    QString ReplayFile;           // host output interpreted at start, as in local mode
    bool ExitAfterReplay = false; // close the window once the replay has been shown
    int FontIndex = 1;            // preferred font size index 0..3
    bool StartTimer = true;       // tests drive the receive ticks themselves
    bool Configured = false;      // the configuration file is read at load and saved at unload (the desktop program)
};

class MainWindow final : public QMainWindow,
                         private SessionObserver,
                         private ArrivalWindow,
                         private TerminalViewEvents,
                         private ConfigurationWindow,
                         private SettingsWindow {
public:
    explicit MainWindow(const WindowOptions& options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& GetSession() { return *session_; }
    const TerminalState& State() const { return session_->State(); }
    // The window's own error report (configuration files, printing).
    logging::ErrorReport& Errors() { return errors_; }
    render::Renderer& Renderer() { return renderer_; }
    const render::FontSizing& Fonts() const { return fonts_; }
    TerminalView& View() { return *view_; }
    SoftKeyBar& KeyBar() { return *keyBar_; }
    TabRuler& Ruler() { return *ruler_; }
    TabPanel& TabSettings() { return *tabPanel_; }
    QScrollBar& VScrollBar() { return *vbar_; }
    QScrollBar& HScrollBar() { return *hbar_; }
    QLabel& ConnectionPanel() { return *connection_; }
    QLabel& InsertStatus() { return *insert_; }
    QLabel& CapsLockStatus() { return *caps_; }
    QLabel& KeyboardLockPanel() { return *locked_; }
    QLabel& MessagePanel() { return *message_; }
    QTimer& CurBlinkTimer() { return curBlinkTimer_; }
    // The terminal's connection (Connect, Disconnect, settings) and the
    // window's side of it: menu, panels, caption, SSH questions.
    net::ConnectionManager& Connections();
    ConnectionUi& ConnectionsUi() { return *connectionUi_; }
    ConfigurationMenu& Configuration() { return *configMenu_; }
    // "Connection Settings..." and "Terminal Preferences...".
    SettingsMenus& SettingsCommands() { return *settingsMenus_; }
    Printing& Printer() { return *printing_; }
    // The forms mode's Canvo window and its resources.
    FormsUi& Forms() { return *formsUi_; }
    // The Edit menu, the mouse on the display and the clipboard.
    EditMenu& Edit() { return *edit_; }
    const Clock& SessionClock() const { return clock_; }

    // The start-up window that started this window (null: none): told when
    // this window has unloaded (its close was accepted).
    void SetStartupHost(StartupHost* host) { startup_ = host; }

    // One tick of the receive timer.
    void CurBlinkTimer_Timer();
    // Draws what changed into the off-screen image and invalidates the window.
    void RefreshTerminal();
    // Host output appended to the receive buffer (local mode, replay).
    void AppendHostText(std::string_view text);

    // Menu commands.
    void ExitTerminal_Click();
    void ResetSoft_Click();
    void ResetHard_Click();
    void ClearDisplay_Click();
    // The Home key's home up and the clear-line command, as the keys run them.
    void HomeCursor_Click();
    void ClearLine_Click();
    void LineDrawingOn_Click();
    void LineDrawingOff_Click();
    void InsertCharacter_Click();
    void XmitCntlChar_Click(bool transmit);
    // The break of the connection, as Alt+B sends it.
    void SubsysBreak_Click();
    // Terminal > Communications Log: the trace "temp/zkdebug.txt" on or off
    // (off shows it in the text editor).
    void UpdateDebugMode_Click(bool on);
    void ChangeFontSize_Click();
    void DecreaseFontSize_Click();
    void ColorScheme_Click(int scheme);
    void InvertColor_Click();
    void Columns_Click(int cols);
    void UserKeys_Click();
    void SystemKeys_Click();
    void DefineUserKeys_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // SessionObserver
    void Bell() override;
    void Repaint() override
    {
        if (!arrivals_.TakeRepaint())
            RefreshTerminal();
    }
    void DataArrived() override { arrivals_.DataArrived(); }
    void StateChanged() override;
    void TelnetVariant(int variant) override;
    void ExitRequested() override;
    void PrintFile(const std::filesystem::path& file) override;
    void OpenDocument(const std::filesystem::path& file) override;
    void PrintScreen() override;
    std::optional<std::filesystem::path> AskFileName(std::string_view title) override;
    bool AskYesNo(std::string_view title, std::string_view text) override;
    void ShowError(const logging::ErrorWindow& error) override;
    void ExitTerminal() override { ExitTerminal_Click(); }
    void FocusDisplay() override;
    void ShowTabPanel(bool shown) override;
    void EightBitDataChanged() override;
    void ScriptCaption(const std::string& caption) override;
    void StartupStatus(const std::string& text) override;
    void StopStartupTimer() override;
    void DisplayTerminal() override;
    void FormsShow() override;
    bool FormsWindowOpen() override;

    // ArrivalWindow
    bool ReceiveTimerRunning() const override { return curBlinkTimer_.isActive(); }
    void DrawFrame() override { RefreshTerminal(); }
    bool SelectionActive() override { return edit_ && edit_->Editor().Current().Active; }
    void ClipCut() override;
    void ClearSelection() override;

    // ConfigurationWindow
    void ApplyWindowSettings(const config::Settings& settings) override;
    void CollectWindowSettings(config::Settings& settings) override;
    void ConfigurationOpened() override;
    // SettingsWindow
    std::vector<std::string> SerialPorts() override;
    void Disconnect() override;
    void Connect(const config::Settings& settings) override;
    bool EchoButton() override;
    void Refresh() override;
    // TerminalViewEvents
    void ViewKeyPressed(QKeyEvent* event) override { KeyPressed(event); }
    void ViewKeyReleased(QKeyEvent* event) override { KeyReleased(event); }
    void ViewResized() override;
    void ViewPixelRatioChanged(double dpr) override;
    void ViewWheelRows(int rows) override { WheelScrolled(rows); }

    void BuildMenus();
    void BuildStatusBar();
    void KeyPressed(QKeyEvent* event);
    void KeyReleased(QKeyEvent* event);
    void SoftKeyClicked(int index, int shift);
    void ApplyFontIndex(int index);
    void WidthChanged();
    void SyncScrollBars();
    void LayOut();
    render::CellFit MeasureAt(int index) const;
    // The largest font size index at which the terminal's screen fits: in
    // the maximised window's area, else in the screen's available area less
    // the window's own parts (menus, bars, frame).
    int FittingFontIndex() const;
    // The mouse wheel over the text: `rows` rows up (negative) or down.
    void WheelScrolled(int rows);
    int ScreenWidth() const;
    void ScreenChanged();
    void ConnectConfiguration();

    WindowOptions options_;
    StartupHost* startup_ = nullptr;
    ErrorWindowDisplay errorDisplay_{this};
    logging::ErrorReport errors_;
    SystemClock clock_;
    std::unique_ptr<Session> session_;
    render::Renderer renderer_;
    render::FontSizing fonts_;
    QTimer curBlinkTimer_;
    ArrivalPasses arrivals_{*session_, *this};
    int blinkTicks_ = 0;
    int lastCols_ = 80;
    bool syncing_ = false;
    bool screenChanged_ = true;
    bool replaying_ = false;

    TerminalView* view_ = nullptr;
    TabRuler* ruler_ = nullptr;
    SoftKeyBar* keyBar_ = nullptr;
    TabPanel* tabPanel_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QScrollBar* hbar_ = nullptr;
    QLabel* connection_ = nullptr;
    QLabel* insert_ = nullptr;
    QLabel* locked_ = nullptr;
    QLabel* caps_ = nullptr;
    QLabel* message_ = nullptr;

    std::array<QAction*, 13> schemeActions_{};
    std::unique_ptr<ConnectionUi> connectionUi_;
    std::unique_ptr<FormsUi> formsUi_;
    std::array<QAction*, 3> columnActions_{};
    QAction* inverseAction_ = nullptr;
    QAction* xmitCntlAction_ = nullptr;
    QAction* debugModeAction_ = nullptr;
    QAction* defineKeysAction_ = nullptr;
    // The Terminal menu's local commands and their Ctrl letters.
    std::vector<std::pair<QAction*, Qt::Key>> localCommands_;
    QMenu* fileMenu_ = nullptr;
    QAction* exitAction_ = nullptr;
    std::unique_ptr<Printing> printing_;
    std::unique_ptr<PrintCommands> printCommands_;
    std::unique_ptr<ConfigurationMenu> configMenu_;
    QMenu* terminalMenu_ = nullptr;
    std::unique_ptr<SettingsMenus> settingsMenus_;
    std::unique_ptr<EditMenu> edit_;
};

} // namespace kalvor::ui
