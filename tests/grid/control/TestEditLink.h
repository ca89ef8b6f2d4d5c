#pragma once
// A custom cell editor for the tests: its control is a plain edit, ended by the link's keys and
// by leaving it.

#include <string>

#include "grid/control/EditLink.h"
#include "platform/gui/StdCtrls.h"

// A link whose control is a plain edit, logging what the grid asks of it.
class TTestLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    TEdit* Edit = nullptr;
    std::string Log;
    int Destroyed = 0;
    void UsePopup(int Width, int Height)
    {
        EditStyle = esPopup;
        PopupWidth = Width;
        PopupHeight = Height;
    }
    TWinControl* GetEditControl() override { return Edit; }
    void CreateEditor(TWinControl* AParent) override
    {
        Log += "create;";
        Edit = new TEdit(AParent);
        Edit->SetParent(AParent);
        Edit->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { EditKeyDown(s, k, sh); };
        Edit->OnExit = [this](TObject* s) { EditExit(s); };
    }
    void DestroyEditor() override
    {
        ++Destroyed;
        delete Edit;
        Edit = nullptr;
    }
    void SetEditorValue(const AnsiString& S) override
    {
        Log += "value " + S + ";";
        Edit->SetText(S);
    }
    AnsiString GetEditorValue() override { return Edit ? Edit->Text() : AnsiString(); }
};
