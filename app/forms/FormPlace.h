#pragma once
// Placing a form's controls from code, as a form file would: each control is named (drivers and
// tests find it by that name), owned by the form, put on its parent and given its bounds.

#include <utility>

#include "platform/gui/WinControl.h"

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

// The same with a caption and, for controls that are clicked, the click's handler.
template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, const AnsiString& caption, int left, int top,
         int width, int height, TNotifyEvent onClick = nullptr)
{
    T* control = Place<T>(owner, parent, name, left, top, width, height);
    control->SetCaption(caption);
    if (onClick)
        control->OnClick = std::move(onClick);
    return control;
}
