// The demonstration host's forms demonstration at the byte level, over a
// plain Telnet client: the form arrives framed by ESC % k 0 F ... ESC % k C,
// builds with the form interpreter and fetches its picture from the host's
// HTTP server, and every host command line the host sends names an object
// of that form.
#include "../forms/RecordingDrawing.h"
#include "DemoPicture.h"
#include "NetTestSupport.h"
#include "PictureServer.h"
#include "TempHome.h"

#include "forms/HostCommands.h"
#include "forms/InterpretScript.h"
#include "resources/ResourceCache.h"

#include <gtest/gtest.h>

#include <QImage>

namespace kalvor::test {
namespace {

// The host command lines in `text` (CR-ended) run against the form: each one
// that is not empty once cleaned must change the form.
void ExpectLinesApply(std::string_view text, forms::FormModel& model)
{
    std::size_t at = 0;
    for (std::size_t cr; (cr = text.find('\r', at)) != std::string_view::npos; at = cr + 1) {
        const std::string line = forms::CleanHostLine(text.substr(at, cr - at), false);
        if (!line.empty()) {
            EXPECT_NE(forms::ExecuteHostCmd(line, model).What, forms::HostCmdResult::Kind::Ignored) << line;
        }
    }
}

TEST(DemoFormsTest, FormArrivesBuildsFetchesItsPictureAndAnswersValueLines)
{
    TempHome home;
    ServerProcess host;
    std::string error;
    const int port = StartDemoHost(host, {"--picture-port", "0"}, error);
    ASSERT_GT(port, 0) << error;
    ASSERT_TRUE(WaitFor([&] { return host.Output().find("pictures over HTTP") != std::string::npos; }))
        << host.Output();
    const std::string out = host.Output();
    const int picturePort = std::atoi(out.c_str() + out.rfind("port ") + 5);

    TelnetPeer terminal;
    ASSERT_TRUE(terminal.Connect(port));
    ASSERT_NE(terminal.Await("Choice: "), std::string::npos) << terminal.Received;
    terminal.Send("8\r\n");
    const std::size_t start = terminal.Await("\x1b%k0F");
    const std::size_t end = terminal.Await("\x1b%kC", start);
    const std::size_t ready = terminal.Await("\x11", end);
    ASSERT_NE(ready, std::string::npos) << terminal.Received;
    const std::string form = terminal.Received.substr(start + 5, end - start - 5);
    EXPECT_EQ(form.find('\x1b'), std::string::npos) << "a stray ESC ends the download";

    forms::FormModel model;
    forms::InterpreterState state;
    RecordingDrawing drawing;
    forms::FormSettings settings;
    settings.CacheFolder = home.Path() / "cache";
    resources::DownloadRecord downloads;
    SystemClock clock;
    resources::ResourceCache cache(home.Path(), downloads, clock);
    const forms::FormResult built = forms::InterpretScript(form, model, state, drawing, settings, &cache);
    EXPECT_EQ(built.Failure, forms::FormFailure::None);
    EXPECT_FALSE(built.Caption.value_or("").empty());
    for (int type = 1; type <= forms::kObjectTypeCount; ++type)
        EXPECT_GT(model.KindCount(static_cast<forms::ObjectType>(type)), 0) << "object type " << type;
    EXPECT_EQ(state.Resources.Port, picturePort);

    // The picture came over HTTP into the cache, and the form draws it from there.
    EXPECT_TRUE(downloads.Failures.empty()) << downloads.Failures.front();
    const std::filesystem::path picture = home.Path() / "cache" / demohost::kDemoPictureName;
    EXPECT_EQ(QImage(QString::fromStdString(picture.string())).width(), demohost::kDemoPictureWidth);
    EXPECT_TRUE(std::ranges::any_of(
        drawing.Calls, [&](const std::string& c) { return c.starts_with("image " + picture.string() + " at "); }));

    // The first values and the GOTO, then the answers to value lines: each
    // line listed back (the last five, newest last) and answered.
    ExpectLinesApply(std::string_view(terminal.Received).substr(end + 4, ready - end - 4), model);
    const auto text = [&](const char* name) { return model.DisplayFields[model.GetDisplayFldIndex(name)].Text; };
    struct Answer {
        const char* Line;
        const char* Field;
        const char* Shows;
    } const answers[] = {
        {"NAME:Ada|x", "STATUS", "Hello, Ada|x."},
        {"COUNTRY:|Norway|Sweden|*|Sweden|", "STATUS", "Country: Sweden"},
        {"INTERESTS:|A|B|C|*|A|C|", "STATUS", "Interests: A, C"},
        {"ADDRESS:1 Road\\|2|Town", "STATUS", "An address of 2 line(s)"},
        {"COLOURS:260|330", "COLOUR", "You clicked green."},
        {"TERMS:true", "STATUS", "Terms accepted."},
        {"CHECK:NAME", "STATUS", "Complete. Thank you, Ada|x."},
        {"HELP:Help", "RECEIVED1", "ADDRESS:1 Road\\|2|Town"},
    };
    std::size_t from = ready + 1;
    for (const Answer& a : answers) {
        terminal.Send(std::string(a.Line) + "\r");
        const std::size_t answered = terminal.Await("\x11", from);
        ASSERT_NE(answered, std::string::npos) << a.Line << terminal.Received;
        ExpectLinesApply(std::string_view(terminal.Received).substr(from, answered - from), model);
        EXPECT_NE(text(a.Field).find(a.Shows), std::string::npos) << a.Line << ": " << text(a.Field);
        from = answered + 1;
    }
    EXPECT_EQ(text("RECEIVED5"), "HELP:Help");

    // The form's Exit button closes forms mode; the menu follows.
    terminal.Send("EXIT:EXIT\r");
    const std::size_t closed = terminal.Await("\x1b%kR", from);
    ASSERT_NE(closed, std::string::npos) << terminal.Received;
    EXPECT_NE(terminal.Await("Choice: ", closed), std::string::npos);
}

// The picture server's answers by request.
TEST(DemoFormsTest, PictureServerAnswersByRequest)
{
    const std::map<std::string, std::string> files{{"a.bmp", "BMdata"}};
    struct Case {
        const char* Request;
        const char* StatusLine;
        int Length;       // Content-Length
        const char* Body; // what follows the head
    } const cases[] = {
        {"GET /a.bmp HTTP/1.0\r\nHost: x", "HTTP/1.0 200 OK", 6, "BMdata"},
        {"GET /a.bmp?v=2 HTTP/1.1", "HTTP/1.0 200 OK", 6, "BMdata"},
        {"HEAD /a.bmp HTTP/1.0", "HTTP/1.0 200 OK", 6, ""},
        {"GET /b.bmp HTTP/1.0", "HTTP/1.0 404 Not Found", 10, "Not Found\n"},
        {"POST /a.bmp HTTP/1.0", "HTTP/1.0 501 Not Implemented", 16, "Not Implemented\n"},
        {"GET a.bmp HTTP/1.0", "HTTP/1.0 400 Bad Request", 12, "Bad Request\n"},
    };
    for (const Case& c : cases) {
        const std::string answer = demohost::HttpAnswer(c.Request, files);
        const std::size_t body = answer.find("\r\n\r\n");
        ASSERT_NE(body, std::string::npos) << answer;
        EXPECT_EQ(answer.substr(0, answer.find("\r\n")), c.StatusLine) << c.Request;
        EXPECT_NE(answer.find("\r\nContent-Length: " + std::to_string(c.Length) + "\r\n"), std::string::npos)
            << c.Request << answer;
        EXPECT_EQ(answer.substr(body + 4), c.Body) << c.Request;
    }
}

} // namespace
} // namespace kalvor::test
