#include "app/forms/TerminalConfig.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "app/core/CharBooks.h"
#include "app/core/WindowTexts.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/FormPlace.h"
#include "app/forms/TerminalColumns.h"
#include "controls/lib/ExCombos.h"
#include "platform/core/Cp949.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileFind.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/StoredPath.h"
#include "platform/core/Streams.h"
#include "platform/gui/Application.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/ListBoxes.h"
#include "terminal/control/Terminal.h"
#include "terminal/fonts/GlyphTables.h"

using TerminalSettings::TFontList;

namespace {
constexpr const char* kTextSample = "Fonts\\TextSample.txt";
constexpr const char* kAnsiSample = "Fonts\\AnSiSample.txt";

struct TFontListSpec {
    const char* LabelName;
    const char* Label;
    const char* BoxName;
    int Column, Row;
};
constexpr TFontListSpec kFontLists[4] = {
    {"Label1", WindowText::LabelHanFont, "HanBox", 0, 0},
    {"Label3", WindowText::LabelEngFont, "EngBox", 1, 0},
    {"Label4", WindowText::LabelSpcFont, "SpcBox", 0, 1},
    {"Label5", WindowText::LabelKsgFont, "KsgBox", 1, 1},
};
// Each font list shows five names at a time, the longest shipped one ("terminus-bold-16.eng")
// whole beside the scroll bar.
constexpr int kFontListWidth = 166;
constexpr int kFontListRows = 5;
constexpr int kFontListFrame = 6;
constexpr int kFontLabelHeight = 16;
constexpr int kFontListGap = 6;

// A label that gives its box the focus when clicked, when the box can take it.
void LabelFor(TComponent* owner, TWinControl* parent, const char* name, const char* caption, int left, int top,
              TWinControl* box)
{
    Place<TLabel>(owner, parent, name, caption, left, top, 60, 16, [box](TObject*) {
        if (box->CanFocus())
            box->SetFocus();
    });
}

// The names of the files in a shipped folder, as program text: the program folder's copy and the
// one beside the executable together, each name once, sorted by name, as the folders of the
// system the dialog was made for list them (this one lists them in no set order).
std::vector<AnsiString> FileNames(const AnsiString& programFolder)
{
    std::vector<AnsiString> files;
    for (const std::string& folder : ShippedPaths(programFolder)) {
        std::vector<std::string> names;
        ListFolder(folder, names);
        for (const std::string& name : names) {
            std::error_code error;
            if (std::filesystem::is_directory(std::filesystem::path(folder) / name, error))
                continue;
            const AnsiString text = Utf8ToCp949(name);
            // A name the book could not give back as it is (no cp949 spelling) is left out.
            if (Cp949ToUtf8(text) == name && std::find(files.begin(), files.end(), text) == files.end())
                files.push_back(text);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}
// The first item whose text equals name exactly, or -1.
int FindListItem(TListBox* box, const AnsiString& name)
{
    for (int i = 0; i < box->Items()->Count(); ++i)
        if (box->Items()->Strings(i) == name)
            return i;
    return -1;
}
}  // namespace

TTerminalConfig::TTerminalConfig(TAnsiTerminalForm* AOwner) : TForm(AOwner), FWindow(AOwner)
{
    SetName("TerminalConfig");
    SetCaption(WindowText::ConfigCaption);
    SetBorderStyle(bsDialog);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(716);
    SetClientHeight(470);
    FPages = Place<TPageControl>(this, this, "PageControl1", 4, 4, 374, 426);
    auto* fontPage = new TTabSheet(this);
    fontPage->SetName("FontSheet");
    fontPage->SetCaption("Font");
    fontPage->SetPageControl(FPages);
    auto* optionPage = new TTabSheet(this);
    optionPage->SetName("OptionSheet");
    optionPage->SetCaption(WindowText::PageOptions);
    optionPage->SetPageControl(FPages);
    FPages->SetActivePage(fontPage);
    CreateFontPage(fontPage);
    CreateOptionPage(optionPage);
    FPanel = Place<TPanel>(this, this, "Panel1", 384, 4, 328, 426);
    FPanel->SetBevelOuter(bvLowered);
    FTerminal = Place<TTerminal>(this, FPanel, "Terminal", 0, 0, 327, 426);
    FTerminal->SetBackColor(clNavy);
    FTerminal->SetFontColor(clWhite);
    FTerminal->SetHanMode(false);
    Place<TButton>(this, this, "ExitBtn", "Exit", 540, 438, 80, 26, [this](TObject*) { ExitBtnClick(); });
    Place<TButton>(this, this, "SaveBtn", "Save&&Exit", 628, 438, 84, 26, [this](TObject*) { SaveBtnClick(); });
    FormCreate();
}

TTerminalConfig::~TTerminalConfig() = default;

void TTerminalConfig::CreateFontPage(TWinControl* page)
{
    FWindowsFontBox = Place<TFontComboBox>(this, page, "WindowsFontBox", 84, 6, 220, 22);
    LabelFor(this, page, "Label2", WindowText::LabelWindowsFont, 8, 10, FWindowsFontBox);
    FHanCheckBox = Place<TCheckBox>(this, page, "HanCheckBox", WindowText::HanCheck, 8, 34, 200, 20);
    FAlphaCheckBox = Place<TCheckBox>(this, page, "AlphaCheckBox", WindowText::AlphaCheck, 8, 56, 300, 20);
    // Positions inside a group box count from its client area, below the caption.
    auto* fonts = Place<TGroupBox>(this, page, "GroupBox1", WindowText::GroupFonts, 8, 80, 352, 0);
    const TRect inFonts = fonts->ClientRect();
    int listsBottom = 0;
    for (int i = 0; i < 4; ++i) {
        const TFontListSpec& spec = kFontLists[i];
        FFontBoxes[i] = Place<TListBox>(this, fonts, spec.BoxName, 0, 0, kFontListWidth, 0);
        const int height = kFontListRows * FFontBoxes[i]->ItemHeight() + kFontListFrame;
        const int left = inFonts.Left + 6 + spec.Column * (kFontListWidth + kFontListGap);
        const int top = inFonts.Top + 2 + spec.Row * (kFontLabelHeight + height + kFontListGap);
        FFontBoxes[i]->SetBounds(left, top + kFontLabelHeight, kFontListWidth, height);
        listsBottom = std::max(listsBottom, top + kFontLabelHeight + height);
        LabelFor(this, fonts, spec.LabelName, spec.Label, left, top, FFontBoxes[i]);
        FFontBoxes[i]->OnClick = [this](TObject*) { HanBoxChange(); };
    }
    // The group ends below its lists, as far below them as its caption is above them.
    fonts->SetHeight(listsBottom + fonts->Height() - inFonts.Bottom + kFontListGap);
    const int belowFonts = fonts->Top() + fonts->Height() + 4;
    auto* colors = Place<TGroupBox>(this, page, "GroupBox2", WindowText::GroupColors, 8, belowFonts, 160, 66);
    const TRect inColors = colors->ClientRect();
    const int left = inColors.Left, top = inColors.Top;
    FFgColorBox = Place<TColorComboBox>(this, colors, "FgColorBox", left + 56, top, 96, 22);
    FBgColorBox = Place<TColorComboBox>(this, colors, "BgColorBox", left + 56, top + 24, 96, 22);
    LabelFor(this, colors, "Label6", WindowText::LabelFg, left + 6, top + 4, FFgColorBox);
    LabelFor(this, colors, "Label7", WindowText::LabelBg, left + 6, top + 28, FBgColorBox);
    FSampleGroup = Place<TRadioGroup>(this, page, "SampleGroup", "Sample View", 176, belowFonts, 184, 66);
    FSampleGroup->Items()->Add("Text");
    FSampleGroup->Items()->Add("Ansi");
    FSampleGroup->SetItemIndex(0);
    FHanCheckBox->OnClick = [this](TObject*) { UpdatePreview(); };
    FAlphaCheckBox->OnClick = [this](TObject*) { UpdatePreview(); };
    FWindowsFontBox->OnChange = [this](TObject*) { HanBoxChange(); };
    FFgColorBox->OnChange = [this](TObject*) { HanBoxChange(); };
    FBgColorBox->OnChange = [this](TObject*) { HanBoxChange(); };
    FSampleGroup->OnClick = [this](TObject*) { HanBoxChange(); };
}

void TTerminalConfig::CreateOptionPage(TWinControl* page)
{
    FReConnect = Place<TCheckBox>(this, page, "ReConnetCheckBox", WindowText::ReConnect, 8, 10, 200, 20);
    FReConnect->OnClick = [this](TObject*) { ReConnetCheckBoxClick(); };
    FWalkAutoRewind = Place<TCheckBox>(this, page, "WalkAutoRewind", "Walk Auto Rewind", 8, 34, 200, 20);
    FWalkAutoRewind->SetHint(WindowText::WalkRewindHint);
    FWalkAutoRewind->SetShowHint(true);
    FWFCSubString = Place<TCheckBox>(this, page, "WFCSubStringBox", WindowText::WFCSubString, 8, 58, 300, 20);
}

void TTerminalConfig::FormCreate()
{
    // Kept and written back as it was; nothing reads it.
    FWFCSubString->SetEnabled(false);
    FWFCSubString->SetVisible(false);
}

void TTerminalConfig::DoShow()
{
    FFontsFolder = ProgramPath() + TerminalSettings::kFontsFolder;
    FillFontLists();
    if (FEntry) {
        const TerminalSettings::TValues v = TerminalSettings::Read(*FEntry);
        for (int i = 0; i < 4; ++i) {
            if (const int index = FindListItem(FFontBoxes[i], v.Fonts[i]); index >= 0)
                FFontBoxes[i]->SetItemIndex(index);
        }
        FHanCheckBox->SetChecked(v.Han);
        FAlphaCheckBox->SetChecked(v.Alpha);
        FWindowsFontBox->SetFontName(v.WindowsFont);
        FBgColorBox->SetColorValue(v.Bg);
        FFgColorBox->SetColorValue(v.Fg);
        FReConnect->SetChecked(v.ReConnect);
        FWalkAutoRewind->SetChecked(v.WalkAutoRewind);
        FWFCSubString->SetChecked(v.WFCSubString);
    }
    if (!FKeptGlyphs)
        FKeptGlyphs = std::make_unique<TGlyphTables>(GlyphTables());
    FFilled = true;
    UpdatePreview();
    TForm::DoShow();
}

void TTerminalConfig::DoClose(TCloseAction& Action)
{
    TForm::DoClose(Action);
    if (Action == caNone || !FKeptGlyphs)
        return;
    // Every terminal draws again with the tables put back.
    RestoreGlyphTables(*FKeptGlyphs);
    FKeptGlyphs.reset();
}

void TTerminalConfig::FillFontLists()
{
    [[maybe_unused]] const int moved = chdir(ProgramFolder().c_str());
    const TerminalSettings::TFontFiles files = TerminalSettings::SortFontFiles(FileNames(FFontsFolder));
    for (int i = 0; i < 4; ++i) {
        FFontBoxes[i]->Clear();
        for (const AnsiString& name : files.Lists[i])
            FFontBoxes[i]->Items()->Add(name);
    }
}

TerminalSettings::TValues TTerminalConfig::Values() const
{
    TerminalSettings::TValues v;
    v.Han = FHanCheckBox->Checked();
    v.Alpha = FAlphaCheckBox->Checked();
    v.ReConnect = FReConnect->Checked();
    v.WalkAutoRewind = FWalkAutoRewind->Checked();
    v.WFCSubString = FWFCSubString->Checked();
    v.WindowsFont = FWindowsFontBox->GetFontName();
    v.Fg = FFgColorBox->GetColorValue();
    v.Bg = FBgColorBox->GetColorValue();
    for (int i = 0; i < 4; ++i) {
        const int index = FFontBoxes[i]->ItemIndex();
        v.Fonts[i] = index >= 0 ? FFontBoxes[i]->Items()->Strings(index) : AnsiString();
    }
    return v;
}

void TTerminalConfig::HanBoxChange() { UpdatePreview(); }

void TTerminalConfig::UpdatePreview()
{
    if (!FFilled)
        return;
    const TerminalSettings::TValues v = Values();
    for (TListBox* box : FFontBoxes)
        box->SetEnabled(v.Han);
    FWindowsFontBox->SetEnabled(!v.Han);
    // The sample first: a missing one is reported and the preview stays as it was.
    std::string sample;
    try {
        sample = ReadWholeFile(StoredPath(ShippedFilePath(FSampleGroup->ItemIndex() == 1 ? kAnsiSample : kTextSample)));
    } catch (const Exception& e) {
        if (Application)
            Application->ShowException(e);
        return;
    }
    FTerminal->SetHanFont(FFontsFolder + v.Fonts[TerminalSettings::flHan]);
    FTerminal->SetEngFont(FFontsFolder + v.Fonts[TerminalSettings::flEng]);
    FTerminal->SetSpcFont(FFontsFolder + v.Fonts[TerminalSettings::flSpc]);
    FTerminal->SetKsgFont(FFontsFolder + v.Fonts[TerminalSettings::flKsg]);
    FTerminal->Font()->SetName(v.WindowsFont);
    FTerminal->SetBackColor(v.Bg);
    FTerminal->SetFontColor(v.Fg);
    FTerminal->SetHanMode(v.Han);
    FTerminal->SetAlphaUse(v.Alpha);
    FTerminal->SetBounds(0, 0, std::max(FPanel->Width() - 1, 0), FPanel->Height());
    FitTerminalColumns(*FTerminal);
    FTerminal->Font()->SetColor(v.Fg);
    FTerminal->SetColor(v.Bg);
    FTerminal->RestoreScreen();
    FTerminal->DecodeText(sample);
}

void TTerminalConfig::ReConnetCheckBoxClick()
{
    if (!FFilled || !FReConnect->Checked())
        return;
    if (MessageBox(WindowText::ReConnectWarning, WindowText::WarningCaption, MB_YESNO | MB_ICONWARNING) == IDYES)
        FReConnect->SetChecked(false);
}

void TTerminalConfig::SaveBtnClick()
{
    if (FEntry) {
        // The previewed fonts stay: the window loads them again below.
        FKeptGlyphs.reset();
        TerminalSettings::Write(Values(), *FEntry);
        TCharBooks::Save();
        if (FWindow && FWindow->CharBook() == FEntry)
            FWindow->InitTerminal();
    }
    Close();
}

void ShowTerminalConfig(TAnsiTerminalForm& window)
{
    auto dialog = std::make_unique<TTerminalConfig>(&window);
    dialog->SetEntry(window.CharBook());
    dialog->ShowModal();
}
