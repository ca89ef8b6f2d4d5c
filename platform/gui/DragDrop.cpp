#include "platform/gui/DragDrop.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <map>
#include <utility>

#include "platform/core/Cp949.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/KeyBridge.h"
#include "platform/gui/WinControl.h"

namespace {

bool gRTFAware = false;

QString ColumnMime() { return QString::fromStdString(ClipboardFormatMime(RegisterClipboardFormat("Grid Column"))); }
QString RtfMime() { return QString::fromStdString(ClipboardFormatMime(RegisterClipboardFormat("Rich Text Format"))); }

Qt::DropAction ActionOf(int effect)
{
    return effect == DROPEFFECT_COPY ? Qt::CopyAction : effect == DROPEFFECT_MOVE ? Qt::MoveAction : Qt::IgnoreAction;
}

int EffectOf(Qt::DropAction action)
{
    return action == Qt::CopyAction ? DROPEFFECT_COPY : action == Qt::MoveAction ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
}

TPoint PointOf(const QPointF& p) { return TPoint{static_cast<int>(p.x()), static_cast<int>(p.y())}; }

// Takes away the filters of type F a window has (they have no meta-object of their own:
// findChildren would take every child object, an editor's widget among them, for one).
template <class F>
void RemoveFilters(QWidget* Window)
{
    const QObjectList children = Window->children();
    for (QObject* child : children)
        if (auto* old = dynamic_cast<F*>(child)) {
            Window->removeEventFilter(old);
            delete old;
        }
}

// Offers a window's left presses, and its moves while the left button is held, to a control
// before the window handles them.
class TDragInputFilter : public QObject {
public:
    TDragInputFilter(QWidget* Window, TDragInputEvent Event) : QObject(Window), FEvent(std::move(Event)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        TDragInput input = diPress;
        if (event->type() == QEvent::MouseButtonPress)
            input = diPress;
        else if (event->type() == QEvent::MouseMove)
            input = diMove;
        else
            return QObject::eventFilter(watched, event);
        auto* e = static_cast<QMouseEvent*>(event);
        if (input == diPress ? e->button() != Qt::LeftButton : !(e->buttons() & Qt::LeftButton))
            return false;
        // The input may run a drag's loop, in which the control may be freed: its window stays
        // until the event has been delivered.
        auto* window = static_cast<QWidget*>(watched);
        TWidgetBridge::TEventScope scope(window);
        // A copy: the control may replace or remove the filter meanwhile.
        const TDragInputEvent handler = FEvent;
        bool taken = false;
        try {
            taken = handler(input, PointOf(e->position()), ModifiersToShiftState(e->modifiers()));
        } catch (...) {
            TWidgetBridge::HandleException();
            taken = true;
        }
        if (taken)
            e->accept();
        return taken;
    }

private:
    TDragInputEvent FEvent;
};

// Turns the Qt drag events of one widget into the target's calls.
class TDropFilter : public QObject {
public:
    TDropFilter(QWidget* Widget, TDropTarget* Target) : QObject(Widget), FTarget(Target) {}
    TDropTarget* FTarget;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter: {
            auto* e = static_cast<QDragEnterEvent*>(event);
            const TDragData data = DragDataOf(*e->mimeData());
            FPassing = !FTarget->TakesDrag(data);
            if (FPassing)
                return false;
            FTarget->DragEnter(data, PointOf(e->position()));
            return Over(e);
        }
        case QEvent::DragMove:
            if (FPassing)
                return false;
            return Over(static_cast<QDragMoveEvent*>(event));
        case QEvent::DragLeave:
            if (std::exchange(FPassing, false))
                return false;
            FTarget->DragLeave();
            return true;
        case QEvent::Drop: {
            if (std::exchange(FPassing, false))
                return false;
            auto* e = static_cast<QDropEvent*>(event);
            // The drop's handlers may free the control: its window stays until the event has
            // been delivered, and an exception goes to the application's handling.
            TWidgetBridge::TEventScope scope(static_cast<QWidget*>(watched));
            int effect = DROPEFFECT_NONE;
            try {
                effect = FTarget->Drop(DragDataOf(*e->mimeData()), ModifiersToShiftState(e->modifiers()),
                                       PointOf(e->position()));
            } catch (...) {
                TWidgetBridge::HandleException();
            }
            e->setDropAction(ActionOf(effect));
            effect == DROPEFFECT_NONE ? e->ignore() : e->accept();
            return true;
        }
        default: return QObject::eventFilter(watched, event);
        }
    }

private:
    bool FPassing = false;  // the drag in progress goes to the window's own handling
    bool Over(QDragMoveEvent* e)
    {
        const int effect = FTarget->DragOver(ModifiersToShiftState(e->modifiers()), PointOf(e->position()));
        if (effect == DROPEFFECT_NONE) {
            e->ignore();
        } else {
            e->setDropAction(ActionOf(effect));
            e->accept();
        }
        return true;
    }
};

int RunDrag(TWinControl* Control, TDropSource& Source, const TDragData& Data, int OkEffects, int& Effect,
            TBitmap* Picture)
{
    Effect = DROPEFFECT_NONE;
    Source.NoDrop = false;
    QWidget* widget = Control ? Control->Handle() : nullptr;
    if (!widget)
        return DRAGDROP_S_CANCEL;
    auto* drag = new QDrag(widget);
    drag->setMimeData(MimeDataOf(Data, gRTFAware).release());
    if (Picture && !Picture->Empty())
        drag->setPixmap(QPixmap::fromImage(Picture->Image()));
    QObject::connect(drag, &QDrag::actionChanged, [&Source](Qt::DropAction action) {
        const int effect = EffectOf(action);
        Source.NoDrop = effect == DROPEFFECT_NONE;
        Source.CurrentEffect(effect);
    });
    Qt::DropActions allowed;
    if (OkEffects & DROPEFFECT_COPY)
        allowed |= Qt::CopyAction;
    if (OkEffects & DROPEFFECT_MOVE)
        allowed |= Qt::MoveAction;
    const Qt::DropAction action = drag->exec(allowed, Qt::MoveAction);
    Effect = EffectOf(action);
    if (Effect == DROPEFFECT_NONE)
        Source.NoDrop = true;
    return Source.NoDrop ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
}

}  // namespace

TDragData DragDataOf(const QMimeData& Mime)
{
    TDragData data;
    // Text the drag offers as text: Qt's hasText() also takes a list of files for text, which
    // would paste a dropped file's address into the cells beside the file itself.
    if (Mime.hasFormat(QStringLiteral("text/plain"))) {
        data.HasText = true;
        data.Text = Utf8ToCp949(Mime.text().toStdString());
    }
    if (Mime.hasFormat(RtfMime())) {
        data.HasRTF = true;
        data.RTF = Mime.data(RtfMime()).toStdString();
    }
    for (const QUrl& url : Mime.urls())
        if (url.isLocalFile())
            data.Files.push_back(StoredPath(url.toLocalFile().toStdString()));
    if (Mime.hasFormat(ColumnMime())) {
        bool ok = false;
        const int col = Mime.data(ColumnMime()).trimmed().toInt(&ok);
        data.Col = ok && col >= 0 ? col : -1;
    }
    return data;
}

std::unique_ptr<QMimeData> MimeDataOf(const TDragData& Data, bool RTFAware)
{
    auto mime = std::make_unique<QMimeData>();
    if (Data.HasText)
        mime->setText(QString::fromStdString(Cp949ToUtf8(Data.Text)));
    if (Data.HasRTF && RTFAware)
        mime->setData(RtfMime(), QByteArray::fromStdString(Data.RTF));
    if (Data.Col >= 0)
        mime->setData(ColumnMime(), QByteArray::number(Data.Col));
    if (!Data.Files.empty()) {
        QList<QUrl> urls;
        for (const AnsiString& file : Data.Files)
            urls.push_back(QUrl::fromLocalFile(QString::fromStdString(NativePath(file))));
        mime->setUrls(urls);
    }
    return mime;
}

int StandardEffect(TShiftState Shift) { return Shift.Contains(ssCtrl) ? DROPEFFECT_COPY : DROPEFFECT_MOVE; }

void SetRTFAware(bool Value) { gRTFAware = Value; }

bool RTFAware() { return gRTFAware; }

void TDropTarget::DragEnter(const TDragData& Data, TPoint Point)
{
    DragPrepare();
    FFormats = TDropFormats();
    if (Data.HasText)
        FFormats << dfText;
    if (!Data.Files.empty())
        FFormats << dfFile;
    if (Data.HasRTF)
        FFormats << dfRTF;
    if (Data.Col >= 0)
        FFormats << dfCol;
    FAccept = (Data.HasText && AcceptText) || (!Data.Files.empty() && AcceptFiles) ||
        (Data.HasRTF && gRTFAware && AcceptText) || (Data.Col >= 0 && AcceptCols);
    DragMouseEnter();
}

int TDropTarget::DragOver(TShiftState Keys, TPoint Point)
{
    int effect = FAccept ? DropEffect(Keys) : DROPEFFECT_NONE;
    bool allow = effect != DROPEFFECT_NONE;
    DragMouseMove(Point, allow, FFormats);
    return allow ? effect : DROPEFFECT_NONE;
}

int TDropTarget::Drop(const TDragData& Data, TShiftState Keys, TPoint Point)
{
    if (!FAccept)
        return DROPEFFECT_NONE;
    const int effect = DropEffect(Keys);
    if (Data.Col >= 0)
        DropCol(Point, Data.Col);
    else if (Data.HasRTF && gRTFAware)
        DropRTF(Point, Data.RTF);
    else if (Data.HasText)
        DropText(Point, Data.Text);
    if (!Data.Files.empty())
        DropFiles(Point, Data.Files);
    return effect;
}

void RegisterDropTarget(TWinControl* Control, TDropTarget* Target)
{
    QWidget* window = InputWindow(Control);
    if (!window)
        return;
    RemoveFilters<TDropFilter>(window);
    window->setAcceptDrops(Target != nullptr);
    if (window != Control->Handle())
        Control->Handle()->setAcceptDrops(Target != nullptr);
    if (Target)
        window->installEventFilter(new TDropFilter(window, Target));
}

void SetDragInput(TWinControl* Control, TDragInputEvent Event)
{
    QWidget* window = InputWindow(Control);
    if (!window)
        return;
    RemoveFilters<TDragInputFilter>(window);
    if (Event)
        window->installEventFilter(new TDragInputFilter(window, std::move(Event)));
}

void ClickAfterDrag(TWinControl* Control, TPoint ScreenPoint)
{
    QPointer<QWidget> window = InputWindow(Control);
    if (!window)
        return;
    const QPointF global(ScreenPoint.x, ScreenPoint.y);
    const QPointF local = window->mapFromGlobal(global);
    // Outside the window there is nothing to click (a list would lose its selection to a click
    // on no item).
    if (!window->rect().contains(local.toPoint()))
        return;
    QMouseEvent press(QEvent::MouseButtonPress, local, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &press);
    // The press may have freed the control and its window.
    if (!window)
        return;
    QMouseEvent release(QEvent::MouseButtonRelease, local, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &release);
}

int StartTextDoDragDrop(TWinControl* Control, TDropSource& Source, const AnsiString& Text, const AnsiString& RTF,
                        int OkEffects, int& Effect, TBitmap* Picture)
{
    TDragData data;
    data.HasText = true;
    data.Text = Text;
    data.HasRTF = !RTF.empty();
    data.RTF = RTF;
    return RunDrag(Control, Source, data, OkEffects, Effect, Picture);
}

int StartColDoDragDrop(TWinControl* Control, TDropSource& Source, int Col, int OkEffects, int& Effect, TBitmap* Picture)
{
    TDragData data;
    data.Col = Col;
    return RunDrag(Control, Source, data, OkEffects, Effect, Picture);
}
