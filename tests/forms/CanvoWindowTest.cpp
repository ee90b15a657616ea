// The Canvo window offscreen: the edit controls placed over the focused
// object and held to MaxChars and the display lines, keys and clicks
// reaching the forms mode, the value lines sent, exit protection, closing.
#include "TempHome.h"

#include "ui/forms/CanvoWindow.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

namespace kalvor::test {
namespace {

using namespace kalvor::forms;
using namespace kalvor::ui::forms;

class Lines final : public FormsOutput {
public:
    std::string Sent;
    void xmitchar(std::string_view text) override { Sent += text; }
    std::string Take() { return std::exchange(Sent, {}); }
};

class QuietWindow final : public CanvoWindow {
public:
    using CanvoWindow::CanvoWindow;
    QStringList Shown;

protected:
    void ShowMessage(const QString& title, const QString& text) override { Shown << title + ": " + text; }
};

TEST(CanvoWindow, EditControlsKeysClicksAndClosing)
{
    TempHome home;
    const FormFiles files = FormFiles::OfThisInstance();
    std::filesystem::create_directories(files.Form.parent_path());
    std::ofstream(files.Form) << "/ENTRYBOX (10 10 8 NAME MAXCHARS 5)\n"
                                 "/ENTRYBOX (10 60 8 NOTES DISPLAYLINES 2)\n"
                                 "/MULTIPICK (10 120 8 COLOUR)\n/BUTTON (10 200 100 240 OK)\n";
    FormsFlags flags;
    ByteQueue buffer;
    Lines lines;
    ManualClock clock;
    QuietWindow window(flags, buffer, lines, clock, files);
    bool unloaded = false;
    window.Unloaded = [&] { unloaded = true; };
    ASSERT_TRUE(window.Open());
    QApplication::processEvents();

    auto* name = qobject_cast<QLineEdit*>(window.EditControl());
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->geometry(), window.View().Form().ObjectRect(1));
    QTest::keyClicks(name, "Adalovelace");
    EXPECT_EQ(name->text(), "Adalo");
    QTest::keyClick(name, Qt::Key_Tab);
    EXPECT_EQ(lines.Take(), "NAME:Adalo\r");

    auto* notes = qobject_cast<QPlainTextEdit*>(window.EditControl());
    ASSERT_NE(notes, nullptr);
    QTest::keyClicks(notes, "a");
    QTest::keyClick(notes, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(notes, "b");
    QTest::keyClick(notes, Qt::Key_Return, Qt::ControlModifier); // a third line is refused
    QTest::keyClicks(notes, "c");
    QTest::keyClick(notes, Qt::Key_Home); // a focus action, not a cursor move
    EXPECT_EQ(lines.Take(), "NOTES:a|bc\r");
    EXPECT_EQ(window.EditControl(), name);

    buffer.Append("COLOUR:red|green\rGOTO:colour\r");
    window.Core().CanvoPolling(buffer);
    auto* colour = qobject_cast<QListWidget*>(window.EditControl());
    ASSERT_NE(colour, nullptr);
    ASSERT_EQ(colour->count(), 2);
    colour->item(1)->setSelected(true);
    QTest::keyClick(colour, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(lines.Take(), "COLOUR:|red|green|*|green|\r");

    QTest::mouseClick(window.View().viewport(), Qt::LeftButton, {}, QPoint(50, 220));
    EXPECT_EQ(lines.Take(), "OK:NOTES\r");

    buffer.Append("\x1b%k1U");
    window.Core().CanvoPolling(buffer);
    EXPECT_FALSE(window.close());
    ASSERT_EQ(window.Shown.size(), 1);
    EXPECT_TRUE(window.Shown[0].startsWith("Improper Exit Warning: Please exit your application in a\ngraceful"));
    EXPECT_TRUE(window.isVisible());

    buffer.Append("\x1b%kR");
    window.Core().CanvoPolling(buffer);
    window.Core().CanvoPolling(buffer);
    EXPECT_TRUE(unloaded);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace kalvor::test
