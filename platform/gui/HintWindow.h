#pragma once
// The framework's hint window: a small window above all others, showing a short text on the hint
// colour at a place on the screen (scroll hints, cell hints). It never takes the focus.

#include <memory>

#include "platform/core/Component.h"
#include "platform/gui/Canvas.h"

class QWidget;

class THintWindow : public TComponent {
public:
    explicit THintWindow(TComponent* AOwner);
    ~THintWindow() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFont* Font() { return &FFont; }
    const AnsiString& Caption() const { return FCaption; }

    // The rectangle from (0, 0) the text needs, lines broken to at most MaxWidth.
    TRect CalcHintRect(int MaxWidth, const AnsiString& AHint);
    // Shows the text in Rect, in screen coordinates.
    void ActivateHint(const TRect& Rect, const AnsiString& AHint);
    // Hides the window.
    void ReleaseHandle();
    bool Visible() const;
    // Where the window is on the screen.
    TRect BoundsRect() const;

    // Paints the window's face on a canvas as big as the window.
    void PaintOn(TCanvas* Canvas, const TRect& Client);

private:
    QWidget* Widget();
    std::unique_ptr<QWidget> FWidget;
    TColor FColor = clInfoBk;
    TFont FFont;
    AnsiString FCaption;
};
