#include "app/forms/AboutBox.h"

#include "app/core/WindowTexts.h"
#include "app/forms/FormPlace.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Shell.h"

namespace {
// The program's picture: a navy square with a white "한".
void DrawProgramIcon(TBitmap* bitmap)
{
    bitmap->SetSize(32, 32);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clNavy);
    canvas->FillRect(TRect{0, 0, 32, 32});
    canvas->Font()->SetColor(clWhite);
    canvas->Font()->SetHeight(-20);
    canvas->TextOut(6, 4, "\xC7\xD1");  // 한
}

TLabel* Link(TComponent* owner, TWinControl* parent, const char* name, const char* text, int top, TNotifyEvent click)
{
    auto* label = Place<TLabel>(owner, parent, name, text, 16, top, 300, 16, std::move(click));
    label->Font()->SetColor(clBlue);
    label->Font()->SetStyle(TFontStyles() << fsUnderline);
    label->SetCursor(crHandPoint);
    return label;
}
}  // namespace

TAboutBox::TAboutBox(TComponent* AOwner) : TForm(AOwner)
{
    SetName("AboutBox");
    SetCaption("About");
    SetBorderStyle(bsDialog);
    SetPosition(poOwnerFormCenter);
    Font()->SetName(WindowText::Gulim);
    Font()->SetHeight(-11);
    Font()->SetStyle(TFontStyles() << fsBold);
    SetClientWidth(340);
    SetClientHeight(250);
    auto* icon = Place<TImage>(this, this, "ProgramIcon", 16, 16, 32, 32);
    DrawProgramIcon(icon->Picture());
    Place<TLabel>(this, this, "ProductName", WindowText::AboutProduct, 64, 16, 200, 16);
    FVersion = Place<TLabel>(this, this, "Version", AnsiString(), 64, 36, 200, 16);
    Place<TLabel>(this, this, "Copyright", WindowText::AboutCredit, 64, 56, 260, 16);
    Place<TLabel>(this, this, "Comments", WindowText::AboutComment, 16, 88, 310, 16);
    auto* caution = Place<TLabel>(this, this, "Caution", WindowText::AboutCaution, 16, 112, 60, 16);
    caution->Font()->SetColor(clRed);
    auto* notice = Place<TLabel>(this, this, "Notice", WindowText::AboutNotice, 16, 132, 310, 16);
    notice->Font()->SetColor(clBlue);
    FWeb = Link(this, this, "StaticText1", WindowText::AboutWeb, 160, [this](TObject*) { StaticText1Click(); });
    FMail = Link(this, this, "StaticText2", WindowText::AboutMail, 180, [this](TObject*) { StaticText2Click(); });
    auto* ok = Place<TButton>(this, this, "OKButton", "OK", 132, 212, 75, 25);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
}

void TAboutBox::DoShow()
{
    FVersion->SetCaption(WindowText::AboutVersion);
    TForm::DoShow();
}

// The shell's answer is not looked at: a link that does not open changes nothing here.
void TAboutBox::StaticText1Click() { ShellOpenUrl(FWeb->Caption()); }

void TAboutBox::StaticText2Click() { ShellOpenUrl("mailto:" + FMail->Caption()); }
