// The "CHECK_IMAGES" picture of the check list box: 6 x 3 cells of 13 x 13 pixels on fuchsia
// (the see-through colour). Row 0 check boxes, row 1 radio buttons, row 2 check marks; in each
// row unchecked, checked and grayed enabled, then the same disabled.

#include <memory>

#include "controls/core/ListBoxRules.h"
#include "controls/lib/ExCheckListBox.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Resources.h"

namespace {

constexpr int kCell = 13;

void Tick(TCanvas* c, int x, int y, TColor color)
{
    c->Pen()->SetColor(color);
    for (int i = 0; i < 3; ++i) {
        c->MoveTo(x + 3, y + 5 + i);
        c->LineTo(x + 5, y + 7 + i);
        c->LineTo(x + 10, y + 2 + i);
    }
}

void DrawCell(TCanvas* c, int kind, int state, bool enabled, int x, int y)
{
    const TColor face = enabled ? clWindow : clBtnFace;
    const TColor mark = !enabled || state == kCheckGrayed ? clGrayText : clWindowText;
    if (kind == ckCheckBoxes) {
        c->Brush()->SetColor(state == kCheckGrayed ? clBtnFace : face);
        c->Pen()->SetColor(clBtnShadow);
        c->Rectangle(x, y, x + kCell, y + kCell);
        c->Pen()->SetColor(clBtnHighlight);
        c->MoveTo(x, y + kCell - 1);
        c->LineTo(x + kCell - 1, y + kCell - 1);
        c->LineTo(x + kCell - 1, y - 1);
        if (state != kCheckUnchecked)
            Tick(c, x, y, mark);
    } else if (kind == ckRadioButtons) {
        c->Brush()->SetColor(face);
        c->Pen()->SetColor(clBtnShadow);
        c->Ellipse(x, y, x + kCell - 1, y + kCell - 1);
        if (state == kCheckChecked) {
            c->Brush()->SetColor(mark);
            c->Pen()->SetColor(mark);
            c->Ellipse(x + 4, y + 4, x + 8, y + 8);
        }
    } else if (state != kCheckUnchecked) {
        Tick(c, x, y, mark);
    }
}

void DrawCheckImages(TBitmap* bitmap)
{
    bitmap->SetSize(kCheckImageCols * kCell, kCheckImageRows * kCell);
    TCanvas* c = bitmap->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, bitmap->Width(), bitmap->Height()));
    for (int kind = 0; kind < kCheckImageRows; ++kind)
        for (int state = 0; state < 3; ++state)
            for (int disabled = 0; disabled < 2; ++disabled) {
                const int cell = CheckCellIndex(state, static_cast<TCheckKind>(kind), disabled == 0);
                DrawCell(c, kind, state, disabled == 0, (cell % kCheckImageCols) * kCell,
                         (cell / kCheckImageCols) * kCell);
            }
    bitmap->SetTransparentColor(clFuchsia);
}

}  // namespace

TBitmap* CheckImages()
{
    static std::unique_ptr<TBitmap> images;
    if (!images) {
        if (!FindResource(rtBitmap, "CHECK_IMAGES"))
            RegisterBitmapResource("CHECK_IMAGES", DrawCheckImages);
        images = std::make_unique<TBitmap>();
        LoadBitmapResource(images.get(), "CHECK_IMAGES");
        images->SetTransparentColor(clFuchsia);
    }
    return images.get();
}
