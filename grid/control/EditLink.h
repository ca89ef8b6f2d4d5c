#pragma once
// A custom cell editor: the application derives from TEditLink and overrides the virtual
// operations to make, place, fill and read a control of its own, which the grid shows for cells
// whose editor type is edCustom, inside the cell (esInplace) or on a borderless popup form at the
// cell's top-left corner (esPopup). The base supplies the grid side: the edit cell, moving the
// value between the control and the cell, the keys that end editing (unless a WantKey switch
// keeps them), and the popup form's life. The control and the popup form are freed after the
// handler that ended the edit has returned, never from inside it.

#include <memory>

#include "platform/gui/PopupForm.h"

class TCellGrid;

enum TEditStyle { esInplace, esPopup };

class TEditLink : public TComponent {
public:
    explicit TEditLink(TComponent* AOwner);
    ~TEditLink() override;

    TEditStyle EditStyle = esInplace;
    int PopupWidth = 0;
    int PopupHeight = 0;
    bool WantKeyLeftRight = false;
    bool WantKeyUpDown = false;
    bool WantKeyHomeEnd = false;
    bool WantKeyPriorNext = false;
    bool WantKeyReturn = false;
    bool WantKeyEscape = false;

    // Set by the grid when it shows the editor.
    TCellGrid* Grid() const { return FGrid; }
    void SetGrid(TCellGrid* Value) { FGrid = Value; }
    int EditCol() const { return FEditCol; }
    int EditRow() const { return FEditRow; }
    void SetEditCell(int ACol, int ARow);
    // The popup form while an esPopup editor shows (owned by the link); the grid hands it over.
    TPopupForm* PopupForm() const { return FPopupForm.get(); }
    void SetPopupForm(std::unique_ptr<TPopupForm> Form);

    // --- What a descendant overrides.
    // Meant as the control's OnKeyDown: the keys that end editing.
    virtual void EditKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    virtual TWinControl* GetEditControl() { return nullptr; }
    virtual void CreateEditor(TWinControl* AParent) {}
    virtual void DestroyEditor() {}
    // True: the control takes the focus; false: the grid does.
    virtual void SetFocus(bool Value);
    virtual void SetRect(TRect R);
    virtual void SetVisible(bool Value);
    virtual void SetProperties() {}
    virtual AnsiString GetEditorValue() { return AnsiString(); }
    virtual void SetEditorValue(const AnsiString& S) {}

    // The text of the cell the editor was opened on (the current cell before any was), read and
    // written. The current cell may have moved on meanwhile: a click on another cell reaches the
    // grid before a popup hears that it lost the activation. A cell gone from the grid reads
    // empty and takes nothing.
    AnsiString GetCellValue() const;
    void SetCellValue(const AnsiString& S);
    // The popup form for esPopup, the grid otherwise: the parent a descendant's control takes.
    TWinControl* GetParent() const;
    // The value goes into the cell, the grid leaves editing and the control is told to close.
    void HideEditor();
    // Meant as the control's OnExit: the edit ends, then the control and the popup form go
    // (later, from the event loop).
    void EditExit(TObject* Sender);
    // The popup form's OnDeactivate (bound by the grid).
    void FormExit(TObject* Sender);
    // True while the link itself gives the grid the focus back.
    bool KeyExit() const { return FKeyExit; }

private:
    // The real column and row of the edited cell; false when there is none.
    bool EditedCell(int& RealCol, int& Row) const;
    TCellGrid* FGrid = nullptr;
    int FEditCol = -1, FEditRow = -1;
    std::unique_ptr<TPopupForm> FPopupForm;
    bool FKeyExit = false;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
