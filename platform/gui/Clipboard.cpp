#include "platform/gui/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/gui/Graphics.h"

namespace {
QClipboard* Board() { return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr; }
}  // namespace

AnsiString TClipboard::AsText() const
{
    QClipboard* b = Board();
    return b ? QStringToAnsi(b->text()) : AnsiString();
}

void TClipboard::SetAsText(const AnsiString& text)
{
    if (QClipboard* b = Board())
        b->setText(AnsiToQString(text));
}

bool TClipboard::HasText() const
{
    QClipboard* b = Board();
    const QMimeData* data = b ? b->mimeData() : nullptr;
    return data && data->hasText();
}

void TClipboard::Clear()
{
    if (QClipboard* b = Board())
        b->clear();
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
