// The terminal settings dialog: its font lists read from the Fonts folder, what it shows of an
// entry, the reconnect warning, Save writing the entry and the book and setting the window up
// again, and a sample file that is missing.

#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QWidget>
#include <algorithm>

#include "ProgramTestSupport.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/TerminalConfig.h"
#include "controls/lib/ExCombos.h"
#include "platform/core/Cp949.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/ListBoxes.h"
#include "platform/gui/Menus.h"
#include "platform/gui/SyntheticInput.h"
#include "terminal/control/Terminal.h"
#include "terminal/fonts/GlyphTables.h"

namespace fs = std::filesystem;
using TerminalSettings::flEng;
using TerminalSettings::flHan;

namespace {

class TSettingsTest : public TProgramTest {
protected:
    void SetUp() override
    {
        TProgramTest::SetUp();
        // A Fonts folder of our own: the build's fonts under other names, and names no list takes.
        const fs::path built = fs::path(ExecutableFolder()) / "Fonts";
        const fs::path fonts = fs::path(Folder.Path()) / "Fonts";
        fs::remove(fonts);
        fs::create_directory(fonts);
        for (const char* name : {"a.han", "B.HAN", "x~y.han", "z.han"})
            fs::copy_file(built / "뻗음꼴.han", fonts / name);
        fs::copy_file(built / "영문정형체.eng", fonts / "e.eng");
        fs::copy_file(built / "smooth.spc", fonts / "s.spc");
        fs::copy_file(built / "산.ksg", fonts / "k.ksg");
        fs::create_directory(fonts / "dir.han");
        for (const char* name : {"TextSample.txt", "AnSiSample.txt"})
            fs::copy_file(built / name, fonts / name);
        WriteBook(
            "#CHARACTER\r\nHostName    a~\r\nCharName    A~\r\nHost        h~\r\nPort        1\r\nStatus      6\r\n"
            "HanFont     Fonts\\z.han~\r\nEngFont     Fonts\\e.eng~\r\nSpcFont     Fonts\\s.spc~\r\n"
            "KsgFont     Fonts\\k.ksg~\r\nEnd\r\n#END\r\n");
        Start();
        Window = Books->CharBooksGridDblClickCell(1, 0);
    }
    // The dialog for the window, handed to the script while it is shown.
    void WithDialog(const std::function<void(TTerminalConfig&)>& script)
    {
        OnModal([&script](TCustomForm& form) { script(dynamic_cast<TTerminalConfig&>(form)); });
        Window->FindAction("ActionOptionConfig")->Execute();
    }
    static std::vector<std::string> Items(TListBox* box)
    {
        std::vector<std::string> items;
        for (int i = 0; i < box->Items()->Count(); ++i)
            items.push_back(box->Items()->Strings(i));
        return items;
    }
    // own and the files with that extension beside the program, sorted.
    static std::vector<std::string> Shipped(const std::string& extension, std::vector<std::string> own)
    {
        for (const auto& file : fs::directory_iterator(fs::path(ExecutableFolder()) / "Fonts"))
            if (file.path().extension() == extension)
                own.push_back(Utf8ToCp949(file.path().filename().string()));
        std::sort(own.begin(), own.end());
        return own;
    }
    TAnsiTerminalForm* Window = nullptr;
};

TEST_F(TSettingsTest, ListsTakeTheirExactExtensionAndShowTheEntrysFonts)
{
    WithDialog([](TTerminalConfig& dialog) {
        // The program folder's own and those shipped beside the program, sorted.
        EXPECT_EQ(Items(dialog.FontBox(flHan)), Shipped(".han", {"a.han", "z.han"}));
        EXPECT_EQ(Items(dialog.FontBox(flEng)), Shipped(".eng", {"e.eng"}));
        TListBox* hanBox = dialog.FontBox(flHan);
        EXPECT_EQ(hanBox->Items()->Strings(hanBox->ItemIndex()), "z.han");
        EXPECT_TRUE(dialog.HanCheckBox()->Checked());
        EXPECT_TRUE(dialog.AlphaCheckBox()->Checked());
        EXPECT_FALSE(dialog.WindowsFontBox()->Enabled());
        EXPECT_EQ(dialog.FgColorBox()->GetColorValue(), clWhite);
        EXPECT_EQ(dialog.BgColorBox()->GetColorValue(), clNavy);
        EXPECT_TRUE(dialog.Terminal()->HanMode());
    });
}

TEST_F(TSettingsTest, SaveWritesTheEntryAndTheBookAndRedrawsTheWindow)
{
    BoxAnswers = {IDNO};
    WithDialog([](TTerminalConfig& dialog) {
        dialog.HanCheckBox()->SetChecked(false);
        EXPECT_FALSE(dialog.FontBox(flHan)->Enabled());
        EXPECT_TRUE(dialog.WindowsFontBox()->Enabled());
        EXPECT_FALSE(dialog.Terminal()->HanMode());
        dialog.AlphaCheckBox()->SetChecked(false);
        dialog.FontBox(flHan)->SetItemIndex(dialog.FontBox(flHan)->Items()->IndexOf("a.han"));
        dialog.FgColorBox()->SetColorValue(clYellow);
        dialog.BgColorBox()->SetColorValue(clBlack);
        dialog.ReConnetCheckBox()->SetChecked(true);
        dialog.WalkAutoRewind()->SetChecked(true);
        dialog.SaveBtnClick();
    });
    const auto& entry = TCharBooks::CharBookList[0];
    EXPECT_EQ(entry->Status, 0x1u | 0x10u);
    EXPECT_EQ(entry->HanFont, "Fonts\\a.han");
    EXPECT_EQ(entry->FgColor, clYellow);
    EXPECT_EQ(entry->BgColor, clBlack);
    EXPECT_FALSE(Window->Terminal()->HanMode());
    EXPECT_EQ(Window->Terminal()->BackColor(), clBlack);
    const std::string book = TempFolder::Read(Folder.File("CharBooks/CharBooks"));
    EXPECT_NE(book.find("Status      17"), std::string::npos);
    EXPECT_NE(book.find("HanFont     Fonts\\a.han~"), std::string::npos);
    ASSERT_EQ(Log.size(), 2u);
    EXPECT_EQ(Log[1].rfind("box 경고|", 0), 0u);
}

TEST_F(TSettingsTest, AnsweringYesToTheWarningUnchecksReconnect)
{
    BoxAnswers = {IDYES};
    WithDialog([](TTerminalConfig& dialog) {
        dialog.ReConnetCheckBox()->SetChecked(true);
        EXPECT_FALSE(dialog.ReConnetCheckBox()->Checked());
        dialog.SaveBtnClick();
    });
    EXPECT_EQ(TCharBooks::CharBookList[0]->GetReConnect(), 0);
}

TEST_F(TSettingsTest, ExitLeavesTheEntry)
{
    WithDialog([](TTerminalConfig& dialog) {
        dialog.HanCheckBox()->SetChecked(false);
        dialog.ExitBtnClick();
    });
    EXPECT_EQ(TCharBooks::CharBookList[0]->Status, 6u);
    EXPECT_TRUE(Window->Terminal()->HanMode());
}

// The font lists showed two and a half names and cut the longest shipped one
// ("terminus-bold-16.eng"): each shows five names, every one whole beside its scroll bar.
TEST_F(TSettingsTest, RegressionFontListsShowFiveNamesEachWhole)
{
    size_t longest = 0;
    WithDialog([&longest](TTerminalConfig& dialog) {
        PumpEvents();
        for (const TerminalSettings::TFontList list :
             {flHan, flEng, TerminalSettings::flSpc, TerminalSettings::flKsg}) {
            TListBox* box = dialog.FontBox(list);
            auto* view = qobject_cast<QListWidget*>(box->Handle());
            ASSERT_NE(view, nullptr);
            EXPECT_GE(view->viewport()->height(), 5 * box->ItemHeight()) << box->Name();
            TCanvas* canvas = box->Canvas();
            canvas->SetFont(box->Font());
            // Drawn two pixels in from the list's edge, and ending clear of the scroll bar: one that
            // touches it reads as cut.
            for (int i = 0; i < box->Items()->Count(); ++i) {
                const AnsiString name = box->Items()->Strings(i);
                longest = std::max(longest, name.size());
                EXPECT_LE(2 + canvas->TextWidth(name) + 4, view->viewport()->width()) << Cp949ToUtf8(name);
            }
        }
        dialog.ExitBtnClick();
    });
    EXPECT_GE(longest, std::string("terminus-bold-16.eng").size()) << "no long name to measure";
}

// The 16 x 16 pixels of the first cell of a screen row of the terminal.
std::vector<uint8_t> FirstCell(TTerminal& terminal, int row)
{
    const TFrameBuffer& image = terminal.Painter().Screen();
    std::vector<uint8_t> pixels;
    for (int y = row * terminal.CellHeight(); y < (row + 1) * terminal.CellHeight(); ++y)
        for (int x = 0; x < 16; ++x)
            pixels.push_back(image.Pixel(x, y));
    return pixels;
}

// "가" received on a line of its own; the screen row it landed on.
int ReceiveGa(TTerminal& terminal)
{
    const int row = terminal.Core().CurY() - terminal.Core().LinePos();
    terminal.DecodeText("\xB0\xA1\r\n");
    return row;
}

// The preview loads its fonts into the program's glyph tables; Exit used to leave them there, so
// every window drew the Hangul it received afterwards with the previewed font.
TEST_F(TSettingsTest, RegressionExitPutsBackTheFontsThePreviewLoaded)
{
    TempFolder::Write(Folder.File("Fonts/blank.han"), std::string(HanFontFullSize, '\0'));
    TTerminal& terminal = *Window->Terminal();
    const std::vector<uint8_t> ga = FirstCell(terminal, ReceiveGa(terminal));
    int rowDuringPreview = -1;
    WithDialog([&](TTerminalConfig& dialog) {
        TListBox* han = dialog.FontBox(flHan);
        han->SetItemIndex(han->Items()->IndexOf("blank.han"));
        dialog.UpdatePreview();
        rowDuringPreview = ReceiveGa(terminal);
        EXPECT_NE(FirstCell(terminal, rowDuringPreview), ga) << "the preview's blank font draws every window";
        dialog.ExitBtnClick();
    });
    EXPECT_EQ(FirstCell(terminal, rowDuringPreview), ga) << "drawn again with the entry's font";
    EXPECT_EQ(FirstCell(terminal, ReceiveGa(terminal)), ga);
}

TEST_F(TSettingsTest, RegressionMissingSampleIsReportedAndThePreviewStays)
{
    // One that cannot be read: a missing one would be found beside the program.
    fs::remove(Folder.File("Fonts/AnSiSample.txt"));
    fs::create_directory(Folder.File("Fonts/AnSiSample.txt"));
    WithDialog([this](TTerminalConfig& dialog) {
        const AnsiString shown = dialog.Terminal()->Core().Data().Strings(dialog.Terminal()->Core().MaxLinePos());
        dialog.SampleGroup()->SetItemIndex(1);
        dialog.FgColorBox()->SetColorValue(clRed);
        EXPECT_EQ(dialog.Terminal()->Core().Data().Strings(dialog.Terminal()->Core().MaxLinePos()), shown);
        EXPECT_EQ(dialog.Terminal()->FontColor(), clWhite);
        ASSERT_EQ(Log.size(), 3u);
        EXPECT_NE(Log[1].find("Cannot open file"), std::string::npos);
        EXPECT_EQ(Log[2], Log[1]);
    });
}

}  // namespace

namespace {

struct TLabelCase {
    const char* Name;
    const char* Label;
    const char* Box;
};

class TSettingsLabelTest : public TSettingsTest, public ::testing::WithParamInterface<TLabelCase> {};

// A click on a label inside a group box gives its box the focus.
TEST_P(TSettingsLabelTest, ClickFocusesItsBox)
{
    WithDialog([](TTerminalConfig& dialog) {
        auto* label = dynamic_cast<TControl*>(dialog.FindComponent(GetParam().Label));
        auto* box = dynamic_cast<TWinControl*>(dialog.FindComponent(GetParam().Box));
        ASSERT_TRUE(label && box);
        const int x = label->Left() + 4, y = label->Top() + label->Height() / 2;
        SendMouseInput(label->Parent(), maDown, mbLeft, x, y, TShiftState{});
        SendMouseInput(label->Parent(), maUp, mbLeft, x, y, TShiftState{});
        EXPECT_EQ(dialog.ActiveControl(), box);
        dialog.ExitBtnClick();
    });
}

// The label paints on the colour its group box stands on (the page's), as the box shows it: its
// bottom-left corner, left of and below its text. The labels were drawn on white boxes.
TEST_P(TSettingsLabelTest, RegressionDrawsOnTheColourItsGroupBoxStandsOn)
{
    WithDialog([](TTerminalConfig& dialog) {
        auto* label = dynamic_cast<TControl*>(dialog.FindComponent(GetParam().Label));
        ASSERT_TRUE(label);
        const QImage box = label->Parent()->Handle()->grab().toImage();
        const QRgb page = ToQColor(label->Parent()->Parent()->Color()).rgb();
        EXPECT_EQ(box.pixel(label->Left(), label->Top() + label->Height() - 1), page);
        dialog.ExitBtnClick();
    });
}

const TLabelCase kLabelCases[] = {
    {"HanFont", "Label1", "HanBox"}, {"EngFont", "Label3", "EngBox"},        {"SpcFont", "Label4", "SpcBox"},
    {"KsgFont", "Label5", "KsgBox"}, {"Foreground", "Label6", "FgColorBox"}, {"Background", "Label7", "BgColorBox"},
};
INSTANTIATE_TEST_SUITE_P(Labels, TSettingsLabelTest, ::testing::ValuesIn(kLabelCases),
                         [](const ::testing::TestParamInfo<TLabelCase>& row) { return std::string(row.param.Name); });

}  // namespace
