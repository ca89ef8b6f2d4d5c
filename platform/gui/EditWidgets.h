#pragma once
// The Qt side of the text controls. Each Qt text widget gets a thin layer under the widget
// adapter: typed and input-method text is inserted by the control (byte limit, character case,
// mask), and every paste, cut, copy and clear (keys, context menu, middle click, drop) becomes the
// control's WM_PASTE / WM_CUT / WM_COPY / WM_CLEAR, whose default does the work, so that a
// control can refuse any of them.

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>

#include "platform/gui/ControlWidget.h"
#include "platform/gui/StdMessages.h"
#include "platform/gui/WinControl.h"

class TCustomEdit;

// WM_PASTE's WParam: where the text comes from.
enum : unsigned { kPasteClipboard = 0, kPasteSelection = 1, kPasteDrop = 2 };

// What the edit control needs of either Qt widget, in Qt's character positions.
class TEditSurface {
public:
    virtual ~TEditSurface() = default;
    virtual QString Text() const = 0;
    virtual void SetText(const QString& text) = 0;
    virtual int SelStart() const = 0;
    virtual int SelEnd() const = 0;
    virtual void Select(int start, int end) = 0;
    virtual void Insert(const QString& text) = 0;  // replaces the selection
    virtual void SetReadOnly(bool v) = 0;
    virtual void Undo() = 0;
    virtual bool CanUndo() const = 0;
};

// Called by the widgets; implemented by TCustomEdit (Edits.cpp).
void EditTypeText(TCustomEdit* edit, const QString& text);
void EditDropText(TCustomEdit* edit, const QString& text);
bool EditIsReadOnly(TCustomEdit* edit);
TWinControl* EditControl(TCustomEdit* edit);

// Which clipboard message a key asks for, or 0.
unsigned ClipboardMessageOfKey(QKeyEvent* e);
// The edit's context menu (Undo, Cut, Copy, Paste, Delete, Select All), each item sending the
// control its message; the caller owns it.
QMenu* EditContextMenu(TCustomEdit* edit, QWidget* parent);

template <class QtBase>
class TTextInput : public QtBase {
public:
    explicit TTextInput(TCustomEdit* edit) : FEdit(edit) { this->setAcceptDrops(true); }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        TWinControl* c = Control();
        if (unsigned msg = ClipboardMessageOfKey(e)) {
            c->Perform(msg);
            return;
        }
        const QString text = e->text();
        const bool printable = !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F &&
            !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (printable) {
            EditTypeText(FEdit, text);
            return;
        }
        if (EditIsReadOnly(FEdit) && (e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete))
            return;
        if constexpr (std::is_base_of_v<QPlainTextEdit, QtBase>) {
            // A line break is typed text too (two bytes under the limit); a key whose character
            // was taken away types nothing.
            if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
                if (!text.isEmpty() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
                    EditTypeText(FEdit, QStringLiteral("\n"));
                return;
            }
        }
        if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier && this->HasSelection()) {
            c->Perform(WM_CLEAR);
            return;
        }
        QtBase::keyPressEvent(e);
    }
    void inputMethodEvent(QInputMethodEvent* e) override
    {
        QInputMethodEvent preedit(e->preeditString(), e->attributes());
        QtBase::inputMethodEvent(&preedit);
        if (!e->commitString().isEmpty())
            EditTypeText(FEdit, e->commitString());
    }
    void contextMenuEvent(QContextMenuEvent* e) override
    {
        QPointer<QMenu> menu = EditContextMenu(FEdit, this);
        menu->exec(e->globalPos());
        delete menu;
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::MiddleButton) {
            Control()->Perform(WM_PASTE, kPasteSelection);
            return;
        }
        QtBase::mouseReleaseEvent(e);
    }
    void dragEnterEvent(QDragEnterEvent* e) override
    {
        if (e->mimeData()->hasText() && !EditIsReadOnly(FEdit))
            e->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* e) override
    {
        if (e->mimeData()->hasText() && !EditIsReadOnly(FEdit))
            e->acceptProposedAction();
    }
    void dropEvent(QDropEvent* e) override
    {
        if (!e->mimeData()->hasText())
            return;
        e->acceptProposedAction();
        EditDropText(FEdit, e->mimeData()->text());
    }

private:
    TWinControl* Control() const { return EditControl(FEdit); }
    bool HasSelection() const
    {
        if constexpr (std::is_base_of_v<QLineEdit, QtBase>)
            return this->hasSelectedText();
        else
            return this->textCursor().hasSelection();
    }
    TCustomEdit* FEdit;
};

using TLineInput = TWidgetAdapter<TTextInput<QLineEdit>>;
using TPlainTextInput = TWidgetAdapter<TTextInput<QPlainTextEdit>>;

std::unique_ptr<TEditSurface> MakeLineSurface(QLineEdit* w);
std::unique_ptr<TEditSurface> MakePlainTextSurface(QPlainTextEdit* w);
