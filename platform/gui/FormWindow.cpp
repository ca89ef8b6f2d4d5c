// The form's window as the window system sees it: style and border icons, size limits,
// scaling and placement.

#include <QWidget>
#include <algorithm>

#include "platform/gui/Forms.h"

namespace {

int Scaled(int value, int M, int D) { return D == 0 ? value : static_cast<int>(static_cast<int64_t>(value) * M / D); }

void ScaleChildren(TWinControl* parent, int M, int D)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        c->SetBounds(Scaled(c->Left(), M, D), Scaled(c->Top(), M, D), Scaled(c->Width(), M, D),
                     Scaled(c->Height(), M, D));
        if (!c->ParentFont())
            c->Font()->SetHeight(Scaled(c->Font()->Height(), M, D));
        if (auto* w = dynamic_cast<TWinControl*>(c))
            ScaleChildren(w, M, D);
    }
}

}  // namespace

void TSizeConstraints::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TSizeConstraints*>(Source)) {
        MinWidth = s->MinWidth, MinHeight = s->MinHeight, MaxWidth = s->MaxWidth, MaxHeight = s->MaxHeight;
        return;
    }
    TPersistent::Assign(Source);
}

void TSizeConstraints::Apply(int& Width, int& Height) const
{
    if (MaxWidth > 0)
        Width = std::min(Width, MaxWidth);
    if (MaxHeight > 0)
        Height = std::min(Height, MaxHeight);
    Width = std::max(Width, MinWidth);
    Height = std::max(Height, MinHeight);
}

unsigned TCustomForm::WindowFlagsFor(unsigned borderFlags) const
{
    Qt::WindowFlags flags = Qt::WindowFlags::fromInt(borderFlags);
    if (FFormStyle == fsStayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    // The default icons leave the window system's title bar as it is.
    if (FBorderIcons != (biSystemMenu | biMinimize | biMaximize) && FBorderStyle != bsNone) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (FBorderIcons & biSystemMenu)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if ((FBorderIcons & biMinimize) && (FBorderIcons & biSystemMenu))
            flags |= Qt::WindowMinimizeButtonHint;
        if ((FBorderIcons & biMaximize) && (FBorderIcons & biSystemMenu))
            flags |= Qt::WindowMaximizeButtonHint;
        if (FBorderIcons & biHelp)
            flags |= Qt::WindowContextHelpButtonHint;
    }
    return flags.toInt();
}

void TCustomForm::ApplySizeLimits()
{
    if (!HandleAllocated())
        return;
    QWidget* w = Handle();
    if (FBorderStyle == bsSingle || FBorderStyle == bsDialog || FBorderStyle == bsToolWindow) {
        w->setFixedSize(Width(), Height());
        return;
    }
    TMinMaxInfo info;
    info.ptMaxSize = {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    info.ptMinTrackSize = {FConstraints.MinWidth, FConstraints.MinHeight};
    info.ptMaxTrackSize = {FConstraints.MaxWidth > 0 ? FConstraints.MaxWidth : QWIDGETSIZE_MAX,
                           FConstraints.MaxHeight > 0 ? FConstraints.MaxHeight : QWIDGETSIZE_MAX};
    Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    const auto limit = [](int v) { return std::clamp(v, 0, QWIDGETSIZE_MAX); };
    w->setMinimumSize(limit(info.ptMinTrackSize.x), limit(info.ptMinTrackSize.y));
    w->setMaximumSize(limit(info.ptMaxTrackSize.x), limit(info.ptMaxTrackSize.y));
}

void TCustomForm::SetFormStyle(TFormStyle v)
{
    if (v == FFormStyle)
        return;
    FFormStyle = v;
    ApplyBorderStyle();
}

void TCustomForm::SetBorderIcons(TBorderIcons v)
{
    if (v == FBorderIcons)
        return;
    FBorderIcons = v;
    ApplyBorderStyle();
}

void TCustomForm::ConstraintsChanged()
{
    ApplySizeLimits();
    SetBounds(Left(), Top(), Width(), Height());
}

bool TCustomForm::CanResize(int& NewWidth, int& NewHeight)
{
    FConstraints.Apply(NewWidth, NewHeight);
    return TWinControl::CanResize(NewWidth, NewHeight);
}

void TCustomForm::ScaleBy(int M, int D)
{
    if (M == D || D == 0)
        return;
    ScaleChildren(this, M, D);
    Font()->SetHeight(Scaled(Font()->Height(), M, D));
    SetClientWidth(Scaled(ClientWidth(), M, D));
    SetClientHeight(Scaled(ClientHeight(), M, D));
}

TWindowPlacement TCustomForm::GetPlacement()
{
    TWindowPlacement p;
    p.NormalPosition = BoundsRect();
    p.ShowCmd = WindowState() == wsMaximized ? 3 : (WindowState() == wsMinimized ? 2 : 1);
    if (HandleAllocated()) {
        QWidget* w = Handle();
        if (w->isMaximized() || w->isMinimized()) {
            QRect r = w->normalGeometry();
            if (r.isValid())
                p.NormalPosition = Rect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
        }
        p.ShowCmd = w->isMaximized() ? 3 : (w->isMinimized() ? 2 : p.ShowCmd);
    }
    return p;
}

void TCustomForm::SetPlacement(const TWindowPlacement& placement)
{
    // A stored place is kept exactly, also the screen's corner where a form is made.
    FPlaceGiven = true;
    const TRect& r = placement.NormalPosition;
    if (placement.ShowCmd == 3 || placement.ShowCmd == 2) {
        // The normal rectangle first, so restoring later comes back to it.
        SetWindowState(wsNormal);
        SetBounds(r.Left, r.Top, r.Width(), r.Height());
        SetWindowState(placement.ShowCmd == 3 ? wsMaximized : wsMinimized);
    } else {
        SetWindowState(wsNormal);
        SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
}
