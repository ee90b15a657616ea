#include "ui/EditMenu.h"

#include "base/ProgramFolder.h"
#include "edit/ClipText.h"
#include "edit/WordMarking.h"
#include "ui/FindString.h"
#include "ui/LocalShortcuts.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QUrl>

#include <cmath>

namespace kalvor::ui {
namespace {

constexpr int kAutoScrollMs = 50;
constexpr int kAutoScrollCols = 3;
// Pointer moves closer together than this are not followed.
constexpr int kMoveIntervalMs = 10;

QString FromLatin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

std::string ToLatin1(const QString& s)
{
    const QByteArray bytes = s.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

// The system clipboard (plain text, Latin-1 as the terminal keeps it).
class EditMenu::SystemClipboard final : public edit::Clipboard {
public:
    std::string Text() const override { return ToLatin1(QGuiApplication::clipboard()->text(QClipboard::Clipboard)); }
    void SetText(const std::string& text) override
    {
        QGuiApplication::clipboard()->setText(FromLatin1(text), QClipboard::Clipboard);
    }
};

EditMenu::EditMenu(MainWindow& window)
    : window_(window),
      clipboard_(std::make_unique<SystemClipboard>()),
      editor_(std::make_unique<edit::Editor>(window.GetSession(), window.SessionClock(), *clipboard_))
{
    Confirm = [this](const QString& question) {
        return QMessageBox::question(&window_, QStringLiteral("Paste"), question) == QMessageBox::Yes;
    };
    OpenUrl = [](const QUrl& address) { QDesktopServices::openUrl(address); };
    Tell = [this](const QString& text) { QMessageBox::information(&window_, QStringLiteral("Find String"), text); };
    window_.View().installEventFilter(this);
    window_.View().setMouseTracking(false);
    autoScroll_.setInterval(kAutoScrollMs);
    connect(&autoScroll_, &QTimer::timeout, this, [this] { AutoScroll(); });
    pastePanel_ = new QLabel(&window_);
    pastePanel_->setObjectName(QStringLiteral("PastePanel"));
    pastePanel_->setVisible(false);
    window_.statusBar()->addPermanentWidget(pastePanel_);
}

EditMenu::~EditMenu() { window_.View().removeEventFilter(this); }

void EditMenu::BuildMenu(QMenuBar& bar, QAction* before)
{
    auto* menu = new QMenu(QStringLiteral("&Edit"), &bar);
    bar.insertMenu(before, menu);
    context_ = new QMenu(&window_);
    const auto add = [this](QMenu* m, const QString& text, const QString& name, auto slot) {
        QAction* a = m->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    undo_ = add(menu, QStringLiteral("&Undo"), QStringLiteral("UndoCommand"), [this] { UndoCommand_Click(); });
    menu->addSeparator();
    cut_ = add(menu, QStringLiteral("Cu&t"), QStringLiteral("CutSelection"), [this] { CutSelection_Click(); });
    copy_ = add(menu, QStringLiteral("&Copy"), QStringLiteral("CopySelection"), [this] { CopySelection_Click(); });
    paste_ = add(menu, QStringLiteral("&Paste"), QStringLiteral("PasteSelection"), [this] { PasteSelection_Click(); });
    selectAll_ = add(menu, QStringLiteral("Select &All"), QStringLiteral("SelectAll"), [this] { SelectAll_Click(); });
    menu->addSeparator();
    find_ = add(menu, QStringLiteral("&Find..."), QStringLiteral("DefineFind"), [this] { DefineFind_Click(); });
    findAgain_ = add(menu, QStringLiteral("Do Same Find &Again"), QStringLiteral("FindStringMenu"),
                     [this] { FindStringMenu_Click(); });
    replace_ =
        add(menu, QStringLiteral("&Replace"), QStringLiteral("ReplaceString"), [this] { ReplaceString_Click(); });
    menu->addSeparator();
    cancelPaste_ =
        add(menu, QStringLiteral("Cancel Pa&ste"), QStringLiteral("CancelPaste"), [this] { CancelPaste_Click(); });
    cancelPaste_->setEnabled(false);

    // The context copy: the second item of each pair, without shortcuts.
    add(context_, QStringLiteral("&Undo"), QStringLiteral("UndoCommand2"), [this] { UndoCommand_Click(); });
    context_->addSeparator();
    cut2_ = add(context_, QStringLiteral("Cu&t"), QStringLiteral("CutSelection2"), [this] { CutSelection_Click(); });
    copy2_ =
        add(context_, QStringLiteral("&Copy"), QStringLiteral("CopySelection2"), [this] { CopySelection_Click(); });
    add(context_, QStringLiteral("&Paste"), QStringLiteral("PasteSelection2"), [this] { PasteSelection_Click(); });
    add(context_, QStringLiteral("Select &All"), QStringLiteral("SelectAll2"), [this] { SelectAll_Click(); });
    context_->addSeparator();
    add(context_, QStringLiteral("&Find..."), QStringLiteral("DefineFind2"), [this] { DefineFind_Click(); });
    add(context_, QStringLiteral("Do Same Find &Again"), QStringLiteral("FindStringMenu2"),
        [this] { FindStringMenu_Click(); });
    add(context_, QStringLiteral("&Replace"), QStringLiteral("ReplaceString2"), [this] { ReplaceString_Click(); });
    ControlCharactersChanged(window_.GetSession().TransmitControlCharacters());
    Changed();
}

void EditMenu::ControlCharactersChanged(bool transmit)
{
    if (copy_ == nullptr)
        return;
    undo_->setShortcuts(LocalShortcuts(Qt::Key_Z, transmit));
    cut_->setShortcuts(LocalShortcuts(Qt::Key_X, transmit));
    copy_->setShortcuts(LocalShortcuts(Qt::Key_C, transmit));
    paste_->setShortcuts(LocalShortcuts(Qt::Key_V, transmit));
    selectAll_->setShortcuts(LocalShortcuts(Qt::Key_A, transmit));
    find_->setShortcuts(LocalShortcuts(Qt::Key_F, transmit));
}

// Copy and Cut are offered while something is marked; Cancel Paste while
// pasted lines wait.
void EditMenu::Changed()
{
    const bool marked = editor_->Marked();
    for (QAction* a : {copy_, cut_, copy2_, cut2_})
        if (a != nullptr)
            a->setEnabled(marked);
    const std::size_t waiting = editor_->PasteWaiting();
    if (cancelPaste_ != nullptr)
        cancelPaste_->setEnabled(waiting > 0);
    pastePanel_->setVisible(waiting > 0);
    pastePanel_->setText(QStringLiteral("Pasting: %1 lines waiting").arg(waiting));
}

render::MarkedRegion EditMenu::Marking() const
{
    edit::Selection sel = editor_->Current();
    const DisplayMemory& mem = window_.GetSession().Memory();
    if (sel.Dragging) {
        const auto [row, col] = EdgeCell(pointer_);
        edit::ReleaseAt(sel, mem, row, col);
    }
    if (!sel.Marked())
        return {};
    return render::MarkedRegion{true, sel.StartRow, sel.StartCol, sel.EndRow, sel.EndCol, sel.Rect};
}

void EditMenu::Tick()
{
    const std::size_t before = editor_->PasteWaiting();
    editor_->Tick();
    if (before != editor_->PasteWaiting())
        Changed();
}

// Undo is always offered; it does nothing when memory has changed since the
// last local command (working that out on every change would cost a compare
// of display memory each time).
void EditMenu::UndoCommand_Click()
{
    if (editor_->Undo()) {
        Changed();
        window_.RefreshTerminal();
    }
    window_.View().setFocus();
}

void EditMenu::CopySelection_Click()
{
    editor_->Copy();
    window_.View().setFocus();
}

void EditMenu::CutSelection_Click()
{
    editor_->Cut();
    Changed();
    window_.RefreshTerminal();
}

void EditMenu::PasteSelection_Click() { PasteFromUser(QGuiApplication::clipboard()->text(QClipboard::Clipboard)); }

void EditMenu::PasteFromUser(const QString& text)
{
    const std::string latin1 = ToLatin1(text);
    if (latin1.empty())
        return;
    if (edit::PasteNeedsConfirmation(latin1)) {
        const std::size_t lines = edit::HostPasteLines(latin1).size();
        const QString question = lines > 5 ? QStringLiteral("The text to paste has %1 lines. Paste it?").arg(lines)
                                           : QStringLiteral("The text to paste holds control characters. Paste it?");
        if (!Confirm(question))
            return;
    }
    editor_->PasteText(latin1);
    Changed();
    window_.RefreshTerminal();
    window_.View().setFocus();
}

void EditMenu::SelectAll_Click()
{
    (void)editor_->SelectAll();
    SelectionMade();
    window_.View().setFocus();
}

void EditMenu::DefineFind_Click()
{
    FindString dialog(&window_, editor_->Find, FromLatin1(editor_->ProposedFindText()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    editor_->Find = dialog.Settings();
    editor_->Current().Rect = false;
    if (!editor_->Find.FindText.empty())
        FindStringMenu_Click();
}

void EditMenu::FindStringMenu_Click()
{
    if (editor_->Find.FindText.empty())
        return;
    const bool found = editor_->FindNext();
    Changed();
    window_.RefreshTerminal();
    if (!found)
        Tell(QStringLiteral("String not found."));
}

void EditMenu::ReplaceString_Click()
{
    editor_->Replace();
    Changed();
    window_.RefreshTerminal();
}

void EditMenu::CancelPaste_Click()
{
    editor_->CancelPaste();
    Changed();
}

// ---------------------------------------------------------------------------
// The mouse on the display

edit::PointerCell EditMenu::PointerAt(const QPoint& pos) const
{
    const render::CellGeometry& cell = window_.Renderer().Cell();
    // Image coordinates: the horizontal scroll is in the position already.
    return {static_cast<double>(pos.x() + window_.View().Offset()), static_cast<double>(pos.y()),
            static_cast<double>(cell.Width), static_cast<double>(cell.Height), 0};
}

std::pair<int, int> EditMenu::EdgeCell(const QPoint& pos) const
{
    const DisplayMemory& mem = window_.GetSession().Memory();
    const edit::PointerCell p = PointerAt(pos);
    return {edit::EdgeScreenRow(p, mem.RowsInTerm), edit::EdgeColumn(p, mem.ColsInTerm)};
}

bool EditMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &window_.View())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: MousePress(static_cast<QMouseEvent*>(event)); return true;
    case QEvent::MouseMove: MouseMove(static_cast<QMouseEvent*>(event)); return true;
    case QEvent::MouseButtonRelease: MouseRelease(static_cast<QMouseEvent*>(event)); return true;
    case QEvent::MouseButtonDblClick: DoubleClick(static_cast<QMouseEvent*>(event)); return true;
    default: return false;
    }
}

void EditMenu::MousePress(QMouseEvent* event)
{
    window_.View().setFocus();
    window_.GetSession().EndExtendedEntry();
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        // With something marked it is copied; else the clipboard is pasted;
        // Shift, or nothing to copy or paste, opens the context menu.
        const bool clipboardEmpty = QGuiApplication::clipboard()->text(QClipboard::Clipboard).isEmpty();
        if ((event->modifiers() & Qt::ShiftModifier) != 0 || (!editor_->Marked() && clipboardEmpty)) {
            ContextMenu(event->globalPosition().toPoint());
        } else if (editor_->Marked()) {
            editor_->Copy();
            editor_->Forget();
        } else {
            PasteSelection_Click();
        }
    } else if (event->button() == Qt::MiddleButton) {
        editor_->Forget();
        if (QGuiApplication::clipboard()->supportsSelection())
            PasteFromUser(QGuiApplication::clipboard()->text(QClipboard::Selection));
    } else if (event->button() == Qt::LeftButton) {
        pointer_ = pos;
        moveClock_.invalidate();
        const auto [row, col] = EdgeCell(pos);
        (void)edit::PressAt(editor_->Current(), window_.GetSession().Memory(), row, col,
                            (event->modifiers() & Qt::ControlModifier) != 0);
        autoScroll_.start();
    }
    Changed();
    window_.RefreshTerminal();
}

void EditMenu::MouseMove(QMouseEvent* event)
{
    if (!editor_->Current().Dragging || (event->buttons() & Qt::LeftButton) == 0)
        return;
    const QPoint pos = event->position().toPoint();
    if (pos == pointer_ || (moveClock_.isValid() && moveClock_.elapsed() < kMoveIntervalMs))
        return;
    moveClock_.start();
    pointer_ = pos;
    // The cursor follows the pointer; the whole screen is drawn again so the
    // marked region follows it too.
    Session& session = window_.GetSession();
    const DisplayMemory& mem = session.Memory();
    const auto [row, col] = edit::DragCursorCell(PointerAt(pos), mem);
    session.PlaceCursor(mem.TopRow, mem.Wrap(mem.TopRow + row), col);
    window_.RefreshTerminal();
}

// While the pointer is beyond an edge of the display the window scrolls a
// row up or down, or three columns left or right, on every timer tick.
void EditMenu::AutoScroll()
{
    if (!editor_->Current().Dragging) {
        autoScroll_.stop();
        return;
    }
    const QWidget& view = window_.View();
    const int cellWidth = window_.Renderer().Cell().Width;
    QScrollBar& v = window_.VScrollBar();
    QScrollBar& h = window_.HScrollBar();
    if (pointer_.y() < 0)
        v.setValue(v.value() - 1);
    else if (pointer_.y() >= view.height())
        v.setValue(v.value() + 1);
    if (pointer_.x() < -cellWidth / 2)
        h.setValue(h.value() - kAutoScrollCols * cellWidth);
    else if (pointer_.x() > view.width() + cellWidth / 2)
        h.setValue(h.value() + kAutoScrollCols * cellWidth);
    window_.RefreshTerminal();
}

void EditMenu::MouseRelease(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    autoScroll_.stop();
    if (ignoreRelease_) {
        ignoreRelease_ = false;
        return;
    }
    if (!editor_->Current().Dragging)
        return;
    pointer_ = event->position().toPoint();
    const auto [row, col] = EdgeCell(pointer_);
    edit::ReleaseAt(editor_->Current(), window_.GetSession().Memory(), row, col);
    SelectionMade();
}

void EditMenu::DoubleClick(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    autoScroll_.stop();
    ignoreRelease_ = true;
    const render::CellGeometry& cell = window_.Renderer().Cell();
    const QPoint pos = event->position().toPoint();
    const DisplayMemory& mem = window_.GetSession().Memory();
    const int col = std::clamp((pos.x() + window_.View().Offset()) / cell.Width, 0, mem.ColsInTerm - 1);
    const int row = std::clamp(pos.y() / cell.Height, 0, mem.RowsInTerm - 1);
    if (editor_->MarkWord(row, col)) {
        SelectionMade();
        const int ring = editor_->Current().StartRow;
        if (const auto address = edit::AddressAt(ProgramFolder(), mem.Row(ring).Text, col))
            OpenUrl(QUrl(FromLatin1(*address)));
    } else {
        Changed();
        window_.RefreshTerminal();
    }
}

void EditMenu::ContextMenu(const QPoint& global)
{
    Changed();
    context_->popup(global);
}

// A new selection is the X11 primary selection too.
void EditMenu::SelectionMade()
{
    if (editor_->Marked() && QGuiApplication::clipboard()->supportsSelection())
        QGuiApplication::clipboard()->setText(
            FromLatin1(edit::ClipCopyText(editor_->Current(), window_.GetSession().Memory())), QClipboard::Selection);
    Changed();
    window_.RefreshTerminal();
}

} // namespace kalvor::ui
