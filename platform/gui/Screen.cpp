#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "platform/gui/ControlWidget.h"
#include "platform/gui/Forms.h"

namespace {

// The screen's forms by name (ignoring case), for references stored across forms.
TComponent* FindScreenForm(std::string_view name)
{
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
        if (SameText(Screen->Forms(i)->Name(), name))
            return Screen->Forms(i);
    return nullptr;
}

}  // namespace

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) { RegisterFindGlobalComponentProc(FindScreenForm); }

TScreen::~TScreen()
{
    UnRegisterFindGlobalComponentProc(FindScreenForm);
    if (FCursor != crDefault && QGuiApplication::instance())
        QGuiApplication::restoreOverrideCursor();
}

int TScreen::Width() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

TCustomForm* TScreen::Forms(int index) const
{
    if (index < 0 || index >= FormCount())
        throw EListError(Format("List index out of bounds (%d)", index));
    return FForms[static_cast<size_t>(index)];
}

bool TScreen::HasForm(const TCustomForm* form) const
{
    return std::find(FForms.begin(), FForms.end(), form) != FForms.end();
}

void TScreen::SetCursor(TCursor v)
{
    if (v == FCursor)
        return;
    if (FCursor != crDefault)
        QGuiApplication::restoreOverrideCursor();
    FCursor = v;
    if (v != crDefault)
        QGuiApplication::setOverrideCursor(Cursors(v));
}

QCursor TScreen::Cursors(TCursor index) const
{
    auto it = FCursors.find(index);
    if (it != FCursors.end())
        return it->second;
    // Standard numbers run from crDefault down to crSizeAll; anything else is unknown.
    return index <= crDefault && index >= crSizeAll ? QCursor(ToQtCursorShape(index)) : QCursor(Qt::ArrowCursor);
}

void TScreen::SetCursors(TCursor index, const QCursor* cursor)
{
    if (cursor)
        FCursors[index] = *cursor;
    else
        FCursors.erase(index);
}

bool TScreen::HasCursor(TCursor index) const { return FCursors.count(index) > 0; }

TRect TScreen::WorkAreaRect() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    QRect r = s ? s->availableGeometry() : QRect();
    if (r.isEmpty())
        return Rect(0, 0, Width(), Height());
    return Rect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}
