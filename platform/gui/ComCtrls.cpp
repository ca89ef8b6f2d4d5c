// Progress bar, up-down, hot key and scroll bar (the date-time picker is DateTimePicker.cpp).

#include "platform/gui/ComCtrls.h"
#include "platform/core/TypInfo.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>

#include "platform/gui/Canvas.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/WindowScrollBars.h"

// --- TProgressBar -----------------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 150, 16); }

QWidget* TProgressBar::CreateWidget()
{
    auto* w = new TWidgetAdapter<QProgressBar>(this);
    w->setTextVisible(false);
    return w;
}

void TProgressBar::WidgetCreated()
{
    TWinControl::WidgetCreated();
    Apply();
}

void TProgressBar::Apply()
{
    if (!HandleAllocated())
        return;
    auto* w = static_cast<QProgressBar*>(Handle());
    w->setOrientation(FOrientation == pbVertical ? Qt::Vertical : Qt::Horizontal);
    w->setRange(FMin, FMax);
    w->setValue(FPosition);
}

void TProgressBar::SetMin(int v)
{
    FMin = v;
    FPosition = std::max(FPosition, FMin);
    Apply();
}

void TProgressBar::SetMax(int v)
{
    FMax = v;
    FPosition = std::min(FPosition, FMax);
    Apply();
}

void TProgressBar::SetPosition(int v)
{
    FPosition = std::clamp(v, FMin, std::max(FMin, FMax));
    Apply();
}

void TProgressBar::SetOrientation(TProgressBarOrientation v)
{
    FOrientation = v;
    Apply();
}

// --- TCustomUpDown ----------------------------------------------------------------------------

TCustomUpDown::TCustomUpDown(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 17, 25);
    FControlStyle &= ~(csClickEvents | csDoubleClicks);
    FControlStyle |= csOpaque;
    for (unsigned msg : {CN_VSCROLL, CN_HSCROLL}) {
        RegisterHandler(msg, [this](TMessage& m) {
            if ((m.WParam & 0xFFFF) != SB_THUMBPOSITION)
                return;
            int pos = static_cast<int16_t>((m.WParam >> 16) & 0xFFFF);
            if (pos == FPosition || !CanChange())
                return;
            TUDBtnType button =
                (pos > FPosition) != (FWrap && std::abs(pos - FPosition) > FIncrement) ? btNext : btPrev;
            FPosition = pos;
            Invalidate();
            Click(button);
        });
    }
}

void TCustomUpDown::Press(TUDBtnType button)
{
    int pos = FPosition + (button == btNext ? FIncrement : -FIncrement);
    if (pos > FMax)
        pos = FWrap ? FMin : FMax;
    if (pos < FMin)
        pos = FWrap ? FMax : FMin;
    unsigned msg = FOrientation == udVertical ? CN_VSCROLL : CN_HSCROLL;
    Perform(msg, SB_THUMBPOSITION | (static_cast<WPARAM>(static_cast<uint16_t>(pos)) << 16));
}

bool TCustomUpDown::CanChange()
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TCustomUpDown::Click(TUDBtnType Button)
{
    if (OnClick)
        OnClick(this, Button);
}

void TCustomUpDown::SetPosition(int v)
{
    FPosition = std::clamp(v, std::min(FMin, FMax), std::max(FMin, FMax));
    Invalidate();
}

void TCustomUpDown::SetOrientation(TUDOrientation v)
{
    FOrientation = v;
    Invalidate();
}

void TCustomUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    bool first = FOrientation == udVertical ? Y < Height() / 2 : X >= Width() / 2;
    Press(first ? btNext : btPrev);
}

void TCustomUpDown::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(ClientRect());
    bool vertical = FOrientation == udVertical;
    TRect halves[2] = {vertical ? Rect(0, 0, Width(), Height() / 2) : Rect(Width() / 2, 0, Width(), Height()),
                       vertical ? Rect(0, Height() / 2, Width(), Height()) : Rect(0, 0, Width() / 2, Height())};
    for (int i = 0; i < 2; ++i) {
        TRect r = halves[i];
        Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
        int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
        c->Brush()->SetColor(clBtnText);
        c->Pen()->SetColor(clBtnText);
        if (vertical)
            c->Polygon(i == 0 ? std::vector<TPoint>{{cx - 3, cy + 1}, {cx + 3, cy + 1}, {cx, cy - 2}}
                              : std::vector<TPoint>{{cx - 3, cy - 1}, {cx + 3, cy - 1}, {cx, cy + 2}});
        else
            c->Polygon(i == 0 ? std::vector<TPoint>{{cx - 1, cy - 3}, {cx - 1, cy + 3}, {cx + 2, cy}}
                              : std::vector<TPoint>{{cx + 1, cy - 3}, {cx + 1, cy + 3}, {cx - 2, cy}});
        c->Brush()->SetColor(clBtnFace);
    }
}

// --- THotKey ----------------------------------------------------------------------------------

THotKey::THotKey(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 121, 19);
    SetTabStop(true);
    FFocusOnClick = true;
    FHotKey = ShortCut('A', TShiftState{ssAlt});
}

QWidget* THotKey::CreateWidget()
{
    auto* w = new TWidgetAdapter<QLineEdit>(this);
    w->setReadOnly(true);
    return w;
}

void THotKey::WidgetCreated()
{
    TWinControl::WidgetCreated();
    static_cast<QLineEdit*>(Handle())->setText(AnsiToQString(FHotKey ? ShortCutToText(FHotKey) : AnsiString("None")));
}

void THotKey::SetHotKey(TShortCut v)
{
    FHotKey = v;
    if (HandleAllocated())
        WidgetCreated();
}

void THotKey::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TWinControl::KeyDown(Key, Shift);
    if (Key == 0 || Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU || Key == VK_TAB)
        return;
    // Backspace alone clears the key.
    SetHotKey(Key == VK_BACK && Shift.Empty() ? 0 : ShortCut(Key, Shift & TShiftState{ssShift, ssCtrl, ssAlt}));
    Key = 0;
    if (OnChange)
        OnChange(this);
}

// --- TScrollBar -------------------------------------------------------------------------------

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 121, 17);
    SetTabStop(true);
    for (unsigned msg : {CN_HSCROLL, CN_VSCROLL}) {
        RegisterHandler(msg, [this](TMessage& m) {
            auto code = static_cast<TScrollCode>(m.WParam & 0xFFFF);
            int pos = FPosition;
            switch (code) {
            case SB_LINEUP: pos -= FSmallChange; break;
            case SB_LINEDOWN: pos += FSmallChange; break;
            case SB_PAGEUP: pos -= FLargeChange; break;
            case SB_PAGEDOWN: pos += FLargeChange; break;
            case SB_THUMBPOSITION:
            case SB_THUMBTRACK: pos = static_cast<int16_t>((m.WParam >> 16) & 0xFFFF); break;
            case SB_TOP: pos = FMin; break;
            case SB_BOTTOM: pos = FMax; break;
            default: break;
            }
            pos = std::clamp(pos, FMin, std::max(FMin, FMax - std::max(FPageSize - 1, 0)));
            std::shared_ptr<bool> alive = AliveToken();
            Scroll(code, pos);
            if (*alive)
                SetPosition(pos);
        });
    }
}

QWidget* TScrollBar::CreateWidget()
{
    auto* w = new TWidgetAdapter<QScrollBar>(this);
    QObject::connect(w, &QScrollBar::actionTriggered, w, [this, w](int action) {
        if (FApplying)
            return;
        const int code = ScrollCodeOfSliderAction(action);
        if (code < 0)
            return;
        // Qt moves the slider itself; the control decides the position instead.
        int wanted = w->sliderPosition();
        ++FApplying;
        w->setSliderPosition(FPosition);
        --FApplying;
        WPARAM pos = static_cast<uint16_t>(code == SB_THUMBTRACK ? wanted : FPosition);
        Perform(FKind == sbHorizontal ? CN_HSCROLL : CN_VSCROLL, static_cast<WPARAM>(code) | (pos << 16));
    });
    return w;
}

void TScrollBar::WidgetCreated()
{
    TWinControl::WidgetCreated();
    Apply();
}

void TScrollBar::Apply()
{
    if (!HandleAllocated())
        return;
    auto* w = static_cast<QScrollBar*>(Handle());
    ++FApplying;
    w->setOrientation(FKind == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
    w->setRange(FMin, std::max(FMin, FMax - std::max(FPageSize - 1, 0)));
    w->setSingleStep(FSmallChange);
    w->setPageStep(std::max(FPageSize, FLargeChange));
    w->setValue(FPosition);
    --FApplying;
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    if (AMax < AMin)
        throw EInvalidOperation("Scroll bar property out of range");
    bool changed = APosition != FPosition;
    FMin = AMin;
    FMax = AMax;
    FPosition = std::clamp(APosition, AMin, AMax);
    changed = changed || FPosition != APosition;
    Apply();
    if (changed)
        Change();
}

void TScrollBar::SetKind(TScrollBarKind v)
{
    if (v == FKind)
        return;
    FKind = v;
    SetBounds(Left(), Top(), Height(), Width());
    Apply();
}

void TScrollBar::SetSmallChange(int v)
{
    FSmallChange = v;
    Apply();
}

void TScrollBar::SetLargeChange(int v)
{
    FLargeChange = v;
    Apply();
}

void TScrollBar::SetPageSize(int v)
{
    FPageSize = std::max(v, 0);
    Apply();
}

void TScrollBar::Change()
{
    if (OnChange)
        OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos)
{
    if (OnScroll)
        OnScroll(this, ScrollCode, ScrollPos);
}

void RegisterComCtrlsClasses()
{
    RegisterClass<TProgressBar>("TProgressBar", "TWinControl", MakeComponent<TProgressBar>)
        .Int("Max", &TProgressBar::Max, &TProgressBar::SetMax, 100)
        .Int("Min", &TProgressBar::Min, &TProgressBar::SetMin, 0)
        .Enum("Orientation", "TProgressBarOrientation", {"pbHorizontal", "pbVertical"}, &TProgressBar::Orientation,
              &TProgressBar::SetOrientation, pbHorizontal)
        .Int("Position", &TProgressBar::Position, &TProgressBar::SetPosition, 0)
        .Int("Step", &TProgressBar::Step, &TProgressBar::SetStep, 10);
    RegisterClass<TCustomUpDown>("TCustomUpDown", "TCustomControl")
        .Int("Increment", &TCustomUpDown::Increment, &TCustomUpDown::SetIncrement, 1)
        .Int("Max", &TCustomUpDown::Max, &TCustomUpDown::SetMax, 100)
        .Int("Min", &TCustomUpDown::Min, &TCustomUpDown::SetMin, 0)
        .Enum("Orientation", "TUDOrientation", {"udVertical", "udHorizontal"}, &TCustomUpDown::Orientation,
              &TCustomUpDown::SetOrientation, udVertical)
        .Int("Position", &TCustomUpDown::Position, &TCustomUpDown::SetPosition, 0)
        .Bool("Wrap", &TCustomUpDown::Wrap, &TCustomUpDown::SetWrap, false);
    RegisterClass<TUpDown>("TUpDown", "TCustomUpDown", MakeComponent<TUpDown>);
    RegisterClass<THotKey>("THotKey", "TWinControl", MakeComponent<THotKey>)
        .Int("HotKey", &THotKey::HotKey, &THotKey::SetHotKey)
        .Str(
            "HotKeyText", [](THotKey* h) { return ShortCutToText(h->HotKey()); },
            [](THotKey* h, const AnsiString& v) { h->SetHotKey(TextToShortCut(v)); });
    RegisterClass<TScrollBar>("TScrollBar", "TWinControl", MakeComponent<TScrollBar>)
        .Enum("Kind", "TScrollBarKind", {"sbHorizontal", "sbVertical"}, &TScrollBar::Kind, &TScrollBar::SetKind,
              sbHorizontal)
        .Int("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange, 1)
        .Int("Max", &TScrollBar::Max, &TScrollBar::SetMax, 100)
        .Int("Min", &TScrollBar::Min, &TScrollBar::SetMin, 0)
        .Int("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize, 0)
        .Int("Position", &TScrollBar::Position, &TScrollBar::SetPosition, 0)
        .Int("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange, 1);
    RegisterClass<TDateTimePicker>("TDateTimePicker", "TWinControl", MakeComponent<TDateTimePicker>)
        .Float("Date", ftDouble, &TDateTimePicker::Date, &TDateTimePicker::SetDate)
        .Float("DateTime", ftDouble, &TDateTimePicker::DateTime, &TDateTimePicker::SetDateTime)
        .Enum("Kind", "TDateTimeKind", {"dtkDate", "dtkTime"}, &TDateTimePicker::Kind, &TDateTimePicker::SetKind,
              dtkDate)
        .Enum("DateMode", "TDTDateMode", {"dmComboBox", "dmUpDown"}, &TDateTimePicker::DateMode,
              &TDateTimePicker::SetDateMode, dmComboBox)
        .Float("Time", ftDouble, &TDateTimePicker::Time, &TDateTimePicker::SetTime);
    RegisterClass<TStatusBar>("TStatusBar", "TCustomControl", MakeComponent<TStatusBar>)
        .Bool("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel, false)
        .Str("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText)
        .Bool("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip, true)
        .Int("PanelCount", &TStatusBar::PanelCount, nullptr);
    RegisterClass<TToolBar>("TToolBar", "TCustomControl", MakeComponent<TToolBar>)
        .Int("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight, 22)
        .Int("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth, 23)
        .Bool("Flat", &TToolBar::Flat, &TToolBar::SetFlat, false)
        .Bool("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions, false);
    RegisterClass<TToolButton>("TToolButton", "TGraphicControl", MakeComponent<TToolButton>)
        .Bool("Down", &TToolButton::Down, &TToolButton::SetDown, false)
        .Bool("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped, false)
        .Int("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex, -1)
        .Enum("Style", "TToolButtonStyle", {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"},
              &TToolButton::Style, &TToolButton::SetStyle, tbsButton);
    RegisterClass<TControlBar>("TControlBar", "TCustomControl", MakeComponent<TControlBar>);
    RegisterClass<TPageControl>("TPageControl", "TCustomControl", MakeComponent<TPageControl>)
        .Int("ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex)
        .Bool("MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine, false)
        .Int("PageCount", &TPageControl::PageCount, nullptr)
        .Int("RowCount", &TPageControl::RowCount, nullptr)
        .Int("TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight, 20)
        .Object("ActivePage", "TTabSheet", &TPageControl::ActivePage, &TPageControl::SetActivePage);
    RegisterClass<TTabSheet>("TTabSheet", "TWinControl", MakeComponent<TTabSheet>)
        .Object("PageControl", "TPageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl)
        .Int("PageIndex", &TTabSheet::PageIndex, nullptr)
        .Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible, true);
}
