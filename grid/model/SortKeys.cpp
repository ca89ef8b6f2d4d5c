#include "grid/model/SortKeys.h"

#include "grid/model/HtmlTags.h"

namespace {

// A date value, or 0 when the reader raises (a day or month that does not exist).
TDateTime ShortDateOrZero(std::string_view Text, bool DayFirst)
{
    try {
        return SortShortDate(Text, DayFirst);
    } catch (const Exception&) {
        return 0;
    }
}

std::optional<long double> NumberOf(std::string_view Text, const TSortRule& Rule)
{
    long double value = 0;
    if (!SortNumber(Text, Rule.Prefix, Rule.Suffix, Rule.Style == ssFinancial, value))
        return std::nullopt;
    return value;
}

}  // namespace

TSortRule SortRuleOf(TCellModel& Grid, int ACol)
{
    TSortRule rule;
    rule.Style = Grid.SortAutoFormat ? ssAutomatic : ssAlphabetic;
    if (Grid.OnGetFormat)
        FireInSort(Grid, [&] { Grid.GetColFormat(ACol, rule.Style, rule.Prefix, rule.Suffix); });
    else
        Grid.GetColFormat(ACol, rule.Style, rule.Prefix, rule.Suffix);
    return rule;
}

// --- Cells and handlers ------------------------------------------------------------------------

int TSortCellReader::Custom(int A, int B)
{
    int res = 0;
    // Copies: the handler may change the cells it is given.
    if (FGrid.OnCustomCompare)
        FireInSort(FGrid,
                   [&] { FGrid.OnCustomCompare(FGrid.Sender(), AnsiString(Text(A)), AnsiString(Text(B)), res); });
    return res;
}

int TSortCellReader::Raw(int A, int B)
{
    int res = 0;
    if (FGrid.OnRawCompare)
        FireInSort(FGrid, [&] { FGrid.OnRawCompare(FGrid.Sender(), FCol, A, B, res); });
    return res;
}

// --- Keys read at every comparison --------------------------------------------------------------

std::optional<long double> TSortLiveKeys::Number(int Row) const { return NumberOf(Text(Row), FRule); }

TDateTime TSortLiveKeys::ShortDate(int Row) const { return ShortDateOrZero(Text(Row), FRule.Style == ssShortDateEU); }

AnsiString TSortLiveKeys::Stripped(int Row) const { return StripHtmlTags(Text(Row)); }

// --- Keys read once a sort --------------------------------------------------------------------

TSortKeyColumn::TSortKeyColumn(TCellModel& Grid, int Col, TSortRule Rule, int First, int Last)
    : TSortCellReader(Grid, Col, std::move(Rule)), FFirst(First), FCount(std::max(Last - First + 1, 0))
{}

template <class Fill>
void TSortKeyColumn::Once(bool& Done, Fill fill)
{
    if (Done)
        return;
    for (int r = FFirst; r < FFirst + FCount; ++r)
        fill(r, At(r));
    Done = true;
}

TSortStyle TSortKeyColumn::AutoStyle(int Row)
{
    Once(FHaveAuto, [this](int r, size_t i) {
        FAuto.resize(static_cast<size_t>(FCount));
        FAuto[i] = AutoSortStyle(Text(r));
    });
    return FAuto[At(Row)];
}

int TSortKeyColumn::TextOrder(int A, int B)
{
    Once(FHaveTexts, [this](int r, size_t i) {
        FTextKeys.resize(static_cast<size_t>(FCount));
        FTexts.resize(static_cast<size_t>(FCount));
        FTexts[i] = Text(r);
        TTextKey& key = FTextKeys[i];
        key.Size = FTexts[i].size();
        for (size_t k = 0; k < 8; ++k)
            key.Head = key.Head << 8 | (k < key.Size ? static_cast<unsigned char>(FTexts[i][k]) : 0u);
    });
    const TTextKey& a = FTextKeys[At(A)];
    const TTextKey& b = FTextKeys[At(B)];
    if (a.Head != b.Head)
        return a.Head > b.Head ? 1 : -1;
    // Equal heads of texts no longer than eight bytes: the shorter one is the other's start.
    if (a.Size <= 8 && b.Size <= 8)
        return CompareValues(a.Size, b.Size);
    return Sign(FTexts[At(A)].compare(FTexts[At(B)]));
}

std::optional<long double> TSortKeyColumn::Number(int Row)
{
    Once(FHaveNumbers, [this](int r, size_t i) {
        FNumbers.resize(static_cast<size_t>(FCount));
        FIsNumber.resize(static_cast<size_t>(FCount));
        const std::optional<long double> v = NumberOf(Text(r), FRule);
        FIsNumber[i] = v.has_value();
        FNumbers[i] = v.value_or(0);
    });
    const size_t i = At(Row);
    return FIsNumber[i] ? std::optional<long double>(FNumbers[i]) : std::nullopt;
}

TDateTime TSortKeyColumn::LocaleDate(int Row)
{
    Once(FHaveLocaleDates, [this](int r, size_t i) {
        FLocaleDates.resize(static_cast<size_t>(FCount));
        FLocaleDates[i] = SortLocaleDate(Text(r));
    });
    return FLocaleDates[At(Row)];
}

TDateTime TSortKeyColumn::ShortDate(int Row)
{
    Once(FHaveShortDates, [this](int r, size_t i) {
        FShortDates.resize(static_cast<size_t>(FCount));
        FShortDates[i] = ShortDateOrZero(Text(r), FRule.Style == ssShortDateEU);
    });
    return FShortDates[At(Row)];
}

const AnsiString& TSortKeyColumn::Stripped(int Row)
{
    Once(FHaveStripped, [this](int r, size_t i) {
        FStripped.resize(static_cast<size_t>(FCount));
        FStripped[i] = StripHtmlTags(Text(r));
    });
    return FStripped[At(Row)];
}

// --- All the columns of a sort ----------------------------------------------------------------------

TSortKeyColumn& TSortKeys::NewColumn(int ACol)
{
    const bool near = ACol >= 0 && ACol < FGrid.ColCount() + TCustomGridData::kColumnSlack;
    if (near && static_cast<size_t>(ACol) >= FColumns.size())
        FColumns.resize(static_cast<size_t>(ACol) + 1);
    std::unique_ptr<TSortKeyColumn>& column = near ? FColumns[static_cast<size_t>(ACol)] : FFarColumns[ACol];
    if (!column)
        column = std::make_unique<TSortKeyColumn>(FGrid, ACol, SortRuleOf(FGrid, ACol), FFirst, FLast);
    return *column;
}

int TSortKeys::CompareLine(int ACol, int A, int B)
{
    return CompareLineBy(ACol, FGrid.ColCount() - 1, FGrid.SortFull, [&](int c) { return Compare(c, A, B); });
}

int TSortKeys::CompareLineIndexed(int AIdx, int A, int B)
{
    return CompareIndexedBy(*FGrid.SortIndexes(), AIdx, FGrid.SortFull, [&](int c) { return Compare(c, A, B); });
}
