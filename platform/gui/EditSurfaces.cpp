// The two Qt text widgets behind the edit controls, seen through one interface, and the
// routing of their clipboard keys and context-menu actions to the control's messages.

#include <QKeySequence>

#include "platform/gui/EditWidgets.h"

namespace {

class TLineSurface : public TEditSurface {
public:
    explicit TLineSurface(QLineEdit* w) : FWidget(w) {}
    QString Text() const override { return FWidget->text(); }
    void SetText(const QString& text) override { FWidget->setText(text); }
    int SelStart() const override
    {
        return FWidget->hasSelectedText() ? FWidget->selectionStart() : FWidget->cursorPosition();
    }
    int SelEnd() const override
    {
        return FWidget->hasSelectedText() ? FWidget->selectionEnd() : FWidget->cursorPosition();
    }
    void Select(int start, int end) override { FWidget->setSelection(start, end - start); }
    void Insert(const QString& text) override
    {
        // insert() refuses nothing but honours the widget's own limit, which is off.
        FWidget->insert(text);
    }
    void SetReadOnly(bool v) override { FWidget->setReadOnly(v); }
    void Undo() override { FWidget->undo(); }
    bool CanUndo() const override { return FWidget->isUndoAvailable(); }

private:
    QLineEdit* FWidget;
};

class TPlainTextSurface : public TEditSurface {
public:
    explicit TPlainTextSurface(QPlainTextEdit* w) : FWidget(w) {}
    QString Text() const override { return FWidget->toPlainText(); }
    void SetText(const QString& text) override { FWidget->setPlainText(text); }
    int SelStart() const override { return FWidget->textCursor().selectionStart(); }
    int SelEnd() const override { return FWidget->textCursor().selectionEnd(); }
    void Select(int start, int end) override
    {
        QTextCursor c = FWidget->textCursor();
        c.setPosition(start);
        c.setPosition(end, QTextCursor::KeepAnchor);
        FWidget->setTextCursor(c);
    }
    void Insert(const QString& text) override { FWidget->textCursor().insertText(text); }
    void SetReadOnly(bool v) override { FWidget->setReadOnly(v); }
    void Undo() override { FWidget->undo(); }
    bool CanUndo() const override { return FWidget->document()->isUndoAvailable(); }

private:
    QPlainTextEdit* FWidget;
};

}  // namespace

std::unique_ptr<TEditSurface> MakeLineSurface(QLineEdit* w) { return std::make_unique<TLineSurface>(w); }
std::unique_ptr<TEditSurface> MakePlainTextSurface(QPlainTextEdit* w) { return std::make_unique<TPlainTextSurface>(w); }

unsigned ClipboardMessageOfKey(QKeyEvent* e)
{
    if (e->matches(QKeySequence::Paste))
        return WM_PASTE;
    if (e->matches(QKeySequence::Cut))
        return WM_CUT;
    if (e->matches(QKeySequence::Copy))
        return WM_COPY;
    return 0;
}
