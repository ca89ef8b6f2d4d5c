#pragma once
// The date and time picker on Qt's date-time edit: a date with a drop-down calendar (dmComboBox)
// or with up-down arrows (dmUpDown), or a time with up-down arrows. It shows the short date or
// the long time format of the format settings; the keys reach KeyDown as in any control.

#include "platform/core/DateTime.h"
#include "platform/gui/WinControl.h"

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };

class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);
    TDateTime DateTime() const { return FDateTime; }
    void SetDateTime(TDateTime v);
    TDateTime Date() const;
    void SetDate(TDateTime v);
    TDateTime Time() const;
    void SetTime(TDateTime v);
    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind v);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode v);
    // Drawn with a border of its own (the default) or without, as an editor inside a cell is.
    bool Framed() const { return FFramed; }
    void SetFramed(bool v);
    // The drop-down calendar of dmComboBox: opened (as Alt+Down does) or closed; whether it shows.
    void SetDroppedDown(bool v);
    bool DroppedDown();
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;

private:
    void Apply();
    TDateTime FDateTime = 0;
    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    bool FFramed = true;
    int FApplying = 0;
};

// A date or time format of the format settings ("yyyy-mm-dd", "ampm h:nn:ss") as Qt writes it.
AnsiString QtDateTimeFormat(const AnsiString& Format, bool Time);
