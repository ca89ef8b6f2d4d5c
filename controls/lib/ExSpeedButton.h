#pragma once
// The library's speed button: a window-less push button that paints glyph and caption through a
// private bitmap, belongs to a group of exclusive buttons (GroupIndex, AllowAllUp, Down), may be
// flat (no frame until the mouse is over it), drops down a pop-up menu, repeats its click while
// held, and follows an action. The speed bar's buttons, the edit button and the calendar's
// buttons derive from it and draw their face in PaintGlyph.
//
// Files: ExSpeedButton.cpp (properties, grouping, painting), ExSpeedButtonMouse.cpp (press,
// move, release, drop-down menu, auto-repeat, tracking of the mouse).

#include <memory>

#include "controls/lib/ExButtonGlyph.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/WinControl.h"
#include "platform/gui/WindowTimer.h"

class TBasicAction;
class TCustomAction;

enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum TExDropDownMenuPos { dmpBottom, dmpRight };

// The message by which a button that goes down raises the other members of its group.
constexpr unsigned CM_SPEEDBUTTONPRESSED = CM_BASE + 0x51;

// The point, in the button's coordinates, where its drop-down menu opens.
TPoint DropDownMenuPos(TExDropDownMenuPos Position, TPopupAlignment Alignment, int Width, int Height);

// A speed button's 3-D frame: Client shrunk to its inside.
TRect DrawSpeedButtonFrame(TCanvas* Canvas, const TRect& Client, bool IsDown, bool IsFlat, TButtonStyle Style);

class TExSpeedButton : public TGraphicControl {
public:
    explicit TExSpeedButton(TComponent* AOwner);
    ~TExSpeedButton() override;

    TAlignment Alignment() const { return FGlyph->Alignment(); }
    void SetAlignment(TAlignment Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    bool AllowTimer() const { return FAllowTimer; }
    void SetAllowTimer(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* Value);
    TExDropDownMenuPos MenuPosition() const { return FMenuPosition; }
    void SetMenuPosition(TExDropDownMenuPos Value) { FMenuPosition = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TBitmap* Glyph() const { return FGlyph->Glyph(); }
    void SetGlyph(TBitmap* Value);
    bool GrayedInactive() const { return FGrayedInactive; }
    void SetInactiveGrayed(bool Value);
    uint16_t InitPause() const { return FInitPause; }
    void SetInitPause(uint16_t Value) { FInitPause = Value; }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    bool MarkDropDown() const { return FMarkDropDown; }
    void SetMarkDropDown(bool Value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    int NumGlyphs() const { return FGlyph->NumGlyphs(); }
    void SetNumGlyphs(int Value);
    uint16_t RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(uint16_t Value) { FRepeatInterval = Value; }
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TButtonStyle Style() const { return FStyle; }
    void SetStyle(TButtonStyle Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool WordWrap() const { return FGlyph->WordWrap(); }
    void SetWordWrap(bool Value);
    TBasicAction* Action() const;
    void SetAction(TBasicAction* Value);

    TExButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    TExButtonGlyph* ButtonGlyph() const { return FGlyph.get(); }

    // A press from code (keyboard or tool bar): down for 20 ms, then up, and a click.
    void ButtonClick();
    // Opens the drop-down menu even when its AutoPopup is off; true when it opened.
    bool CheckBtnMenuDropDown();
    bool CheckMenuDropDown(TPoint Pos, bool Manual);
    TPoint GetDropDownMenuPos() const;
    // Re-reads whether the mouse is over the button.
    void UpdateTracking();
    // Ends the press under way without a click, for a press whose release will go elsewhere (a
    // dialog it opens takes the mouse): the button is drawn as its Down says.
    void EndPress();
    void Click() override;
    void Loaded() override;

    TNotifyEvent OnMouseEnter, OnMouseLeave;

protected:
    void Paint() override;
    // Draws the face content: glyph, caption and mark.
    virtual void PaintGlyph(TCanvas* Canvas, const TRect& ARect, TExButtonState AState, bool DrawMark);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual void MouseEnter();
    virtual void MouseLeave();
    // The action's Checked and image follow into Down and Glyph.
    virtual void ActionChange(TCustomAction* Sender, bool CheckDefaults);
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TExButtonState FState = rbsUp;

private:
    void RegisterButtonHandlers();
    void GlyphChanged(TObject* Sender);
    void UpdateExclusive();
    void ButtonPressed(TExSpeedButton* Sender);
    // Pre-builds the glyph image of the look the button has now.
    void PrepareGlyph();
    void DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void TimerExpired(TObject* Sender);
    bool Inside(int X, int Y) const;
    // Whether a press at the point is the click that closed the drop-down menu.
    bool SwallowsPress(const TMessage& Message) const;
    template <class T>
    void Change(T& Field, T Value);

    std::unique_ptr<TExButtonGlyph> FGlyph;
    std::unique_ptr<TBitmap> FDrawImage;
    std::unique_ptr<TBitmap> FPattern;
    std::unique_ptr<TTimer> FRepeatTimer;
    int FGroupIndex = 0;
    TButtonStyle FStyle = bsAutoDetect;
    bool FDown = false;
    bool FDragging = false;
    bool FFlat = false;
    bool FMouseInControl = false;
    bool FAllowAllUp = false;
    TButtonLayout FLayout = blGlyphTop;
    int FSpacing = 1;
    int FMargin = -1;
    TModalResult FModalResult = mrNone;
    bool FTransparent = false;
    bool FMarkDropDown = true;
    TPopupMenu* FDropDownMenu = nullptr;
    TExDropDownMenuPos FMenuPosition = dmpBottom;
    bool FGrayedInactive = true;
    bool FMenuTracking = false;
    // Set when the drop-down menu closed, until the event loop turns once.
    std::shared_ptr<bool> FMenuClosing;
    bool FAllowTimer = false;
    uint16_t FInitPause = 500;
    uint16_t FRepeatInterval = 100;
};
