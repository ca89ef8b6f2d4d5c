#pragma once
// The character-book window: the program's main window. A grid of the saved characters with the
// buttons New, Edit, Insert, Delete, Save, ReLoad, Connect and About; it opens (or focuses) a
// character window per entry, owns every character window and capture window, and closing it
// ends the program. Its creation installs the program's message hook and loads the book.
//
// Split over: BooksForm.cpp (the window, filling the grid, opening characters, closing) and
// BooksFormButtons.cpp (the speed bar's buttons and the entry dialog they open) and
// BooksFormStatus.cpp (the status bar, apart because the common controls and the grid name an
// enumerator alike).

#include <memory>

#include "platform/gui/Forms.h"

class TAction;
class TActionList;
class TAnsiTerminalForm;
class TCellGrid;
class TCharBooks;
class TExSpeedButton;
class TMainMenu;
class TPanel;
class TSpeedBar;
class TStatusBar;

class TBooksForm : public TForm {
public:
    explicit TBooksForm(TComponent* AOwner);
    ~TBooksForm() override;

    TCellGrid* CharBooksGrid() const { return FGrid; }
    TSpeedBar* SpeedBar2() const { return FSpeedBar; }
    TAction* Action1() const { return FAction1; }
    // The eight buttons, left to right: New, Edit, Insert, Delete, Save, ReLoad, Connect, About.
    static constexpr int kButtonCount = 8;
    TExSpeedButton* Button(int index) const { return FButtons[index]; }

    // Fills the grid from the book (an empty book gets the default entry first) and keeps the
    // current row, moved up to the last row when it lies past it.
    void FillGrid();
    // Opens the character window of the row's entry, or focuses the one open; nothing for the
    // header row. The window opened or focused, else null.
    TAnsiTerminalForm* CharBooksGridDblClickCell(int ARow, int ACol);
    // Connect: the same for the grid's current row.
    void Action1Execute();

    void NewCharButtonClick();
    void EditButtonClick();
    void InsertButtonClick();
    void ExSpeedButton1Click();
    void SaveButtonClick();
    void ReLoadButtonClick();
    void AboutButtonClick();

    // The fixed sizes of the window.
    static constexpr int kClientWidth = 552;
    static constexpr int kClientHeight = 300;

protected:
    void Activate() override;
    void DoClose(TCloseAction& Action) override;
    bool CanResize(int& NewWidth, int& NewHeight) override;

private:
    void FormCreate();
    void CreateGrid();
    // BooksFormButtons.cpp
    void CreateSpeedBar();
    // BooksFormStatus.cpp
    void CreateStatusBar();
    void OpenCharEdit(int mode);

    TMainMenu* FMenu = nullptr;
    TSpeedBar* FSpeedBar = nullptr;
    TExSpeedButton* FButtons[kButtonCount] = {};
    TPanel* FPanel = nullptr;
    TCellGrid* FGrid = nullptr;
    TStatusBar* FStatusBar = nullptr;
    TActionList* FActions = nullptr;
    TAction* FAction1 = nullptr;
    bool FWidthFixed = false;
};

// The program's one book window (null before it is made and after it is gone).
extern TBooksForm* BooksForm;

// The "#cap" routine: writes text and a line end into the capture window captioned name (or
// "Capture" when name is empty) among owner's components, making and showing one when there is
// none and then giving focusControl the focus back.
void PutCaptureText(TComponent* owner, TWinControl* focusControl, const AnsiString& name, const AnsiString& text);

// Binds the character windows to the windows of this program: capture text goes to capture
// windows owned by the window's owner (the book window), the input line's button opens the
// history picker, and the window's commands open the settings dialog, the start-up and status
// line editors and the walk viewer. The book window does it at its creation; drivers that open character windows
// themselves call it too.
void InstallCharacterWindowHooks();
