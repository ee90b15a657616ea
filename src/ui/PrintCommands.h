// File > Print (the selection when one is marked, else the screen) and
// File > Print File..., with Ctrl+P as a local command.
#pragma once

#include <QObject>

class QAction;
class QMenu;

namespace kalvor::ui {

class MainWindow;

class PrintCommands final : public QObject {
public:
    // The commands put into `file` before `before`.
    PrintCommands(MainWindow& window, QMenu& file, QAction* before);

    // Print1_Click: the marked text, or the screen.
    void Print1_Click();
    // A text file chosen by the user.
    void PrintFile_Click();
    // Ctrl+P only while control characters are processed locally.
    void ControlCharactersChanged(bool transmit);

private:
    MainWindow& window_;
    QAction* print_;
};

} // namespace kalvor::ui
