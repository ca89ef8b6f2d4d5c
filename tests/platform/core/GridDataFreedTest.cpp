// A notification the grid gives while it moves its current cell or its view frees the grid: the
// grid's own code touches nothing of it afterwards.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/core/GridData.h"

namespace {

enum TFreeAt { faSelectCell, faTopLeftChanged, faCurrentMoved, faRowMoved };

// Deletes itself in the notification named by FreeAt, once.
class TSelfFreeingGrid : public TCustomGridData {
public:
    explicit TSelfFreeingGrid(TFreeAt At, int& Frees) : FAt(At), FFrees(Frees) {}

protected:
    bool SelectCell(int, int) override { return FreeIf(faSelectCell); }
    void TopLeftChanged() override { FreeIf(faTopLeftChanged); }
    void CurrentMoved(TGridCoord) override { FreeIf(faCurrentMoved); }
    void RowMoved(int, int) override { FreeIf(faRowMoved); }

private:
    bool FreeIf(TFreeAt At)
    {
        if (At == FAt && FFrees++ == 0)
            delete this;
        return true;
    }
    TFreeAt FAt;
    int& FFrees;
};

struct TFreedCase {
    const char* name;
    TFreeAt at;
    // Runs the move; gives FocusCell's answer, false for the moves that answer nothing.
    std::function<bool(TCustomGridData&)> move;
};
void PrintTo(const TFreedCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class GridDataFreed : public ::testing::TestWithParam<TFreedCase> {};

// The move went on with the freed grid: it stored the current cell, scrolled, repainted and
// told of the move.
TEST_P(GridDataFreed, RegressionANotificationThatFreesTheGridEndsTheMove)
{
    int frees = 0;
    auto* g = new TSelfFreeingGrid(GetParam().at, frees);
    g->SetColCount(20);
    g->SetRowCount(50);
    g->SetViewSize(200, 100);
    const bool result = GetParam().move(*g);
    EXPECT_EQ(frees, 1);
    EXPECT_FALSE(result);
}

const TFreedCase kFreedCases[] = {
    {"SelectCellOnFocusCell", faSelectCell, [](TCustomGridData& g) { return g.FocusCell(2, 3, true); }},
    {"TopLeftChangedOnFocusCellOutOfView", faTopLeftChanged,
     [](TCustomGridData& g) { return g.FocusCell(15, 40, true); }},
    {"CurrentMovedOnFocusCell", faCurrentMoved, [](TCustomGridData& g) { return g.FocusCell(2, 2, true); }},
    {"TopLeftChangedOnSetRow", faTopLeftChanged,
     [](TCustomGridData& g) {
         g.SetRow(45);
         return false;
     }},
    {"TopLeftChangedOnSetTopRow", faTopLeftChanged,
     [](TCustomGridData& g) {
         g.SetTopRow(10);
         return false;
     }},
    {"TopLeftChangedOnFixedRows", faTopLeftChanged,
     [](TCustomGridData& g) {
         g.SetFixedRows(0);
         return false;
     }},
    {"RowMovedOnMoveRow", faRowMoved,
     [](TCustomGridData& g) {
         g.MoveRow(2, 6);
         return false;
     }},
};
INSTANTIATE_TEST_SUITE_P(Core, GridDataFreed, ::testing::ValuesIn(kFreedCases),
                         [](const auto& row) { return std::string(row.param.name); });
