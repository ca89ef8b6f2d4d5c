// Runs only on a real X display (CTest starts it under Xvfb): a grid like the script editor's
// trigger page in a real window, read back from the X server, against a picture of ours.

#include <gtest/gtest.h>

#include "grid/control/CellGrid.h"
#include "platform/core/Cp949.h"
#include "platform/gui/Forms.h"
#include "tests/platform/gui/GuiTestSupport.h"

TEST(CellGridScreenshot, TriggerPageInARealWindow)
{
    REQUIRE_REAL_X();
    TForm form(nullptr);
    form.SetBounds(40, 40, 520, 200);
    auto* grid = new TCellGrid(&form);
    grid->SetParent(&form);
    grid->SetAlign(alClient);
    grid->SetColCount(6);
    grid->SetFixedCols(2);
    grid->SetRowCount(12);
    grid->SetDefaultRowHeight(18);
    grid->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRowSelect});
    grid->Bands()->SetActive(true);
    grid->Bands()->SetPrimaryLength(5);
    grid->Bands()->SetSecondaryLength(5);
    grid->Bands()->SetSecondaryColor(clWindow);
    for (TFont* font : {grid->Font(), grid->FixedFont()}) {
        font->SetName(Utf8ToCp949("굴림"));
        font->SetSize(10);
    }
    grid->EnableHTML = false;
    grid->EnableGraphics = true;
    grid->Multilinecells = true;
    const int widths[] = {25, 42, 30, 95, 150, 300};
    for (int c = 0; c < 6; ++c)
        grid->SetColWidths(c, widths[c]);
    const char* headers[] = {"ON", "번호", "순환", "그룹명", "From", "To"};
    for (int c = 0; c < 6; ++c)
        grid->SetCells(c, 0, Utf8ToCp949(headers[c]));
    for (int r = 1; r < 12; ++r) {
        grid->SetCells(1, r, std::to_string(r));
        grid->SetCells(3, r, Utf8ToCp949(r % 3 ? "전투" : "채팅"));
        grid->SetCells(4, r, Utf8ToCp949(r % 2 ? "* 님이 당신을 공격합니다" : "HP: *"));
        grid->SetCells(5, r, Utf8ToCp949(r == 4 ? "첫째 줄\r\n둘째 줄" : "#wa 1|kill @(target)"));
        grid->AddCheckBox(0, r, r % 2 == 1, false);
        grid->AddCheckBox(2, r, r % 3 == 0, false);
    }
    grid->SetRowHeights(4, 34);
    grid->SetSortShow(true);
    grid->SetSortColumn(4);
    grid->SetRow(2);
    ExpectScreenshot(form, "tests/grid/control/golden", "TriggerPageReal");
}
