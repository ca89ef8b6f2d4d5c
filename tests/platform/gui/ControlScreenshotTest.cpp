// Runs only on a real X display (CTest starts it under Xvfb): one form per family of standard
// controls, read back from the X server and compared with a picture of ours kept beside the
// tests (HM_UPDATE_GOLDEN=1 writes the pictures instead). Also the X clipboard: Hangul put there
// by xclip pastes into an edit as cp949.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWindow>
#include <functional>

#include "GuiTestSupport.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Mask.h"

namespace {

struct TFamily {
    const char* name;
    std::function<void(TForm&)> build;
};

const TFamily kFamilies[] = {
    {"Edits",
     [](TForm& f) {
         Place<TEdit>(f, 10, 10, 180, 22)->SetText("Edit \xC7\xD1\xB1\xDB");
         auto* memo = Place<TMemo>(f, 10, 40, 180, 80);
         memo->Lines()->SetText("first line\r\nsecond \xC7\xD1\xB1\xDB\r\nthird");
         auto* mask = Place<TMaskEdit>(f, 10, 130, 120, 22);
         mask->SetEditMask("!99/99/9999;1;_");
         mask->SetMaskedText("05/03/2024");
         Place<TRichEdit>(f, 200, 10, 180, 110)->SetText("rich edit\r\nplain text");
     }},
    {"Buttons",
     [](TForm& f) {
         auto* ok = Place<TButton>(f, 10, 10, 75, 25);
         ok->SetCaption("OK");
         ok->SetDefault(true);
         Place<TBitBtn>(f, 95, 10, 75, 25)->SetKind(bkCancel);
         auto* checked = Place<TCheckBox>(f, 10, 45, 120, 20);
         checked->SetCaption("\xBD\xC7\xC7\xE0");  // 실행
         checked->SetChecked(true);
         auto* grayed = Place<TCheckBox>(f, 10, 70, 120, 20);
         grayed->SetCaption("grayed");
         grayed->SetAllowGrayed(true);
         grayed->SetState(cbGrayed);
         Place<TRadioButton>(f, 10, 95, 120, 20)->SetCaption("radio");
         auto* label = Place<TLabel>(f, 10, 125, 100, 17);
         label->SetCaption("&Name:");
         auto* group = Place<TRadioGroup>(f, 200, 10, 180, 90);
         group->SetCaption("\xC5\xB8\xC0\xD4");  // 타입
         group->SetColumns(2);
         group->Items()->SetText("one\r\ntwo\r\nthree\r\nfour");
         group->SetItemIndex(1);
         Place<TGroupBox>(f, 200, 110, 180, 60)->SetCaption("Status");
     }},
    {"Lists",
     [](TForm& f) {
         auto* list = Place<TListBox>(f, 10, 10, 150, 120);
         list->Items()->SetText("alpha\r\nbeta\r\n\xC7\xD1\xB1\xDB\r\ngamma");
         list->SetItemIndex(2);
         auto* combo = Place<TComboBox>(f, 180, 10, 150, 24);
         combo->SetStyle(csDropDownList);
         combo->Items()->SetText("first\r\nsecond");
         combo->SetItemIndex(0);
         auto* drawn = Place<TListBox>(f, 180, 50, 150, 80);
         drawn->SetStyle(lbOwnerDrawFixed);
         drawn->OnDrawItem = [drawn](TWinControl*, int index, TRect r, TOwnerDrawState) {
             drawn->Canvas()->Brush()->SetColor(index % 2 ? clYellow : clAqua);
             drawn->Canvas()->FillRect(r);
         };
         drawn->Items()->SetText("a\r\nb\r\nc");
     }},
    {"Panels",
     [](TForm& f) {
         auto* raised = Place<TPanel>(f, 10, 10, 150, 60);
         raised->SetCaption("raised");
         auto* lowered = Place<TPanel>(f, 170, 10, 150, 60);
         lowered->SetBevelOuter(bvLowered);
         lowered->SetBevelInner(bvRaised);
         lowered->SetBorderWidth(3);
         lowered->SetCaption("lowered");
         Place<TBevel>(f, 10, 80, 100, 50);
         Place<TBevel>(f, 120, 80, 100, 50)->SetShape(bsFrame);
         auto* image = Place<TImage>(f, 240, 80, 64, 64);
         image->Picture()->SetSize(32, 32);
         image->Picture()->Canvas()->Brush()->SetColor(clRed);
         image->Picture()->Canvas()->FillRect(Rect(0, 0, 32, 32));
         image->Picture()->Canvas()->Brush()->SetColor(clBlue);
         image->Picture()->Canvas()->FillRect(Rect(8, 8, 24, 24));
         image->SetCenter(true);
     }},
    {"Common",
     [](TForm& f) {
         Place<TProgressBar>(f, 10, 10, 200, 18)->SetPosition(40);
         Place<TUpDown>(f, 220, 10, 17, 25)->SetPosition(3);
         Place<THotKey>(f, 10, 40, 120, 22)->SetHotKey(ShortCut('S', TShiftState{ssCtrl}));
         auto* horz = Place<TScrollBar>(f, 10, 70, 200, 17);
         horz->SetPosition(30);
         auto* vert = Place<TScrollBar>(f, 220, 40, 17, 100);
         vert->SetKind(sbVertical);
         vert->SetBounds(220, 40, 17, 100);
         auto* date = Place<TDateTimePicker>(f, 10, 100, 150, 22);
         date->SetDateTime(EncodeDate(2024, 3, 5));
     }},
    {"Bars",
     [](TForm& f) {
         auto* status = Place<TStatusBar>(f, 0, 0, 400, 20);
         for (const char* text : {"one", "\xC7\xD1\xB1\xDB", "three"}) {
             TStatusPanel* p = status->AddPanel();
             p->Text = text;
             p->Width = 80;
         }
         auto* tools = Place<TToolBar>(f, 0, 0, 400, 29);
         for (const char* caption : {"A", "B", "C"}) {
             auto* b = new TToolButton(&f);
             b->SetCaption(caption);
             b->SetParent(tools);
         }
         tools->Buttons(1)->SetStyle(tbsCheck);
         tools->Buttons(1)->SetDown(true);
         tools->ArrangeButtons();
         auto* pages = Place<TPageControl>(f, 10, 40, 220, 200);
         pages->SetMultiLine(true);
         for (const char* caption : {"General", "Colours", "Fonts", "Keys", "Sounds"}) {
             auto* sheet = new TTabSheet(&f);
             sheet->SetCaption(caption);
             sheet->SetPageControl(pages);
         }
         pages->SetActivePageIndex(1);
         auto* bands = Place<TControlBar>(f, 240, 40, 150, 60);
         auto* inner = new TPanel(&f);
         inner->SetBounds(0, 0, 80, 22);
         inner->SetParent(bands);
         bands->ArrangeBands();
     }},
};

class ControlScreenshot : public ::testing::TestWithParam<TFamily> {};

TEST_P(ControlScreenshot, MatchesItsPicture)
{
    REQUIRE_REAL_X();
    TForm form(nullptr);
    form.SetBounds(40, 40, 400, 250);
    form.SetClientWidth(400);
    form.SetClientHeight(250);
    GetParam().build(form);
    ExpectScreenshot(form, "tests/platform/gui/golden", GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Families, ControlScreenshot, ::testing::ValuesIn(kFamilies),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ControlScreenshotClipboard, HangulFromXclipPastesAsCp949)
{
    REQUIRE_REAL_X();
    int input[2];
    ASSERT_EQ(pipe(input), 0);
    pid_t xclip = fork();
    ASSERT_GE(xclip, 0);
    if (xclip == 0) {
        dup2(input[0], 0);
        close(input[1]);
        execlp("xclip", "xclip", "-selection", "clipboard", "-quiet", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(input[0]);
    const char utf8[] = "\xED\x95\x9C\xEA\xB8\x80 ok";  // 한글 ok
    ASSERT_EQ(write(input[1], utf8, sizeof utf8 - 1), static_cast<ssize_t>(sizeof utf8 - 1));
    close(input[1]);

    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    form.Show();
    EXPECT_TRUE(WaitUntil([&] { return QApplication::clipboard()->text() == QString::fromUtf8(utf8); },
                          "xclip's text on the clipboard"));
    edit->PasteFromClipboard();
    kill(xclip, SIGTERM);
    int status = 0;
    waitpid(xclip, &status, 0);
    EXPECT_EQ(edit->Text(), "\xC7\xD1\xB1\xDB ok");
}

}  // namespace
