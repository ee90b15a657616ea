// The main window offscreen, in a few scenarios that each start it once:
// the keyboard and the soft keys, what the host and the menus change, the
// picture and its size, the user-key dialog; then the screen dump and the
// replay that start it with options.
#include "FakeConnection.h"
#include "FileBytes.h"
#include "RecordingObserver.h"
#include "SessionInternals.h"
#include "TempHome.h"
#include "base/ProgramInstance.h"

#include "engine/RunString.h"
#include "keyboard/KeyCodes.h"
#include "render/Renderer.h"
#include "ui/FuncKeyDefn.h"
#include "ui/MainWindow.h"
#include "ui/ScreenDump.h"
#include "ui/SoftKeyBar.h"
#include "ui/TabPanel.h"
#include "ui/TabRuler.h"
#include "ui/TerminalView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace kalvor::ui {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : window(Options())
    {
        window.show();
        window.activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&window);
        window.View().setFocus();
    }

    static WindowOptions Options()
    {
        WindowOptions o;
        o.StartTimer = false;
        return o;
    }

    void Host(std::string_view text)
    {
        window.AppendHostText(text);
        window.CurBlinkTimer_Timer();
    }
    QString Row(int r) { return ScreenText(window.GetSession().Memory()).split(QLatin1Char('\n'))[r]; }
    QRgb Pixel(int row, int col, int x, int y)
    {
        const QRect c = window.Renderer().DeviceCellRect(row, col);
        return window.Renderer().Image().pixel(c.x() + x, c.y() + y) | 0xff000000u;
    }
    int CountInk(int row, int col)
    {
        const QRgb bg = 0xff000000u | window.State().Background;
        int n = 0;
        const QRect c = window.Renderer().DeviceCellRect(row, col);
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x)
                n += Pixel(row, col, x, y) != bg ? 1 : 0;
        return n;
    }
    QAction* Action(const char* name) { return window.findChild<QAction*>(QString::fromLatin1(name)); }

    test::TempHome home;
    test::FakeConnection line; // outlives the window that may hold it
    MainWindow window;
};

// The keyboard in local mode: typing drawn at once, Tab kept, control
// characters typed or run as local commands, the line-drawing menu, the
// soft-key bar and its sets, the tab panel and the tab ruler.
TEST_F(MainWindowTest, KeysSoftKeysAndTabSettings)
{
    EXPECT_EQ(window.ConnectionPanel().text(), QStringLiteral("Local"));
    const DisplayMemory& m = window.GetSession().Memory();
    QTest::keyClicks(&window.View(), QStringLiteral("hello"));
    EXPECT_EQ(Row(0), QStringLiteral("hello"));
    // Drawn into the image by the key handling itself, before any timer tick.
    EXPECT_GT(CountInk(0, 4), 4);
    EXPECT_EQ(CountInk(0, 6), 0);
    QTest::keyClick(&window.View(), Qt::Key_Tab);
    EXPECT_TRUE(window.View().hasFocus());
    EXPECT_EQ(m.CurCol, 8) << "the next tab stop";

    // Ctrl+Shift+letter runs the local command whatever the setting.
    for (const bool transmit : {false, true}) {
        SCOPED_TRACE(transmit ? "transmitted" : "processed locally");
        if (transmit != Internals(window.GetSession()).Controls().TransmitControlCharacters())
            Action("XmitCntlChar")->trigger();
        QTest::keyClick(&window.View(), Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(window.State().ShiftedOut);
        QTest::keyClick(&window.View(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_FALSE(window.State().ShiftedOut);
        QTest::keyClick(&window.View(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(m.CurCol, 8) << "no HT reached the terminal";
    }
    // Ctrl+letter types a control character when they are transmitted (SO
    // here), and the line-drawing menu types SO and SI.
    ASSERT_TRUE(Internals(window.GetSession()).Controls().TransmitControlCharacters());
    Host("\x1bH\x1bJ");
    QTest::keyClicks(&window.View(), QStringLiteral("a"));
    QTest::keyClick(&window.View(), Qt::Key_N, Qt::ControlModifier);
    QTest::keyClicks(&window.View(), QStringLiteral("r,t"));
    Action("LineDrawingOff")->trigger();
    QTest::keyClicks(&window.View(), QStringLiteral("b"));
    Action("LineDrawingOn")->trigger();
    QTest::keyClicks(&window.View(), QStringLiteral("r"));
    const DisplayRow& row = m.Row(0);
    EXPECT_EQ(runstring::AttributeAt(row.Shift, 1), 'O');
    EXPECT_NE(runstring::AttributeAt(row.Shift, 4), 'O');
    EXPECT_EQ(runstring::AttributeAt(row.Shift, 5), 'O');
    Action("LineDrawingOff")->trigger();

    // The soft-key bar shows the current set, from the mouse, the menus and F11.
    const FunctionKeys& keys = Internals(window.GetSession()).FuncKeys();
    QTest::mouseClick(window.KeyBar().Button(10), Qt::LeftButton);
    EXPECT_EQ(window.KeyBar().Caption(0), QStringLiteral("Device\nControl"));
    QTest::mouseClick(window.KeyBar().Button(3), Qt::LeftButton); // " Modes"
    EXPECT_EQ(keys.CurrentSet(), FunctionKeys::kModesSet);
    EXPECT_TRUE(window.View().hasFocus());
    Action("UserKeys")->trigger();
    EXPECT_EQ(window.KeyBar().Caption(0), QStringLiteral("   f1\n"));
    Action("SystemKeys")->trigger();
    Action("UserKeys")->trigger();
    QTest::keyClick(&window.View(), Qt::Key_F11);
    ASSERT_EQ(keys.CurrentSet(), FunctionKeys::kSystemSet);

    // The tab panel (system F2) sets tabs and margins at the cursor column.
    Host("\x1bH\x1bJ");
    QTest::keyClick(&window.View(), Qt::Key_F2); // Margins/Tabs/Col
    TabPanel& panel = window.TabSettings();
    ASSERT_TRUE(panel.isVisible()) << "the state that takes the keys is on the screen";
    Internals(window.GetSession()).State().TabStops.fill(false);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&window.View(), Qt::Key_Right); // the cursor keys still move the cursor
    ASSERT_EQ(m.CurCol, 5);
    QTest::keyClick(&window.View(), Qt::Key_S);
    EXPECT_TRUE(window.State().TabStops[5]);
    QTest::keyClick(&window.View(), Qt::Key_X); // no other key reaches the terminal
    EXPECT_EQ(Row(0), QString());
    QTest::mouseClick(panel.Button(TabPanel::Command::LeftMargin), Qt::LeftButton);
    EXPECT_EQ(m.LeftMargin, 5);
    QTest::mouseClick(panel.Button(TabPanel::Command::ClearTab), Qt::LeftButton);
    EXPECT_FALSE(window.State().TabStops[5]);
    QTest::mouseClick(panel.DoneButton(), Qt::LeftButton);
    EXPECT_FALSE(panel.isVisible());

    // A click on the tab ruler toggles a tab stop.
    TabRuler& ruler = window.Ruler();
    const int cellW = window.Fonts().Cell().Width;
    QTest::mouseClick(&ruler, Qt::LeftButton, {}, QPoint(12 * cellW + 2, 4));
    EXPECT_TRUE(window.State().TabStops[12]);
    QTest::mouseClick(&ruler, Qt::LeftButton, {}, QPoint(12 * cellW + 2, 4));
    EXPECT_FALSE(window.State().TabStops[12]);
}

// What the host and the menus change in the window: the message panel, the
// status indicators, the communications log, the blink phase, the resets.
TEST_F(MainWindowTest, HostTextMenusAndIndicators)
{
    Host("\x1b&k1P");
    EXPECT_TRUE(window.CapsLockStatus().isVisible());
    Host("\x1b&k0P");
    EXPECT_FALSE(window.CapsLockStatus().isVisible());
    Host("\x1bQ");
    EXPECT_TRUE(window.InsertStatus().isVisibleTo(&window));
    Action("InsertCharacter")->trigger();
    EXPECT_FALSE(window.InsertStatus().isVisibleTo(&window));
    Host("\x1b"
         "c");
    EXPECT_TRUE(window.KeyboardLockPanel().isVisibleTo(&window));
    EXPECT_FALSE(window.VScrollBar().isEnabled());
    Host("\x1b"
         "b");
    EXPECT_FALSE(window.KeyboardLockPanel().isVisibleTo(&window));
    EXPECT_TRUE(window.VScrollBar().isEnabled());
    Host("\x1b&j5LHello");
    EXPECT_EQ(window.MessagePanel().text(), QStringLiteral("Hello"));
    EXPECT_FALSE(window.KeyBar().ButtonsShown());

    // Once switched on, the forms debug log follows the forms mode's routines.
    Action("InitializeDebug")->trigger();
    Host("\x1b%k0F/BUTTON (10 10 100 50 OK)\r\n\x1b%kC");
    const std::string debug = test::ReadAll(TempFolder() / "cvdebug.txt");
    EXPECT_NE(debug.find("Enter : "), std::string::npos) << debug;
    Host("\x1b%kR");

    // The communications log menu switches the trace; the session tells a
    // recorder instead of the window, so no text editor opens.
    test::RecordingObserver recorder;
    window.GetSession().SetObserver(&recorder);
    QAction* log = Action("UpdateDebugMode");
    log->trigger();
    EXPECT_TRUE(log->isChecked());
    log->trigger();
    EXPECT_FALSE(Internals(window.GetSession()).CommLog().Tracing());
    EXPECT_FALSE(log->isChecked());
    EXPECT_EQ(recorder.Opened, std::vector{Internals(window.GetSession()).CommLog().Path()});

    // Every sixth tick toggles the blink phase.
    const bool phase = window.Renderer().BlinkPhase();
    int ticks = 0;
    while (window.Renderer().BlinkPhase() == phase && ticks < 20) {
        window.CurBlinkTimer_Timer();
        ++ticks;
    }
    for (int i = 0; i < 5; ++i)
        window.CurBlinkTimer_Timer();
    EXPECT_NE(window.Renderer().BlinkPhase(), phase);
    window.CurBlinkTimer_Timer();
    EXPECT_EQ(window.Renderer().BlinkPhase(), phase);

    Host("some text\x1bQ");
    Action("ResetSoft")->trigger();
    EXPECT_EQ(Row(0), QStringLiteral("some text")) << "a soft reset keeps the screen";
    EXPECT_FALSE(window.State().InsertMode);
    Host("again");
    Action("ResetHard")->trigger();
    EXPECT_EQ(Row(0), QString());

    // Home Cursor, Clear Line and Clear Display as the keys run them; Undo
    // takes back the last one while nothing else has changed memory.
    const DisplayMemory& m = window.GetSession().Memory();
    Host("one\r\ntwo");
    Action("HomeCursor")->trigger();
    Action("ClearLine")->trigger();
    EXPECT_EQ(Row(0), QString());
    QTest::keyClick(&window.View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Row(0), QStringLiteral("one"));
    Action("ClearDisplay")->trigger();
    Action("UndoCommand2")->trigger();
    EXPECT_EQ(Row(1), QStringLiteral("two"));
    EXPECT_EQ(std::pair(m.CurRow, m.CurCol), std::pair(0, 0)) << "the cursor comes back too";
    QTest::keyClick(&window.View(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&window.View(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Row(0), QString());
    QTest::keyClick(&window.View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Row(0), QStringLiteral("one")) << "a cut comes back";
    Action("ClearDisplay")->trigger();
    Host("x");
    Action("UndoCommand")->trigger();
    EXPECT_EQ(Row(0), QStringLiteral("x")) << "host output since the clear withdraws the undo";

    // Sending a break; with control characters transmitted the Ctrl letters
    // of these commands reach the host and Ctrl+Shift still runs them.
    window.GetSession().SetConnection(line);
    window.GetSession().SetRemoteMode(true);
    Action("SubsysBreak")->trigger();
    QTest::keyClick(&window.View(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(line.Commands, (std::vector<int>{243, 243}));
    QTest::keyClick(&window.View(), Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(Action("XmitCntlChar")->isChecked());
    for (const Qt::Key key : {Qt::Key_H, Qt::Key_L, Qt::Key_K, Qt::Key_B, Qt::Key_Z, Qt::Key_T})
        QTest::keyClick(&window.View(), key, Qt::ControlModifier);
    EXPECT_EQ(line.Written(), "\x08\x0c\x0b\x02\x1a\x14");
    QTest::keyClick(&window.View(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(line.Commands.size(), 3u);
    QTest::keyClick(&window.View(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(Action("XmitCntlChar")->isChecked());

    Action("ExitTerminal")->trigger();
    EXPECT_FALSE(window.isVisible());
}

// The picture: the scroll bar and the wheel, colour schemes, inverse
// screen, columns from the menu and the host, font sizes within the
// screen, and a taller window showing more rows.
TEST_F(MainWindowTest, ScrollingColoursColumnsFontsAndSize)
{
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    Host(text);
    QScrollBar& bar = window.VScrollBar();
    const DisplayMemory& m = window.GetSession().Memory();
    EXPECT_EQ(bar.maximum(), m.Age(m.LastRow));
    EXPECT_EQ(bar.value(), m.Age(m.TopRow));
    bar.setValue(0);
    EXPECT_EQ(Row(0), QStringLiteral("line 0"));
    // The mouse wheel moves it three rows a notch.
    bar.setValue(10);
    const QPoint at = window.View().rect().center();
    QWheelEvent up(at, window.View().mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(&window.View(), &up);
    EXPECT_EQ(m.Age(m.TopRow), 7);
    Action("ClearDisplay")->trigger();

    Action("ColorScheme5")->trigger();
    EXPECT_EQ(Pixel(10, 10, 1, 1), 0xff000080u);
    EXPECT_TRUE(Action("ColorScheme5")->isChecked());
    Action("InvertColor")->trigger();
    EXPECT_EQ(Pixel(10, 10, 1, 1), 0xffffffffu);
    EXPECT_TRUE(Action("InvertColor")->isChecked());

    Action("Columns132")->trigger();
    EXPECT_EQ(window.Renderer().Image().width(), 132 * window.Renderer().DeviceCellWidth());
    Host("\x1b&w200F");
    EXPECT_EQ(window.Renderer().Image().width(), 200 * window.Renderer().DeviceCellWidth());
    EXPECT_TRUE(Action("Columns200")->isChecked());
    QTest::qWait(0);
    EXPECT_LE(window.frameGeometry().width(), window.screen()->availableGeometry().width()) << "200 columns too";
    Action("Columns80")->trigger();

    const int limit = render::MaxFontIndexForScreenWidth(window.screen()->geometry().width());
    EXPECT_EQ(window.Fonts().CurrentIndex(), std::min(1, limit));
    for (int i = 0; i < 4; ++i)
        Action("ChangeFontSize")->trigger();
    EXPECT_LE(window.Fonts().CurrentIndex(), limit);
    EXPECT_LE(window.frameGeometry().width(), window.screen()->availableGeometry().width()) << "on the screen";
    for (int i = 0; i < 4; ++i)
        Action("DecreaseFontSize")->trigger();
    EXPECT_EQ(window.Fonts().CurrentIndex(), 0);

    const int cellH = window.Fonts().Cell().Height;
    const int before = m.RowsInTerm;
    const QSize start = window.size();
    window.resize(start.width(), start.height() + 6 * cellH);
    QCoreApplication::sendPostedEvents();
    EXPECT_GE(m.RowsInTerm, before + 6);
    EXPECT_EQ(window.Renderer().Image().height(), m.RowsInTerm * window.Renderer().DeviceCellHeight());
    window.resize(start.width(), start.height() - 20 * cellH);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(m.RowsInTerm, 24) << "never fewer than 24 rows";
    EXPECT_GE(window.View().height(), 24 * cellH);
}

// The user-key dialog writes the keys; Reset Defaults then Cancel leaves them.
TEST_F(MainWindowTest, DefineUserKeysDialog)
{
    Internals(window.GetSession()).FuncKeys().SetUserKey(2, "Mine", "", 0, "xyz");
    Action("DefineUserKeys")->trigger();
    auto* dialog = window.findChild<FuncKeyDefn*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->KeyValue(2)->text(), QStringLiteral("xyz"));
    dialog->ResetDefaultsButton()->click();
    dialog->reject();
    const FunctionKeys& keys = Internals(window.GetSession()).FuncKeys();
    EXPECT_EQ(keys.UserKeyString(2), "xyz") << "cancel keeps the tables";

    Action("DefineUserKeys")->trigger();
    dialog = window.findChild<FuncKeyDefn*>();
    ASSERT_NE(dialog, nullptr);
    dialog->KeyLine1(1)->setText(QStringLiteral("List"));
    dialog->KeyLine2(1)->setText(QStringLiteral("Files"));
    dialog->KeyValue(1)->clear();
    dialog->TypeControlCharacters()->setChecked(true);
    dialog->KeyValue(1)->setFocus();
    QTest::keyClicks(dialog->KeyValue(1), QStringLiteral("ls"));
    QTest::keyClick(dialog->KeyValue(1), Qt::Key_Return); // becomes its substitute
    QTest::keyClick(dialog->KeyValue(1), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(dialog->KeyValue(1)->text(), QStringLiteral("ls\u00ed\u00e1"));
    dialog->Attribute(1)->setCurrentIndex(1);
    dialog->accept();
    EXPECT_EQ(keys.UserKeyString(1), std::string("ls\r\x01"));
    EXPECT_EQ(keys.UserKeyAttribute(1), FunctionKeys::kLocal);
    EXPECT_EQ(window.KeyBar().Caption(1), QStringLiteral("List\nFiles"));
}

// Started with a replay to exit after (as the benchmarks run it): the window
// closes once the replay has run. The end-to-end test checks the replayed
// screen and its dump.
TEST(MainWindowReplay, TheWindowClosesOnceTheReplayHasRun)
{
    test::TempHome home;
    test::WriteAll(home.Path() / "host.txt", "first\r\n");
    WindowOptions o;
    o.StartTimer = false;
    o.ReplayFile = QString::fromStdString((home.Path() / "host.txt").string());
    o.ExitAfterReplay = true;
    MainWindow window(o);
    window.show();
    window.CurBlinkTimer_Timer();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace kalvor::ui
