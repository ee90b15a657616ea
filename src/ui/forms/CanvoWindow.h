// The Canvo window: CanvoView inside a main window, the forms-mode core
// behind it, real edit controls placed over the focused entry box (one line
// or several) or pick list (single or multiple choice), and the 25 ms timer
// that runs the forms-mode receive loop. Keys of the focus actions, F1..F12
// and the mouse go to the core; other keys edit the control.
#pragma once

#include "forms/FormsMode.h"
#include "ui/forms/CanvoView.h"

#include <QMainWindow>
#include <QTimer>

#include <filesystem>
#include <functional>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace kalvor::ui::forms {

class CanvoWindow : public QMainWindow, private kalvor::forms::FormsWindow {
public:
    static constexpr int kPollingMs = 25;

    CanvoWindow(kalvor::forms::FormsFlags& flags, ByteQueue& receiveBuffer, kalvor::forms::FormsOutput& output,
                const Clock& clock, const kalvor::forms::FormFiles& files, QWidget* parent = nullptr);
    ~CanvoWindow() override;

    kalvor::forms::FormsMode& Core() { return core_; }
    CanvoView& View() { return *view_; }
    void SetDebugLog(kalvor::forms::FormsDebugLog* log);

    // The terminal finished a form download (or ESC % k X): the form built
    // from the form file, the window shown and its receive loop started.
    bool Open();
    // Open() is building the form: fetching its resources lets the event
    // loop run, and received data must wait for the built form.
    bool Building() const { return building_; }

    // Before each pass of the receive loop: the owner moves what the
    // connection holds into the receive buffer and pumps its transmitter.
    std::function<void()> BeforePoll;
    // The window was unloaded (closed by the host or the user): the terminal
    // comes to the front.
    std::function<void()> Unloaded;

    // The edit control over the focused object, null when none shows.
    QWidget* EditControl() const;

protected:
    // The message boxes; tests take the texts instead.
    virtual void ShowMessage(const QString& title, const QString& text);

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // FormsWindow
    kalvor::forms::FormResult BuildForm(std::string_view formText) override;
    void UnloadWindow() override;
    void RedrawObject(int position) override;
    void FocusMoved(int from, int to) override;
    void MouseMoved(int from, int to) override;
    void Bell() override;
    void MessageBox(std::string_view title, std::string_view text) override;
    kalvor::forms::Rect ObjectArea(int position) const override;

    void Poll();
    bool FormsKeyPress(QKeyEvent* key);
    void PlaceEditControl();
    void FillEditControl();
    void EntryEdited();
    void PickEdited();
    void Unload();

    CanvoView* view_;
    kalvor::forms::FormsMode core_;
    ByteQueue& buffer_;
    QTimer polling_;
    bool building_ = false;
    QLineEdit* line_;
    QPlainTextEdit* lines_;
    QListWidget* list_;
    bool filling_ = false; // edit controls being filled from the model
};

} // namespace kalvor::ui::forms
