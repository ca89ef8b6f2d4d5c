// The properties gridrun's "set" and "?" reach: one line a property, dotted names for the
// fields of sub-objects, index words for indexed properties.

#include <utility>

#include "tools/gridrun/GridRun.h"
#include "tools/gridrun/GridRunEdit.h"
#include "tools/gridrun/GridRunEnums.h"
#include "tools/gridrun/GridRunSort.h"

namespace {

using G = TCellGrid;
using TIndexes = std::vector<int>;

[[noreturn]] void CannotRead(std::string_view word)
{
    throw EBadDirective("cannot read \"" + Escape(word) + "\" as this property's value");
}

template <class T>
T Read(std::string_view word, T current)
{
    if (!ParseValue(word, current))
        CannotRead(word);
    return current;
}

// A property read by Get (grid, indexes) and written by Set (grid, indexes, value).
template <int N, class Get, class Set>
TGridProperty Make(Get get, Set set)
{
    using T = std::decay_t<decltype(get(std::declval<G&>(), TIndexes{0, 0}))>;
    TGridProperty p;
    p.Indexes = N;
    p.Get = [get](G& g, const TIndexes& i) { return ValueText(get(g, i), false); };
    if constexpr (!std::is_same_v<Set, std::nullptr_t>)
        p.Set = [get, set](G& g, const TIndexes& i, std::string_view w) { set(g, i, Read<T>(w, get(g, i))); };
    return p;
}

// Colours print by name and read names or numbers.
template <class Get, class Set>
TGridProperty Colour(int indexes, Get get, Set set)
{
    TGridProperty p;
    p.Indexes = indexes;
    p.Get = [get](G& g, const TIndexes& i) { return ColorText(get(g, i)); };
    p.Set = [set](G& g, const TIndexes& i, std::string_view w) {
        int v = 0;
        if (!ParseInt(w, v))
            CannotRead(w);
        set(g, i, v);
    };
    return p;
}

// String lists print and read as "a,b".
template <class Get, class Set>
TGridProperty List(Get get, Set set)
{
    TGridProperty p;
    p.Get = [get](G& g, const TIndexes&) { return ListText(*get(g)); };
    p.Set = [set](G& g, const TIndexes&, std::string_view w) {
        TStringList list;
        ParseList(w, list);
        set(g, &list);
    };
    return p;
}

void AddFont(std::map<std::string, TGridProperty, std::less<>>& table, const std::string& prefix, TFont* (*font)(G&))
{
    table[prefix + ".Name"] = Make<0>([font](G& g, const TIndexes&) { return font(g)->Name(); },
                                      [font](G& g, const TIndexes&, AnsiString v) { font(g)->SetName(v); });
    table[prefix + ".Size"] = Make<0>([font](G& g, const TIndexes&) { return font(g)->Size(); },
                                      [font](G& g, const TIndexes&, int v) { font(g)->SetSize(v); });
    table[prefix + ".Color"] = Colour(
        0, [font](G& g, const TIndexes&) { return font(g)->Color(); },
        [font](G& g, const TIndexes&, TColor v) { font(g)->SetColor(v); });
    table[prefix + ".Style"] = Make<0>(
        [font](G& g, const TIndexes&) {
            TEnumSet<TFontStyle> s;
            for (TFontStyle f : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
                if (font(g)->Style().Contains(f))
                    s << f;
            return s;
        },
        [font](G& g, const TIndexes&, TEnumSet<TFontStyle> v) {
            TFontStyles s;
            for (TFontStyle f : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
                if (v.Contains(f))
                    s << f;
            font(g)->SetStyle(s);
        });
}

// "nil", "WxHxN": a new image list of N blank images of W by H, or "WxH:FILE": one of the images
// of a picture strip; owned by the grid.
TGridProperty GridImagesProperty()
{
    TGridProperty p;
    p.Get = [](G& g, const TIndexes&) -> std::string {
        const TImageList* images = g.GridImages();
        return images ? std::to_string(images->Width()) + "x" + std::to_string(images->Height()) + "x" +
                std::to_string(images->Count())
                      : "nil";
    };
    p.Set = [](G& g, const TIndexes&, std::string_view w) {
        if (w == "nil") {
            g.SetImages(nullptr);
            return;
        }
        if (const size_t colon = w.find(':'); colon != std::string_view::npos) {
            // "WxH:FILE": the picture strip of FILE cut into images of W by H.
            int side[2] = {0, 0};
            std::string_view dims = w.substr(0, colon);
            for (int& v : side) {
                const size_t x = dims.find('x');
                if (!ParseInt(dims.substr(0, x), v) || v <= 0 || v > 1024)
                    CannotRead(w);
                dims = x == std::string_view::npos ? std::string_view() : dims.substr(x + 1);
            }
            TBitmap strip;
            strip.LoadFromFile(AnsiString(w.substr(colon + 1)));
            auto* images = new TImageList(&g, side[0], side[1]);
            images->Add(&strip, nullptr);
            g.SetImages(images);
            return;
        }
        int size[3] = {0, 0, 0};
        for (int& v : size) {
            const size_t x = w.find('x');
            if (!ParseInt(w.substr(0, x), v) || v < 0 || v > 1024)
                CannotRead(w);
            w = x == std::string_view::npos ? std::string_view() : w.substr(x + 1);
        }
        auto* images = new TImageList(&g, size[0], size[1]);
        TBitmap blank;
        blank.SetSize(size[0], size[1]);
        for (int i = 0; i < size[2]; ++i)
            images->Add(&blank, nullptr);
        g.SetImages(images);
    };
    return p;
}

// A picture file ("" for none): the mark column 0 shows in the current row.
TGridProperty RowIndicatorProperty()
{
    TGridProperty p;
    p.Get = [](G& g, const TIndexes&) -> std::string {
        const TBitmap* mark = g.RowIndicator();
        return mark->Empty() ? "empty" : std::to_string(mark->Width()) + "x" + std::to_string(mark->Height());
    };
    p.Set = [](G& g, const TIndexes&, std::string_view w) {
        TBitmap mark;
        if (!w.empty())
            mark.LoadFromFile(AnsiString(w));
        g.SetRowIndicator(&mark);
    };
    return p;
}

}  // namespace

// A field of the grid or of a sub-object, a getter and setter pair, a property read only, a
// colour, and properties indexed by column and row or by one index.
#define FIELD(Name, Member)                                                                                            \
    {                                                                                                                  \
        Name,                                                                                                          \
            Make<0>([](G& g, const TIndexes&) { return g.Member; },                                                    \
                    [](G& g, const TIndexes&, auto v) { g.Member = v; })                                               \
    }
#define PROP(Name, Getter, Setter)                                                                                     \
    {                                                                                                                  \
        Name,                                                                                                          \
            Make<0>([](G& g, const TIndexes&) { return g.Getter; },                                                    \
                    [](G& g, const TIndexes&, auto v) { g.Setter(v); })                                                \
    }
#define READ(Name, Getter)                                                                                             \
    {                                                                                                                  \
        Name, Make<0>([](G& g, const TIndexes&) { return g.Getter; }, nullptr)                                         \
    }
#define COLOR_FIELD(Name, Member)                                                                                      \
    {                                                                                                                  \
        Name,                                                                                                          \
            Colour(                                                                                                    \
                0, [](G& g, const TIndexes&) { return g.Member; },                                                     \
                [](G& g, const TIndexes&, TColor v) { g.Member = v; })                                                 \
    }
#define COLOR_PROP(Name, Getter, Setter)                                                                               \
    {                                                                                                                  \
        Name,                                                                                                          \
            Colour(                                                                                                    \
                0, [](G& g, const TIndexes&) { return g.Getter; },                                                     \
                [](G& g, const TIndexes&, TColor v) { g.Setter(v); })                                                  \
    }
#define CELLS(Name, Getter, Setter)                                                                                    \
    {                                                                                                                  \
        Name,                                                                                                          \
            Make<2>([](G& g, const TIndexes& i) { return g.Getter(i[0], i[1]); },                                      \
                    [](G& g, const TIndexes& i, auto v) { g.Setter(i[0], i[1], v); })                                  \
    }
#define ONE_INDEX(Name, Getter, Setter)                                                                                \
    {                                                                                                                  \
        Name,                                                                                                          \
            Make<1>([](G& g, const TIndexes& i) { return g.Getter(i[0]); },                                            \
                    [](G& g, const TIndexes& i, auto v) { g.Setter(i[0], v); })                                        \
    }

const std::map<std::string, TGridProperty, std::less<>>& GridProperties()
{
    static const std::map<std::string, TGridProperty, std::less<>> table = [] {
        std::map<std::string, TGridProperty, std::less<>> t{
            // --- The string grid.
            PROP("ColCount", ColCount(), SetColCount),
            PROP("RowCount", RowCount(), SetRowCount),
            PROP("FixedCols", FixedCols(), SetFixedCols),
            PROP("FixedRows", FixedRows(), SetFixedRows),
            PROP("DefaultColWidth", DefaultColWidth(), SetDefaultColWidth),
            PROP("DefaultRowHeight", DefaultRowHeight(), SetDefaultRowHeight),
            PROP("GridLineWidth", GridLineWidth(), SetGridLineWidth),
            PROP("Options", Options(), SetOptions),
            PROP("Col", Col(), SetCol),
            PROP("Row", Row(), SetRow),
            PROP("TopRow", TopRow(), SetTopRow),
            PROP("LeftCol", LeftCol(), SetLeftCol),
            PROP("Selection", Selection(), SetSelection),
            READ("VisibleColCount", VisibleColCount()),
            READ("VisibleRowCount", VisibleRowCount()),
            ONE_INDEX("ColWidths", ColWidths, SetColWidths),
            ONE_INDEX("RowHeights", RowHeights, SetRowHeights),
            CELLS("Cells", Cells, SetCells),
            {"Objects", Make<2>([](G& g, const TIndexes& i) { return g.Objects(i[0], i[1]); }, nullptr)},
            COLOR_PROP("Color", Color(), SetColor),
            COLOR_PROP("FixedColor", FixedColor(), SetFixedColor),
            PROP("DefaultDrawing", DefaultDrawing(), SetDefaultDrawing),
            // --- Counts and fixed parts.
            PROP("FixedFooters", FixedFooters(), SetFixedFooters),
            PROP("FixedRightCols", FixedRightCols(), SetFixedRightCols),
            FIELD("FixedRowAlways", FixedRowAlways),
            FIELD("FixedColAlways", FixedColAlways),
            PROP("FixedColWidth", FixedColWidth(), SetFixedColWidth),
            PROP("FixedRowHeight", FixedRowHeight(), SetFixedRowHeight),
            FIELD("FixedAsButtons", FixedAsButtons),
            READ("HiddenColCount", HiddenColCount()),
            READ("NumHiddenRows", NumHiddenRows()),
            READ("NodeCount", NodeCount()),
            READ("RealCol", GetRealCol()),
            READ("RealRow", GetRealRow()),
            PROP("GroupColumn", GroupColumn(), SetGroupColumn),
            // --- Look.
            PROP("VAlignment", VAlignment(), SetVAlignment),
            PROP("WordWrap", WordWrap(), SetWordWrap),
            FIELD("Multilinecells", Multilinecells),
            PROP("Flat", Flat(), SetFlat),
            COLOR_PROP("SelectionColor", SelectionColor(), SetSelectionColor),
            COLOR_PROP("SelectionTextColor", SelectionTextColor(), SetSelectionTextColor),
            PROP("SelectionRectangle", SelectionRectangle(), SetSelectionRectangle),
            FIELD("SelectionRTFKeep", SelectionRTFKeep),
            PROP("ShowSelection", ShowSelection(), SetShowSelection),
            FIELD("HideFocusRect", HideFocusRect),
            PROP("Hovering", Hovering(), SetHovering),
            PROP("URLShow", URLShow(), SetURLShow),
            COLOR_PROP("URLColor", URLColor(), SetURLColor),
            PROP("URLFull", URLFull(), SetURLFull),
            FIELD("URLEdit", URLEdit),
            FIELD("EnableHTML", EnableHTML),
            FIELD("EnableGraphics", EnableGraphics),
            {"GridImages", GridImagesProperty()},
            {"RowIndicator", RowIndicatorProperty()},
            FIELD("OemConvert", OemConvert),
            // --- Sizing, editing, navigation.
            PROP("AutoSize", AutoSize(), SetAutoSize),
            FIELD("EnhTextSize", EnhTextSize),
            FIELD("SizeWithForm", SizeWithForm),
            PROP("MaxEditLength", MaxEditLength(), SetMaxEditLength),
            FIELD("Lookup", Lookup),
            FIELD("LookupCaseSensitive", LookupCaseSensitive),
            FIELD("LookupHistory", LookupHistory),
            FIELD("EnhRowColMove", EnhRowColMove),
            FIELD("AutoNumAlign", AutoNumAlign),
            FIELD("FloatFormat", FloatFormat),
            FIELD("CheckTrue", CheckTrue),
            FIELD("CheckFalse", CheckFalse),
            FIELD("PasswordChar", PasswordChar),
            FIELD("SaveIncludesFixed", SaveIncludesFixed),
            // --- Files.
            FIELD("SaveIncludesHidden", SaveIncludesHidden),
            FIELD("CSVDelimiter", CSVDelimiter),
            FIELD("CSVJavaStyle", CSVJavaStyle),
            PROP("FilterActive", FilterActive(), SetFilterActive),
            // --- Sorting.
            PROP("SortColumn", SortColumn(), SetSortColumn),
            FIELD("SortDirection", SortDirection),
            FIELD("SortFull", SortFull),
            FIELD("SortAutoFormat", SortAutoFormat),
            PROP("SortShow", SortShow(), SetSortShow),
            PROP("SortIndexShow", SortIndexShow(), SetSortIndexShow),
            FIELD("SortFixedCols", SortFixedCols),
            FIELD("SortNormalCellsOnly", SortNormalCellsOnly),
            READ("SortIndexes", SortIndexes() ? SortIndexText(*g.SortIndexes()) : std::string()),
            // --- Scrolling, hints, drag and drop.
            PROP("ScrollBars", ScrollBars(), SetScrollBars),
            PROP("ScrollType", ScrollType(), SetScrollType),
            COLOR_PROP("ScrollColor", ScrollColor(), SetScrollColor),
            PROP("ScrollWidth", ScrollWidth(), SetScrollWidth),
            PROP("ScrollProportional", ScrollProportional(), SetScrollProportional),
            FIELD("ScrollSynch", ScrollSynch),
            FIELD("ScrollHints", ScrollHints),
            FIELD("EnableWheel", EnableWheel),
            FIELD("IntelliPan", IntelliPan),
            FIELD("IntelliZoom", IntelliZoom),
            COLOR_FIELD("HintColor", HintColor),
            FIELD("HintShowCells", HintShowCells),
            FIELD("HintShowLargeText", HintShowLargeText),
            PROP("OleDropTarget", OleDropTarget(), SetOleDropTarget),
            FIELD("OleDropSource", OleDropSource),
            FIELD("OleInsertRows", OleInsertRows),
            FIELD("OleRemoveRows", OleRemoveRows),
            FIELD("OleEntireRows", OleEntireRows),
            PROP("OleDropRTF", OleDropRTF(), SetOleDropRTF),
            FIELD("OleAcceptFiles", OleAcceptFiles),
            FIELD("OleAcceptText", OleAcceptText),
            FIELD("OleAcceptCols", OleAcceptCols),
            COLOR_PROP("ArrowColor", ArrowColor(), SetArrowColor),
            // --- Typed cells.
            CELLS("Ints", GetInts, SetInts),
            CELLS("Floats", GetFloats, SetFloats),
            CELLS("Dates", GetDates, SetDates),
            CELLS("Times", GetTimes, SetTimes),
            {"Colors",
             Colour(
                 2, [](G& g, const TIndexes& i) { return g.Colors(i[0], i[1]); },
                 [](G& g, const TIndexes& i, TColor v) { g.SetColors(i[0], i[1], v); })},
            ONE_INDEX("RowSelect", GetRowSelect, SetRowSelect),
            {"ColumnHeaders",
             List([](G& g) { return g.ColumnHeaders(); }, [](G& g, TStrings* l) { g.SetColumnHeaders(l); })},
            {"RowHeaders", List([](G& g) { return g.RowHeaders(); }, [](G& g, TStrings* l) { g.SetRowHeaders(l); })},
            {"LookupItems", List([](G& g) { return g.LookupItems(); }, [](G& g, TStrings* l) { g.SetLookupItems(l); })},
            // --- Sub-objects.
            FIELD("Bands.Print", Bands()->Print),
            PROP("Bands.Active", Bands()->Active(), Bands()->SetActive),
            PROP("Bands.PrimaryLength", Bands()->PrimaryLength(), Bands()->SetPrimaryLength),
            PROP("Bands.SecondaryLength", Bands()->SecondaryLength(), Bands()->SetSecondaryLength),
            COLOR_PROP("Bands.PrimaryColor", Bands()->PrimaryColor(), Bands()->SetPrimaryColor),
            COLOR_PROP("Bands.SecondaryColor", Bands()->SecondaryColor(), Bands()->SetSecondaryColor),
            FIELD("SizeWhileTyping.Height", SizeWhileTyping()->Height),
            FIELD("SizeWhileTyping.Width", SizeWhileTyping()->Width),
            FIELD("MouseActions.ColSelect", MouseActions()->ColSelect),
            FIELD("MouseActions.RowSelect", MouseActions()->RowSelect),
            FIELD("MouseActions.AllSelect", MouseActions()->AllSelect),
            FIELD("MouseActions.DirectEdit", MouseActions()->DirectEdit),
            FIELD("MouseActions.DirectComboDrop", MouseActions()->DirectComboDrop),
            FIELD("MouseActions.DisjunctRowSelect", MouseActions()->DisjunctRowSelect),
            FIELD("MouseActions.AllColumnSize", MouseActions()->AllColumnSize),
            FIELD("MouseActions.AllRowSize", MouseActions()->AllRowSize),
            FIELD("MouseActions.CaretPositioning", MouseActions()->CaretPositioning),
            FIELD("ColumnSize.Save", ColumnSize()->Save),
            FIELD("ColumnSize.Key", ColumnSize()->Key),
            FIELD("ColumnSize.Section", ColumnSize()->Section),
            PROP("ColumnSize.Stretch", ColumnSize()->Stretch(), ColumnSize()->SetStretch),
            FIELD("ColumnSize.Location", ColumnSize()->Location),
            FIELD("Navigation.AllowInsertRow", Navigation()->AllowInsertRow),
            FIELD("Navigation.AllowDeleteRow", Navigation()->AllowDeleteRow),
            FIELD("Navigation.AdvanceOnEnter", Navigation()->AdvanceOnEnter),
            FIELD("Navigation.AdvanceInsert", Navigation()->AdvanceInsert),
            FIELD("Navigation.AutoGotoWhenSorted", Navigation()->AutoGotoWhenSorted),
            FIELD("Navigation.AutoGotoIncremental", Navigation()->AutoGotoIncremental),
            FIELD("Navigation.AutoComboDropSize", Navigation()->AutoComboDropSize),
            FIELD("Navigation.AllowClipboardShortCuts", Navigation()->AllowClipboardShortCuts),
            FIELD("Navigation.AllowRTFClipboard", Navigation()->AllowRTFClipboard),
            FIELD("Navigation.AllowSmartClipboard", Navigation()->AllowSmartClipboard),
            FIELD("Navigation.AllowClipboardAlways", Navigation()->AllowClipboardAlways),
            FIELD("Navigation.AllowClipboardColGrow", Navigation()->AllowClipboardColGrow),
            FIELD("Navigation.AllowClipboardRowGrow", Navigation()->AllowClipboardRowGrow),
            FIELD("Navigation.CopyHTMLTagsToClipboard", Navigation()->CopyHTMLTagsToClipboard),
            FIELD("Navigation.AdvanceDirection", Navigation()->AdvanceDirection),
            FIELD("Navigation.AdvanceAuto", Navigation()->AdvanceAuto),
            FIELD("Navigation.CursorWalkEditor", Navigation()->CursorWalkEditor),
            FIELD("Navigation.MoveRowOnSort", Navigation()->MoveRowOnSort),
            FIELD("Navigation.ImproveMaskSel", Navigation()->ImproveMaskSel),
            FIELD("Navigation.AlwaysEdit", Navigation()->AlwaysEdit),
            FIELD("Navigation.InsertPosition", Navigation()->InsertPosition),
            FIELD("Navigation.LineFeedOnEnter", Navigation()->LineFeedOnEnter),
            FIELD("HTMLSettings.SaveColor", HTMLSettings()->SaveColor),
            FIELD("HTMLSettings.SaveFonts", HTMLSettings()->SaveFonts),
            FIELD("HTMLSettings.FooterFile", HTMLSettings()->FooterFile),
            FIELD("HTMLSettings.HeaderFile", HTMLSettings()->HeaderFile),
            FIELD("HTMLSettings.BorderSize", HTMLSettings()->BorderSize),
            FIELD("HTMLSettings.CellSpacing", HTMLSettings()->CellSpacing),
            FIELD("HTMLSettings.CellPadding", HTMLSettings()->CellPadding),
            FIELD("HTMLSettings.TableStyle", HTMLSettings()->TableStyle),
            FIELD("HTMLSettings.PrefixTag", HTMLSettings()->PrefixTag),
            FIELD("HTMLSettings.SuffixTag", HTMLSettings()->SuffixTag),
            FIELD("HTMLSettings.Width", HTMLSettings()->Width),
            COLOR_FIELD("CellNode.Color", CellNode()->Color),
            PROP("CellNode.NodeType", CellNode()->NodeType(), CellNode()->SetNodeType),
            COLOR_FIELD("CellNode.NodeColor", CellNode()->NodeColor),
            PROP("BackGround.Top", BackGround()->Top(), BackGround()->SetTop),
            PROP("BackGround.Left", BackGround()->Left(), BackGround()->SetLeft),
            PROP("BackGround.Display", BackGround()->Display(), BackGround()->SetDisplay),
            PROP("BackGround.Cells", BackGround()->Cells(), BackGround()->SetCells),
            FIELD("PrintSettings.Time", PrintSettings()->Time),
            FIELD("PrintSettings.Date", PrintSettings()->Date),
            FIELD("PrintSettings.PageNr", PrintSettings()->PageNr),
            FIELD("PrintSettings.PageNumSep", PrintSettings()->PageNumSep),
            FIELD("PrintSettings.DateFormat", PrintSettings()->DateFormat),
            FIELD("PrintSettings.Title", PrintSettings()->Title),
            FIELD("PrintSettings.Borders", PrintSettings()->Borders),
            FIELD("PrintSettings.BorderStyle", PrintSettings()->BorderStyle),
            FIELD("PrintSettings.TitleText", PrintSettings()->TitleText),
            {"PrintSettings.TitleLines",
             List([](G& g) { return g.PrintSettings()->TitleLines(); },
                  [](G& g, TStrings* l) { g.PrintSettings()->SetTitleLines(l); })},
            FIELD("PrintSettings.Centered", PrintSettings()->Centered),
            FIELD("PrintSettings.RepeatFixedRows", PrintSettings()->RepeatFixedRows),
            FIELD("PrintSettings.RepeatFixedCols", PrintSettings()->RepeatFixedCols),
            FIELD("PrintSettings.FooterSize", PrintSettings()->FooterSize),
            FIELD("PrintSettings.HeaderSize", PrintSettings()->HeaderSize),
            FIELD("PrintSettings.LeftSize", PrintSettings()->LeftSize),
            FIELD("PrintSettings.RightSize", PrintSettings()->RightSize),
            FIELD("PrintSettings.ColumnSpacing", PrintSettings()->ColumnSpacing),
            FIELD("PrintSettings.RowSpacing", PrintSettings()->RowSpacing),
            FIELD("PrintSettings.TitleSpacing", PrintSettings()->TitleSpacing),
            FIELD("PrintSettings.Orientation", PrintSettings()->Orientation),
            FIELD("PrintSettings.PagePrefix", PrintSettings()->PagePrefix),
            FIELD("PrintSettings.PageSuffix", PrintSettings()->PageSuffix),
            FIELD("PrintSettings.FixedHeight", PrintSettings()->FixedHeight),
            FIELD("PrintSettings.UseFixedHeight", PrintSettings()->UseFixedHeight),
            FIELD("PrintSettings.FixedWidth", PrintSettings()->FixedWidth),
            FIELD("PrintSettings.UseFixedWidth", PrintSettings()->UseFixedWidth),
            FIELD("PrintSettings.FitToPage", PrintSettings()->FitToPage),
            FIELD("PrintSettings.NoAutoSize", PrintSettings()->NoAutoSize),
            FIELD("PrintSettings.PrintGraphics", PrintSettings()->PrintGraphics),
            FIELD("PrintSettings.JobName", PrintSettings()->JobName),
            // --- Keys, mouse, find and window state.
            PROP("LockFlag", LockFlag(), SetLockFlag),
            READ("UpdateCount", UpdateCount()),
            READ("ZoomLevel", ZoomLevel()),
            READ("CursorKind", CursorKind()),
            READ("SearchText", SearchText()),
            READ("Panning", Panning()),
            READ("EditorMode", EditorMode()),
            READ("Focused", Focused()),
            READ("Cursor", Cursor()),
            READ("LastAnchor", LastAnchor()),
            READ("FindCol", FindCol()),
            READ("FindRow", FindRow()),
            FIELD("SuppressEnterExit", SuppressEnterExit),
            FIELD("ClipboardCSVLines", ClipboardCSVLines),
        };
        AddFont(t, "Font", [](G& g) { return g.Font(); });
        AddFont(t, "FixedFont", [](G& g) { return g.FixedFont(); });
        AddFont(t, "PrintSettings.Font", [](G& g) { return g.PrintSettings()->Font(); });
        AddFont(t, "PrintSettings.HeaderFont", [](G& g) { return g.PrintSettings()->HeaderFont(); });
        AddFont(t, "PrintSettings.FooterFont", [](G& g) { return g.PrintSettings()->FooterFont(); });
        // --- Editing in place: the editor shown and the beeps (GridRunEdit.cpp).
        AddEditProperties(t);
        return t;
    }();
    return table;
}
