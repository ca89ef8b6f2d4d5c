#pragma once
// A list box with a check box, radio button or check mark in front of each item: three-state
// items, per-item enabled flags, the space bar and "+" / "-" keys, and the states saved to an INI
// file or the registry substitute. The cells come from the "CHECK_IMAGES" picture, six cells by
// three rows (one row per kind, enabled cells then disabled ones), drawn by the program
// (CheckImages.cpp). The rules are controls/core/ListBoxRules.h.

#include <memory>
#include <vector>

#include "controls/lib/ExListBox.h"
#include "controls/lib/Placemnt.h"
#include "platform/gui/ButtonCtrls.h"

class TBitmap;
class TIniFile;
class TRegIniFile;

using TChangeStateEvent = std::function<void(TObject* Sender, int Index)>;

// What each item carries: user data, state, enabled.
struct TCheckListBoxItem {
    intptr_t Data = 0;
    TCheckBoxState State = cbUnchecked;
    bool Enabled = true;
};

// One item of the stored form: text, state, enabled; streams older than 202 hold a checked flag
// (and, above version 0, the state as well).
struct TCheckListStreamItem {
    AnsiString Text;
    bool Checked = false;
    int State = 0;
    bool Enabled = true;
};

class TExCheckListBox : public TExCustomListBox {
public:
    // "InternalVersion" of the stored form as written.
    static constexpr int kInternalVersion = 202;

    explicit TExCheckListBox(TComponent* AOwner);
    ~TExCheckListBox() override;

    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    TCheckKind CheckKind() const { return FCheckKind; }
    void SetCheckKind(TCheckKind Value);
    // Under radio buttons the first checked item, else -1; setting checks item max(Value, 0) of a
    // radio list that has items.
    int CheckedIndex();
    void SetCheckedIndex(int Value);

    bool GetChecked(int Index) { return GetState(Index) == cbChecked; }
    void SetChecked(int Index, bool Value) { SetState(Index, Value ? cbChecked : cbUnchecked); }
    TCheckBoxState GetState(int Index);
    // Under radio buttons, checking unchecks the others and unchecking the checked item is
    // refused.
    void SetState(int Index, TCheckBoxState Value);
    bool GetItemEnabled(int Index);
    void SetItemEnabled(int Index, bool Value);
    // Every enabled item (or every item) gets the state; nothing under radio buttons.
    void ApplyState(TCheckBoxState AState, bool EnabledOnly);
    // The check column: the cell's width and 2 pixels.
    int GetCheckWidth() const;
    int CheckHeight() const { return FCheckHeight; }
    // A click on the item's check: the next state (grayed only when allowed), then OnClickCheck.
    void ToggleClickCheck(int Index);

    // The states in the list's default section of an INI file or of the registry substitute, or
    // with the form's placement (IniStorage; only for a named list): "Count" and
    // "Item0".."ItemN-1".
    void SaveStates(TIniFile* IniFile);
    void RestoreStates(TIniFile* IniFile);
    void SaveStatesReg(TRegIniFile* IniFile);
    void RestoreStatesReg(TRegIniFile* IniFile);
    TFormPlacement* IniStorage() const { return FIniLink.Storage(); }
    void SetIniStorage(TFormPlacement* Value) { FIniLink.SetStorage(Value); }
    void InternalSaveStates(TObject* IniObject, const AnsiString& Section);
    void InternalRestoreStates(TObject* IniObject, const AnsiString& Section);

    // The stored form: "Strings" as items, read by version (below 202: text, checked, enabled
    // and, above 0, the state).
    std::vector<TCheckListStreamItem> WriteStrings();
    void ReadStrings(int Version, const std::vector<TCheckListStreamItem>& Items);

    intptr_t GetItemData(int Index) override;
    void SetItemData(int Index, intptr_t Data) override;
    int GetItemWidth(int Index) override;

    TNotifyEvent OnClickCheck;
    TChangeStateEvent OnStateChange;

protected:
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WidgetCreated() override;
    virtual void ClickCheck();
    virtual void ChangeItemState(int Index);

private:
    void RegisterCheckHandlers();
    TCheckListBoxItem* FindCheckItem(int Index);
    TCheckListBoxItem* CheckItem(int Index);
    void FreeCheckItem(int Index);
    void SetStateOf(int Index, TCheckBoxState Value, bool Force);
    void UpdateCheckStates();
    void ResetItemHeight();
    void InvalidateCheck(int Index);
    void DrawCheck(const TRect& R, TCheckBoxState AState, bool AEnabled);

    bool FAllowGrayed = false;
    TCheckKind FCheckKind = ckCheckBoxes;
    std::unique_ptr<TBitmap> FDrawBitmap;
    TIniLink FIniLink;
    int FCheckWidth = 0, FCheckHeight = 0;
};

// The shared "CHECK_IMAGES" picture, loaded on first use.
TBitmap* CheckImages();

void RegisterExCheckListBoxClasses();
