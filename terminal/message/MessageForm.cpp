#include "terminal/message/MessageForm.h"

#include "platform/gui/Application.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Forms.h"

namespace {

const char* const kFaceName = "\xB1\xBC\xB8\xB2\xC3\xBC";  // 굴림체

void UseNoticeFont(TCanvas* canvas)
{
    canvas->Font()->SetSize(9);
    canvas->Font()->SetName(kFaceName);
    canvas->Font()->SetColor(clBlack);
    canvas->Brush()->SetColor(TMessageForm::kFaceColor);
}

bool Shown(TCustomForm* form) { return form && form->Visible() && form->Showing(); }

}  // namespace

TMessageForm::TMessageForm(TComponent* AOwner) : TCustomControl(AOwner) {}

TMessageForm::~TMessageForm()
{
    // A box freed by its owner before its time takes its timer along.
    delete FTimer;
    FTimer = nullptr;
}

void TMessageForm::Paint()
{
    TCanvas* c = Canvas();
    UseNoticeFont(c);
    const TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(r);
    c->Pen()->SetColor(kFrameColor);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(0, 0, Width(), Height());
    const AnsiString& text = Text();
    c->TextOut((Width() - c->TextWidth(text)) / 2, (Height() - c->TextHeight(text)) / 2, text);
    c->Brush()->SetStyle(bsSolid);
}

void TMessageForm::TimerTimer(TObject*)
{
    delete FTimer;
    FTimer = nullptr;
    delete this;
}

TCustomForm* MessageFormHost(TWinControl* Near)
{
    if (Near)
        if (TCustomForm* f = Near->ParentForm(); Shown(f))
            return f;
    if (auto* near = dynamic_cast<TCustomForm*>(Near); Shown(near))
        return near;
    if (Screen && Shown(Screen->ActiveForm()))
        return Screen->ActiveForm();
    if (Application && Shown(Application->MainForm()))
        return Application->MainForm();
    if (Screen)
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (Shown(Screen->Forms(i)))
                return Screen->Forms(i);
    return nullptr;
}

void ShowMessageForm(const AnsiString& Msg, unsigned Time, TWinControl* Near)
{
    TCustomForm* host = MessageFormHost(Near);
    if (!host)
        return;
    auto* box = new TMessageForm(Application);
    box->SetVisible(false);
    box->SetParent(host);
    box->SetText(Msg);
    // Measured with the notice's own font, so that the text fits the box.
    UseNoticeFont(box->Canvas());
    const int width = box->Canvas()->TextWidth(Msg) + TMessageForm::kMarginWidth;
    const int height = TMessageForm::kBoxHeight;
    box->SetBounds((host->Width() - width) / 2, (host->Height() - height) / 2, width, height);
    box->FTimer = new TTimer(nullptr);
    box->FTimer->SetEnabled(false);
    // A zero time would never fire; the system's shortest timer is used instead.
    box->FTimer->SetInterval(Time > 0 ? Time : 1);
    box->FTimer->SetOnTimer([box](TObject* sender) { box->TimerTimer(sender); });
    box->BringToFront();
    box->SetVisible(true);
    box->FTimer->SetEnabled(true);
}
