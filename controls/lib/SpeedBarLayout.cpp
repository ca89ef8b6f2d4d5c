// The speed bar's stored layout (edge, thickness, button size and which items stand where) and
// its stream values.

#include <algorithm>

#include "controls/core/AppUtils.h"
#include "controls/core/CtrlGeometry.h"
#include "controls/core/StoredList.h"
#include "controls/lib/AppForms.h"
#include "controls/lib/SpeedBar.h"
#include "platform/core/StringList.h"
#include "platform/core/Strings.h"
#include "platform/gui/Forms.h"

void TSpeedBar::InternalSaveLayout(TObject* IniObject, const AnsiString& Section)
{
    IniEraseSection(IniObject, Section);
    IniWriteInteger(IniObject, Section, "Position", static_cast<int>(Align()));
    if (Align() == alTop || Align() == alBottom)
        IniWriteInteger(IniObject, Section, "Width", Height());
    else if (Align() == alLeft || Align() == alRight)
        IniWriteInteger(IniObject, Section, "Width", Width());
    IniWriteInteger(IniObject, Section, "Version", FVersion);
    IniWriteInteger(IniObject, Section, "PixelsPerInch", Screen->PixelsPerInch());
    IniWriteInteger(IniObject, Section, "BtnWidth", BtnWidth());
    IniWriteInteger(IniObject, Section, "BtnHeight", BtnHeight());
    int count = 0;
    for (TSpeedbarSection* s : FSections)
        for (TSpeedItem* item : s->FList)
            if (item->Visible() && item->Stored())
                IniWriteString(IniObject, Section, "Button" + IntToStr(++count),
                               FormatLayoutButton({item->Name(), item->Left(), item->Top()}));
    IniWriteInteger(IniObject, Section, "Count", count);
}

void TSpeedBar::InternalRestoreLayout(TObject* IniObject, const AnsiString& Section)
{
    const TAlign remembered = Align();
    if (IniReadInteger(IniObject, Section, "Version", FVersion) < FVersion)
        return;
    if (HasOption(sbAllowDrag)) {
        const int position = IniReadInteger(IniObject, Section, "Position", static_cast<int>(remembered));
        try {
            if (position < alNone || position > alClient)
                throw ESpeedbarError("Invalid position");
            SetAlign(static_cast<TAlign>(position));
        } catch (const Exception&) {
            SetAlign(alTop);
        }
    }
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    const int ppi = IniReadInteger(IniObject, Section, "PixelsPerInch", form ? form->PixelsPerInch() : 0);
    if (ppi != Screen->PixelsPerInch()) {
        if (Align() != remembered)
            PosChanged();
        return;
    }
    if (HasOption(sbAllowResize)) {
        if (Align() == alTop || Align() == alBottom)
            SetHeight(ClampToScreen(IniReadInteger(IniObject, Section, "Width", Height())));
        else if (Align() == alLeft || Align() == alRight)
            SetWidth(ClampToScreen(IniReadInteger(IniObject, Section, "Width", Width())));
    }
    if (Align() != remembered)
        PosChanged();
    const int count = IniReadInteger(IniObject, Section, "Count", 0);
    if (count > 0) {
        ForEachItem([](TSpeedItem* item, intptr_t) { item->SetVisible(false); }, 0);
        // A missing entry reads empty and places nothing, so only the entries present up to
        // the count are read, whatever the count.
        TStringList keys;
        IniReadSection(IniObject, Section, &keys);
        for (const int i : StoredListIndices(keys, "Button")) {
            if (i < 1 || i > count)
                continue;
            const AnsiString entry = IniReadString(IniObject, Section, "Button" + IntToStr(i), AnsiString());
            TLayoutButton button;
            if (!ParseLayoutButton(entry, 0, 0, button))
                continue;
            TSpeedItem* item = SearchItem(button.Name);
            if (!item)
                continue;
            ParseLayoutButton(entry, item->Left(), item->Top(), button);
            item->Button()->SetBounds(std::max(button.Left, BtnOffsetHorz()), std::max(button.Top, BtnOffsetVert()),
                                      BtnWidth(), BtnHeight());
            item->SetVisible(true);
        }
    }
    Invalidate();
}

void TSpeedBar::ReadSections(const TStrings& Titles)
{
    for (int i = 0; i < Titles.Count(); ++i)
        if (SearchSection(Titles.Strings(i)) < 0)
            AddSection(Titles.Strings(i));
}

void TSpeedBar::ReadAllowDrag(bool Value)
{
    if (Value)
        FOptions |= OptionBit(sbAllowDrag);
    else
        FOptions &= ~OptionBit(sbAllowDrag);
}

void TSpeedBar::SaveLayout(TIniFile* IniFile) { InternalSaveLayout(IniFile, GetDefaultSection(this)); }

void TSpeedBar::RestoreLayout(TIniFile* IniFile) { InternalRestoreLayout(IniFile, GetDefaultSection(this)); }

void TSpeedBar::SaveLayoutReg(TRegIniFile* IniFile) { InternalSaveLayout(IniFile, GetDefaultSection(this)); }

void TSpeedBar::RestoreLayoutReg(TRegIniFile* IniFile) { InternalRestoreLayout(IniFile, GetDefaultSection(this)); }
