#pragma once
// The credits panel: a bevelled panel that, while Active, hides its child controls and scrolls
// its Lines upwards or sideways beside an optional picture. Its ticks run on the GUI thread from
// a window timer (30 ms steps), so nothing paints from another thread and Lines are never read
// while they change. The geometry is display-free (controls/core/SecretPanelLayout.h).

#include <functional>
#include <memory>
#include <vector>

#include "controls/core/SecretPanelLayout.h"
#include "platform/core/StringList.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/WindowTimer.h"

using TPanelDrawEvent = std::function<void(TObject* Sender, TCanvas* Canvas, const TRect& Rect)>;

class TSecretPanel : public TCustomPanel {
public:
    explicit TSecretPanel(TComponent* AOwner);
    ~TSecretPanel() override;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    void Play() { SetActive(true); }
    void Stop() { SetActive(false); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* Value) { FLines->Assign(Value); }
    bool Cycled() const { return FCycled; }
    void SetCycled(bool Value) { FCycled = Value; }
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
    TPanelBevel TextStyle() const { return FTextStyle; }
    void SetTextStyle(TPanelBevel Value);
    TScrollDirection ScrollDirection() const { return FDirection; }
    void SetDirection(TScrollDirection Value);
    TGlyphLayout GlyphLayout() const { return FGlyphLayout; }
    void SetGlyphLayout(TGlyphLayout Value);
    uint32_t Interval() const { return FTimer->Interval(); }
    void SetInterval(uint32_t Value) { FTimer->SetInterval(Value); }
    // Kept for stored settings: the ticks always run on the GUI thread.
    bool AsyncDrawing() const { return FAsyncDrawing; }
    void SetAsyncDrawing(bool Value) { FAsyncDrawing = Value; }

    int ScrollCount() const { return FScrollCnt; }
    int ScrollLength() const { return FMaxScroll; }
    TRect TextRect() const { return FTxtRect; }

    TPanelDrawEvent OnPaintClient;
    TNotifyEvent OnStartPlay, OnStopPlay;

protected:
    void Paint() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    virtual void PaintClient(TCanvas* Canvas, const TRect& Rect);
    virtual void TimerExpired(TObject* Sender);
    virtual void StartPlay();
    virtual void StopPlay();

private:
    void RecalcDrawRect();
    void UpdateMemoryImage();
    // The image's ground: PaintClient on it as if it were the panel's canvas.
    void PaintGround(TCanvas* Image);
    void PaintText();
    // While active: the layout again, and a repaint.
    void Relayout(bool RestartScroll);
    int InflateWidth() const;

    bool FActive = false;
    TAlignment FAlignment = taCenter;
    std::unique_ptr<TStringList> FLines;
    bool FCycled = false;
    int FScrollCnt = 0;
    int FMaxScroll = 0;
    int FTxtDivider = 1;  // the line step
    int FFirstLine = 0;
    std::unique_ptr<TTimer> FTimer;
    TRect FTxtRect, FPaintRect;
    TPoint FGlyphOrigin;
    std::unique_ptr<TBitmap> FMemoryImage;
    std::unique_ptr<TBitmap> FGlyph;
    std::vector<TControl*> FHiddenList;
    TPanelBevel FTextStyle = bvNone;
    TScrollDirection FDirection = sdVertical;
    TGlyphLayout FGlyphLayout = glGlyphLeft;
    bool FAsyncDrawing = true;
};
