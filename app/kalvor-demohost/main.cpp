// kalvor-demohost: the demonstration host on a loopback port.
#include "DemoHost.h"
#include "base/Version.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>

namespace {

void Usage(std::FILE* out)
{
    std::fputs("usage: kalvor-demohost [--port N] [--picture-port N] [--bind ADDRESS] [--standard] [--lines N]\n"
               "                       [--log FILE]\n"
               "  --port N        port to listen on (default 2323; 0 picks a free one)\n"
               "  --picture-port N  port of the forms demonstration's pictures over HTTP\n"
               "                  (default: the port after --port; 0 picks a free one)\n"
               "  --bind ADDRESS  address to listen on (default 127.0.0.1)\n"
               "  --standard      refuse Telnet option 45: the terminal stays \"Telnet (standard)\"\n"
               "  --lines N       lines of the long listing (default 3000)\n"
               "  --log FILE      append every byte received from terminals to FILE\n"
               "  --help          this text\n"
               "  --version       the program's version\n",
               out);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    kalvor::demohost::DemoOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--port" && hasValue) {
            const long port = std::strtol(argv[++i], nullptr, 10);
            if (port < 0 || port > 65535) {
                std::fprintf(stderr, "kalvor-demohost: bad port %s\n", argv[i]);
                return 2;
            }
            options.Port = static_cast<quint16>(port);
        } else if (arg == "--picture-port" && hasValue) {
            const long port = std::strtol(argv[++i], nullptr, 10);
            if (port < 0 || port > 65535) {
                std::fprintf(stderr, "kalvor-demohost: bad port %s\n", argv[i]);
                return 2;
            }
            options.PicturePort = static_cast<int>(port);
        } else if (arg == "--bind" && hasValue) {
            options.Bind = QHostAddress(QString::fromLocal8Bit(argv[++i]));
            if (options.Bind.isNull()) {
                std::fprintf(stderr, "kalvor-demohost: bad address %s\n", argv[i]);
                return 2;
            }
        } else if (arg == "--standard") {
            options.Standard = true;
        } else if (arg == "--lines" && hasValue) {
            options.ListingLines = std::max(0L, std::strtol(argv[++i], nullptr, 10));
        } else if (arg == "--log" && hasValue) {
            options.LogFile = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        } else if (arg == "--version") {
            std::printf("kalvor-demohost %s\n", kalvor::kVersion);
            return 0;
        } else {
            std::fprintf(stderr, "kalvor-demohost: unknown option %s\n", arg.c_str());
            Usage(stderr);
            return 2;
        }
    }
    kalvor::demohost::DemoServer server(options);
    QString error;
    if (!server.Listen(error)) {
        std::fprintf(stderr, "kalvor-demohost: cannot listen on %s:%u: %s\n",
                     options.Bind.toString().toLocal8Bit().constData(), options.Port, error.toLocal8Bit().constData());
        return 1;
    }
    // The first line ends in the Telnet port (tests read it there).
    const QByteArray bind = options.Bind.toString().toLocal8Bit();
    std::printf("kalvor-demohost listening on %s:%u\n", bind.constData(), static_cast<unsigned>(server.Port()));
    if (server.PictureError().isEmpty())
        std::printf("pictures over HTTP on %s port %u\n", bind.constData(),
                    static_cast<unsigned>(server.PicturePort()));
    else
        std::printf("no pictures over HTTP, the forms demonstration shows none (%s)\n",
                    server.PictureError().toLocal8Bit().constData());
    std::fflush(stdout);
    return app.exec();
}
