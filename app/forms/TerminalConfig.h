#pragma once
// The terminal settings dialog of a character window: the bitmap font files (listed from the
// program's Fonts folder), the system font, the colours, Hangul mode and '@' as the ANSI prefix
// on one page, automatic reconnection and the walk's rewind on another, with a live preview in
// its own terminal. Save writes the entry, the whole book, and sets the window's terminal up
// again; Exit (or the close box) leaves everything as it was: the preview loads its fonts into
// the program's glyph tables, so the tables it found are put back and every terminal is drawn
// with them again.

#include <memory>

#include "app/core/TerminalSettings.h"
#include "platform/gui/Forms.h"

class TAnsiTerminalForm;
struct TGlyphTables;
class TCharBooks;
class TCheckBox;
class TColorComboBox;
class TFontComboBox;
class TListBox;
class TPageControl;
class TPanel;
class TRadioGroup;
class TTerminal;

class TTerminalConfig : public TForm {
public:
    // Owned by the character window whose terminal Save sets up again.
    explicit TTerminalConfig(TAnsiTerminalForm* AOwner);
    ~TTerminalConfig() override;

    void SetEntry(std::shared_ptr<TCharBooks> entry) { FEntry = std::move(entry); }

    // The font lists in their order: Hangul, English, special, KS symbols.
    TListBox* FontBox(TerminalSettings::TFontList list) const { return FFontBoxes[list]; }
    TFontComboBox* WindowsFontBox() const { return FWindowsFontBox; }
    TCheckBox* HanCheckBox() const { return FHanCheckBox; }
    TCheckBox* AlphaCheckBox() const { return FAlphaCheckBox; }
    TColorComboBox* FgColorBox() const { return FFgColorBox; }
    TColorComboBox* BgColorBox() const { return FBgColorBox; }
    TRadioGroup* SampleGroup() const { return FSampleGroup; }
    TCheckBox* ReConnetCheckBox() const { return FReConnect; }
    TCheckBox* WalkAutoRewind() const { return FWalkAutoRewind; }
    TTerminal* Terminal() const { return FTerminal; }
    bool Filled() const { return FFilled; }

    void FillFontLists();
    // The preview from the controls: fonts, colours, modes, layout, and the chosen sample text.
    void UpdatePreview();
    void SaveBtnClick();
    void ExitBtnClick() { Close(); }

protected:
    void DoShow() override;
    void DoClose(TCloseAction& Action) override;

private:
    void FormCreate();
    void CreateFontPage(TWinControl* page);
    void CreateOptionPage(TWinControl* page);
    // What the controls hold, as the entry would take it.
    TerminalSettings::TValues Values() const;
    void HanBoxChange();
    void ReConnetCheckBoxClick();

    TAnsiTerminalForm* FWindow;
    std::shared_ptr<TCharBooks> FEntry;
    AnsiString FFontsFolder;
    bool FFilled = false;
    // The glyph tables as the dialog found them, until Save keeps the previewed fonts.
    std::unique_ptr<TGlyphTables> FKeptGlyphs;

    TPageControl* FPages = nullptr;
    TFontComboBox* FWindowsFontBox = nullptr;
    TCheckBox* FHanCheckBox = nullptr;
    TCheckBox* FAlphaCheckBox = nullptr;
    TListBox* FFontBoxes[4] = {};
    TColorComboBox* FFgColorBox = nullptr;
    TColorComboBox* FBgColorBox = nullptr;
    TRadioGroup* FSampleGroup = nullptr;
    TPanel* FPanel = nullptr;
    TTerminal* FTerminal = nullptr;
    TCheckBox* FReConnect = nullptr;
    TCheckBox* FWalkAutoRewind = nullptr;
    TCheckBox* FWFCSubString = nullptr;
};

// The window's settings action: the dialog for the window's entry, shown modally and freed.
void ShowTerminalConfig(TAnsiTerminalForm& window);
