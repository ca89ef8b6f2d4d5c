#include "platform/gui/InplaceEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTextBlock>
#include <QTextLayout>

#include "platform/core/VirtualKeys.h"
#include "platform/gui/EditWidgets.h"
#include "platform/gui/Grids.h"
#include "platform/gui/Queue.h"

namespace {

QString Unix(const AnsiString& text)
{
    QString q = AnsiToQString(text);
    q.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return q;
}

// The bytes of a Qt text's first `pos` characters, line breaks counted as CR LF.
int BytesBefore(const QString& text, int pos)
{
    const QString left = text.left(pos);
    return static_cast<int>(QStringToAnsi(left).size()) + static_cast<int>(left.count(QLatin1Char('\n')));
}

}  // namespace

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner), FGrid(dynamic_cast<TCustomGrid*>(AOwner))
{
    SetBorderStyle(bsNone);
    SetVisible(false);
    SetTabStop(false);
    SetAutoSelect(false);
    if (FGrid)
        SetParent(FGrid);
    RegisterHandler(WM_GETDLGCODE, [this](TMessage& m) {
        Inherited(m);
        if (FGrid && FGrid->Options().Contains(goTabs))
            m.Result |= DLGC_WANTTAB;
        if (FMultiLine)
            m.Result |= DLGC_WANTALLKEYS;
    });
}

TInplaceEdit::~TInplaceEdit()
{
    Destroying();
    if (FGrid && FGrid->FInplaceEdit == this)
        FGrid->FInplaceEdit = nullptr;
}

void TInplaceEdit::SetMultiLineEdit(bool Value)
{
    if (Value == FMultiLine)
        return;
    FMultiLine = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TInplaceEdit::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    ApplyWrap();
}

QWidget* TInplaceEdit::CreateWidget()
{
    if (!FMultiLine)
        return TCustomMaskEdit::CreateWidget();
    auto* w = new TPlainTextInput(this, this);
    FSurface = MakePlainTextSurface(w);
    QObject::connect(w, &QPlainTextEdit::textChanged, w, [this] { SurfaceChanged(); });
    return w;
}

void TInplaceEdit::WidgetCreated()
{
    TCustomMaskEdit::WidgetCreated();
    ApplyWrap();
}

void TInplaceEdit::ApplyWrap()
{
    auto* w = HandleAllocated() ? qobject_cast<QPlainTextEdit*>(Handle()) : nullptr;
    if (!w)
        return;
    w->setFrameShape(QFrame::NoFrame);
    w->setLineWrapMode(FWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w->setTabChangesFocus(true);
}

int TInplaceEdit::CharFromPos(TPoint P)
{
    QWidget* h = Handle();
    if (auto* line = qobject_cast<QLineEdit*>(h))
        return BytesBefore(line->text(), line->cursorPositionAt(QPoint(P.x, P.y)));
    if (auto* plain = qobject_cast<QPlainTextEdit*>(h))
        return BytesBefore(plain->toPlainText(), plain->cursorForPosition(QPoint(P.x, P.y)).position());
    return 0;
}

int TInplaceEdit::LineFromChar(int Index)
{
    auto* plain = qobject_cast<QPlainTextEdit*>(Handle());
    if (!plain)
        return 0;
    if (Index < 0)
        Index = SelStart();
    const AnsiString& text = Text();
    const size_t bytes =
        SnapToChar(text, static_cast<size_t>(std::min<int>(Index, static_cast<int>(text.size()))), false);
    const int pos = static_cast<int>(Unix(text.substr(0, bytes)).size());
    QTextDocument* doc = plain->document();
    const QTextBlock target = doc->findBlock(pos);
    int line = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        // Asking for the block's rectangle lays it out.
        doc->documentLayout()->blockBoundingRect(b);
        const QTextLayout* layout = b.layout();
        if (b == target) {
            if (layout && layout->lineCount() > 0)
                line += layout->lineForTextPosition(pos - b.position()).lineNumber();
            return line;
        }
        line += layout && layout->lineCount() > 0 ? layout->lineCount() : 1;
    }
    return std::max(line - 1, 0);
}

int TInplaceEdit::LineCount() { return LineFromChar(static_cast<int>(Text().size())) + 1; }

void TInplaceEdit::UpdateContents()
{
    if (!FGrid)
        return;
    FLoading = true;
    FLoadedText = FGrid->GetEditText(FGrid->Col(), FGrid->Row());
    SetText(FLoadedText);
    SetModified(false);
    FLoading = false;
    SelectAll();
}

void TInplaceEdit::LoadText(const AnsiString& Text)
{
    FLoading = true;
    FLoadedText = Text;
    SetText(Text);
    FLoading = false;
}

void TInplaceEdit::Place(const TRect& Loc) { SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height()); }

void TInplaceEdit::Move(const TRect& Loc)
{
    Place(Loc);
    SetVisible(true);
    if (FGrid && FGrid->Focused())
        SetFocus();
}

void TInplaceEdit::SendKeyToGrid(uint16_t& Key, TShiftState Shift)
{
    if (FGrid)
        FGrid->KeyDown(Key, Shift);
    Key = 0;
}

void TInplaceEdit::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (!FGrid) {
        TCustomMaskEdit::KeyDown(Key, Shift);
        return;
    }
    TAliveToken alive = AliveToken();
    const bool none = Shift.Empty();
    const bool ctrl = Shift.Contains(ssCtrl) && !Shift.Contains(ssShift) && !Shift.Contains(ssAlt);
    // With the editor always shown the arrows leave the text at its edges.
    const bool forward = FGrid->Options().Contains(goAlwaysShowEditor);
    const int selStart = SelStart(), selLength = SelLength();
    const bool atStart = selStart == 0 && selLength == 0;
    const bool atEnd = selLength == 0 && selStart >= static_cast<int>(Text().size());
    switch (KeepsKey(Key, Shift) ? 0 : Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE: SendKeyToGrid(Key, Shift); break;
    case VK_TAB:
        if (FGrid->Options().Contains(goTabs) && !Shift.Contains(ssAlt))
            SendKeyToGrid(Key, Shift);
        break;
    case VK_INSERT:
        if (none)
            SendKeyToGrid(Key, Shift);
        break;
    case VK_LEFT:
    case VK_HOME:
        if (forward && (ctrl || (none && atStart)))
            SendKeyToGrid(Key, Shift);
        break;
    case VK_RIGHT:
    case VK_END:
        if (forward && (ctrl || (none && atEnd)))
            SendKeyToGrid(Key, Shift);
        break;
    case VK_DELETE:
        if (ctrl)
            SendKeyToGrid(Key, Shift);
        break;
    default: break;
    }
    if (!*alive || Key == 0)
        return;
    // The grid's own handler hears the keys that stay in the editor too.
    if (FGrid->OnKeyDown)
        FGrid->OnKeyDown(FGrid, Key, Shift);
    if (*alive && Key != 0)
        TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(char& Key)
{
    if (!FGrid) {
        TCustomMaskEdit::KeyPress(Key);
        return;
    }
    TAliveToken alive = AliveToken();
    FGrid->KeyPress(Key);
    if (!*alive)
        return;
    if (Key == '\t' || Key == 27)
        Key = 0;
    else if (Key == '\r' && !FMultiLine)
        Key = 0;
    if (Key != 0)
        TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::Change()
{
    if (!FLoading && FGrid && FGrid->FInplaceCol >= 0) {
        TAliveToken alive = AliveToken();
        FGrid->SetEditText(FGrid->FInplaceCol, FGrid->FInplaceRow, Text());
        if (!*alive)
            return;
    }
    TCustomMaskEdit::Change();
}

void PostTypedText(TWinControl* Control, const AnsiString& Text)
{
    if (!Control || Text.empty())
        return;
    QPointer<QWidget> widget = Control->Handle();
    QueueCall([Control, widget, Text] {
        // The control is there as long as its widget is, and still its own.
        const auto alive = [&] { return widget && TWinControl::FromWidget(widget) == Control; };
        for (size_t i = 0; i < Text.size() && alive();) {
            const size_t len = static_cast<size_t>(CharLengthAt(Text, i));
            const QString ch = AnsiToQString(Text.substr(i, len));
            i += len;
            if (len == 2) {
                QInputMethodEvent commit;
                commit.setCommitString(ch);
                QCoreApplication::sendEvent(widget, &commit);
                continue;
            }
            QKeyEvent down(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, ch);
            QCoreApplication::sendEvent(widget, &down);
            if (!alive())
                return;
            QKeyEvent up(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, ch);
            QCoreApplication::sendEvent(widget, &up);
        }
    });
}
