#include "platform/gui/ButtonCtrls.h"
#include "platform/core/TypInfo.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "platform/gui/ControlWidget.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/DrawTextLayout.h"
#include "platform/gui/KeyBridge.h"

namespace {

// The framework's "&x" is Qt's too; only the text changes encoding.
QString ButtonCaption(const AnsiString& caption) { return AnsiToQString(caption); }

template <class W>
W* WidgetOf(TWinControl* c)
{
    return c->HandleAllocated() ? static_cast<W*>(c->Handle()) : nullptr;
}

}  // namespace

char AcceleratorOf(std::string_view caption)
{
    for (size_t i = 0; i + 1 < caption.size(); i += static_cast<size_t>(CharLengthAt(caption, i))) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        char c = caption[i + 1];
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return 0;
}

// --- TButtonControl ---------------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner)
{
    // Qt reports the click; the control's own press-and-release click would come twice.
    FControlStyle &= ~csClickEvents;
    SetTabStop(true);
    FFocusOnClick = true;
    RegisterHandler(CM_TEXTCHANGED, [this](TMessage& m) {
        Inherited(m);
        if (auto* b = HandleAllocated() ? qobject_cast<QAbstractButton*>(Handle()) : nullptr)
            b->setText(ButtonCaption(Caption()));
        else if (auto* g = HandleAllocated() ? qobject_cast<QGroupBox*>(Handle()) : nullptr)
            g->setTitle(ButtonCaption(Caption()));
    });
    // A click sent as a message is the user's click.
    RegisterHandler(BM_CLICK, [this](TMessage&) { WidgetClicked(); });
    // Alt and the caption's "&" letter: the button takes the focus and is clicked.
    RegisterHandler(CM_DIALOGCHAR, [this](TMessage& m) {
        char key = static_cast<char>(m.WParam);
        if (key != 0 && key == AcceleratorOf(Caption()) && CanFocus()) {
            SetFocus();
            m.Result = 1;
            WidgetClicked();
        }
    });
}

void TButtonControl::WidgetCreated()
{
    TWinControl::WidgetCreated();
    auto* b = static_cast<QAbstractButton*>(Handle());
    b->setText(ButtonCaption(Caption()));
    ApplyState();
    QObject::connect(b, &QAbstractButton::clicked, b, [this] { WidgetClicked(); });
}

// --- TButton ----------------------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(0, 0, 75, 25);
    RegisterHandler(CM_DIALOGKEY, [this](TMessage& m) {
        bool mine = (m.WParam == VK_RETURN && FDefault) || (m.WParam == VK_ESCAPE && FCancel);
        if (mine && Visible() && Enabled() && Showing()) {
            Click();
            m.Result = 1;
        }
    });
}

QWidget* TButton::CreateWidget() { return new TWidgetAdapter<QPushButton>(this); }

void TButton::ApplyState()
{
    if (auto* b = WidgetOf<QPushButton>(this))
        b->setDefault(FDefault);
}

void TButton::SetDefault(bool v)
{
    FDefault = v;
    ApplyState();
}

void TButton::Click()
{
    if (FModalResult != mrNone)
        if (TCustomForm* form = ParentForm())
            form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

// --- TCustomCheckBox --------------------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 97, 17); }

QWidget* TCustomCheckBox::CreateWidget() { return new TWidgetAdapter<QCheckBox>(this); }

void TCustomCheckBox::ApplyState()
{
    if (auto* b = WidgetOf<QCheckBox>(this)) {
        QSignalBlocker block(b);
        b->setTristate(FAllowGrayed || FState == cbGrayed);
        b->setCheckState(FState == cbChecked ? Qt::Checked : FState == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    }
}

void TCustomCheckBox::SetState(TCheckBoxState v)
{
    if (v == FState)
        return;
    FState = v;
    ApplyState();
    Click();
}

void TCustomCheckBox::SetAllowGrayed(bool v)
{
    FAllowGrayed = v;
    ApplyState();
}

void TCustomCheckBox::WidgetClicked()
{
    // The framework's cycle: unchecked, checked, grayed (when allowed), unchecked.
    TCheckBoxState next = FState == cbUnchecked ? cbChecked
        : FState == cbChecked                   ? (FAllowGrayed ? cbGrayed : cbUnchecked)
                                                : cbUnchecked;
    FState = next;
    ApplyState();
    Click();
}

// --- TRadioButton -----------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 113, 17); }

QWidget* TRadioButton::CreateWidget()
{
    auto* b = new TWidgetAdapter<QRadioButton>(this);
    b->setAutoExclusive(false);
    return b;
}

void TRadioButton::ApplyState()
{
    if (auto* b = WidgetOf<QRadioButton>(this)) {
        QSignalBlocker block(b);
        b->setChecked(FChecked);
    }
}

void TRadioButton::SetChecked(bool v)
{
    if (v == FChecked)
        return;
    FChecked = v;
    ApplyState();
    if (!v)
        return;
    if (TWinControl* p = Parent())
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(p->Controls(i)); other && other != this)
                other->SetChecked(false);
    Click();
}

void TRadioButton::WidgetClicked()
{
    // A click on the checked button keeps it checked.
    FChecked = false;
    SetChecked(true);
}

// --- TCustomGroupBox --------------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 185, 105);
    FControlStyle |= csAcceptsControls;
    // The box shows what it stands on, so the labels placed in it take that colour too.
    SetParentColor(true);
    RegisterHandler(CM_TEXTCHANGED, [this](TMessage& m) {
        Inherited(m);
        if (auto* g = WidgetOf<QGroupBox>(this))
            g->setTitle(ButtonCaption(Caption()));
    });
}

QWidget* TCustomGroupBox::CreateWidget()
{
    auto* g = new TWidgetAdapter<QGroupBox>(this);
    g->setTitle(ButtonCaption(Caption()));
    return g;
}

TRect TCustomGroupBox::ClientRect() const
{
    // Below the caption line, inside the frame.
    TRect r = TWinControl::ClientRect();
    r.Top += 15;
    r.Left += 2;
    r.Right -= 2;
    r.Bottom -= 2;
    return r;
}

// --- TCustomLabel -----------------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 65, 17);
    FControlStyle |= csOpaque | csReplicatable;
    // A label takes the colour of what it is placed on, as the framework's labels do.
    SetParentColor(true);
    RegisterHandler(CM_TEXTCHANGED, [this](TMessage& m) {
        Inherited(m);
        AdjustBounds();
        Invalidate();
    });
    RegisterHandler(CM_FONTCHANGED, [this](TMessage& m) {
        Inherited(m);
        AdjustBounds();
    });
    RegisterHandler(CM_DIALOGCHAR, [this](TMessage& m) {
        char key = static_cast<char>(m.WParam);
        if (key >= 'a' && key <= 'z')
            key = static_cast<char>(key - 'a' + 'A');
        if (FFocusControl && FShowAccelChar && key != 0 && key == AcceleratorOf(Caption()) &&
            FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            m.Result = 1;
        }
    });
}

TCustomLabel::~TCustomLabel() { Destroying(); }

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TCustomLabel::SetFocusControl(TWinControl* v)
{
    FFocusControl = v;
    if (v)
        v->FreeNotification(this);
}

unsigned TCustomLabel::TextFlags() const
{
    unsigned flags = DT_EXPANDTABS;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    flags |= FAlignment == 1 ? DT_RIGHT : FAlignment == 2 ? DT_CENTER : DT_LEFT;
    return flags;
}

void TCustomLabel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!FTransparent) {
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    }
    c->SetFont(Font());
    AnsiString text = Caption();
    TRect calc = r;
    DrawText(c, text, calc, TextFlags() | DT_CALCRECT);
    int offset = FLayout == tlCenter ? (r.Height() - calc.Height()) / 2
        : FLayout == tlBottom        ? r.Height() - calc.Height()
                                     : 0;
    r.Top += offset;
    c->Brush()->SetStyle(bsClear);
    if (!Enabled())
        c->Font()->SetColor(clGrayText);
    DrawText(c, text, r, TextFlags());
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize || !Parent())
        return;
    TCanvas* c = Canvas();
    c->SetFont(Font());
    TRect r = Rect(0, 0, FWordWrap ? Width() : 0, 0);
    DrawText(c, Caption().empty() ? AnsiString(" ") : Caption(), r, TextFlags() | DT_CALCRECT);
    int left = FAlignment == 1 ? Left() + Width() - r.Width() : Left();
    SetBounds(left, Top(), r.Width(), r.Height());
}

void TCustomLabel::SetShowAccelChar(bool v)
{
    FShowAccelChar = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool v)
{
    FAutoSize = v;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool v)
{
    FWordWrap = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout v)
{
    FLayout = v;
    Invalidate();
}

void TCustomLabel::SetAlignment(int v)
{
    FAlignment = v;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool v)
{
    FTransparent = v;
    if (v)
        FControlStyle &= ~csOpaque;
    else
        FControlStyle |= csOpaque;
    Invalidate();
}

void RegisterButtonClasses()
{
    RegisterClass<TButtonControl>("TButtonControl", "TWinControl");
    RegisterClass<TButton>("TButton", "TButtonControl", MakeComponent<TButton>)
        .Bool("Cancel", &TButton::Cancel, &TButton::SetCancel, false)
        .Bool("Default", &TButton::Default, &TButton::SetDefault, false)
        .Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone);
    RegisterClass<TCustomCheckBox>("TCustomCheckBox", "TButtonControl")
        .Enum("Alignment", "TLeftRight", {"taLeftJustify", "taRightJustify"}, &TCustomCheckBox::Alignment,
              &TCustomCheckBox::SetAlignment, taRightSide)
        .Bool("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed, false)
        .Bool("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked, false)
        .Enum("State", "TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}, &TCustomCheckBox::State,
              &TCustomCheckBox::SetState, cbUnchecked);
    RegisterClass<TCheckBox>("TCheckBox", "TCustomCheckBox", MakeComponent<TCheckBox>);
    RegisterClass<TRadioButton>("TRadioButton", "TButtonControl", MakeComponent<TRadioButton>)
        .Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false);
    RegisterClass<TCustomGroupBox>("TCustomGroupBox", "TWinControl");
    RegisterClass<TGroupBox>("TGroupBox", "TCustomGroupBox", MakeComponent<TGroupBox>);
    RegisterClass<TCustomLabel>("TCustomLabel", "TControl")
        .Enum("Alignment", "TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TCustomLabel::Alignment,
              &TCustomLabel::SetAlignment, 0)
        .Bool("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize, true)
        .Object("FocusControl", "TWinControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl)
        .Enum("Layout", "TTextLayout", {"tlTop", "tlCenter", "tlBottom"}, &TCustomLabel::Layout,
              &TCustomLabel::SetLayout, tlTop)
        .Bool("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar, true)
        .Bool("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent, false)
        .Bool("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap, false);
    RegisterClass<TLabel>("TLabel", "TCustomLabel", MakeComponent<TLabel>);
}
