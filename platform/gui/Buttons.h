#pragma once
// The bitmap button: a push button with a glyph, and kinds that bring their caption, result
// and Default / Cancel role.

#include <memory>

#include "platform/gui/Bitmap.h"
#include "platform/gui/ButtonCtrls.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* v) { FGlyph->Assign(v); }
    TBitBtnKind Kind() const { return FKind; }
    void SetKind(TBitBtnKind v);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int v);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v) { FSpacing = v; }

protected:
    void WidgetCreated() override;
    // Closing the form is the kind bkClose's click.
    void Click() override;

private:
    void ApplyGlyph();
    std::unique_ptr<TBitmap> FGlyph;
    TBitBtnKind FKind = bkCustom;
    int FNumGlyphs = 1;
    int FSpacing = 4;
};

void RegisterBitBtnClasses();
