// The progress window of a resource download, offscreen: its labels as a
// file arrives, and no closing while the files download.
#include "ui/forms/ResourceProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

#include <gtest/gtest.h>

using kalvor::ui::forms::ResourceProgressWindow;

namespace {

QString Label(const ResourceProgressWindow& w, const char* name)
{
    const QLabel* label = w.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("(no label)");
}

} // namespace

TEST(ResourceProgressWindow, ShowsProgressAndRefusesToCloseWhileDownloading)
{
    ResourceProgressWindow w;
    w.DownloadStarted(2);
    EXPECT_TRUE(w.isVisible());
    w.FileProgress({"logo.gif", 1'500'000, 3'000'400, 812.25});
    EXPECT_EQ(Label(w, "file"), "File: logo.gif");
    EXPECT_EQ(Label(w, "size"), "3000 Kbytes");
    EXPECT_EQ(Label(w, "caching"), "caching 1500000 of 3000400 bytes at 812.3 Kbps");

    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    ASSERT_NE(w.findChild<QMessageBox*>(), nullptr);

    w.FileFailed("gone.gif", "DownloadResources - HTTP1.Error [404] Not Found");
    w.DownloadFinished();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.TakeFailureLines(), std::vector<std::string>{"DownloadResources - HTTP1.Error [404] Not Found"});
    w.show();
    EXPECT_TRUE(w.close());
}
