#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPushButton>

#include "platform/core/TypInfo.h"
#include "platform/gui/Buttons.h"

namespace {

struct TKindInfo {
    const char* caption;
    TModalResult result;
};
// The framework's captions and results of each kind.
const TKindInfo kKinds[] = {
    {"", mrNone},       {"OK", mrOk},       {"Cancel", mrCancel}, {"&Help", mrNone},     {"&Yes", mrYes}, {"&No", mrNo},
    {"&Close", mrNone}, {"Abort", mrAbort}, {"&Retry", mrRetry},  {"&Ignore", mrIgnore}, {"&All", mrAll},
};

}  // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    FGlyph->OnChange = [this](TObject*) { ApplyGlyph(); };
}

TBitBtn::~TBitBtn()
{
    Destroying();
    FGlyph->OnChange = nullptr;
}

void TBitBtn::SetKind(TBitBtnKind v)
{
    FKind = v;
    if (v == bkCustom)
        return;
    SetCaption(kKinds[v].caption);
    SetModalResult(kKinds[v].result);
    SetDefault(v == bkOK || v == bkYes);
    SetCancel(v == bkCancel || v == bkNo);
}

void TBitBtn::SetNumGlyphs(int v)
{
    FNumGlyphs = std::clamp(v, 1, 4);
    ApplyGlyph();
}

void TBitBtn::WidgetCreated()
{
    TButton::WidgetCreated();
    ApplyGlyph();
}

void TBitBtn::ApplyGlyph()
{
    if (!HandleAllocated())
        return;
    auto* b = static_cast<QPushButton*>(Handle());
    if (FGlyph->Empty()) {
        b->setIcon(QIcon());
        return;
    }
    // The first of NumGlyphs images side by side is the normal look.
    const QImage& all = FGlyph->Image();
    int w = all.width() / FNumGlyphs;
    QPixmap pixmap = QPixmap::fromImage(all.copy(0, 0, w, all.height()));
    b->setIcon(QIcon(pixmap));
    b->setIconSize(pixmap.size());
}

void TBitBtn::Click()
{
    if (FKind == bkClose) {
        if (TCustomForm* form = ParentForm()) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}

void RegisterBitBtnClasses()
{
    RegisterClass<TBitBtn>("TBitBtn", "TButton", MakeComponent<TBitBtn>)
        .Enum("Kind", "TBitBtnKind",
              {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry", "bkIgnore",
               "bkAll"},
              &TBitBtn::Kind, &TBitBtn::SetKind, bkCustom)
        .Int("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs, 1)
        .Int("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing, 4);
}
