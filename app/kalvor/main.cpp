// kalvor: the desktop terminal. The start-up window prepares the program
// folder, the fonts and the configuration and loads the main terminal window
// "Kalvor", which it shows after its timer (or a log-on script given as
// SCRIPT). SIGTERM and SIGINT close the window the same way File > Exit
// does.
//
//   kalvor [--font-size N] [--replay FILE] [--exit-after-replay]
//          [--dump-screen FILE] [--connect] [SCRIPT]
#include "base/ProgramInstance.h"
#include "base/Version.h"
#include "comms/net/SerialPorts.h"
#include "ui/ConnectionUi.h"
#include "ui/MainWindow.h"
#include "ui/ScriptStart.h"
#include "ui/StartupWindow.h"

#include <QApplication>
#include <QTimer>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const char* const kUsage =
    "Usage: kalvor [OPTIONS] [SCRIPT]\n"
    "  --font-size N        preferred font size 0..3 (6x12, 8x16, 10x20, 13x26 cells; default 1)\n"
    "  --replay FILE        interpret FILE as host output when the window opens\n"
    "  --exit-after-replay  close the window once the replayed output is shown\n"
    "  --dump-screen FILE   keep FILE holding the screen text (one line per row, then\n"
    "                       \"cursor ROW COL\"), rewritten after changes and on exit\n"
    "  --connect            connect to host entry 0 (or the configured line) at once\n"
    "  --help               this text\n"
    "  --version            the program's version\n"
    "  SCRIPT               a log-on script (.zkt) that connects and logs on by itself\n";

int g_signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

// The desktop program as the start-up window sees it: log-on scripts, the
// machine's serial ports, and the end of the program through the event loop.
class DesktopEnvironment final : public kalvor::ui::ProgramEnvironment {
public:
    kalvor::script::PreparedScript PrepareScript(const std::filesystem::path& script) override
    {
        return kalvor::ui::PrepareStartupScript(script);
    }
    std::vector<std::string> ListSerialPorts() override
    {
        std::vector<std::string> names;
        for (const kalvor::net::SerialPortEntry& port : kalvor::net::SerialPortList())
            names.push_back(port.Name);
        return names;
    }
    void EndProgram() override { QTimer::singleShot(0, qApp, &QCoreApplication::quit); }
};

} // namespace

int main(int argc, char** argv)
{
    // Answered before the application starts, so that they work without a
    // display (the package build reads them to make the manual page).
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("kalvor %s\n", kalvor::kVersion);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvor"));
    QTextStream err(stderr);

    kalvor::ui::WindowOptions options;
    options.Configured = true;
    QString script;
    bool connectAtStart = false;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&]() -> QString {
            if (i + 1 >= args.size()) {
                err << "kalvor: " << a << " needs a value\n" << kUsage;
                std::exit(2);
            }
            return args[++i];
        };
        if (a == QLatin1String("--font-size")) {
            bool ok = false;
            options.FontIndex = value().toInt(&ok);
            if (!ok || options.FontIndex < 0 || options.FontIndex > 3) {
                err << "kalvor: --font-size takes 0, 1, 2 or 3\n";
                return 2;
            }
        } else if (a == QLatin1String("--replay")) {
            options.ReplayFile = value();
        } else if (a == QLatin1String("--connect")) {
            connectAtStart = true;
        } else if (a == QLatin1String("--exit-after-replay")) {
            options.ExitAfterReplay = true;
        } else if (a == QLatin1String("--dump-screen")) {
            options.DumpScreenFile = value();
        } else if (a.startsWith(QLatin1String("--"))) {
            err << "kalvor: unknown option " << a << "\n" << kUsage;
            return 2;
        } else {
            script = a;
        }
    }

    // Another window may run on the same program folder: this one's
    // temporary files are its own while it runs.
    const std::optional<kalvor::ProgramInstance> instance = kalvor::ProgramInstance::Claim();

    DesktopEnvironment environment;
    kalvor::ui::StartupWindow startup(environment, options);
    startup.Start(script);
    kalvor::ui::MainWindow& window = *startup.Terminal();
    if (connectAtStart)
        QTimer::singleShot(0, &window, [&window] { window.ConnectionsUi().Connect_Click(); });
    kalvor::ui::RunStartupScript(startup, window.Connections());

    // Termination signals close the window through the event loop.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) == 0) {
        auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &window);
        QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
            char c = 0;
            [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &c, 1);
            window.close();
        });
        struct sigaction sa {};
        sa.sa_handler = OnSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGINT, &sa, nullptr);
    }

    return QApplication::exec();
}
