#pragma once
// The Items of list and combo boxes: a string list whose every operation is a message to the
// control (LB_* or CB_*), so that a derived control can intercept it.

#include "platform/core/Strings.h"
#include "platform/gui/StdMessages.h"
#include "platform/gui/WinControl.h"

struct TItemMessages {
    unsigned Add, Insert, Delete, Reset, Count, TextLen, Text, GetData, SetData;
};
constexpr TItemMessages kListBoxItemMessages{LB_ADDSTRING,    LB_INSERTSTRING, LB_DELETESTRING,
                                             LB_RESETCONTENT, LB_GETCOUNT,     LB_GETTEXTLEN,
                                             LB_GETTEXT,      LB_GETITEMDATA,  LB_SETITEMDATA};
constexpr TItemMessages kComboBoxItemMessages{CB_ADDSTRING,    CB_INSERTSTRING, CB_DELETESTRING,
                                              CB_RESETCONTENT, CB_GETCOUNT,     CB_GETLBTEXTLEN,
                                              CB_GETLBTEXT,    CB_GETITEMDATA,  CB_SETITEMDATA};

class TItemStrings : public TStrings {
public:
    TItemStrings(TWinControl* control, const TItemMessages& messages) : FControl(control), FMsg(messages) {}
    int Add(const AnsiString& s) override;
    void Insert(int index, const AnsiString& s) override;
    void Delete(int index) override;
    void Clear() override;
    int IndexOf(std::string_view s) const override;

protected:
    AnsiString Get(int index) const override;
    int GetCount() const override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Put(int index, const AnsiString& s) override;
    void SetUpdateState(bool updating) override;

private:
    TWinControl* FControl;
    TItemMessages FMsg;
};
