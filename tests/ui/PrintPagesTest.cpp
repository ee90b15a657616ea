// Prints to PDF without a printer, read back: the pages (counted in the
// file) and their text (with pdftotext when poppler-utils is installed).
// The host's ESC % p chooses the page header and the font size.
#include "TempHome.h"

#include "base/Clock.h"
#include "base/ProgramInstance.h"
#include "session/Session.h"
#include "ui/Printing.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kalvor::ui {
namespace {

struct NoPrinter final : PrintDialogs {
    QString Told;
    bool HavePrinter() override { return false; }
    bool ChoosePrinter(QPrinter&, const QString&) override { return false; }
    void TellPdf(const QString& pdf, const QString&) override { Told = pdf; }
};

// A session printing through its own Printing without a printer.
struct PrintFixture {
    test::TempHome home;
    ManualClock clock;
    Session session{clock};
    logging::ErrorReport errors;
    Printing printing{nullptr, errors};
    NoPrinter dialogs;

    PrintFixture()
    {
        std::filesystem::create_directories(TempFolder()); // as start-up makes it
        printing.SetDialogs(&dialogs);
        printing.SetTerminal(&session.State());
    }

    // Host output through the receive pass, escape sequences and all.
    void Host(std::string_view text)
    {
        session.AppendLocal(text);
        for (int i = 0; i < 100 && !session.ReceiveBufferEmpty(); ++i)
            session.Tick();
    }

    int Pages() const
    {
        QFile f(dialogs.Told);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        return static_cast<int>(
            QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
    }

    // The PDF's text, or nothing when pdftotext is missing.
    std::optional<QString> Text() const
    {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (tool.isEmpty())
            return std::nullopt;
        QProcess p;
        p.start(tool, {QStringLiteral("-layout"), dialogs.Told, QStringLiteral("-")});
        p.waitForFinished(-1);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
};

// The screen with enhancements and line drawing on one page under its
// header; a long text over pages, each with its header; then the host's
// larger font (more pages) without a header.
TEST(PrintPages, ScreenAndLongTextPrintUnderPageHeadersAndHostSettingsApply)
{
    PrintFixture f;
    f.Host("\x1b&dBInverse\x1b&d@ plain \x1b&dDunder\x1b&d@\r\n\x1b)B\x0elqqk\x0f box\r\n");
    ASSERT_EQ(f.printing.Print(PrintJob{QStringLiteral("Kalvor screen"), ScreenRows(f.session.Memory())}), 0);
    EXPECT_EQ(f.Pages(), 1);
    if (const auto text = f.Text()) {
        EXPECT_TRUE(text->contains(QStringLiteral("Kalvor screen"))) << text->toStdString();
        EXPECT_TRUE(text->contains(QStringLiteral("Page 1 of 1"))) << text->toStdString();
        EXPECT_TRUE(text->contains(QRegularExpression(QStringLiteral("Inverse +plain +under")))) << text->toStdString();
        EXPECT_TRUE(text->contains(QStringLiteral("box"))) << text->toStdString();
    }

    QString body;
    for (int i = 1; i <= 200; ++i)
        body += QStringLiteral("line %1\r\n").arg(i);
    ASSERT_EQ(f.printing.PrintText(QStringLiteral("zklog.txt"), body), 0);
    const int pages = f.Pages();
    EXPECT_GT(pages, 1);
    if (const auto t = f.Text()) {
        EXPECT_TRUE(t->contains(QStringLiteral("Page %1 of %1").arg(pages))) << t->toStdString();
        EXPECT_TRUE(t->contains(QStringLiteral("line 200"))) << t->toStdString();
        EXPECT_EQ(t->count(QStringLiteral("zklog.txt")), pages);
    }

    f.Host("\x1b%p20f0H");
    ASSERT_EQ(f.printing.PrintText(QStringLiteral("zklog.txt"), body), 0);
    EXPECT_GT(f.Pages(), pages);
    if (const auto t = f.Text()) {
        EXPECT_FALSE(t->contains(QStringLiteral("Page "))) << t->toStdString();
        EXPECT_TRUE(t->contains(QStringLiteral("line 200")));
    }
}

} // namespace
} // namespace kalvor::ui
