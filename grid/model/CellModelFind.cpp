// Find by cell text (FindFirst, FindNext, MatchCell) and the incremental search by the key
// column (Search). Texts are cp949: a match starts only where a character starts, and folding
// upper-cases single-byte letters only, never a trail byte.

#include "grid/model/CellModel.h"
#include "grid/model/Cgutil.h"
#include "grid/model/HtmlTags.h"

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether Sub stands in S at byte At (a character start), single-byte characters of S folded
// when Fold is set (Sub is then already upper-case).
bool MatchesAt(std::string_view Sub, std::string_view S, size_t At, bool Fold)
{
    if (S.size() - At < Sub.size())
        return false;
    for (size_t k = 0; k < Sub.size();) {
        const size_t len = static_cast<size_t>(CharLengthAt(S, At + k));
        if (len == 1) {
            if ((Fold ? Upper(S[At + k]) : S[At + k]) != Sub[k])
                return false;
        } else if (k + 1 >= Sub.size() || S[At + k] != Sub[k] || S[At + k + 1] != Sub[k + 1]) {
            return false;
        }
        k += len;
    }
    return true;
}

// The 1-based position of Sub in S at a character start, 0 when absent.
int FoldedPos(std::string_view Sub, std::string_view S, bool Fold)
{
    if (Sub.empty())
        return 0;
    for (size_t i = 0; i + Sub.size() <= S.size(); i += static_cast<size_t>(CharLengthAt(S, i)))
        if (MatchesAt(Sub, S, i, Fold))
            return static_cast<int>(i + 1);
    return 0;
}

}  // namespace

bool TCellModel::MatchCell(int ACol, int ARow)
{
    const TFindParams p = FFindState.Params;
    std::string_view t = Cells(RemapCol(ACol), ARow);
    AnsiString stripped;
    if (p.Contains(fnIgnoreHTMLTags)) {
        stripped = StripHtmlTags(t);
        t = stripped;
    }
    const bool fold = !p.Contains(fnMatchCase);
    if (p.Contains(fnMatchRegular))
        return fold ? MatchStrEx(FFindState.Folded, UpStr(t)) : MatchStrEx(FFindState.Text, t);
    const AnsiString& text = fold ? FFindState.Folded : FFindState.Text;
    if (p.Contains(fnMatchFull))
        return t.size() == text.size() && FoldedPos(text, t, fold) == 1;
    const int at = FoldedPos(text, t, fold);
    return p.Contains(fnMatchStart) ? at == 1 : at > 0;
}

namespace {

// Cells walked in the find order from a resume point; Test answers whether a cell matches.
// The first row (column) runs from the resume point, the following ones from First.
template <class Test>
bool Walk(bool Across, int ResumeCol, int ResumeRow, int FirstCol, int FirstRow, int EndCol, int EndRow, Test test,
          int& HitCol, int& HitRow)
{
    if (Across) {
        for (int r = ResumeRow, c0 = ResumeCol; r < EndRow; ++r, c0 = FirstCol)
            for (int c = c0; c < EndCol; ++c)
                if (test(c, r)) {
                    HitCol = c;
                    HitRow = r;
                    return true;
                }
        return false;
    }
    for (int c = ResumeCol, r0 = ResumeRow; c < EndCol; ++c, r0 = FirstRow)
        for (int r = r0; r < EndRow; ++r)
            if (test(c, r)) {
                HitCol = c;
                HitRow = r;
                return true;
            }
    return false;
}

}  // namespace

TPoint TCellModel::FindFirst(const AnsiString& s, TFindParams Params)
{
    const bool fixed = Params.Contains(fnIncludeFixed);
    FFindState.StartCol = fixed ? 0 : FixedCols();
    FFindState.StartRow = fixed ? 0 : FixedRows();
    FFindState.Text = s;
    FFindState.Folded = UpStr(s);
    FFindState.Params = Params;
    if (ColCount() == FixedCols() || ColCount() == 0 || RowCount() == FixedRows() || RowCount() == 0)
        return {-1, -1};
    int firstCol = FFindState.StartCol, endCol = ColCount();
    int firstRow = FFindState.StartRow, endRow = RowCount();
    if (Params.Contains(fnFindInCurrentRow)) {
        firstRow = Row();
        endRow = Row() + 1;
    }
    if (Params.Contains(fnFindInCurrentCol)) {
        firstCol = Col();
        endCol = Col() + 1;
    }
    int col = -1, row = -1;
    const auto test = [this](int c, int r) { return MatchCell(c, r); };
    if (!Walk(Params.Contains(fnDirectionLeftRight), firstCol, firstRow, firstCol, firstRow, endCol, endRow, test, col,
              row))
        return {-1, -1};
    FFindState.Col = col;
    FFindState.Row = row;
    if (Params.Contains(fnAutoGoto)) {
        // The first move's handlers may free the grid.
        const TAliveToken alive = GridAliveToken();
        if (Row() != row)
            SetRow(row);
        if (*alive && Col() != col)
            SetCol(col);
    }
    return {col, row};
}

TPoint TCellModel::FindNext()
{
    if (ColCount() == FixedCols() || ColCount() == 0 || RowCount() == FixedRows() || RowCount() == 0)
        return {-1, -1};
    const TFindParams p = FFindState.Params;
    const bool inRow = p.Contains(fnFindInCurrentRow), inCol = p.Contains(fnFindInCurrentCol);
    const int endCol = inCol ? Col() + 1 : ColCount();
    const int endRow = inRow ? Row() + 1 : RowCount();
    const int firstCol = inCol ? Col() : FFindState.StartCol;
    const int firstRow = inRow ? Row() : FFindState.StartRow;
    const bool across = p.Contains(fnDirectionLeftRight);
    const int resumeCol = across ? FFindState.Col + 1 : std::max(FFindState.Col, 0);
    const int resumeRow = across ? std::max(FFindState.Row, 0) : FFindState.Row + 1;
    int col = -1, row = -1;
    const auto test = [this](int c, int r) { return MatchCell(c, r); };
    if (!Walk(across, resumeCol, resumeRow, firstCol, firstRow, endCol, endRow, test, col, row)) {
        FFindState.Col = FFindState.Row = -1;
        return {-1, -1};
    }
    FFindState.Col = col;
    FFindState.Row = row;
    if (p.Contains(fnAutoGoto)) {
        // The first move's handlers may free the grid.
        const TAliveToken alive = GridAliveToken();
        if (Row() != row)
            SetRow(row);
        if (*alive && Col() != col)
            SetCol(col);
    }
    return {col, row};
}

int TCellModel::Search(const AnsiString& s) const
{
    if (RowCount() < 2)
        return -1;
    const int key = SortShow() ? SortColumn() : 1;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const AnsiString& cell = Cells(key, r);
        if (cell.size() >= s.size() && UpStr(std::string_view(cell).substr(0, s.size())) == s)
            return r;
    }
    return -1;
}
