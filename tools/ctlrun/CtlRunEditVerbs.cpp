// The `call` verbs and watchable events of the edits with a button, the combo boxes, the
// calendars and the spin edits. Dates print as YYYY-MM-DD ("NULL" for the null date).

#include "controls/lib/DateEdit.h"
#include "controls/lib/ExCombos.h"
#include "controls/lib/ExSpin.h"
#include "controls/lib/FileDirEdit.h"
#include "platform/core/DateFormat.h"
#include "platform/core/FloatFormat.h"
#include "platform/gui/Queue.h"
#include "tools/ctlrun/CtlRun.h"

namespace {

double Real(const TCtlArgs& a, size_t i)
{
    double v = 0;
    if (!TryStrToFloat(CtlWord(a, i), v))
        throw ECtlError("bad value: " + CtlWord(a, i));
    return v;
}

bool Flag(const TCtlArgs& a, size_t i)
{
    if (SameText(CtlWord(a, i), "True") || CtlWord(a, i) == "1")
        return true;
    if (SameText(CtlWord(a, i), "False") || CtlWord(a, i) == "0")
        return false;
    throw ECtlError("bad value: " + CtlWord(a, i));
}

void Result(TCtlRun& run, const AnsiString& text) { run.Print("RESULT " + TCtlRun::Escape(text)); }

AnsiString DateText(TDateTime date)
{
    return date == NullDate ? AnsiString("NULL") : FormatDateTime("yyyy-mm-dd", date);
}

// The calendar of a calendar, a date edit's drop-down or a date dialog's.
TExCalendar* CalendarOf(TComponent* c)
{
    if (auto* k = dynamic_cast<TExCalendar*>(c))
        return k;
    if (auto* e = dynamic_cast<TCustomDateEdit*>(c))
        if (auto* p = dynamic_cast<TPopupCalendar*>(e->Popup()))
            return p->Calendar();
    throw ECtlError("unknown operation for " + (c ? c->Name() : AnsiString()));
}

// Runs the date dialog; the pending answer ("cancel", "OK" or a date YYYY-MM-DD to choose)
// closes it once it shows.
void RunSelectDate(TCtlRun& run, TComponent* c, const TCtlArgs&)
{
    TDateTime date = NullDate;
    TDayOfWeekName start = Mon;
    if (auto* e = dynamic_cast<TCustomDateEdit*>(c)) {
        date = e->Date();
        start = e->StartOfWeek();
    } else if (auto* k = dynamic_cast<TExCalendar*>(c)) {
        date = k->CalendarDate();
        start = k->StartOfWeek();
    }
    const AnsiString answer = run.HasAnswer() ? run.TakeAnswer() : AnsiString("cancel");
    QueueCall([&run, answer] {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            auto* dialog = dynamic_cast<TSelectDateDlg*>(Screen->Forms(i));
            if (!dialog)
                continue;
            run.Print("DIALOG date|" + TCtlRun::Escape(dialog->Caption()) + "|" + DateText(dialog->Date()));
            int y = 0, m = 0, d = 0;
            TDateTime chosen = 0;
            if (std::sscanf(answer.c_str(), "%d-%d-%d", &y, &m, &d) == 3 && TryEncodeDate(y, m, d, chosen))
                dialog->SetDate(chosen);
            dialog->SetModalResult(SameText(answer, "cancel") ? mrCancel : mrOk);
        }
    });
    const bool ok = SelectDate(date, AnsiString(), start, 1u << Sun, clRed, nullptr);
    Result(run, ok ? "True " + DateText(date) : AnsiString("False"));
}

}  // namespace

const std::map<AnsiString, TCtlVerb>& CtlEditVerbs()
{
    static const std::map<AnsiString, TCtlVerb> verbs{
        {"SetValue", [](TCtlRun&, TComponent* c, const TCtlArgs& a) { CtlAs<TExSpinEdit>(c)->SetValue(Real(a, 0)); }},
        {"GetValue",
         [](TCtlRun& run, TComponent* c, const TCtlArgs&) {
             Result(run, FloatToStrF(CtlAs<TExSpinEdit>(c)->GetValue(), ffGeneral, 18, 0));
         }},
        {"UpClick", [](TCtlRun&, TComponent* c, const TCtlArgs&) { CtlAs<TExSpinEdit>(c)->UpClick(c); }},
        {"DownClick", [](TCtlRun&, TComponent* c, const TCtlArgs&) { CtlAs<TExSpinEdit>(c)->DownClick(c); }},
        {"DoClick", [](TCtlRun&, TComponent* c, const TCtlArgs&) { CtlAs<TCustomComboEdit>(c)->DoClick(); }},
        {"PopupDropDown",
         [](TCtlRun&, TComponent* c, const TCtlArgs&) { CtlAs<TCustomComboEdit>(c)->PopupDropDown(true); }},
        {"PopupCloseUp",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             auto* e = CtlAs<TCustomComboEdit>(c);
             e->PopupCloseUp(e->Popup(), Flag(a, 0));
         }},
        {"GoToNextMonth", [](TCtlRun&, TComponent* c, const TCtlArgs&) { CalendarOf(c)->GoToNextMonth(); }},
        {"GoToPrevMonth", [](TCtlRun&, TComponent* c, const TCtlArgs&) { CalendarOf(c)->GoToPrevMonth(); }},
        {"GoToNextYear", [](TCtlRun&, TComponent* c, const TCtlArgs&) { CalendarOf(c)->GoToNextYear(); }},
        {"GoToPrevYear", [](TCtlRun&, TComponent* c, const TCtlArgs&) { CalendarOf(c)->GoToPrevYear(); }},
        {"GetDayText",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             Result(run, CalendarOf(c)->GetDayText(CtlNumber(a, 0), CtlNumber(a, 1)));
         }},
        {"SelectDate", RunSelectDate},
        {"DropFiles",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             TStringList names;
             size_t start = 0;
             for (size_t bar; (bar = a.Rest.find('|', start)) != AnsiString::npos; start = bar + 1)
                 names.Add(a.Rest.substr(start, bar - start));
             names.Add(a.Rest.substr(start));
             CtlAs<TFileDirEdit>(c)->DropFiles(&names);
         }},
    };
    return verbs;
}

namespace {

template <class T, class F>
bool With(TComponent* c, F f)
{
    auto* t = dynamic_cast<T*>(c);
    if (t)
        f(t);
    return t != nullptr;
}

template <class T>
bool SetNotify(TComponent* c, TNotifyEvent T::*member, const TNotifyEvent& handler)
{
    return With<T>(c, [&](T* t) { t->*member = handler; });
}

// A notify event of whichever of the classes the component is.
template <class... T>
TCtlEventHook Notify(const char* event, TNotifyEvent T::*... members)
{
    return [event, members...](TCtlRun& run, TComponent* c) {
        const TNotifyEvent print = [&run, c, event](TObject*) { run.PrintEvent(c, event); };
        return (SetNotify<T>(c, members, print) || ...);
    };
}

TCtlEventHook DialogEvent(const char* event, TExecOpenDialogEvent TFileDirEdit::*member)
{
    return [event, member](TCtlRun& run, TComponent* c) {
        return With<TFileDirEdit>(c, [&](TFileDirEdit* e) {
            e->*member = [&run, c, event](TObject*, AnsiString& name, bool& action) {
                run.PrintEvent(c, event, TCtlRun::Escape(name) + (action ? " True" : " False"));
            };
        });
    };
}

}  // namespace

const std::map<AnsiString, TCtlEventHook>& CtlEditEvents()
{
    static const std::map<AnsiString, TCtlEventHook> events{
        {"OnButtonClick", Notify<TCustomComboEdit>("OnButtonClick", &TCustomComboEdit::OnButtonClick)},
        {"OnTopClick",
         Notify<TExSpinEdit, TExSpinButton>("OnTopClick", &TExSpinEdit::OnTopClick, &TExSpinButton::OnTopClick)},
        {"OnBottomClick",
         Notify<TExSpinEdit, TExSpinButton>("OnBottomClick", &TExSpinEdit::OnBottomClick,
                                            &TExSpinButton::OnBottomClick)},
        {"OnChange",
         Notify<TColorComboBox, TFontComboBox, TExCalendar>("OnChange", &TColorComboBox::OnChange,
                                                            &TFontComboBox::OnChange, &TExCalendar::OnChange)},
        {"OnDropFiles", Notify<TFileDirEdit>("OnDropFiles", &TFileDirEdit::OnDropFiles)},
        {"OnBeforeDialog", DialogEvent("OnBeforeDialog", &TFileDirEdit::OnBeforeDialog)},
        {"OnAfterDialog", DialogEvent("OnAfterDialog", &TFileDirEdit::OnAfterDialog)},
        {"OnAcceptDate",
         [](TCtlRun& run, TComponent* c) {
             return With<TCustomDateEdit>(c, [&](TCustomDateEdit* e) {
                 e->OnAcceptDate = [&run, c](TObject*, TDateTime& date, bool&) {
                     run.PrintEvent(c, "OnAcceptDate", DateText(date));
                 };
             });
         }},
    };
    return events;
}
