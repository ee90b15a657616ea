#include "ui/forms/CanvoWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace kalvor::ui::forms {

using namespace kalvor::forms;

namespace {

QString FromLatin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Entry-box text (line breaks CR LF) to an edit control's and back.
QString ToControl(const std::string& text)
{
    return FromLatin1(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string FromControl(const QString& text)
{
    const QByteArray latin = text.toLatin1();
    std::string out;
    for (const char c : latin) {
        if (c == '\n')
            out += "\r\n";
        else
            out.push_back(c);
    }
    return out;
}

std::optional<FormsKey> KeyOf(const QKeyEvent& e)
{
    const bool alt = e.modifiers() & Qt::AltModifier;
    switch (e.key()) {
    case Qt::Key_Tab: return e.modifiers() & Qt::ShiftModifier ? FormsKey::ShiftTab : FormsKey::Tab;
    case Qt::Key_Backtab: return FormsKey::ShiftTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return e.modifiers() & Qt::ControlModifier ? std::nullopt : std::optional(FormsKey::Enter);
    case Qt::Key_Home: return FormsKey::Home;
    case Qt::Key_End: return FormsKey::End;
    case Qt::Key_Up: return alt ? FormsKey::AltUp : FormsKey::Up;
    case Qt::Key_Down: return alt ? FormsKey::AltDown : FormsKey::Down;
    case Qt::Key_Left: return alt ? FormsKey::AltLeft : FormsKey::Left;
    case Qt::Key_Right: return alt ? FormsKey::AltRight : FormsKey::Right;
    default: return std::nullopt;
    }
}

} // namespace

CanvoWindow::CanvoWindow(FormsFlags& flags, ByteQueue& receiveBuffer, FormsOutput& output, const Clock& clock,
                         const FormFiles& files, QWidget* parent)
    : QMainWindow(parent),
      view_(new CanvoView(this)),
      core_(view_->Form().Model(), flags, *this, output, clock, files),
      buffer_(receiveBuffer),
      line_(new QLineEdit(view_->viewport())),
      lines_(new QPlainTextEdit(view_->viewport())),
      list_(new QListWidget(view_->viewport()))
{
    setCentralWidget(view_);
    view_->viewport()->setMouseTracking(true);
    view_->viewport()->installEventFilter(this);
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->installEventFilter(this);
    for (QWidget* control :
         {static_cast<QWidget*>(line_), static_cast<QWidget*>(lines_), static_cast<QWidget*>(list_)}) {
        control->hide();
        control->installEventFilter(this);
    }
    line_->setFrame(false);
    lines_->setFrameShape(QFrame::NoFrame);
    lines_->setTabChangesFocus(true);
    list_->setFrameShape(QFrame::Box);
    connect(line_, &QLineEdit::textEdited, this, [this] { EntryEdited(); });
    connect(lines_, &QPlainTextEdit::textChanged, this, [this] { EntryEdited(); });
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] { PickEdited(); });
    connect(view_->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { PlaceEditControl(); });
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { PlaceEditControl(); });
    polling_.setInterval(kPollingMs);
    connect(&polling_, &QTimer::timeout, this, [this] { Poll(); });
}

CanvoWindow::~CanvoWindow() = default;

void CanvoWindow::SetDebugLog(FormsDebugLog* log)
{
    core_.SetDebugLog(log);
    view_->Form().SetDebugLog(log);
}

bool CanvoWindow::Open()
{
    polling_.start();
    building_ = true;
    const bool built = core_.OpenFromFormFile();
    building_ = false;
    if (built)
        return true;
    Unload();
    return false;
}

void CanvoWindow::Poll()
{
    if (building_)
        return;
    if (BeforePoll)
        BeforePoll();
    core_.CanvoPolling(buffer_);
}

FormResult CanvoWindow::BuildForm(std::string_view formText)
{
    const bool ok = view_->BuildForm(std::string(formText));
    FormResult result;
    result.Caption = view_->Form().Caption();
    if (!ok) {
        result.Failure = FormFailure::Layers;
        return result;
    }
    setWindowTitle(result.Caption ? FromLatin1(*result.Caption) : QStringLiteral("Kalvor"));
    if (!isVisible()) {
        resize(view_->sizeHint());
        show();
    }
    polling_.start();
    PlaceEditControl();
    return result;
}

void CanvoWindow::UnloadWindow() { Unload(); }

void CanvoWindow::Unload()
{
    polling_.stop();
    line_->hide();
    lines_->hide();
    list_->hide();
    view_->Form().Layers().DeleteCVBitmaps();
    hide();
    if (Unloaded)
        Unloaded();
}

void CanvoWindow::RedrawObject(int position)
{
    view_->CopyCursorToWindow(view_->Form().DrawNewData(position));
    if (position == view_->Form().Model().Focus.CurFocusObj)
        FillEditControl();
}

void CanvoWindow::FocusMoved(int from, int to)
{
    for (const QRect& r : view_->Form().RedrawMarkings(from, to))
        view_->CopyCursorToWindow(r);
    PlaceEditControl();
}

void CanvoWindow::MouseMoved(int from, int to)
{
    for (const QRect& r : view_->Form().RedrawMarkings(from, to))
        view_->CopyCursorToWindow(r);
}

void CanvoWindow::Bell() { QApplication::beep(); }

void CanvoWindow::MessageBox(std::string_view title, std::string_view text)
{
    ShowMessage(FromLatin1(title), FromLatin1(text).replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

void CanvoWindow::ShowMessage(const QString& title, const QString& text)
{
    QMessageBox::information(this, title, text);
}

Rect CanvoWindow::ObjectArea(int position) const
{
    const QRect r = view_->Form().ObjectRect(position);
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

QWidget* CanvoWindow::EditControl() const
{
    for (QWidget* control : {static_cast<QWidget*>(line_), static_cast<QWidget*>(lines_), static_cast<QWidget*>(list_)})
        if (!control->isHidden())
            return control;
    return nullptr;
}

// The control for the focus object, placed over it: a line or several for
// an entry box (its display lines), a list showing Height rows for a pick
// list. Other objects leave the keyboard with the drawing surface.
void CanvoWindow::PlaceEditControl()
{
    const FormModel& model = view_->Form().Model();
    const int focus = model.Focus.CurFocusObj;
    QWidget* wanted = nullptr;
    if (model.Listed(focus) && view_->Form().Layers().Exist()) {
        const ObjectRef o = model.At(focus);
        if (o.Type == ObjectType::Entry)
            wanted = model.Cursors[o.Index].Field.DisplayLines > 1 ? static_cast<QWidget*>(lines_) : line_;
        else if (o.Type == ObjectType::Pick)
            wanted = list_;
    }
    for (QWidget* control : {static_cast<QWidget*>(line_), static_cast<QWidget*>(lines_), static_cast<QWidget*>(list_)})
        if (control != wanted)
            control->hide();
    if (wanted == nullptr) {
        if (isVisible())
            view_->setFocus();
        return;
    }
    const bool moved = wanted->isHidden();
    QRect r = view_->Form().ObjectRect(focus).translated(-view_->ScrollPosition());
    const LookMetrics& m = view_->Form().Metrics();
    wanted->setFont(m.Font);
    if (wanted == list_) {
        const Pick& pick = model.Picks[model.At(focus).Index];
        r.setHeight(std::max(1, pick.Height) * (m.Cell.Height + 2) + 4);
    }
    wanted->setGeometry(r);
    if (moved)
        FillEditControl();
    wanted->show();
    wanted->raise();
    if (isVisible())
        wanted->setFocus();
}

// The focus object's value into its control, without reporting it back.
void CanvoWindow::FillEditControl()
{
    const FormModel& model = view_->Form().Model();
    const int focus = model.Focus.CurFocusObj;
    if (!model.Listed(focus))
        return;
    const ObjectRef o = model.At(focus);
    filling_ = true;
    if (o.Type == ObjectType::Entry) {
        const Cursor& box = model.Cursors[o.Index];
        line_->setMaxLength(box.MaxChars > 0 ? box.MaxChars : 32767);
        line_->setAlignment(box.textalign == TextAlign::Right    ? Qt::AlignRight
                            : box.textalign == TextAlign::Center ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft);
        if (line_->text() != ToControl(box.Text))
            line_->setText(ToControl(box.Text));
        if (lines_->toPlainText() != ToControl(box.Text))
            lines_->setPlainText(ToControl(box.Text));
    } else if (o.Type == ObjectType::Pick) {
        const Pick& pick = model.Picks[o.Index];
        list_->clear();
        list_->setSelectionMode(pick.Type == PickType::Multi ? QAbstractItemView::MultiSelection
                                                             : QAbstractItemView::SingleSelection);
        for (const std::string& item : pick.List) {
            auto* row = new QListWidgetItem(FromLatin1(item), list_);
            row->setSelected(std::find(pick.SelList.begin(), pick.SelList.end(), item) != pick.SelList.end());
        }
    }
    filling_ = false;
}

// The entry box's text as typed, held to MaxChars characters and to its
// display lines.
void CanvoWindow::EntryEdited()
{
    if (filling_)
        return;
    const FormModel& model = view_->Form().Model();
    const int focus = model.Focus.CurFocusObj;
    if (!model.Listed(focus) || model.At(focus).Type != ObjectType::Entry)
        return;
    const Cursor& box = model.Cursors[model.At(focus).Index];
    if (!lines_->isHidden()) {
        QString text = lines_->toPlainText();
        QStringList rows = text.split(QLatin1Char('\n'));
        bool cut = false;
        if (rows.size() > box.Field.DisplayLines) {
            rows = rows.mid(0, box.Field.DisplayLines);
            cut = true;
        }
        QString joined = rows.join(QLatin1Char('\n'));
        if (box.MaxChars > 0 && joined.size() - (rows.size() - 1) > box.MaxChars) {
            int keep = 0, chars = 0;
            while (keep < joined.size() && (joined[keep] == QLatin1Char('\n') || chars < box.MaxChars))
                chars += joined[keep++] == QLatin1Char('\n') ? 0 : 1;
            joined.truncate(keep);
            cut = true;
        }
        if (cut) {
            filling_ = true;
            lines_->setPlainText(joined);
            lines_->moveCursor(QTextCursor::End);
            filling_ = false;
        }
        core_.SetEntryText(FromControl(joined));
    } else {
        core_.SetEntryText(FromControl(line_->text()));
    }
}

void CanvoWindow::PickEdited()
{
    if (filling_)
        return;
    std::vector<std::string> chosen;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->isSelected())
            chosen.push_back(list_->item(i)->text().toLatin1().toStdString());
    core_.SetPickSelection(std::move(chosen));
}

bool CanvoWindow::FormsKeyPress(QKeyEvent* key)
{
    if (key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F12) {
        core_.FunctionKey(key->key() - Qt::Key_F1 + 1);
        return true;
    }
    if (key->key() == Qt::Key_Return && (key->modifiers() & Qt::ControlModifier) && !lines_->isHidden()) {
        lines_->insertPlainText(QStringLiteral("\n")); // a line break in a box of several lines
        return true;
    }
    if (const auto k = KeyOf(*key)) {
        core_.Key(*k);
        return true;
    }
    return false;
}

bool CanvoWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: return FormsKeyPress(static_cast<QKeyEvent*>(event));
    case QEvent::ShortcutOverride: {
        // Keep the edit controls from taking Home, End and the arrows.
        auto* key = static_cast<QKeyEvent*>(event);
        if (KeyOf(*key)) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
        if (watched != view_->viewport())
            break;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = view_->FormPoint(mouse->position().toPoint());
        if (event->type() == QEvent::MouseMove)
            core_.MouseMove(at.x(), at.y());
        else if (mouse->button() == Qt::LeftButton && event->type() == QEvent::MouseButtonPress)
            core_.MousePress(at.x(), at.y());
        else if (mouse->button() == Qt::LeftButton)
            core_.MouseRelease(at.x(), at.y());
        return false;
    }
    default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CanvoWindow::closeEvent(QCloseEvent* event)
{
    if (!core_.UserClose()) {
        event->ignore();
        return;
    }
    event->accept();
    Unload();
}

} // namespace kalvor::ui::forms
