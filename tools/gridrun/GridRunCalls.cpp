// The operations gridrun's "call" runs: the grid's public operations and the shared text
// routines, one line each, named as the grid names them. Arguments are read by the types of the
// parameters; var parameters left off the end start at 0, false or empty, and are printed
// after the result. An object the grid shares with its caller is made from its word: a list
// from "a,b", a bitmap, icon or picture blank from "WxH" or read from a file name, a file
// picture from its file name. An object the grid only holds for its caller is "nil" or, for any
// other word, a new plain object the run keeps to its end.

#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "grid/model/Cgutil.h"
#include "tools/gridrun/GridRun.h"
#include "tools/gridrun/GridRunEnums.h"

namespace {

using G = TCellGrid;

template <class T>
inline constexpr bool kIsShared = false;
template <class T>
inline constexpr bool kIsShared<std::shared_ptr<T>> = true;

// "WxH" as a size.
bool ParseSize(std::string_view word, int& w, int& h)
{
    const size_t x = word.find('x');
    return x != std::string_view::npos && ParseInt(word.substr(0, x), w) && ParseInt(word.substr(x + 1), h) && w > 0 &&
        h > 0 && w <= 4096 && h <= 4096;
}

void MakeShared(std::string_view word, std::shared_ptr<TStrings>& out)
{
    auto list = std::make_shared<TStringList>();
    ParseList(word, *list);
    out = std::move(list);
}

void MakeShared(std::string_view word, std::shared_ptr<TBitmap>& out)
{
    out = std::make_shared<TBitmap>();
    int w = 0, h = 0;
    if (ParseSize(word, w, h))
        out->SetSize(w, h);
    else
        out->LoadFromFile(AnsiString(word));
}

void MakeShared(std::string_view word, std::shared_ptr<TIcon>& out)
{
    out = std::make_shared<TIcon>();
    int w = 0, h = 0;
    if (!ParseSize(word, w, h)) {
        out->LoadFromFile(AnsiString(word));
        return;
    }
    TBitmap blank;
    blank.SetSize(w, h);
    out->SetImage(blank.Image());
}

void MakeShared(std::string_view word, std::shared_ptr<TPicture>& out)
{
    out = std::make_shared<TPicture>();
    int w = 0, h = 0;
    if (ParseSize(word, w, h))
        out->Bitmap()->SetSize(w, h);
    else
        out->LoadFromFile(AnsiString(word));
}

void MakeShared(std::string_view word, std::shared_ptr<TFilePicture>& out)
{
    out = std::make_shared<TFilePicture>();
    out->SetFileName(AnsiString(word));
}

// An object the grid holds without owning it (SetObjectsEx): "nil", or a new object kept until
// the run ends.
TObject* HeldObject(std::string_view word)
{
    static std::vector<std::unique_ptr<TObject>> kept;
    if (word == "nil")
        return nullptr;
    kept.push_back(std::make_unique<TObject>());
    return kept.back().get();
}

// An integer list read from "1,5,10" ("" is none).
struct TWordIntList : TIntList {
    TWordIntList() : TIntList(0, 0) {}
};

// One parameter of an operation: where its value lives while the call runs.
template <class P>
struct TParam {
    using Raw = std::remove_cvref_t<P>;
    static constexpr bool Var = std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>;
    using Store =
        std::conditional_t<std::is_same_v<Raw, std::string_view>, AnsiString,
                           std::conditional_t<std::is_same_v<Raw, TStrings*>, TStringList,
                                              std::conditional_t<std::is_same_v<Raw, TIntList*>, TWordIntList, Raw>>>;
    Store Value{};

    void Read(std::string_view word)
    {
        if constexpr (std::is_same_v<Store, TStringList>) {
            ParseList(word, Value);
        } else if constexpr (std::is_same_v<Store, TWordIntList>) {
            TStringList items;
            ParseList(word, items);
            for (int i = 0; i < items.Count(); ++i) {
                int v = 0;
                if (!ParseInt(items.Strings(i), v))
                    throw EBadDirective("cannot read \"" + Escape(word) + "\" as a list of numbers");
                Value.Add(v);
            }
        } else if constexpr (kIsShared<Store>) {
            MakeShared(word, Value);
        } else if constexpr (std::is_same_v<Store, TObject*>) {
            Value = HeldObject(word);
        } else if (!ParseValue(word, Value)) {
            throw EBadDirective("cannot read \"" + Escape(word) + "\" as an argument");
        }
    }
    decltype(auto) Pass()
    {
        if constexpr (std::is_same_v<Store, TStringList>)
            return static_cast<TStrings*>(&Value);
        else if constexpr (std::is_same_v<Store, TWordIntList>)
            return static_cast<TIntList*>(&Value);
        else
            return (Value);
    }
};

// Runs call(parameters...) with the words read into the parameters; returns the result and the
// var parameters as printed words.
template <class R, class... P, class F>
std::string Run(F call, const TWords& args)
{
    std::tuple<TParam<P>...> params;
    constexpr bool vars[] = {TParam<P>::Var..., false};
    size_t required = sizeof...(P);
    while (required > 0 && vars[required - 1])
        --required;
    if (args.size() < required || args.size() > sizeof...(P))
        throw EBadDirective("takes " + std::to_string(required) +
                            (required == sizeof...(P) ? "" : " to " + std::to_string(sizeof...(P))) + " arguments");
    std::apply(
        [&](auto&... p) {
            size_t i = 0;
            ((i < args.size() ? p.Read(args[i]) : void(), ++i), ...);
        },
        params);
    std::string out;
    const auto add = [&out](const std::string& word) { out += (out.empty() ? "" : " ") + word; };
    if constexpr (std::is_void_v<R>) {
        std::apply([&](auto&... p) { call(p.Pass()...); }, params);
    } else {
        const auto result = std::apply([&](auto&... p) { return call(p.Pass()...); }, params);
        add(ValueText(result, true));
    }
    const auto addVar = [&add](auto& p) {
        if constexpr (std::remove_reference_t<decltype(p)>::Var)
            add(ValueText(p.Value, true));
    };
    std::apply([&](auto&... p) { (addVar(p), ...); }, params);
    return out;
}

template <class C, class R, class... P>
TGridOperation Op(R (C::*method)(P...))
{
    return [method](G& g, const TWords& args) {
        return Run<R, P...>([&](auto&&... a) -> R { return (static_cast<C&>(g).*method)(a...); }, args);
    };
}

template <class C, class R, class... P>
TGridOperation Op(R (C::*method)(P...) const)
{
    return [method](G& g, const TWords& args) {
        return Run<R, P...>([&](auto&&... a) -> R { return (static_cast<const C&>(g).*method)(a...); }, args);
    };
}

template <class R, class... P>
TGridOperation Fn(R (*routine)(P...))
{
    return [routine](G&, const TWords& args) {
        return Run<R, P...>([&](auto&&... a) -> R { return routine(a...); }, args);
    };
}

}  // namespace

#define OP(Class, Name)                                                                                                \
    {                                                                                                                  \
#Name, Op(&Class::Name)                                                                                        \
    }
#define FN(Name)                                                                                                       \
    {                                                                                                                  \
#Name, Fn(&Name)                                                                                               \
    }

const std::map<std::string, TGridOperation, std::less<>>& GridOperations()
{
    using M = TCellModel;
    using D = TCustomGridData;
    static const std::map<std::string, TGridOperation, std::less<>> table{
        // --- Cell extras and per-cell queries.
        OP(M, GetCellGraphic),
        OP(M, CreateCellGraphic),
        OP(M, FreeCellGraphic),
        OP(M, RemoveCellGraphic),
        OP(M, GetCellType),
        OP(M, GetCellAlign),
        OP(M, GetColFormat),
        OP(M, GetCellEditor),
        OP(M, GetCellFixed),
        OP(M, GetCellReadOnly),
        OP(M, GetCellPassword),
        OP(M, GetVersionNr),
        OP(M, GetVersionString),
        OP(M, ValidateCell),
        OP(M, CalcCell),
        OP(M, UpdateCell),
        OP(M, InitValidate),
        OP(M, EllipsClick),
        OP(M, PasteNotify),
        // --- Extras by kind.
        OP(M, AddCheckBox),
        OP(M, RemoveCheckBox),
        OP(M, HasCheckBox),
        OP(M, HasStaticEdit),
        OP(M, GetCheckBoxState),
        OP(M, SetCheckBoxState),
        OP(M, ToggleCheck),
        OP(M, ToggleCheckBox),
        OP(M, AddRadio),
        OP(M, GetRadioIdx),
        OP(M, SetRadioIdx),
        OP(M, IsRadio),
        OP(M, RemoveRadio),
        OP(M, AddImageIdx),
        OP(M, GetImageIdx),
        OP(M, RemoveImageIdx),
        OP(M, AddDataImage),
        OP(M, RemoveDataImage),
        OP(M, AddMultiImage),
        OP(M, GetCellImages),
        OP(M, RemoveMultiImage),
        OP(M, GetCellImageIdx),
        OP(M, AddProgress),
        OP(M, RemoveProgress),
        OP(M, AddComment),
        OP(M, IsComment),
        OP(M, RemoveComment),
        OP(M, AddButton),
        OP(M, RemoveButton),
        OP(M, HasButton),
        OP(M, PushButton),
        OP(M, ButtonRect),
        OP(M, AddRotated),
        OP(M, IsRotated),
        OP(M, RemoveRotated),
        OP(M, GetCellGraphicSize),
        OP(G, AddBitmap),
        OP(G, CreateBitmap),
        OP(G, GetBitmap),
        OP(G, RemoveBitmap),
        OP(G, AddIcon),
        OP(G, CreateIcon),
        OP(G, RemoveIcon),
        OP(G, AddPicture),
        OP(G, CreatePicture),
        OP(G, GetPicture),
        OP(G, RemovePicture),
        OP(G, AddFilePicture),
        OP(G, CreateFilePicture),
        OP(G, GetFilePicture),
        OP(G, RemoveFilePicture),
        // --- The row filter.
        OP(M, MatchFilter),
        OP(M, ApplyFilter),
        FN(GetDllVersion),
        // --- Counts and indexes.
        OP(M, GetRowCountEx),
        OP(M, SetRowCountEx),
        OP(M, GetColCountEx),
        OP(M, SetColCountEx),
        OP(M, GetFixedRowsEx),
        OP(M, SetFixedRowsEx),
        OP(M, GetFixedColsEx),
        OP(M, SetFixedColsEx),
        OP(M, RemapCol),
        OP(M, RemapColInv),
        OP(M, RemapRow),
        OP(M, RemapRowInv),
        OP(M, RealCol),
        OP(M, DisplCol),
        OP(M, RealRow),
        OP(M, DisplRow),
        OP(M, GetRealCol),
        OP(M, GetRealRow),
        OP(M, SetVisibleCol),
        OP(M, GetVisibleCol),
        OP(M, IsHiddenColumn),
        OP(M, NumHiddenColumns),
        OP(M, NumHiddenRows),
        OP(M, IsHiddenRow),
        // --- Structure.
        OP(M, InsertRows),
        OP(M, RemoveRows),
        OP(M, RemoveRowsEx),
        OP(M, ClearRect),
        OP(M, ClearRows),
        OP(M, ClearCols),
        OP(M, ClearNormalCells),
        OP(M, Clear),
        OP(M, InsertCols),
        OP(M, RemoveCols),
        OP(M, MergeCols),
        OP(M, SwapRows),
        OP(M, SwapColumns),
        OP(M, SortSwapRows),
        OP(D, MoveRow),
        OP(D, MoveColumn),
        OP(D, DeleteRow),
        OP(M, RemoveSelectedRows),
        OP(M, HideSelectedRows),
        OP(M, HideSelection),
        OP(M, UnHideSelection),
        OP(M, isCell),
        OP(M, BeginUpdate),
        OP(M, EndUpdate),
        OP(M, GetRowSelect),
        OP(M, SetRowSelect),
        OP(M, GetRowSelectCount),
        OP(M, ClearRowSelect),
        OP(D, InvalidateCell),
        OP(D, InvalidateRow),
        OP(D, InvalidateCol),
        OP(D, CellRect),
        OP(D, MouseToCell),
        // --- Hiding, nodes and grouping.
        OP(M, HideColumns),
        OP(M, HideColumn),
        OP(M, UnhideColumns),
        OP(M, UnhideColumn),
        OP(M, UnhideColumnsAll),
        OP(M, HideRow),
        OP(M, HideRows),
        OP(M, HideRowsEx),
        OP(M, UnHideRow),
        OP(M, UnHideRows),
        OP(M, UnHideRowsAll),
        OP(M, AddNode),
        OP(M, RemoveNode),
        OP(M, IsNode),
        OP(M, GetNodeState),
        OP(M, SetNodeState),
        OP(M, ContractNode),
        OP(M, ExpandNode),
        OP(M, ExpandAll),
        OP(M, ContractAll),
        OP(M, SetGroupColumn),
        OP(M, Group),
        OP(M, UnGroup),
        OP(M, GroupSum),
        OP(M, GroupAvg),
        OP(M, GroupMin),
        OP(M, GroupMax),
        OP(M, GetSaveStartCol),
        OP(M, GetSaveStartRow),
        OP(M, GetSaveEndCol),
        OP(M, GetSaveEndRow),
        OP(M, GetSaveColCount),
        OP(M, GetSaveRowCount),
        // --- Sorting.
        OP(M, Compare),
        OP(M, CompareLine),
        OP(M, CompareLineIndexed),
        OP(M, SortLine),
        OP(M, SortByColumn),
        OP(M, QuickSort),
        OP(M, QuickSortIndexed),
        OP(M, QSort),
        OP(M, QSortGroup),
        OP(M, QSortIndexed),
        // --- Typed cells, sums, headers.
        OP(M, SetInts),
        OP(M, GetInts),
        OP(M, SetFloats),
        OP(M, GetFloats),
        OP(M, SetDates),
        OP(M, GetDates),
        OP(M, SetTimes),
        OP(M, GetTimes),
        OP(M, AutoNumberCol),
        OP(M, RandomFill),
        OP(M, ColumnSum),
        OP(M, ColumnAvg),
        OP(M, ColumnMin),
        OP(M, ColumnMax),
        OP(M, RowSum),
        OP(M, RowAvg),
        OP(M, RowMin),
        OP(M, RowMax),
        OP(M, SetColumnHeaders),
        OP(M, ShowColumnHeaders),
        OP(M, ClearColumnHeaders),
        OP(M, SetRowHeaders),
        OP(M, ShowRowHeaders),
        OP(M, ClearRowHeaders),
        OP(M, SetLookupItems),
        OP(M, GetPrintColWidth),
        OP(M, GetPrintColOffset),
        // --- Files.
        OP(G, SaveToFile),
        OP(G, LoadFromFile),
        OP(G, SaveToCSV),
        OP(G, AppendToCSV),
        OP(G, LoadFromCSV),
        OP(G, InsertFromCSV),
        OP(G, SaveToFixed),
        OP(G, LoadFromFixed),
        OP(G, SaveToASCII),
        OP(G, SaveToHTML),
        OP(G, AppendToHTML),
        OP(G, SaveToXML),
        OP(G, LoadFromXLS),
        OP(G, LoadFromXLSSheet),
        OP(G, SaveToXLS),
        OP(G, SaveTOXLSSheet),
        OP(G, SaveToDOC),
        // --- Clipboard.
        OP(G, CopyToClipBoard),
        OP(G, CopySelectionToClipboard),
        OP(G, CutToClipboard),
        OP(G, CutSelectionToClipboard),
        OP(G, PasteFromClipboard),
        OP(G, PasteSelectionFromClipboard),
        OP(G, CopyFunc),
        OP(G, CopyRTFFunc),
        OP(G, PasteFunc),
        OP(G, PasteText),
        OP(G, PasteSize),
        // --- The shared text routines.
        FN(GetToken),
        FN(Max),
        FN(Min),
        FN(VarPos),
        FN(FirstChar),
        FN(SinglePos),
        FN(NumSingleChar),
        FN(DoubleToSingleChar),
        FN(UpStr),
        FN(StringToPassword),
        FN(StringToOem),
        FN(OemToString),
        FN(NameToCell),
        FN(RectString),
        FN(TextType),
        FN(IsType),
        FN(RemoveSeps),
        FN(FixDecimalSeparator),
        FN(GetNextDate),
        FN(HTMLColor),
        FN(IsURL),
        FN(StripURLProtocol),
        FN(HTMLLineBreaks),
        FN(CLFToLF),
        FN(LFToCLF),
        FN(LineFeedsToCSV),
        FN(CSVToLineFeeds),
        FN(LineFeedsToJava),
        FN(JavaToLineFeeds),
        FN(LineFeedsToXLS),
        FN(LfToFile),
        FN(FileToLf),
        FN(GetNextLine),
        FN(LinesInText),
        FN(MatchStrEx),
        FN(MatchStr),
        FN(Matches),
        FN(StrToDateByFormat),
        // --- Selection, find, the Enter advance, zoom and the accessors by real row.
        OP(M, SelectRows),
        OP(M, SelectCols),
        OP(M, SelectRange),
        OP(M, SelectToRowSelect),
        OP(M, IsSelected),
        OP(M, GetRowSelect),
        OP(M, SetRowSelect),
        OP(M, GetRowSelectCount),
        OP(M, ClearRowSelect),
        OP(M, AdvanceEdit),
        OP(M, IsEditable),
        OP(M, FindFirst),
        OP(M, FindNext),
        OP(M, MatchCell),
        OP(M, Search),
        OP(M, BeginUpdate),
        OP(M, EndUpdate),
        OP(M, ResetUpdate),
        OP(G, SelectedText),
        OP(G, Zoom),
        OP(G, GetCellsEx),
        OP(G, SetCellsEx),
        OP(G, GetObjectsEx),
        OP(G, SetObjectsEx),
        OP(G, RepaintRect),
        OP(G, GetStrippedCell),
        OP(G, GetEditText),
        OP(G, SetEditText),
        // --- Painting, sizing, scrolling and cell text metrics.
        OP(G, IsFixed),
        OP(G, IsPassword),
        OP(G, SortIndicatorShown),
        OP(G, GetCellTextSize),
        OP(G, GetCellAlignment),
        OP(G, SizeToWidth),
        OP(G, AutoSizeCol),
        OP(G, AutoSizeColumns),
        OP(G, AutoSizeCells),
        OP(G, AutoSizeRows),
        OP(G, AutoSizeRow),
        OP(G, SizeToLines),
        OP(G, StretchRightColumn),
        OP(G, InSizeZone),
        OP(G, ScrollInView),
        OP(D, MaxTopRow),
        OP(D, MaxLeftCol),
        OP(G, MaxLinesInGrid),
        OP(G, MaxLinesInRow),
        OP(G, MaxCharsInCol),
        OP(G, MapFontHeight),
        OP(G, MapFontSize),
        OP(G, CalcTextPos),
        // --- Printing, previews and stored layouts.
        OP(G, Print),
        OP(G, PrintRect),
        OP(G, SetPreviewPage),
        OP(G, SaveColSizes),
        OP(G, LoadColSizes),
        OP(G, SavePrintSettings),
        OP(G, LoadPrintSettings),
        // --- Editing in place.
        OP(G, ShowCellEdit),
        OP(G, HideCellEdit),
        OP(G, RestoreCache),
        OP(G, AddComboString),
        OP(G, RemoveComboString),
        OP(G, ClearComboString),
        OP(G, GetComboCount),
        OP(G, SetComboSelection),
        OP(G, SetComboSelectionString),
    };
    return table;
}
