// The events `watch` can report: one entry each, printing EVENT NAME EVENT ARGS (numbers in
// decimal, characters as byte values, shift states as sets).

#include "controls/lib/ExCtrls.h"
#include "controls/lib/ExTimer.h"
#include "controls/lib/SpeedBar.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ComboBoxes.h"
#include "tools/ctlrun/CtlRun.h"

namespace {

const char* ButtonName(TMouseButton b) { return b == mbLeft ? "mbLeft" : b == mbRight ? "mbRight" : "mbMiddle"; }

// OnChange of whichever class the component is.
template <class T, class... More>
bool HookChange(TCtlRun& run, TComponent* c)
{
    if (auto* t = dynamic_cast<T*>(c)) {
        t->OnChange = [&run, c](TObject*) { run.PrintEvent(c, "OnChange"); };
        return true;
    }
    if constexpr (sizeof...(More) > 0)
        return HookChange<More...>(run, c);
    return false;
}

// The object whose events a component's events are: the component, or a speed item's button.
template <class T>
T* EventSource(TComponent* c)
{
    if (auto* item = dynamic_cast<TSpeedItem*>(c))
        return dynamic_cast<T*>(item->Button());
    return dynamic_cast<T*>(c);
}

template <class T, class F>
bool With(TComponent* c, F f)
{
    auto* t = EventSource<T>(c);
    if (t)
        f(t);
    return t != nullptr;
}

template <class T>
struct TMemberClass;
template <class C, class M>
struct TMemberClass<M C::*> {
    using Type = C;
};

// A TNotifyEvent member of whichever of the classes the component is.
template <auto... Members>
TCtlEventHook NotifyHook(const char* event)
{
    return [event](TCtlRun& run, TComponent* c) {
        auto hook = [&](auto member) {
            using Class = typename TMemberClass<decltype(member)>::Type;
            return With<Class>(
                c, [&](Class* t) { t->*member = [&run, c, event](TObject*) { run.PrintEvent(c, event); }; });
        };
        return (hook(Members) || ...);
    };
}

}  // namespace

const std::map<AnsiString, TCtlEventHook>& CtlEvents()
{
    static const std::map<AnsiString, TCtlEventHook> events{
        {"OnClick",
         [](TCtlRun& run, TComponent* c) {
             if (auto* ud = dynamic_cast<TCustomUpDown*>(c)) {
                 ud->OnClick = [&run, c](TObject*, TUDBtnType b) {
                     run.PrintEvent(c, "OnClick", b == btNext ? "btNext" : "btPrev");
                 };
                 return true;
             }
             return With<TControl>(
                 c, [&](TControl* t) { t->OnClick = [&run, c](TObject*) { run.PrintEvent(c, "OnClick"); }; });
         }},
        {"OnTimer",
         [](TCtlRun& run, TComponent* c) {
             return With<TExTimer>(
                 c, [&](TExTimer* t) { t->SetOnTimer([&run, c](TObject*) { run.PrintEvent(c, "OnTimer"); }); });
         }},
        {"OnDblClick",
         [](TCtlRun& run, TComponent* c) {
             return With<TControl>(
                 c, [&](TControl* t) { t->OnDblClick = [&run, c](TObject*) { run.PrintEvent(c, "OnDblClick"); }; });
         }},
        {"OnChange", HookChange<TCustomEdit, TCustomComboBox, TScrollBar, THotKey, TDateTimePicker, TPageControl>},
        {"OnEnter",
         [](TCtlRun& run, TComponent* c) {
             return With<TWinControl>(
                 c, [&](TWinControl* t) { t->OnEnter = [&run, c](TObject*) { run.PrintEvent(c, "OnEnter"); }; });
         }},
        {"OnExit",
         [](TCtlRun& run, TComponent* c) {
             return With<TWinControl>(
                 c, [&](TWinControl* t) { t->OnExit = [&run, c](TObject*) { run.PrintEvent(c, "OnExit"); }; });
         }},
        {"OnKeyDown",
         [](TCtlRun& run, TComponent* c) {
             return With<TWinControl>(c, [&](TWinControl* t) {
                 t->OnKeyDown = [&run, c](TObject*, uint16_t& key, TShiftState shift) {
                     run.PrintEvent(c, "OnKeyDown", IntToStr(key) + " " + TCtlRun::ShiftText(shift));
                 };
             });
         }},
        {"OnKeyUp",
         [](TCtlRun& run, TComponent* c) {
             return With<TWinControl>(c, [&](TWinControl* t) {
                 t->OnKeyUp = [&run, c](TObject*, uint16_t& key, TShiftState shift) {
                     run.PrintEvent(c, "OnKeyUp", IntToStr(key) + " " + TCtlRun::ShiftText(shift));
                 };
             });
         }},
        {"OnKeyPress",
         [](TCtlRun& run, TComponent* c) {
             return With<TWinControl>(c, [&](TWinControl* t) {
                 t->OnKeyPress = [&run, c](TObject*, char& key) {
                     run.PrintEvent(c, "OnKeyPress", IntToStr(static_cast<unsigned char>(key)));
                 };
             });
         }},
        {"OnMouseDown",
         [](TCtlRun& run, TComponent* c) {
             return With<TControl>(c, [&](TControl* t) {
                 t->OnMouseDown = [&run, c](TObject*, TMouseButton b, TShiftState s, int x, int y) {
                     run.PrintEvent(c, "OnMouseDown",
                                    Format("%s %s %d %d", ButtonName(b), TCtlRun::ShiftText(s).c_str(), x, y));
                 };
             });
         }},
        {"OnMouseUp",
         [](TCtlRun& run, TComponent* c) {
             return With<TControl>(c, [&](TControl* t) {
                 t->OnMouseUp = [&run, c](TObject*, TMouseButton b, TShiftState s, int x, int y) {
                     run.PrintEvent(c, "OnMouseUp",
                                    Format("%s %s %d %d", ButtonName(b), TCtlRun::ShiftText(s).c_str(), x, y));
                 };
             });
         }},
        {"OnMouseMove",
         [](TCtlRun& run, TComponent* c) {
             return With<TControl>(c, [&](TControl* t) {
                 t->OnMouseMove = [&run, c](TObject*, TShiftState s, int x, int y) {
                     run.PrintEvent(c, "OnMouseMove", Format("%s %d %d", TCtlRun::ShiftText(s).c_str(), x, y));
                 };
             });
         }},
        {"OnSelectionChange",
         [](TCtlRun& run, TComponent* c) {
             return With<TRichEdit>(c, [&](TRichEdit* t) {
                 t->OnSelectionChange = [&run, c](TObject*) { run.PrintEvent(c, "OnSelectionChange"); };
             });
         }},
        {"OnDropDown",
         [](TCtlRun& run, TComponent* c) {
             return With<TCustomComboBox>(c, [&](TCustomComboBox* t) {
                 t->OnDropDown = [&run, c](TObject*) { run.PrintEvent(c, "OnDropDown"); };
             });
         }},
        {"OnCloseUp",
         [](TCtlRun& run, TComponent* c) {
             return With<TCustomComboBox>(c, [&](TCustomComboBox* t) {
                 t->OnCloseUp = [&run, c](TObject*) { run.PrintEvent(c, "OnCloseUp"); };
             });
         }},
        {"OnScroll",
         [](TCtlRun& run, TComponent* c) {
             return With<TScrollBar>(c, [&](TScrollBar* t) {
                 t->OnScroll = [&run, c](TObject*, TScrollCode code, int& pos) {
                     run.PrintEvent(c, "OnScroll", Format("%u %d", code, pos));
                 };
             });
         }},
        {"OnChanging",
         [](TCtlRun& run, TComponent* c) {
             if (auto* ud = dynamic_cast<TCustomUpDown*>(c)) {
                 ud->OnChanging = [&run, c](TObject*, bool&) { run.PrintEvent(c, "OnChanging"); };
                 return true;
             }
             return With<TPageControl>(c, [&](TPageControl* t) {
                 t->OnChanging = [&run, c](TObject*, bool&) { run.PrintEvent(c, "OnChanging"); };
             });
         }},
        {"OnMouseEnter", NotifyHook<&TExSpeedButton::OnMouseEnter, &TExCustomLabel::OnMouseEnter>("OnMouseEnter")},
        {"OnMouseLeave", NotifyHook<&TExSpeedButton::OnMouseLeave, &TExCustomLabel::OnMouseLeave>("OnMouseLeave")},
        {"OnOn", NotifyHook<&TExSwitch::OnOn>("OnOn")},
        {"OnOff", NotifyHook<&TExSwitch::OnOff>("OnOff")},
        {"OnStartPlay", NotifyHook<&TSecretPanel::OnStartPlay>("OnStartPlay")},
        {"OnStopPlay", NotifyHook<&TSecretPanel::OnStopPlay>("OnStopPlay")},
        {"OnResize",
         [](TCtlRun& run, TComponent* c) {
             return With<TControl>(
                 c, [&](TControl* t) { t->OnResize = [&run, c](TObject*) { run.PrintEvent(c, "OnResize"); }; });
         }},
        // The speed bar.
        {"OnPosChanged", NotifyHook<&TSpeedBar::OnPosChanged>("OnPosChanged")},
        {"OnCustomize", NotifyHook<&TSpeedBar::OnCustomize>("OnCustomize")},
        {"OnVisibleChanged", NotifyHook<&TSpeedBar::OnVisibleChanged>("OnVisibleChanged")},
    };
    return events;
}
