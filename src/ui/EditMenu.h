// The window's side of the Edit menu: the menu and its context copy, the
// mouse on the display (drag selection with auto-scroll at the edges, the
// right and middle buttons, double click on a word and its address), the
// system clipboard and the X11 primary selection, the confirmation before a
// risky paste, the "Find String" dialog and the pasted lines still waiting.
// The commands themselves are the edit library's Editor.
#pragma once

#include "edit/Clipboard.h"
#include "edit/Editor.h"
#include "render/Renderer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QMouseEvent;
class QUrl;

namespace kalvor::ui {

class MainWindow;

class EditMenu final : public QObject {
public:
    explicit EditMenu(MainWindow& window);
    ~EditMenu() override;

    edit::Editor& Editor() { return *editor_; }
    // The Edit menu, put into the menu bar before `before` (null: at the end).
    void BuildMenu(QMenuBar& bar, QAction* before);
    // The status-bar panel of pasted lines still waiting.
    QLabel& PastePanel() { return *pastePanel_; }
    // Ctrl+letter shortcuts only while control characters are processed
    // locally; Ctrl+Shift+letter always.
    void ControlCharactersChanged(bool transmit);
    // The selection as the renderer draws it (the region being dragged too).
    render::MarkedRegion Marking() const;
    // The receive timer ticked: waiting pasted lines may go.
    void Tick();

    // The menu commands.
    void UndoCommand_Click();
    void CopySelection_Click();
    void CutSelection_Click();
    void PasteSelection_Click();
    void SelectAll_Click();
    void DefineFind_Click();
    void FindStringMenu_Click();
    void ReplaceString_Click();
    void CancelPaste_Click();
    // A paste the user asked for: confirmed first when it is long or holds
    // control characters.
    void PasteFromUser(const QString& text);

    // Seams for tests: the question before a risky paste (true: paste), the
    // desktop's opener of addresses, the "String not found." message.
    std::function<bool(const QString& question)> Confirm;
    std::function<void(const QUrl& address)> OpenUrl;
    std::function<void(const QString& text)> Tell;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class SystemClipboard;
    void MousePress(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseRelease(QMouseEvent* event);
    void DoubleClick(QMouseEvent* event);
    void AutoScroll();
    void ContextMenu(const QPoint& global);
    // `pos` in image pixels with the cell size, for the cell arithmetic.
    edit::PointerCell PointerAt(const QPoint& pos) const;
    // Screen row and column under `pos` by the press/release rounding.
    std::pair<int, int> EdgeCell(const QPoint& pos) const;
    void SelectionMade();
    void Changed();

    MainWindow& window_;
    std::unique_ptr<SystemClipboard> clipboard_;
    std::unique_ptr<edit::Editor> editor_;
    QTimer autoScroll_;
    QPoint pointer_;             // last pointer position while dragging
    QElapsedTimer moveClock_;    // since the last pointer move followed
    bool ignoreRelease_ = false; // the release after a double click
    QLabel* pastePanel_ = nullptr;
    QMenu* context_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* selectAll_ = nullptr;
    QAction* find_ = nullptr;
    QAction* findAgain_ = nullptr;
    QAction* replace_ = nullptr;
    QAction* cancelPaste_ = nullptr;
    QAction* copy2_ = nullptr;
    QAction* cut2_ = nullptr;
};

} // namespace kalvor::ui
