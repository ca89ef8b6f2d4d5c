#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "platform/gui/ControlWidget.h"
#include "platform/gui/Forms.h"

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen()
{
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
        QGuiApplication::setOverrideCursor(QCursor(ToQtCursorShape(v)));
}
