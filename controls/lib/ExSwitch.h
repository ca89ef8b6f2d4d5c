#pragma once
// A two-state switch drawn as its off or on glyph, with an optional caption beside it. A press,
// the toggle key or the caption's accelerator flips it and fires OnOn or OnOff. Without glyphs
// of the user's it shows the program's pictures "SWITCH_OFF" and "SWITCH_ON".

#include <cstdint>
#include <memory>

#include "controls/core/CaptionPlacement.h"
#include "platform/core/ShortCuts.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WinControl.h"

class TExSwitch : public TCustomControl {
public:
    explicit TExSwitch(TComponent* AOwner);
    ~TExSwitch() override;

    bool StateOn() const { return FStateOn; }
    void SetStateOn(bool Value);
    void ToggleSwitch() { SetStateOn(!FStateOn); }
    TTextPos TextPosition() const { return FTextPosition; }
    void SetTextPosition(TTextPos Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool Value);
    TShortCut ToggleKey() const { return FToggleKey; }
    void SetToggleKey(TShortCut Value) { FToggleKey = Value; }

    // Index 0 is the off glyph, 1 the on glyph. A bitmap is the user's own; null brings back the
    // program's picture.
    TBitmap* GetSwitchGlyph(int Index);
    void SetSwitchGlyph(int Index, TBitmap* Bitmap);
    TBitmap* GlyphOff() { return GetSwitchGlyph(0); }
    void SetGlyphOff(TBitmap* Value) { SetSwitchGlyph(0, Value); }
    TBitmap* GlyphOn() { return GetSwitchGlyph(1); }
    void SetGlyphOn(TBitmap* Value) { SetSwitchGlyph(1, Value); }
    // Whether a glyph is the user's: only those are stored.
    bool StoreBitmap(int Index) const { return FUserBitmaps & (1u << Index); }
    // The stored one-byte set of the user's glyphs (bit 0 off, bit 1 on).
    uint8_t Data() const { return FUserBitmaps; }
    void SetData(uint8_t Value) { FUserBitmaps = Value & 3; }

    TNotifyEvent OnOn, OnOff;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    virtual void DoOn();
    virtual void DoOff();

private:
    void GlyphChanged(int Index);
    TRect InnerRect() const;

    bool FStateOn = false;
    TTextPos FTextPosition = tpNone;
    TBorderStyle FBorderStyle = bsNone;
    bool FShowFocus = true;
    TShortCut FToggleKey = 32;
    bool FFocused = false;
    std::unique_ptr<TBitmap> FBitmaps[2];
    std::unique_ptr<TBitmap> FDisabledBitmaps[2];
    uint8_t FUserBitmaps = 0;
};

// Registers the switch's pictures "SWITCH_OFF" and "SWITCH_ON" (done by the switch itself).
void RegisterSwitchPictures();
