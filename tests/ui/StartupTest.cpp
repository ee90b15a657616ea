// Start-up and shutdown through the real windows, offscreen, each under a
// fresh program folder: what start-up creates, the start-up timer with and
// without a script, a restart that keeps the user's settings, the refusal
// to close under exit protection, the error window for a failing file,
// printer logging that ends in a PDF when no printer is configured, and the
// pages and text of PDFs printed without a printer (read back with
// pdftotext when poppler-utils is installed).
#include "FileBytes.h"
#include "SessionInternals.h"
#include "TempHome.h"

#include "comms/net/ConnectionManager.h"
#include "config/ConfigPaths.h"
#include "config/PointerFile.h"
#include "config/ProgramStart.h"
#include "config/Settings.h"
#include "config/SettingsFile.h"
#include "ui/ConfigurationMenu.h"
#include "ui/ConnectionUi.h"
#include "ui/MainWindow.h"
#include "ui/Printing.h"
#include "ui/StartupWindow.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <fstream>

namespace kalvor::ui {
namespace {

namespace fs = std::filesystem;

using test::ReadAll;

void Touch(const fs::path& p) { std::ofstream(p) << "left over"; }

// The program around the start-up window: no serial ports, an end that
// does nothing, and a script preparation the test decides.
struct TestEnvironment final : ProgramEnvironment {
    std::function<script::PreparedScript(const fs::path&)> Prepare;

    script::PreparedScript PrepareScript(const fs::path& script) override
    {
        return Prepare ? Prepare(script) : script::PreparedScript{};
    }
    std::vector<std::string> ListSerialPorts() override { return {}; }
    void EndProgram() override {}
};

WindowOptions Configured()
{
    WindowOptions o;
    o.StartTimer = false;
    o.Configured = true;
    return o;
}

void Host(MainWindow& w, std::string_view text)
{
    w.AppendHostText(text);
    for (int i = 0; i < 4; ++i)
        w.CurBlinkTimer_Timer();
}

// Closes the next modal message box once it shows, keeping what it said.
struct ModalCatcher {
    QString Detail;
    void Arm()
    {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                Arm();
                return;
            }
            Detail = box->informativeText();
            box->accept();
        });
    }
};

// The pages of a PDF (counted in the file), and its text when pdftotext
// (poppler-utils) is installed.
int Pages(const QString& pdf)
{
    QFile f(pdf);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return static_cast<int>(
        QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

std::optional<QString> PdfText(const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(-1);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(StartupTest, FreshProgramFolderGetsFoldersPointerAndDefaultConfiguration)
{
    test::TempHome home;
    fs::create_directories(home.Path() / "temp");
    Touch(home.Path() / "temp/zkdebug.txt");
    Touch(home.Path() / "temp/response.txt");

    TestEnvironment environment;
    StartupWindow startup(environment, Configured());
    startup.Start(QString());

    for (const char* folder : {"fonts", "temp", "config", "cache"})
        EXPECT_TRUE(fs::is_directory(home.Path() / folder)) << folder;
    EXPECT_FALSE(fs::exists(home.Path() / "temp/zkdebug.txt"));
    EXPECT_FALSE(fs::exists(home.Path() / "temp/response.txt"));

    EXPECT_EQ(ReadAll(home.Path() / "config/default.zkx"), config::FormatPointerFile("config/default.zkd"));
    EXPECT_EQ(ReadAll(home.Path() / "config/default.zkd"),
              config::FormatSettingsFile("config/default.zkd", config::Settings{}));

    // Without a script the terminal window follows the 4-second timer.
    EXPECT_EQ(startup.PictureInterval().interval(), StartupWindow::kPlainInterval);
    ASSERT_NE(startup.Terminal(), nullptr);
    EXPECT_FALSE(startup.Terminal()->isVisible());
    startup.PictureInterval_Timer();
    EXPECT_TRUE(startup.Terminal()->isVisible());
    EXPECT_FALSE(startup.isVisible());
}

TEST(StartupTest, ScriptArgumentSetsTheLongTimerAndATimeOutSaysSo)
{
    test::TempHome home;
    const fs::path script = home.Path() / "logon.zkt";
    std::ofstream(script) << "ADDR localhost\r\nEXIT\r\n";
    struct Case {
        const char* Name;
        QString Argument;
        bool Prepares;
        int Interval;
        QString Label;
    } cases[] = {
        {"existing script", QString::fromStdString(script.string()), true, StartupWindow::kScriptInterval,
         QStringLiteral("Executing Script")},
        {"missing file is forgotten", QString::fromStdString((home.Path() / "none.zkt").string()), true,
         StartupWindow::kPlainInterval, QString()},
        {"nothing to run, and why", QString::fromStdString(script.string()), false, StartupWindow::kPlainInterval,
         QStringLiteral("Script not run: the first line is \"HELLO\", not ADDR or DIAL")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TestEnvironment environment;
        StartupWindow startup(environment, Configured());
        fs::path prepared;
        environment.Prepare = [&](const fs::path& p) {
            prepared = p;
            return script::PreparedScript{
                c.Prepares, c.Prepares ? "" : "Script not run: the first line is \"HELLO\", not ADDR or DIAL"};
        };
        startup.Start(c.Argument);
        EXPECT_EQ(startup.PictureInterval().interval(), c.Interval);
        EXPECT_EQ(startup.StatusLabel().text(), c.Label);
        if (c.Interval == StartupWindow::kScriptInterval) {
            EXPECT_EQ(prepared, script);
            (void)Internals(startup.Terminal()->GetSession()).CommLog().TurnOn();
            startup.PictureInterval_Timer();
            EXPECT_EQ(startup.StatusLabel().text(), QStringLiteral("Unable to make connection"));
            EXPECT_FALSE(Internals(startup.Terminal()->GetSession()).CommLog().Tracing());
        }
    }
}

TEST(StartupTest, SettingsUserKeysAndColourSurviveARestart)
{
    test::TempHome home;
    int fontIndex = 0;
    {
        MainWindow first(Configured());
        first.show();
        first.ColorScheme_Click(5);
        first.InvertColor_Click();
        first.DecreaseFontSize_Click();
        fontIndex = first.Fonts().PreferredIndex();
        Host(first, "\x1b&f1a3k5d6LLogonHELLO\r");
        ASSERT_EQ(Internals(first.GetSession()).FuncKeys().UserKeyString(2), "HELLO\r");
        Internals(first.GetSession()).Keys().LocalEcho = true;
        test::WriteAll(home.Path() / "temp/zkscript.txt", "WAIT login:\r\n"); // a script cut short
        ASSERT_TRUE(first.close());
    }
    EXPECT_FALSE(fs::exists(home.Path() / "temp/zkdebug.txt"));
    EXPECT_FALSE(fs::exists(home.Path() / "temp/zkscript.txt"));

    MainWindow second(Configured());
    const TerminalState& st = second.State();
    EXPECT_EQ(st.ColorScheme, 5);
    EXPECT_TRUE(st.InverseScreen);
    EXPECT_EQ(second.Fonts().PreferredIndex(), fontIndex);
    EXPECT_EQ(Internals(second.GetSession()).FuncKeys().UserKeyString(2), "HELLO\r");
    // The configured echo outlives a session without a connection.
    second.show();
    EXPECT_TRUE(second.ConnectionsUi().EchoAction().isChecked());
    QTest::qWait(net::ConnectionManager::kHousekeepingMs * 2); // the manager refreshes local echo
    EXPECT_TRUE(Internals(second.GetSession()).Keys().LocalEcho);
    ASSERT_TRUE(second.close());
    config::Settings read;
    ASSERT_EQ(config::ReadSettingsFile("config/default.zkd", read), 0);
    EXPECT_TRUE(read.Echo);
}

TEST(StartupTest, ExitProtectionFailingFilesPrinterLoggingAndPrintingInOneWindow)
{
    test::TempHome home;
    MainWindow window(Configured());
    window.show();
    Host(window, "\x1b%k1U");
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    auto* box = window.findChild<QMessageBox*>(QStringLiteral("ImproperExitWarning"));
    ASSERT_NE(box, nullptr);
    box->accept();
    QApplication::processEvents();

    // A failing file shows the error window and the program goes on.
    ConfigurationMenu& menu = window.Configuration();
    const fs::path missing = home.Path() / "config/missing.zkd";
    ModalCatcher catcher;
    catcher.Arm();
    menu.OpenConfiguration(missing);
    EXPECT_EQ(catcher.Detail, QStringLiteral("[ 53:   ReadSettingsFile,  config/missing.zkd ]"));
    EXPECT_EQ(menu.Config().CurrentFile(), "config/default.zkd");

    // Printer logging from the top of the screen ends in a PDF without a printer.
    Printing& printing = window.Printer();
    // No printer here, and the PDF's name is kept instead of shown.
    struct NoPrinter final : PrintDialogs {
        QString Told;
        bool HavePrinter() override { return false; }
        bool ChoosePrinter(QPrinter&, const QString&) override { return false; }
        void TellPdf(const QString& pdf, const QString&) override { Told = pdf; }
    } dialogs;
    printing.SetDialogs(&dialogs);
    const QString& told = dialogs.Told;
    // 25 PDFs of earlier prints, an hour apart: only the newest stay.
    const fs::path temp = home.Path() / "temp";
    for (int i = 0; i < 25; ++i) {
        const fs::path old = temp / ("old" + std::to_string(i) + ".pdf");
        test::WriteAll(old, "%PDF");
        fs::last_write_time(old, fs::file_time_type::clock::now() - std::chrono::hours(25 - i));
    }

    logging::PrinterLog& log = Internals(window.GetSession()).PrinterLogging();
    ASSERT_EQ(log.TurnOnLogging(logging::PrinterLog::kTop), 0);
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    Host(window, text);
    const std::string logged = ReadAll(home.Path() / "temp/zklog.txt");
    EXPECT_EQ(logged.substr(0, 16), "line 0\r\nline 1\r\n");
    EXPECT_EQ(logged.find("line 20"), std::string::npos);

    (void)log.TurnOffLogging(logging::PrinterLog::kTop, window.GetSession().Memory());
    EXPECT_EQ(told, printing.LastPdf());
    EXPECT_TRUE(QFileInfo(told).size() > 0);
    EXPECT_TRUE(told.startsWith(QString::fromStdString((home.Path() / "temp").string())));
    std::vector<std::string> kept;
    for (const auto& e : fs::directory_iterator(temp))
        if (e.path().extension() == ".pdf")
            kept.push_back(e.path().filename().string());
    EXPECT_EQ(kept.size(), config::kKeptPrintFiles);
    EXPECT_TRUE(fs::exists(temp / "old24.pdf")) << "the newest are kept";

    // The screen with enhancements and line drawing on one page under its
    // header; a long text over pages, each with its header; then the host's
    // larger font (more pages) without a header.
    Host(window, "\x1bH\x1bJ\x1b&dBInverse\x1b&d@ plain \x1b&dDunder\x1b&d@\r\n\x1b)B\x0elqqk\x0f box\r\n");
    ASSERT_EQ(printing.Print(PrintJob{QStringLiteral("Kalvor screen"), ScreenRows(window.GetSession().Memory())}), 0);
    EXPECT_EQ(Pages(told), 1);
    if (const auto t = PdfText(told)) {
        EXPECT_TRUE(t->contains(QStringLiteral("Page 1 of 1"))) << t->toStdString();
        EXPECT_TRUE(t->contains(QRegularExpression(QStringLiteral("Inverse +plain +under")))) << t->toStdString();
        EXPECT_TRUE(t->contains(QStringLiteral("box"))) << t->toStdString();
    }
    QString body;
    for (int i = 1; i <= 200; ++i)
        body += QStringLiteral("line %1\r\n").arg(i);
    ASSERT_EQ(printing.PrintText(QStringLiteral("zklog.txt"), body), 0);
    const int pages = Pages(told);
    EXPECT_GT(pages, 1);
    if (const auto t = PdfText(told)) {
        EXPECT_TRUE(t->contains(QStringLiteral("Page %1 of %1").arg(pages))) << t->toStdString();
        EXPECT_EQ(t->count(QStringLiteral("zklog.txt")), pages);
    }
    Host(window, "\x1b%p20f0H");
    ASSERT_EQ(printing.PrintText(QStringLiteral("zklog.txt"), body), 0);
    EXPECT_GT(Pages(told), pages);
    if (const auto t = PdfText(told)) {
        EXPECT_FALSE(t->contains(QStringLiteral("Page "))) << t->toStdString();
        EXPECT_TRUE(t->contains(QStringLiteral("line 200")));
    }

    window.ResetHard_Click();
    EXPECT_TRUE(window.close());
}

} // namespace
} // namespace kalvor::ui
