#include "platform/gui/DateTimePicker.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/core/FormatSettings.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/Graphics.h"

namespace {

QDateTime ToQDateTime(TDateTime v)
{
    uint16_t y, mo, d, h, mi, s, ms;
    DecodeDate(v, y, mo, d);
    DecodeTime(v, h, mi, s, ms);
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

TDateTime FromQDateTime(const QDateTime& q)
{
    TDateTime date = 0, time = 0;
    TryEncodeDate(q.date().year(), q.date().month(), q.date().day(), date);
    TryEncodeTime(q.time().hour(), q.time().minute(), q.time().second(), q.time().msec(), time);
    return date + time;
}

}  // namespace

AnsiString QtDateTimeFormat(const AnsiString& Format, bool Time)
{
    AnsiString out;
    bool ampm = false;
    for (size_t i = 0; i < Format.size();) {
        const char c = Format[i];
        if (c == '\'' || c == '"') {
            const size_t end = Format.find(c, i + 1);
            const AnsiString literal = Format.substr(i + 1, end == AnsiString::npos ? AnsiString::npos : end - i - 1);
            out += "'" + literal + "'";
            i = end == AnsiString::npos ? Format.size() : end + 1;
            continue;
        }
        const AnsiString rest = LowerCase(Format.substr(i, 5));
        if (rest.rfind("am/pm", 0) == 0 || rest.rfind("ampm", 0) == 0) {
            out += "AP";
            ampm = true;
            i += rest.rfind("ampm", 0) == 0 ? 4 : 5;
            continue;
        }
        const char l = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (l == 'y' || l == 'd' || l == 's')
            out += l;
        else if (l == 'm')
            out += Time ? 'm' : 'M';
        else if (l == 'n')
            out += 'm';
        else if (l == 'h')
            out += 'h';
        else
            out += c;
        ++i;
    }
    // Without a morning/afternoon mark the hours run to 23.
    if (!ampm)
        for (char& c : out)
            if (c == 'h')
                c = 'H';
    return out;
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 186, 21);
    SetTabStop(true);
    FFocusOnClick = true;
    FDateTime = Now();
}

QWidget* TDateTimePicker::CreateWidget()
{
    auto* w = new TWidgetAdapter<QDateTimeEdit>(this);
    QObject::connect(w, &QDateTimeEdit::dateTimeChanged, w, [this](const QDateTime& q) {
        if (FApplying)
            return;
        FDateTime = FromQDateTime(q);
        if (OnChange)
            OnChange(this);
    });
    return w;
}

void TDateTimePicker::WidgetCreated()
{
    TWinControl::WidgetCreated();
    Apply();
}

void TDateTimePicker::Apply()
{
    if (!HandleAllocated())
        return;
    auto* w = static_cast<QDateTimeEdit*>(Handle());
    ++FApplying;
    const TFormatSettings& fs = FormatSettings();
    const bool time = FKind == dtkTime;
    w->setDisplayFormat(AnsiToQString(QtDateTimeFormat(time ? fs.LongTimeFormat : fs.ShortDateFormat, time)));
    w->setCalendarPopup(!time && FDateMode == dmComboBox);
    w->setFrame(FFramed);
    w->setDateTime(ToQDateTime(FDateTime));
    --FApplying;
}

void TDateTimePicker::SetDateTime(TDateTime v)
{
    FDateTime = v;
    Apply();
}

TDateTime TDateTimePicker::Date() const { return static_cast<double>(static_cast<int64_t>(FDateTime)); }

void TDateTimePicker::SetDate(TDateTime v) { SetDateTime(static_cast<double>(static_cast<int64_t>(v)) + Time()); }

TDateTime TDateTimePicker::Time() const { return FDateTime - Date(); }

void TDateTimePicker::SetTime(TDateTime v) { SetDateTime(Date() + (v - static_cast<double>(static_cast<int64_t>(v)))); }

void TDateTimePicker::SetKind(TDateTimeKind v)
{
    FKind = v;
    Apply();
}

void TDateTimePicker::SetDateMode(TDTDateMode v)
{
    FDateMode = v;
    Apply();
}

void TDateTimePicker::SetFramed(bool v)
{
    FFramed = v;
    Apply();
}

void TDateTimePicker::SetDroppedDown(bool v)
{
    auto* w = static_cast<QDateTimeEdit*>(Handle());
    if (!w->calendarPopup() || v == DroppedDown())
        return;
    if (!v) {
        w->calendarWidget()->window()->hide();
        return;
    }
    // The edit opens its calendar on a press of its drop button, at its right end, as the
    // user's would (the pointer moves over the button first: the edit presses what it hovers).
    const QPointF at(w->width() - 8, w->height() / 2.0);
    QHoverEvent hover(QEvent::HoverMove, at, w->mapToGlobal(at), QPointF(-1, -1));
    QCoreApplication::sendEvent(w, &hover);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}

bool TDateTimePicker::DroppedDown()
{
    auto* w = static_cast<QDateTimeEdit*>(Handle());
    return w->calendarPopup() && w->calendarWidget() && w->calendarWidget()->window()->isVisible();
}
