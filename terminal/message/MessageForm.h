#pragma once
// A short notice shown as a small framed box in the middle of a window, without a button and
// without taking the keyboard, which removes itself after a given time. Several may be shown at
// once; each lives exactly one timer interval (on the program's timer service).

#include "platform/gui/WinControl.h"
#include "platform/gui/WindowTimer.h"

class TCustomForm;

class TMessageForm : public TCustomControl {
public:
    static constexpr int kMarginWidth = 40;  // added to the text's width
    static constexpr int kBoxHeight = 56;
    static constexpr TColor kFaceColor = 0xE1EAEB;
    static constexpr TColor kFrameColor = 0x8396A0;

    explicit TMessageForm(TComponent* AOwner);
    ~TMessageForm() override;

    TTimer* Timer() const { return FTimer; }
    // The timer's handler: frees the timer, then the box.
    void TimerTimer(TObject* Sender);

protected:
    void Paint() override;

private:
    TTimer* FTimer = nullptr;
    friend void ShowMessageForm(const AnsiString& Msg, unsigned Time, TWinControl* Near);
};

// Shows Msg for Time milliseconds, centred on a window the user can see: the form of Near when
// it is showing, else the active form, else the main form, else any showing form. With no
// window showing, nothing is shown (a box on a hidden window would never be seen).
void ShowMessageForm(const AnsiString& Msg, unsigned Time, TWinControl* Near = nullptr);

// The form ShowMessageForm would place a notice on, or null.
TCustomForm* MessageFormHost(TWinControl* Near = nullptr);
